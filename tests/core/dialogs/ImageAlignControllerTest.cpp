#include "dialogs/ImageAlignController.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/model/LayoutFixture.h"
#include "model/CUndoEntry.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx::dialogs {
namespace {

using Field = ImageAlignController::Field;
using test::DescribeByName;

struct AlignExample : test::TestLayout {
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;
    ImageAlignController dialog{undo};

    explicit AlignExample(int16_t unit = 1, int images = 10) {
        layout.SetUnit(unit);
        AddImages(images);
        EXPECT_EQ(Relayout(layout), 1);
        dialog.SetLayout(&layout);
    }
};

TEST(ImageAlignController, SpacingBeyondTheWidestIsCorrectedAndSelected) {
    struct Case { int16_t unit; const char* typed; const char* shown; };
    for (const Case& c : {Case{2, "70", "64.000"}, Case{1, "1778", "1625.60"}, Case{1, "-3", "1625.60"}}) {
        SCOPED_TRACE(c.typed);
        AlignExample e(c.unit);
        e.dialog.Init();
        e.dialog.TextChanged(Field::Horizontal, c.typed);
        EXPECT_EQ(e.dialog.Text(Field::Horizontal), c.shown);
        EXPECT_EQ(e.dialog.TakeCorrectedField(), Field::Horizontal);
        EXPECT_FALSE(e.dialog.TakeCorrectedField());
        EXPECT_EQ(e.layout.GetSpace().x, 23040);
        EXPECT_EQ(e.dialog.Text(Field::Vertical), c.unit == 2 ? "0.056" : "1.41");  // 20 units, untouched
    }
}

TEST(ImageAlignController, UnitChangeKeepsTheSpacingAndRewritesTheText) {
    AlignExample e(1);
    e.dialog.Init();
    EXPECT_EQ(e.dialog.Range(Field::Horizontal).maximum, 1625.6);
    e.dialog.TextChanged(Field::Horizontal, "10.0");
    e.dialog.UnitChanged(Field::Horizontal, 1);
    EXPECT_EQ(e.dialog.Unit(Field::Horizontal), 2);
    EXPECT_EQ(e.dialog.Text(Field::Horizontal), "0.394");
    EXPECT_EQ(e.dialog.Range(Field::Horizontal).maximum, 64.0);
    EXPECT_EQ(e.dialog.Range(Field::Horizontal).decimals, 2);
    EXPECT_EQ(e.layout.GetSpace().x, 142);
    EXPECT_EQ(e.dialog.Unit(Field::Vertical), 1);
}

TEST(ImageAlignController, StoredCodesCheckTheirRadios) {
    struct Case { int32_t h; int16_t v; int32_t row; int hRadio, vRadio, rowRadio; };
    const std::vector<Case> cases = {
        {4, 3, 9, 3826, 3829, 3835}, {1, 2, 1, 3822, 3831, 3833}, {2, 4, 4, 3827, 3830, 3834},
        {5, 1, 2, 3828, 3829, 3835}, {7, 0, 0, 3826, 3829, 3835}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.h << ' ' << c.v << ' ' << c.row);
        AlignExample e;
        e.layout.SetAlign({c.h, c.row});
        e.layout.SetVerticalAlign(c.v);
        e.dialog.Init();
        EXPECT_EQ(e.dialog.CheckedHorizontal(), c.hRadio);
        EXPECT_EQ(e.dialog.CheckedVertical(), c.vRadio);
        EXPECT_EQ(e.dialog.CheckedRow(), c.rowRadio);
        EXPECT_EQ(e.undo.GetLastUndoCode(), 18);
    }
}

