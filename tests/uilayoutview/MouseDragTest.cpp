// Selecting, moving and resizing in the real layout view's window with the simulated
// mouse and keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <wx/frame.h>
#include <wx/sizer.h>

#include "../uicontrols/GalleryFixture.h"
#include "core/model/LayoutFixture.h"
#include "core/view/MouseFixture.h"
#include "core/view/ViewFixture.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "model/ObjectList.h"
#include "model/PageGeometry.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/Folders.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingPorts.h"
#include "ui/SurfacePainter.h"
#include "ui/view/CGPViewWindow.h"
#include "view/HitTesting.h"
#include "view/ResizeItems.h"

namespace vx {
namespace {

struct DragServices : Shell, NoToolWindows, StatusPort {
    CGPViewWindow* view = nullptr;
    LayoutView* FindLayoutView(const CLayoutSetting&) override { return view ? &view->Core() : nullptr; }
    LayoutView* GetLayoutView() override { return view ? &view->Core() : nullptr; }
    PrintSettingsPane* GetActivePrintSettingsPane() override { return nullptr; }
    bool IsViewCreating() override { return false; }
    void RefreshToolBar(int) override {}
    void SetQuickPrintStatus(int) override {}
    void SetLayoutTitle(const std::string&) override {}
    void PrintNow() override {}
    void UpdateStatusText(int, const Args&) override {}
};

// An A4 free layout without margins at zoom 1/1 and 96 pixels per inch (3.75 units a
// pixel): image 1 of 708 x 708 at (720, 720), image 2 beside it, a free text and a
// free line below them.
class MouseDrag : public Gallery {
protected:
    void SetUp() override {
        Gallery::SetUp();
        mFrame->Hide();
        FillSystemColours();
        app.undo = &undo;
        layout.SetType(kRecordTypeLayout);
        layout.SetFree(1);
        layout.SetPageNumber(2);
        layout.SetColor(2);
        layout.SetPaperColor(0xFFFFFF);
        layout.SetBaseImage(std::make_unique<CImageObj>(true));
        // Working bitmaps live in the temporary folder.
        ASSERT_TRUE(CreateTempFolder());
        image1 = test::AddPictureItem(layout, 720, 720, 708, 708, 0x3050D0);
        image2 = test::AddPictureItem(layout, 1600, 720, 708, 708, 0x30A030);
        text = test::AddFreeTextFrame(layout, {{{720, 2000}, {1420, 2000}, {1420, 2400}, {720, 2400}}});
        line = test::AddFreeLine(layout, {720, 3000}, {2137, 3000});
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) p->SetChanged(0);

        frame = new wxFrame(nullptr, wxID_ANY, "Layout", wxPoint(20, 20), wxSize(900, 1000));
        view = new CGPViewWindow(frame);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(view, 1, wxEXPAND);
        frame->SetSizer(sizer);
        services.view = view;
        frame->Show();
        frame->Raise();
        Pump(300);
        PumpUntil([this] { return frame->IsShownOnScreen() && frame->IsActive(); }, 1000);
        app.active = &layout;
        view->OnInitialUpdate(&layout);
        Pump(200);
        view->Core().SetZoom(1, 1);
        view->Core().ScrollTo({0, 0});
        view->SetFocus();
        Pump(200);
    }

    void TearDown() override {
        if (mSim.MouseUp()) Pump(50);
        if (frame) frame->Destroy();
        services.view = nullptr;
        Gallery::TearDown();
    }

