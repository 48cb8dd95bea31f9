#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../model/LayoutFixture.h"
#include "dialogs/DuplicateController.h"
#include "model/CTextObj.h"
#include "model/ObjectList.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/StringTable.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

TEST(DuplicateController, TakesAWholeNumberFromOneToNinetyNine) {
    struct Case { const char* text; int count; };  // 0: refused
    const std::vector<Case> cases = {
        {"2.6", 3}, {"1", 1}, {"99", 99}, {"99.4", 99}, {"0", 0}, {"100", 0}, {"abc", 0}, {"-1", 0}, {"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        test::RecordingMessagePort messages;
        test::ScopedPorts ports(&messages);
        DuplicateController dialog;
        EXPECT_EQ(dialog.Accept(c.text), c.count != 0);
        if (c.count) {
            EXPECT_EQ(dialog.Count(), c.count);
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.Ids(), std::vector<int>{IDS_VALUE_RANGE_INT});
            EXPECT_EQ(messages.shown[0].args.size(), 4u);
            EXPECT_NE(messages.shown[0].text.find("1  - 99 "), std::string::npos) << messages.shown[0].text;
        }
    }
}

/// An automatic layout of nine images on one page, the middle one selected, with an
/// earlier undo step on record.
struct Series {
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;
    test::InstalledApplicationState app;
    test::TestLayout t;
    CLayoutSetting& layout = t.layout;

    explicit Series(int16_t pageMax = 50, int texts = 0) {
        app.undo = &undo;
        layout.SetPageMax(pageMax);
        auto images = t.AddImages(9);
        for (int i = 0; i < texts; ++i) t.Add<CTextObj>(10, 10, 100, 100);
        EXPECT_EQ(Relayout(layout), 1);
        images[4]->SetSelected(1);
        EXPECT_TRUE(undo.PushUndo(layout, 7));
    }
    int Count() const { return CountObjects(layout.ItemListHead()); }
    std::string UndoState() {
        CLayoutSetting* entry = undo.GetUndoLayout();
        return entry ? test::DescribeByName(*entry) : "none";
    }
};

TEST(DuplicateSeveralTimes, PassingTheLengthLimitPutsEverythingBack) {
    Series s(2);  // nine images a page: the tenth copy needs a third page
    const std::string before = test::DescribeByName(s.layout);
    const std::string undoBefore = s.UndoState();
    EXPECT_EQ(DuplicateSeveralTimes(s.layout, 10), 0);
    EXPECT_EQ(s.messages.Ids(), std::vector<int>{IDS_PAPER_LENGTH_LIMIT});
    EXPECT_EQ(test::DescribeByName(s.layout), before) << "the nine copies made before went too";
    EXPECT_EQ(s.UndoState(), undoBefore);
}

TEST(DuplicateSeveralTimes, TheItemLimitKeepsTheCopiesMade) {
    Series s(50, 986);  // 995 items: four copies fit
    EXPECT_EQ(DuplicateSeveralTimes(s.layout, 10), 4);
    ASSERT_EQ(s.messages.Ids(), std::vector<int>{IDS_OBJECT_LIMIT});
    EXPECT_EQ(s.messages.shown[0].text, "Die maximale Anzahl von Objekten, die Sie einfügen können, beträgt 999.");
    EXPECT_EQ(s.Count(), 999);
}

TEST(DuplicateSeveralTimes, OneUndoTakesBackTheWholeSeries) {
    Series s;
    const std::string before = test::DescribeByName(s.layout);
    EXPECT_EQ(DuplicateSeveralTimes(s.layout, 3), 3);
    EXPECT_EQ(s.Count(), 12);
    EXPECT_EQ(s.layout.GetDirty(), 1);
    EXPECT_EQ(s.undo.GetLastUndoCode(), 15);
    ASSERT_TRUE(s.undo.PerformUndo(s.layout));
    EXPECT_EQ(test::DescribeByName(s.layout), before);
}

TEST(DuplicateSeveralTimes, TheCommandAsksFirstAndCancelChangesNothing) {
    Series s;
    s.app.preferences.imageInfoWindow = 1;
    const std::string before = test::DescribeByName(s.layout);
    EXPECT_FALSE(RunDuplicateSeveralTimesCommand(s.layout, [] { return std::nullopt; }));
    EXPECT_EQ(test::DescribeByName(s.layout), before);
    EXPECT_EQ(s.undo.GetLastUndoCode(), 7);
    EXPECT_TRUE(RunDuplicateSeveralTimesCommand(s.layout, [] { return std::optional<int>(2); }));
    EXPECT_EQ(s.Count(), 11);
    EXPECT_GE(s.host.pane.invalidations, 2);
}

}  // namespace
}  // namespace vx
