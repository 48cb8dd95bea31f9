#include <gtest/gtest.h>

#include "MouseFixture.h"
#include "view/HitTesting.h"

namespace vx {
namespace {

using test::AddFreeLine;
using test::AddFreeTextFrame;
using test::MouseTest;

using ClickSelection = MouseTest;

TEST_F(ClickSelection, ClickSelectsOnlyTheItemAndMakesItCurrent) {
    image2->SetSelected(1);
    CLayoutObj* item = nullptr;
    EXPECT_EQ(view.SelectAtPoint(Px(1000, 1000), false, &item), kHitMiddle);
    EXPECT_EQ(item, image1);
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{image1});
    EXPECT_EQ(layout.GetCurrentItem(), image1);
    EXPECT_EQ(image1->GetLastModified(), 1);
    EXPECT_GT(window.invalidations, 0);

    EXPECT_EQ(view.SelectAtPoint(Px(2500, 2500), false, &item), kHitNothing);
    EXPECT_EQ(item, nullptr);
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{image1});
}

// Image 3 lies over image 1, its top-left handle inside image 1: an unselected item's
// handle is passed over for what lies below.
TEST_F(ClickSelection, HandleOfUnselectedItemSelectsTheItemBelow) {
    CImageObj* over = t.Add(708, 708, 1000, 1000);
    const PixelPoint handle = Px(1000, 1000);
    CLayoutObj* item = nullptr;
    EXPECT_EQ(view.SelectAtPoint(handle, false, &item), kHitMiddle);
    EXPECT_EQ(item, image1);
    EXPECT_EQ(over->GetSelected(), 0);
    // Once selected, its handle is its own.
    view.DeselectAll();
    over->SetSelected(1);
    EXPECT_EQ(view.SelectAtPoint(handle, false, &item), kHitTopLeft);
    EXPECT_EQ(item, over);
}

TEST_F(ClickSelection, ShiftRulesForImages) {
    CLayoutObj* item = nullptr;
    view.SelectAtPoint(Px(1000, 1000), false, &item);
    view.SelectAtPoint(Px(1900, 1000), true, &item);
    EXPECT_EQ(Selected(), (std::vector<CLayoutObj*>{image1, image2}));
    EXPECT_EQ(layout.GetCurrentItem(), image2);

    // On a selected image's handle: proportional resizing, nothing deselected.
    const PixelPoint handle = view.SetupObjectTracker(*image2).HandleSquare(5);
    EXPECT_EQ(view.SelectAtPoint(handle, true, &item), kHitBottomRight);
    EXPECT_EQ(item, image2);
    EXPECT_EQ(image2->GetResizeWithShiftkey(), 1);
    EXPECT_EQ(image2->GetSelected(), 1);

    // Inside: deselected; the last selected image becomes current.
    EXPECT_EQ(view.SelectAtPoint(Px(1900, 1000), true, &item), kHitMiddle);
    EXPECT_EQ(item, nullptr);
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{image1});
    EXPECT_EQ(layout.GetCurrentItem(), image1);
}

TEST_F(ClickSelection, ShiftTogglesFreeTextsAndLines) {
    CTextObj* text = AddFreeTextFrame(layout, {{{720, 2000}, {1420, 2000}, {1420, 2400}, {720, 2400}}});
    CLineObj* line = AddFreeLine(layout, {720, 3000}, {2137, 3000});
    CLayoutObj* item = nullptr;
    view.SelectAtPoint(Px(1000, 1000), false, &item);
    for (CLayoutObj* other : std::vector<CLayoutObj*>{text, line}) {
        const PixelPoint p = other == text ? Px(1000, 2200) : Px(1400, 3000);
        EXPECT_EQ(view.SelectAtPoint(p, true, &item), kHitMiddle);
        EXPECT_EQ(item, other);
        EXPECT_EQ(view.SelectAtPoint(p, true, &item), kHitMiddle);
        EXPECT_EQ(item, nullptr);
        EXPECT_EQ(other->GetSelected(), 0);
    }
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{image1});
    view.SelectAtPoint(Px(1000, 2200), false, &item);
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{text});
}

TEST_F(ClickSelection, ItemsOfOtherPagesAreNotPicked) {
    CImageObj* below = t.Add(708, 708, 720, 4209 + 720);
    CLayoutObj* item = nullptr;
    EXPECT_EQ(view.SelectAtPoint(Px(1000, 1000), false, &item), kHitMiddle);
    EXPECT_EQ(item, image1);
    view.SetCurrentPage(1);
    EXPECT_EQ(view.SelectAtPoint(Px(1000, 1000), false, &item), kHitMiddle);
    EXPECT_EQ(item, below);
}

using BandSelection = MouseTest;

TEST_F(BandSelection, StrictlyInsideOnlyAndWithoutShiftTheOldSelectionGoesFirst) {
    CTextObj* text = AddFreeTextFrame(layout, {{{720, 2000}, {1420, 2000}, {1420, 2400}, {720, 2400}}});
    image2->SetSelected(1);
    const PixelRect textRect = view.SetupObjectTracker(*text).Rect();
    // Touching the text's edge is not enough.
    EXPECT_FALSE(view.SelectInBand({textRect.left, textRect.top - 5, textRect.right + 5, textRect.bottom + 5}, false));
    EXPECT_TRUE(Selected().empty());
    image2->SetSelected(1);
    EXPECT_TRUE(view.SelectInBand({textRect.left - 1, textRect.top - 1, textRect.right + 1, textRect.bottom + 1}, false));
    EXPECT_EQ(Selected(), std::vector<CLayoutObj*>{text});

    // With Shift, the images are added and the text toggled off; the last image is current.
    EXPECT_TRUE(view.SelectInBand({0, 0, 800, 800}, true));
    EXPECT_EQ(Selected(), (std::vector<CLayoutObj*>{image1, image2}));
    EXPECT_EQ(layout.GetCurrentItem(), image1);
}

TEST_F(BandSelection, DeselectAllClearsEveryItemAndTheCurrentOne) {
    image1->SetSelected(1);
    image2->SetSelected(1);
    layout.SetCurrentItem(image2);
    view.DeselectAll();
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(layout.GetSelected(), 0);
    EXPECT_EQ(layout.GetOther(), 0);
    EXPECT_EQ(layout.GetCurrentItem(), nullptr);
}

TEST_F(BandSelection, DropTargetOnlyForUnselectedImagesOfAnAutomaticLayout) {
    image1->SetSelected(1);
    const PixelPoint onImage2 = Px(1900, 1000);
    EXPECT_EQ(view.FindDropTarget(*image1, onImage2), nullptr);  // free layout
    layout.SetFree(0);
    EXPECT_EQ(view.FindDropTarget(*image1, onImage2), image2);
    EXPECT_EQ(view.FindDropTarget(*image1, Px(2500, 2500)), nullptr);
    image2->SetSelected(1);
    EXPECT_EQ(view.FindDropTarget(*image1, onImage2), nullptr);
}

}  // namespace
}  // namespace vx