    /// The client pixel of a layout point on the first page.
    wxPoint At(int32_t x, int32_t y) const {
        const ViewPageRect r = view->Core().GetPageRect();
        const PixelPoint s = view->Core().ScrollPosition();
        return {r.offset.x - s.x + x * 96 / 360, r.offset.y - s.y + y * 96 / 360};
    }
    void Move(wxPoint client) {
        mSim.MouseMove(view->ClientToScreen(client));
        Pump(30);
    }
    void Press(wxPoint client) {
        Move(client);
        // Past the double-click time: a second press so soon would be a double click.
        Pump(450);
        mSim.MouseDown();
        Pump(80);
    }
    void Release() {
        mSim.MouseUp();
        Pump(150);
    }
    /// Presses at from, moves by in steps, releases.
    void DragBy(wxPoint from, wxPoint by, int steps = 1) {
        Press(from);
        for (int i = 1; i <= steps; ++i) Move({from.x + by.x * i / steps, from.y + by.y * i / steps});
        Pump(100);
        Release();
    }
    void ShiftClick(wxPoint client) {
        Move(client);
        Pump(450);
        mSim.KeyDown(WXK_SHIFT);
        Pump(50);
        mSim.MouseClick();
        Pump(80);
        mSim.KeyUp(WXK_SHIFT);
        Pump(150);
    }
    void Click(wxPoint client) {
        Move(client);
        Pump(450);
        mSim.MouseClick();
        Pump(150);
    }
    std::vector<CLayoutObj*> Selected() const {
        std::vector<CLayoutObj*> out;
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
            if (p->GetSelected()) out.push_back(p);
        return out;
    }

    test::TestLayout t{2976, 4209, 0};
    CLayoutSetting& layout = t.layout;
    UndoStore undo;
    test::InstalledApplicationState app;
    DragServices services;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages, nullptr, &services};
    ScopedHostService<Shell> installShell{&services};
    ScopedHostService<ToolWindows> installTools{&services};
    wxFrame* frame = nullptr;
    CGPViewWindow* view = nullptr;
    CImageObj* image1 = nullptr;
    CImageObj* image2 = nullptr;
    CTextObj* text = nullptr;
    CLineObj* line = nullptr;
};

TEST_F(MouseDrag, ClickMoveAndResizeFollowThePointer) {
    ASSERT_EQ(view->Core().Zoom(), (ZoomRatio{1, 1}));
    Click(At(1000, 1000));
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{image1});
    EXPECT_EQ(layout.GetCurrentItem(), image1);
    EXPECT_FALSE(view->HasCapture());

    // One motion or thirty: the item keeps up with the pointer.
    for (int steps : {1, 30}) {
        SCOPED_TRACE(steps);
        image1->SetPosition(720, 720);
        view->Refresh();
        Pump(100);
        DragBy(At(1000, 1000), {30, 15}, steps);
        EXPECT_EQ(image1->GetPosition(), (LayoutPoint{832, 776}));
    }
    image1->SetPosition(720, 720);

    ShiftClick(At(1900, 1000));
    EXPECT_EQ(Selected(), (std::vector<CLayoutObj*>{image1, image2}));
    DragBy(At(1900, 1000), {-8, 0}, 4);
    EXPECT_EQ(image1->GetPosition(), (LayoutPoint{690, 720}));
    EXPECT_EQ(image2->GetPosition(), (LayoutPoint{1570, 720}));

    // Image 2 alone, its bottom-right handle.
    Click(At(2500, 1000));
    Click(At(1900, 1000));
    ASSERT_EQ(Selected(), std::vector<CLayoutObj*>{image2});
    const PixelRect tracked = view->View().SetupObjectTracker(*image2).Rect();
    test::TestLayout other{2976, 4209, 0};
    CImageObj* copy = other.Add(0, 0);
    copy->CopyFrom(*image2, false);
    copy->SetSelected(1);
    ASSERT_EQ(ResizeSelectedImages(other.layout, copy,
                                   {(tracked.right - tracked.left + 30) * 3.75, (tracked.bottom - tracked.top + 30) * 3.75},
                                   kHitBottomRight),
              1);
    const PixelPoint handle = view->View().SetupObjectTracker(*image2).HandleSquare(5);
    DragBy({handle.x + 2, handle.y + 2}, {30, 30});
    EXPECT_NEAR(image2->GetSizeD().x, copy->GetSizeD().x, 0.5);
    EXPECT_NEAR(image2->GetSizeD().y, copy->GetSizeD().y, 0.5);
    EXPECT_EQ(image2->GetPosition(), (LayoutPoint{1570, 720}));

    // A rubber band around the free text, shown while it is drawn.
    const PixelRect r = view->View().SetupObjectTracker(*text).Rect();
    Press({r.right + 12, r.bottom + 12});
    Move({r.right - 20, r.bottom - 10});
    Move({r.left - 12, r.top - 12});
    Pump(150);
    ASSERT_TRUE(view->Drag().Band().has_value());
    SavePng(frame, "layout-view-band.png");
    Release();
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{text});
    EXPECT_FALSE(view->Drag().Band().has_value());

    // The free line's end.
    Click(At(1400, 3000));
    ASSERT_EQ(Selected(), std::vector<CLayoutObj*>{line});
    auto moved = std::make_unique<CLineObj>(true);
    moved->CopyFrom(*line, false);
    MoveFreeLineEnd(*moved, 112, 56, 1);
    DragBy(At(2137, 3000), {30, 15}, 6);
    EXPECT_EQ(line->GetPosition(), moved->GetPosition());
    EXPECT_EQ(line->GetOffsetEnd(), moved->GetOffsetEnd());
    Click(At(1000, 1000));
    SavePng(frame, "layout-view-drags.png");
}

