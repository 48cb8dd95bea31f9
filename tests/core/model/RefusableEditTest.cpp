#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LayoutFixture.h"
#include "model/RefusableEdit.h"
#include "model/Relayout.h"
#include "model/UndoStore.h"
#include "platform/system/StringTable.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"

namespace vx {
namespace {

using test::DescribeByName;
using test::TestLayout;

constexpr bool kCheckSheets = true;

// Ten images over two pages, the second one current.
struct Example : TestLayout {
    test::RecordingHost host;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    UndoStore undo;

    Example() {
        auto images = AddImages(10);
        layout.SetCurrentItem(images[1]);
        EXPECT_EQ(Relayout(layout), 1);
    }
};

TEST(RunRefusableEdit, RefusalPutsLayoutAndUndoStateBack) {
    struct Case {
        const char* what;
        int16_t pageMax;
        int32_t paperWidth, paperLength;  // printer paper units, for the sheet check
        EditOutcome outcome;
        int message;
    };
    const std::vector<Case> cases = {
        {"more than the page maximum", 2, 0, 0, EditOutcome::TooLong, 15168},
        // 3 pages of 13,000 x 13,600 = 530,400,000 > 529,932,300: 90 ppi.
        {"too much cut-sheet area", 50, 13000, 13600, EditOutcome::TooManySheets, 59450},
    };
    for (const Case& c : cases)
        for (bool earlierEntry : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.what << (earlierEntry ? ", with an undo entry" : ""));
            Example e;
            e.layout.SetPageMax(c.pageMax);
            e.layout.SetPaperWidth(c.paperWidth);
            e.layout.SetPaperLength(c.paperLength);
            std::string undoBefore;
            if (earlierEntry) {
                e.undo.PushUndo(e.layout, 22);
                e.layout.SetPaperColor(0xFF);
                undoBefore = DescribeByName(*e.undo.GetUndoLayout());
            }
            const std::string before = DescribeByName(e.layout);
            const int invalidations = e.host.view.invalidations;

            const EditOutcome outcome = RunRefusableEdit(e.undo, e.layout, 6, kCheckSheets, [&](CLayoutSetting&) {
                e.AddImages(9);  // a third page
            });
            EXPECT_EQ(outcome, c.outcome);
            ASSERT_EQ(e.messages.Ids(), std::vector<int>{c.message});
            EXPECT_EQ(e.messages.shown[0].icon, Icon::Error);
            EXPECT_EQ(DescribeByName(e.layout), before);
            EXPECT_EQ(e.layout.GetCurrentItem()->GetOwner(), &e.layout);
            EXPECT_EQ(e.layout.GetPaperColor(), earlierEntry ? 0xFFu : 0u);
            EXPECT_EQ(e.undo.CanUndo(), earlierEntry);
            if (earlierEntry) {
                EXPECT_EQ(DescribeByName(*e.undo.GetUndoLayout()), undoBefore);
            }
            EXPECT_GT(e.host.view.invalidations, invalidations);
        }
}

TEST(RunRefusableEdit, AnEditThatFitsStandsAndCanBeUndone) {
    struct Case { const char* what; bool banner; int32_t paperLength; };
    // 3 pages of 13,000 x 13,000 = 507,000,000: 120 ppi. A banner is no cut sheet.
    for (const Case& c : {Case{"cut sheets within the area", false, 13000}, Case{"banner", true, 13600}}) {
        SCOPED_TRACE(c.what);
        Example e;
        e.layout.SetBanner(c.banner);
        e.layout.SetPageNum(3);
        e.layout.SetPaperWidth(13000);
        e.layout.SetPaperLength(c.paperLength);
        const std::string before = DescribeByName(e.layout);
        const EditOutcome outcome = RunRefusableEdit(e.undo, e.layout, 6, kCheckSheets, [&](CLayoutSetting&) {
            e.AddImages(9);
        });
        EXPECT_EQ(outcome, EditOutcome::Applied);
        EXPECT_TRUE(e.messages.shown.empty());
        EXPECT_EQ(CountObjects(e.layout.ItemListHead()), 19);
        ASSERT_TRUE(e.undo.CanUndo());
        EXPECT_EQ(e.undo.GetLastUndoCode(), 6);
        EXPECT_EQ(DescribeByName(*e.undo.GetUndoLayout()), before);
    }
}

}  // namespace
}  // namespace vx
