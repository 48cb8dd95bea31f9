#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/model/LayoutFixture.h"
#include "host/LayoutView.h"
#include "model/CLineObj.h"
#include "model/CTextObj.h"
#include "model/FreeLineItem.h"
#include "model/FreeTextItem.h"
#include "model/UndoStore.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingPorts.h"
#include "view/CGPView.h"
#include "view/DragController.h"
#include "view/ViewMapping.h"

namespace vx::test {

/// A window that shows the page at a fixed offset and scroll, counting redraws.
struct FixedLayoutView : LayoutView {
    PixelPoint offset{10, 10};
    PixelPoint scroll;
    PixelPoint ppi{96, 96};
    PixelPoint pageSize{794, 1122};
    PixelPoint client{1000, 800};
    int page = 0;
    int invalidations = 0;

    int GetCurrentPage() const override { return page; }
    void SetCurrentPage(int index) override { page = index; }
    PixelRect ClientToDocRect() const override { return {scroll.x, scroll.y, scroll.x + client.x, scroll.y + client.y}; }
    ViewPageRect GetPageRect() const override { return {{0, 0, pageSize.x, pageSize.y}, offset}; }
    PixelPoint GetPixelsPerInch() const override { return ppi; }
    void ScrollTo(PixelPoint logical) override { scroll = logical; }
    void Invalidate() override { ++invalidations; }
    void Update() override {}
    void SetupObjectTracker(const CLayoutObj&) override {}
};

/// A line from start to end (layout units on the page strip), 100 units thick.
inline CLineObj* AddFreeLine(CLayoutSetting& layout, LayoutPoint start, LayoutPoint end) {
    CLineObj* line = CreateLineObject(&layout, layout.ItemListHead());
    line->SetPosition(start.x, start.y);
    line->SetOffsetStart({0, 0});
    line->SetOffsetEnd({end.x - start.x, end.y - start.y});
    MoveFreeLineEnd(*line, 0, 0, 1);
    return line;
}

/// A free text whose frame is the quadrilateral of four corners (layout units, clockwise
/// from the top-left), placed at their bounding box.
inline CTextObj* AddFreeTextFrame(CLayoutSetting& layout, const std::array<LayoutPoint, 4>& corners) {
    CTextObj* text = CreateTextObject(&layout, layout.ItemListHead());
    int32_t left = corners[0].x, top = corners[0].y, right = left, bottom = top;
    for (const LayoutPoint& c : corners) {
        left = std::min(left, c.x), top = std::min(top, c.y);
        right = std::max(right, c.x), bottom = std::max(bottom, c.y);
    }
    CTextObj::BoxPoints box{};
    for (size_t i = 0; i < 4; ++i) {
        const LayoutPoint a = corners[i], b = corners[(i + 1) % 4];
        box[2 * i] = {a.x - left, a.y - top};
        box[2 * i + 1] = {(a.x + b.x) / 2 - left, (a.y + b.y) / 2 - top};
    }
    text->SetBoxPoints(box);
    text->SetText("Text");
    text->SetPosition(left, top);
    text->SetSize(right - left, bottom - top);
    return text;
}

/// An A4 free layout without margins (2976 x 4209 units, two pages) in a view at 96
/// pixels per inch and zoom 1/1, so 3.75 units per pixel, the page at (10, 10): image 1
/// of 708 x 708 at (720, 720) and image 2 beside it at (1600, 720); with the
/// application's state, undo store and ports, and a drag controller.
struct MouseTest : testing::Test {
    TestLayout t{2976, 4209, 0};
    CLayoutSetting& layout = t.layout;
    UndoStore undo;
    InstalledApplicationState app;
    RecordingMessagePort messages;
    RecordingStatusPort status;
    ScopedPorts ports{&messages, nullptr, &status};
    FixedLayoutView window;
    CGPView view;
    DragController drag{view};
    CImageObj* image1 = nullptr;
    CImageObj* image2 = nullptr;

    void SetUp() override {
        layout.SetType(kRecordTypeLayout);
        layout.SetFree(1);
        layout.SetPageNumber(2);
        image1 = t.Add(708, 708, 720, 720);
        image2 = t.Add(708, 708, 1600, 720);
        for (CImageObj* i : {image1, image2}) i->SetSizeMethod(1);
        app.undo = &undo;
        app.active = &layout;
        view.Attach(&window, &layout);
    }

    /// The client pixel of a layout point of page 1.
    static PixelPoint Px(int32_t x, int32_t y) { return {x * 96 / 360 + 10, y * 96 / 360 + 10}; }
    ViewMapping Mapping() const { return MakeViewMapping(view); }

    void Click(PixelPoint p, PointerKeys keys = {}) {
        drag.Press(p, keys);
        drag.Release(p, keys);
    }
    /// A press at from, motions in steps (each the same share of by), the release.
    void Drag(PixelPoint from, PixelPoint by, int steps = 1, PointerKeys keys = {}) {
        drag.Press(from, keys);
        for (int i = 1; i <= steps; ++i) drag.Motion({from.x + by.x * i / steps, from.y + by.y * i / steps}, keys);
        drag.Release({from.x + by.x, from.y + by.y}, keys);
    }
    std::vector<CLayoutObj*> Selected() const {
        std::vector<CLayoutObj*> out;
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
            if (p->GetSelected()) out.push_back(p);
        return out;
    }
};

}  // namespace vx::test
