#include <gtest/gtest.h>

#include <vector>

#include "MouseFixture.h"
#include "model/UndoStore.h"
#include "view/HitTesting.h"
#include "view/ResizeItems.h"

namespace vx {
namespace {

using test::AddFreeLine;
using test::TestLayout;

struct ImageSetup {
    LayoutPointD size;
    int frameMode = 0;
    int32_t edge = 0;
    int ratioMode = 0;
    int shift = 0;
};

struct ResizeCase {
    const char* name;
    ImageSetup clicked;
    int hit;
    LayoutPointD tracked;
    LayoutPointD size;      // the clicked image's size afterwards
    LayoutPointD moved;     // how far its position moved
    int32_t edge = -1;      // its frame edges afterwards; -1: unchanged
};

CImageObj* AddImage(TestLayout& t, const ImageSetup& s) {
    CImageObj* image = t.Add(0, 0, 1000, 1000);
    image->SetSizeMethod(1);
    image->SetSizeD(s.size.x, s.size.y);
    image->SetFrameMode(int16_t(s.frameMode));
    image->SetFrame({s.edge, s.edge, s.edge, s.edge});
    image->SetSizeRatioMode(s.ratioMode);
    image->SetResizeWithShiftkey(s.shift);
    image->SetSelected(1);
    return image;
}

TEST(ResizeSelectedImages, ClickedImageByHandle) {
    const std::vector<ResizeCase> cases{
        {"framed, top-left, free", {{1080, 880}, 1, 40}, kHitTopLeft, {1280, 980}, {1290, 990}, {-210, -110}, 45},
        {"bottom-right, free", {{1000, 800}}, kHitBottomRight, {1200, 900}, {1200, 900}, {0, 0}},
        {"top edge keeps the width", {{1000, 800}}, kHitTop, {1300, 900}, {1000, 900}, {0, -100}},
        {"left edge keeps the height", {{1000, 800}}, kHitLeft, {1200, 1000}, {1200, 800}, {-200, 0}},
        // Proportional: a corner follows the height when the tracked rectangle is wider
        // than the image, else the width.
        {"corner, by height", {{1000, 800}, 0, 0, 1}, kHitBottomRight, {1500, 900}, {1125, 900}, {0, 0}},
        {"corner, by width", {{1000, 800}, 0, 0, 0, 1}, kHitTopRight, {1100, 1000}, {1100, 880}, {0, -80}},
        {"bottom edge, proportional", {{1000, 800}, 0, 0, 1}, kHitBottom, {1000, 400}, {500, 400}, {0, 0}},
        {"minimum, free", {{1000, 800}}, kHitBottomRight, {100, 50}, {142, 142}, {0, 0}},
        {"minimum, proportional", {{1000, 500}, 0, 0, 1}, kHitRight, {100, 500}, {284, 142}, {0, 0}},
        {"maximum, free", {{1000, 800}}, kHitBottomRight, {300000, 900}, {212598, 900}, {0, 0}},
        {"maximum, proportional", {{1000, 500}, 0, 0, 1}, kHitRight, {300000, 500}, {212598, 106299}, {0, 0}},
    };
    for (const ResizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestLayout t;
        CImageObj* image = AddImage(t, c.clicked);
        const LayoutPointD before = image->GetPositionD();
        ASSERT_EQ(ResizeSelectedImages(t.layout, image, c.tracked, c.hit), 1);
        EXPECT_DOUBLE_EQ(image->GetSizeD().x, c.size.x);
        EXPECT_DOUBLE_EQ(image->GetSizeD().y, c.size.y);
        EXPECT_DOUBLE_EQ(image->GetPositionD().x - before.x, c.moved.x);
        EXPECT_DOUBLE_EQ(image->GetPositionD().y - before.y, c.moved.y);
        const int32_t edge = c.edge < 0 ? c.clicked.edge : c.edge;
        EXPECT_EQ(image->GetFrame(), (LayoutRect{edge, edge, edge, edge}));
        EXPECT_EQ(image->GetChanged(), 1);
    }
}

TEST(ResizeSelectedImages, OtherSelectedImagesFollowByTheFactors) {
    TestLayout t;
    CImageObj* clicked = AddImage(t, {{1000, 800}});
    CImageObj* free = AddImage(t, {{500, 400}});
    CImageObj* proportional = AddImage(t, {{500, 400}, 0, 0, 1});
    CImageObj* unselected = AddImage(t, {{500, 400}});
    unselected->SetSelected(0);
    // Both share the ratio mode with the clicked image or the group is refused.
    EXPECT_EQ(ResizeSelectedImages(t.layout, clicked, {1500, 1000}, kHitBottomRight), 0);
    proportional->SetSelected(0);
    ASSERT_EQ(ResizeSelectedImages(t.layout, clicked, {1500, 1000}, kHitBottomRight), 1);
    EXPECT_EQ(free->GetSizeD(), (LayoutPointD{750, 500}));
    EXPECT_EQ(unselected->GetSizeD(), (LayoutPointD{500, 400}));
}

TEST(ResizeSelectedImages, RefusalLeavesEveryImageAsItWas) {
    TestLayout t;
    CImageObj* clicked = AddImage(t, {{1000, 800}});
    CImageObj* empty = AddImage(t, {{500, 0}});
    EXPECT_EQ(ResizeSelectedImages(t.layout, clicked, {1500, 1000}, kHitBottomRight), 0);
    EXPECT_EQ(clicked->GetSizeD(), (LayoutPointD{1000, 800}));
    EXPECT_EQ(clicked->GetChanged(), 0);
    EXPECT_EQ(empty->GetSizeD(), (LayoutPointD{500, 0}));
    empty->SetSelected(0);
    EXPECT_EQ(ResizeSelectedImages(t.layout, clicked, {0, 1000}, kHitBottomRight), 0);
    EXPECT_EQ(ResizeSelectedImages(t.layout, nullptr, {1500, 1000}, kHitBottomRight), 0);
    EXPECT_EQ(clicked->GetSizeD(), (LayoutPointD{1000, 800}));
}

TEST(CanResizeSelectionTogether, AgreementOfTheSelectedImages) {
    TestLayout t;
    CImageObj* a = AddImage(t, {{1000, 800}});
    EXPECT_TRUE(CanResizeSelectionTogether(t.layout));
    a->SetFrameMode(1);
    EXPECT_TRUE(CanResizeSelectionTogether(t.layout));  // alone
    CImageObj* b = AddImage(t, {{1000, 800}});
    EXPECT_FALSE(CanResizeSelectionTogether(t.layout));  // the first is framed
    a->SetFrameMode(0);
    EXPECT_TRUE(CanResizeSelectionTogether(t.layout));
    b->SetImageOption(2);
    EXPECT_FALSE(CanResizeSelectionTogether(t.layout));
    b->SetImageOption(0);
    b->SetSizeMethod(2);
    EXPECT_FALSE(CanResizeSelectionTogether(t.layout));
    a->SetSizeMethod(2);
    b->SetFrameMode(1);
    EXPECT_TRUE(CanResizeSelectionTogether(t.layout));  // frames matter with size method 1 only
    b->SetSizeRatioMode(1);
    EXPECT_FALSE(CanResizeSelectionTogether(t.layout));
}

TEST(SnapPointToGrid, GridRestartsOnEveryPage) {
    TestLayout t{2976, 4000, 0};
    struct Case {
        LayoutPoint in, out;
    };
    const std::vector<Case> cases{{{104, 104}, {70, 70}},  {{105, 4034}, {140, 4001}}, {{0, 4035}, {0, 4070}},
                                  {{35, 7999}, {70, 7990}}, {{34, 0}, {0, 1}},          {{-104, 70}, {0, 70}}, {{-105, 70}, {-70, 70}}};
    for (const Case& c : cases) {
        LayoutPoint p = c.in;
        SnapPointToGrid(t.layout, p, 70, 70);
        EXPECT_EQ(p, c.out) << c.in.x << ", " << c.in.y;
    }
    LayoutPoint p{104, 4034};
    SnapPointToGrid(t.layout, p, 0, -5);
    EXPECT_EQ(p, (LayoutPoint{104, 4034}));
    SnapPointToGrid(t.layout, p, 50, 100);
    EXPECT_EQ(p, (LayoutPoint{100, 4001}));
    TestLayout noHeight{2976, 0, 0};
    p = {104, 4034};
    SnapPointToGrid(noHeight.layout, p, 70, 70);
    EXPECT_EQ(p, (LayoutPoint{70, 4034}));
}

TEST(ClampLineEndDelta, FirstEndStaysInsideTheMarginsOfItsPage) {
    TestLayout t{2976, 4209, 100};
    CLineObj* line = AddFreeLine(t.layout, {720, 4209 + 720}, {2137, 4209 + 720});
    struct Case {
        LayoutPoint delta;
        int hit;
        LayoutPoint out;
        bool changed;
    };
    const std::vector<Case> cases{{{-1000, 0}, kHitTopLeft, {-620, 0}, true},
                                  {{0, -1000}, kHitTopLeft, {0, -620}, true},
                                  {{3000, 0}, kHitTopLeft, {2156, 0}, true},
                                  {{0, 4000}, kHitTopLeft, {0, 3389}, true},
                                  {{-100, 100}, kHitTopLeft, {-100, 100}, false},
                                  {{-1000, 0}, kHitBottomRight, {-1000, 0}, false},
                                  {{-1000, 0}, kHitMiddle, {-1000, 0}, false}};
    for (const Case& c : cases) {
        LayoutPoint d = c.delta;
        EXPECT_EQ(ClampLineEndDelta(t.layout, *line, d, c.hit), c.changed) << c.delta.x << ", " << c.delta.y;
        EXPECT_EQ(d, c.out) << c.delta.x << ", " << c.delta.y;
    }
    // Without a printer margin the right and bottom stop one unit inside the layout margins.
    t.layout.SetMargin({0, 0, 0, 0});
    LayoutPoint d{3000, 4000};
    EXPECT_TRUE(ClampLineEndDelta(t.layout, *line, d, kHitTopLeft));
    EXPECT_EQ(d, (LayoutPoint{2876 - 720 - 1, 4109 - 720 - 1}));
}

TEST(MoveSelectedItems, MovesTheSelectionWithinItsPagesInOneUndoStep) {
    TestLayout t{2976, 4209, 0};
    t.layout.SetFree(1);
    t.layout.SetPageNumber(2);
    CImageObj* a = t.Add(708, 708, 720, 720);
    CImageObj* b = t.Add(708, 708, 720, 4209 + 100);
    CImageObj* still = t.Add(708, 708, 1600, 720);
    a->SetSelected(1);
    b->SetSelected(1);
    UndoStore undo;
    EXPECT_EQ(MoveSelectedItems(t.layout, undo, 10, -200, false), 1);
    EXPECT_EQ(a->GetPosition(), (LayoutPoint{730, 520}));
    EXPECT_EQ(b->GetPosition(), (LayoutPoint{730, 4210}));  // one unit below its page's top
    EXPECT_EQ(still->GetPosition(), (LayoutPoint{1600, 720}));
    EXPECT_EQ(a->GetChanged(), 1);
    EXPECT_EQ(still->GetChanged(), 0);
    EXPECT_EQ(b->GetLastModified(), 1);
    EXPECT_EQ(a->GetSelected(), 1);
    EXPECT_EQ(undo.GetLastUndoCode(), kUndoCodeDragStep);
    EXPECT_EQ(MoveSelectedItems(t.layout, undo, 5, 5, false), 1);
    ASSERT_TRUE(undo.CanUndo());
    EXPECT_EQ(undo.GetUndoLayout()->GetFirstItem()->GetPosition(), (LayoutPoint{720, 720}));

    // Images of an automatic layout stay where the flow put them when kept.
    t.layout.SetFree(0);
    EXPECT_EQ(MoveSelectedItems(t.layout, undo, 5, 5, true), 0);
    EXPECT_EQ(a->GetPosition(), (LayoutPoint{735, 525}));
}

}  // namespace
}  // namespace vx