TEST_F(MouseDrag, EscPutsBackTheLayoutAndTheUndoOfBeforeThePress) {
    image1->SetSelected(1);
    image2->SetPosition(1650, 720);
    undo.PushUndo(layout, 7);
    image2->SetPosition(1600, 720);
    const std::string layoutBefore = test::DescribeByName(layout);
    const std::string undoBefore = test::DescribeByName(*undo.GetUndoLayout());
    Press(At(1000, 1000));
    for (int i = 1; i <= 5; ++i) Move({At(1000, 1000).x + 10 * i, At(1000, 1000).y + 5 * i});
    EXPECT_NE(image1->GetPosition(), (LayoutPoint{720, 720}));
    EXPECT_TRUE(view->HasCapture());
    mSim.Char(WXK_ESCAPE);
    Pump(150);
    Release();
    EXPECT_EQ(test::DescribeByName(layout), layoutBefore);
    ASSERT_TRUE(undo.CanUndo());
    EXPECT_EQ(test::DescribeByName(*undo.GetUndoLayout()), undoBefore);
    EXPECT_FALSE(view->HasCapture());
}

TEST_F(MouseDrag, SnappingAndDroppingInAutomaticLayout) {
    app.preferences.snapToGrid = 1;
    app.preferences.gridX = app.preferences.gridY = 70;
    DragBy(At(1000, 1000), {30, 15}, 5);
    LayoutPoint snapped{832, 776};
    SnapPointToGrid(layout, snapped, 70, 70);
    EXPECT_EQ(image1->GetPosition(), snapped);

    CImageObj* image3 = test::AddPictureItem(layout, 0, 0, 708, 708, 0x3030A0);
    layout.SetFree(0);
    ASSERT_EQ(Relayout(layout), 1);
    view->View().DeselectAll();
    Pump(100);
    const uint32_t one = image1->GetObjectId(), two = image2->GetObjectId(), three = image3->GetObjectId();
    const auto centre = [&](const CLayoutObj& item) {
        const PixelRect r = view->View().SetupObjectTracker(item).Rect();
        return wxPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    const wxPoint from = centre(*image3), to = centre(*image1);
    DragBy(from, {to.x - from.x, to.y - from.y}, 8);
    std::vector<uint32_t> order;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
        if (p->GetKind() == kKindImage) order.push_back(p->GetObjectId());
    EXPECT_EQ(order, (std::vector<uint32_t>{three, one, two}));
    SavePng(frame, "layout-view-drop.png");
}

}  // namespace
}  // namespace vx
