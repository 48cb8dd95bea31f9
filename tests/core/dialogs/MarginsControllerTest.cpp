#include "dialogs/MarginsController.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "core/model/LayoutFixture.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx::dialogs {
namespace {

using M = MarginsController;

// A4 portrait with the printer's margins, unit mm, manual margins.
struct MarginExample : test::TestLayout {
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;
    MarginsController dialog{undo};

    explicit MarginExample(LayoutRect printer = {0, 0, 42, 0}, int mode = 1) : TestLayout(2976, 4209, 0) {
        layout.SetMargin(printer);
        layout.SetUnit(1);
        layout.SetLayoutAreaMode(mode);
        layout.SetLayoutAreaMgn({0, 0, 0, 0});
        dialog.SetLayout(&layout);
        dialog.Initialise();
    }
    void Type(M::Side side, const char* text) { dialog.SetText(side, text); }
};

TEST(MarginsController, TheLimitOfASideFollowsTheOppositeSide) {
    MarginExample e;
    EXPECT_NEAR(e.dialog.MaxMargin(M::kSideLeft, 0), 2792.27, 0.005);
    const FieldRange range = e.dialog.Range(M::kSideLeft);
    char shown[16];
    std::snprintf(shown, sizeof shown, "%.*f", range.decimals, range.maximum);
    EXPECT_STREQ(shown, "197.0");
    EXPECT_EQ(range.minimum, 0.0);
    EXPECT_EQ(range.textLimit, 9);
    e.Type(M::kSideRight, "10");  // 142 units, above the printer's 42
    EXPECT_NEAR(e.dialog.MaxMargin(M::kSideLeft, 0), 2976 - 142 - 141.73, 0.01);

    e.layout.SetHeaderShow(1);
    e.layout.SetHeaderOffset(300);
    EXPECT_NEAR(e.dialog.MaxMargin(M::kSideTop, 0), 4209 - 300 - 141.73, 0.01);
}

TEST(MarginsController, MarginsBelowThePrinterAreReportedTopBottomLeftRight) {
    MarginExample e({50, 50, 50, 50});
    const std::vector<std::pair<M::Side, const char*>> fixes = {
        {M::kSideTop, "5"}, {M::kSideBottom, "5"}, {M::kSideLeft, "5"}, {M::kSideRight, "5"}};
    for (const auto& [side, text] : fixes) {
        e.messages.shown.clear();
        EXPECT_FALSE(e.dialog.OnOK());
        EXPECT_EQ(e.dialog.FocusSide(), side);
        ASSERT_EQ(e.messages.Ids(), std::vector<int>{10410});
        EXPECT_NE(e.messages.shown[0].text.find("3.53 mm - "), std::string::npos) << e.messages.shown[0].text;
        e.Type(side, text);
    }
    EXPECT_FALSE(e.undo.CanUndo());
    EXPECT_TRUE(e.dialog.OnOK());
    EXPECT_EQ(e.layout.GetLayoutAreaMgn(), (LayoutRect{71, 71, 71, 71}));
    EXPECT_EQ(e.layout.GetPage(), (LayoutRect{71, 71, 2976 - 71, 4209 - 71}));
    EXPECT_EQ(e.undo.GetLastUndoCode(), 23);
    EXPECT_EQ(e.layout.GetDirty(), 1);
}

TEST(MarginsController, NegativeMarginsCountAsPositive) {
    MarginExample e({0, 0, 0, 0});
    e.Type(M::kSideTop, "-5");
    EXPECT_TRUE(e.dialog.OnOK());
    EXPECT_EQ(e.layout.GetLayoutAreaMgn().top, 71);
}

TEST(MarginsController, PrinterMarginsAreCopiedIntoTheLayoutMargins) {
    MarginExample e({30, 40, 50, 60});
    e.layout.SetLayoutAreaMgn({300, 300, 300, 300});
    e.dialog.SetLayout(&e.layout);
    e.dialog.Initialise();
    EXPECT_EQ(e.dialog.Text(M::kSideLeft), "21.17");
    e.dialog.ChoosePrinterMargins();
    EXPECT_FALSE(e.dialog.ManualEnabled());
    EXPECT_EQ(e.dialog.Text(M::kSideLeft), "2.12");
    EXPECT_TRUE(e.dialog.OnOK());
    EXPECT_EQ(e.layout.GetLayoutAreaMode(), 0);
    EXPECT_EQ(e.layout.GetLayoutAreaMgn(), (LayoutRect{30, 40, 50, 60}));
    EXPECT_EQ(e.layout.GetPage(), (LayoutRect{30, 40, 2976 - 50, 4209 - 60}));
}

TEST(MarginsController, UnitChangeRewritesTheMargins) {
    MarginExample e({0, 0, 0, 0});
    e.Type(M::kSideTop, "25.4");
    e.dialog.UnitChanged(1);
    EXPECT_EQ(e.dialog.Unit(), 2);
    EXPECT_EQ(e.dialog.Text(M::kSideTop), "1.000");
    EXPECT_EQ(e.dialog.Range(M::kSideTop).decimals, 2);
}

TEST(MarginsController, AMarginAboveTheLargestIsRefused) {
    MarginExample e;
    e.Type(M::kSideLeft, "197.1");
    EXPECT_FALSE(e.dialog.OnOK());
    EXPECT_EQ(e.dialog.FocusSide(), M::kSideLeft);
    ASSERT_EQ(e.messages.Ids(), std::vector<int>{10410});
    EXPECT_NE(e.messages.shown[0].text.find("0.00 mm - 197.01 mm"), std::string::npos) << e.messages.shown[0].text;
    EXPECT_EQ(e.layout.GetLayoutAreaMgn(), (LayoutRect{0, 0, 0, 0}));
    e.Type(M::kSideLeft, "197.0");
    e.Type(M::kSideRight, "2.97");  // 42 units: the printer's
    EXPECT_TRUE(e.dialog.OnOK());
    EXPECT_EQ(e.layout.GetLayoutAreaMgn(), (LayoutRect{2792, 0, 42, 0}));
}

TEST(MarginsController, FreeLayoutSkipsTheFitCheckButNotTheSheetCheck) {
    struct Case { bool free; bool tooManySheets; int message; };
    for (const Case& c : {Case{false, false, 15168}, Case{true, false, 0}, Case{true, true, 59450}}) {
        SCOPED_TRACE(testing::Message() << "free " << c.free << " sheets " << c.tooManySheets);
        MarginExample e({0, 0, 0, 0});
        e.layout.SetFree(c.free);
        e.layout.SetPageMax(1);
        e.AddImages(3, 2000, 1000);
        e.layout.SetPageNumber(1);
        if (c.tooManySheets) {
            e.layout.SetPageNumber(3);
            e.layout.SetPaperWidth(13000);
            e.layout.SetPaperLength(13600);
        }
        e.Type(M::kSideTop, "100");
        e.Type(M::kSideBottom, "120");
        const LayoutRect before = e.layout.GetLayoutAreaMgn();
        const bool closed = e.dialog.OnOK();
        EXPECT_EQ(closed, c.message == 0);
        EXPECT_EQ(e.messages.Ids(), c.message ? std::vector<int>{c.message} : std::vector<int>{});
        if (!closed) {
            EXPECT_EQ(e.layout.GetLayoutAreaMgn(), before);
            EXPECT_EQ(e.dialog.FocusSide(), M::kSideBottom);
            EXPECT_FALSE(e.undo.CanUndo());
        }
    }
}

}  // namespace
}  // namespace vx::dialogs