TEST(ImageAlignController, ClicksAreLaidOutLive) {
    AlignExample e;
    e.dialog.Init();
    const auto before = test::PositionsOf({static_cast<CImageObj*>(e.layout.GetFirstItem())});
    e.dialog.ClickRadio(ImageAlignController::kHorizontalRight);
    EXPECT_EQ(e.layout.GetAlign().x, 2);
    EXPECT_EQ(e.layout.GetDirty(), 1);
    EXPECT_NE(test::PositionsOf({static_cast<CImageObj*>(e.layout.GetFirstItem())}), before);
    e.dialog.ClickRadio(ImageAlignController::kRowCentre);
    e.dialog.ClickRadio(ImageAlignController::kVerticalBottom);
    EXPECT_EQ(e.layout.GetAlign().y, 4);
    EXPECT_EQ(e.layout.GetVerticalAlign(), 2);
    EXPECT_GT(e.host.pane.invalidations, 0);
}

TEST(ImageAlignController, CancelPutsTheSavedValuesBackAndTheOpenerRestoresTheRest) {
    AlignExample e;
    e.undo.PushUndo(e.layout, 22);
    const std::string before = DescribeByName(e.layout);
    const std::string undoBefore = DescribeByName(*e.undo.GetUndoLayout());
    std::unique_ptr<CUndoEntry> snapshot, previous;
    ASSERT_TRUE(e.undo.SnapshotLayout(e.layout, snapshot, &previous));

    e.dialog.Init();
    e.dialog.ClickRadio(ImageAlignController::kHorizontalJustify);
    e.dialog.TextChanged(Field::Horizontal, "50");
    e.dialog.TextChanged(Field::Vertical, "7");
    e.dialog.ClickRadio(ImageAlignController::kRowTop);
    e.dialog.ClickRadio(ImageAlignController::kVerticalCentre);
    e.dialog.OnCancel();
    EXPECT_EQ(e.layout.GetSpace(), (LayoutPoint{20, 20}));
    EXPECT_EQ(e.layout.GetAlign(), (LayoutPoint{1, 1}));
    EXPECT_EQ(e.layout.GetVerticalAlign(), 1);

    e.undo.RestoreLayoutSnapshot(e.layout, *snapshot, previous.get());
    EXPECT_EQ(DescribeByName(e.layout), before);
    ASSERT_TRUE(e.undo.CanUndo());
    EXPECT_EQ(DescribeByName(*e.undo.GetUndoLayout()), undoBefore);
}

TEST(ImageAlignController, OkOnALayoutTooLongIsRefusedAndStaysOpen) {
    AlignExample e;
    e.layout.SetPageMax(3);
    e.dialog.Init();
    const std::string entry = DescribeByName(*e.undo.GetUndoLayout());
    e.dialog.TextChanged(Field::Vertical, "400");  // a page per row: more than 3 pages
    const std::string atOk = DescribeByName(e.layout);
    EXPECT_FALSE(e.dialog.OnOK());
    EXPECT_EQ(e.messages.Ids(), std::vector<int>{15168});
    EXPECT_EQ(e.messages.shown[0].icon, Icon::Error);
    EXPECT_EQ(e.layout.GetSpace().y, 5669);
    EXPECT_EQ(DescribeByName(e.layout), atOk);
    EXPECT_EQ(e.undo.GetLastUndoCode(), 18);
    EXPECT_TRUE(e.undo.CanUndo());

    e.dialog.TextChanged(Field::Vertical, "2");
    EXPECT_TRUE(e.dialog.OnOK());
    EXPECT_EQ(e.messages.Ids().size(), 1u);
    ASSERT_TRUE(e.undo.CanUndo());  // still the dialog's one step, taken when it opened
    EXPECT_EQ(DescribeByName(*e.undo.GetUndoLayout()), entry);
    EXPECT_EQ(e.undo.GetLastUndoCode(), 18);
    EXPECT_EQ(e.layout.GetDirty(), 1);
}

TEST(ImageAlignController, OkWithoutItemsStillMarksTheLayoutDirty) {
    AlignExample e(1, 0);
    e.dialog.Init();
    e.layout.SetDirty(0);
    EXPECT_TRUE(e.dialog.OnOK());
    EXPECT_EQ(e.layout.GetDirty(), 1);
}

}  // namespace
}  // namespace vx::dialogs
