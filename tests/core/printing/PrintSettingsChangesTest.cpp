#include <gtest/gtest.h>

#include "PrinterTestSupport.h"
#include "platform/system/StringTable.h"
#include "printing/PrintSettingsChanges.h"
#include "support/RecordingPorts.h"

namespace vx::test {
namespace {

// A reconciled portrait colour sheet on "P44", laid out automatically, with the
// recorders of the pane's hooks.
struct ChangeFixture {
    explicit ChangeFixture(int images = 3, bool free = false) {
        layout = f.BoundLayout("P44");
        layout->SetOrientation(1);
        layout->SetColor(2);
        layout->SetFree(free ? 1 : 0);
        for (int i = 0; i < images; ++i) AddImage(*layout, 100 + 1000 * i, 200);
        SettingsChangeRecord record;
        EXPECT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
        before = DumpLayout(*layout);
        f.manager->GetDevMode(&settingsBefore);
    }
    PrintSettingsChanges Changes() {
        PrintSettingsChanges::Hooks h;
        h.markRow = [this](int row) { rows.push_back(row); };
        h.refreshControls = [this](bool keep) { log.push_back(keep ? "refresh 1" : "refresh 0"); };
        h.updateViews = [this](int hint) { log.push_back("views " + std::to_string(hint)); };
        h.clearUndo = [this] { log.push_back("clear undo"); };
        h.focusOrientation = [this](int o) { log.push_back("focus " + std::to_string(o)); };
        return PrintSettingsChanges(*f.manager, marks, h);
    }
    void ExpectUnchanged() {
        EXPECT_EQ(DumpLayout(*layout), before);
        std::string settings;
        f.manager->GetDevMode(&settings);
        EXPECT_EQ(settings, settingsBefore);
        EXPECT_EQ(f.manager->CurrentPrinter(), "P44");
    }

    ShippedPrinters f;
    std::unique_ptr<CLayoutSetting> layout;
    std::string before, settingsBefore;
    RecordingMarks marks;
    RecordingMessagePort messages;
    ScopedPorts ports{&messages};
    std::vector<int> rows;
    std::vector<std::string> log;
};

TEST(PrintSettingsChanges, TheSameValueDoesNothing) {
    ChangeFixture t;
    auto changes = t.Changes();
    EXPECT_FALSE(changes.ApplyOption(PaneOption::Orientation, 1));
    EXPECT_FALSE(changes.ApplyOption(PaneOption::PaperSize, t.layout->GetPaperSize()));
    EXPECT_FALSE(changes.ApplyOption(PaneOption::Media, t.layout->GetMediaType()));
    EXPECT_FALSE(changes.ApplyPrinter("P44"));
    EXPECT_TRUE(t.marks.log.empty());
    EXPECT_TRUE(t.rows.empty());
    EXPECT_TRUE(t.log.empty());
    EXPECT_TRUE(t.messages.shown.empty());
    t.ExpectUnchanged();
}

// Question 10428 comes only for an automatic layout with items; "Nein" puts all back.
TEST(PrintSettingsChanges, RearrangementIsAskedAndNoRollsBack) {
    struct Case {
        const char* what;
        int images;
        bool free;
        int answer;
        bool asked, stands;
    };
    const Case cases[] = {
        {"items, yes", 3, false, kIdYes, true, true},
        {"items, no", 3, false, kIdNo, true, false},
        {"empty", 0, false, kIdNo, false, true},
        {"free", 3, true, kIdNo, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChangeFixture t(c.images, c.free);
        t.messages.answer = c.answer;
        auto changes = t.Changes();
        EXPECT_EQ(changes.ApplyOption(PaneOption::Orientation, 2), c.stands);
        EXPECT_EQ(t.messages.Ids(), c.asked ? std::vector<int>{IDS_AUTO_REARRANGE} : std::vector<int>{});
        if (c.stands) {
            EXPECT_EQ(t.layout->GetOrientation(), 2);
            EXPECT_EQ(t.rows, std::vector<int>{7});
            EXPECT_EQ(t.log, (std::vector<std::string>{"refresh 1", "views 1", "clear undo"}));
            EXPECT_EQ(t.marks.log, (std::vector<std::string>{"Store", "Mark"}));
        } else {
            t.ExpectUnchanged();
            EXPECT_EQ(t.marks.log, (std::vector<std::string>{"Store", "Load"}));
            EXPECT_EQ(t.log, (std::vector<std::string>{"focus 1", "refresh 1", "views 1"}));
        }
    }
}

TEST(PrintSettingsChanges, MediaKeepsUndoAndPrinterMarksItsRow) {
    {
        ChangeFixture t(0);
        const auto& media = t.f.manager->List(CPrinterManager::OptionList::Media);
        ASSERT_GE(media.size(), 2u);
        const int32_t other = media[0].value == t.layout->GetMediaType() ? media[1].value : media[0].value;
        auto changes = t.Changes();
        EXPECT_TRUE(changes.ApplyOption(PaneOption::Media, other));
        EXPECT_EQ(t.layout->GetMediaType(), static_cast<int16_t>(other));
        EXPECT_EQ(t.rows, std::vector<int>{6});
        EXPECT_EQ(t.log, (std::vector<std::string>{"refresh 1", "views 1"}));
    }
    {
        ChangeFixture t(0);
        auto changes = t.Changes();
        EXPECT_TRUE(changes.ApplyPrinter("P24"));
        EXPECT_EQ(t.f.manager->CurrentPrinter(), "P24");
        EXPECT_EQ(t.layout->Texts().printerName, "P24");
        ASSERT_FALSE(t.rows.empty());
        EXPECT_EQ(t.rows.front(), 2);
        EXPECT_EQ(t.log.back(), "clear undo");
    }
    {
        // A printer that went away: 19601, and everything stays.
        ChangeFixture t(0);
        std::erase_if(t.f.queues.queues, [](const PrintQueue& q) { return q.name == "P24"; });
        auto changes = t.Changes();
        EXPECT_FALSE(changes.ApplyPrinter("P24"));
        EXPECT_EQ(t.messages.Ids(), std::vector<int>{IDS_PRINTER_NOT_OPENED});
        t.ExpectUnchanged();
        EXPECT_TRUE(t.rows.empty());
    }
}

}  // namespace
}  // namespace vx::test
