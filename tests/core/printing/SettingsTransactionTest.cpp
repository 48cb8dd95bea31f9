#include <gtest/gtest.h>

#include "PrinterTestSupport.h"
#include "platform/system/StringTable.h"
#include "printing/SettingsTransaction.h"
#include "support/RecordingPorts.h"

namespace vx::test {
namespace {

using Strings = std::vector<std::string>;

// A reconciled A4 colour sheet with three images on "P44", and the recorders around a
// transaction.
struct TransactionFixture {
    TransactionFixture() {
        layout = f.BoundLayout("P44");
        layout->SetOrientation(1);
        layout->SetColor(2);
        layout->SetAutoMode(1);
        layout->RenewViewState().zoomNumerator = 2;
        for (int i = 0; i < 3; ++i) AddImage(*layout, 100 + 1000 * i, 200);
        layout->SetCurrentItem(layout->GetFirstItem());
        SettingsChangeRecord record;
        EXPECT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
        before = DumpLayout(*layout);
        settingsBefore = Settings();
        f.modules.calls.clear();
    }
    std::string Settings() {
        std::string s;
        f.manager->GetDevMode(&s);
        return s;
    }
    bool Run(const SettingsChange& change) {
        SettingsTransaction transaction(*f.manager, marks, hooks);
        return transaction.Run(change, record);
    }
    // Everything as before the change.
    void ExpectUnchanged(const char* printer = "P44") {
        EXPECT_EQ(DumpLayout(*layout), before);
        EXPECT_EQ(f.manager->CurrentPrinter(), printer);
        EXPECT_EQ(Settings(), settingsBefore);
        EXPECT_EQ(f.manager->GetLayout(), layout.get());
        ExpectPrinterInvariant(*f.manager);
    }

    ShippedPrinters f;
    std::unique_ptr<CLayoutSetting> layout;
    std::string before, settingsBefore;
    RecordingMarks marks;
    RecordingMessagePort messages;
    ScopedPorts ports{&messages};
    int refreshes = 0;
    SettingsTransaction::Hooks hooks{nullptr, [this] { ++refreshes; }};
    SettingsChangeRecord record;
};

SettingsChange PaperSize(int16_t id) {
    SettingsChange c;
    c.write = [id](CLayoutSetting& l) { l.SetPaperSize(id); };
    return c;
}

SettingsChange Printer(const std::string& name) {
    SettingsChange c;
    c.printer = name;
    c.scratchFirst = true;
    c.forceGeometry = true;
    return c;
}

// Fail the n-th driver call of a change, for every n until the change goes through:
// a failed change leaves everything as it was and says why.
TEST(SettingsTransaction, AnyFailingDriverCallRollsTheChangeBack) {
    for (const auto& [what, change] : {std::pair{"paper size", PaperSize(8)}, {"printer", Printer("P24")}}) {
        SCOPED_TRACE(what);
        int failed = 0, n = 1;
        for (;; ++n) {
            SCOPED_TRACE(n);
            TransactionFixture t;
            t.f.modules.failCall = n;
            const bool ok = t.Run(change);
            t.f.modules.failCall = 0;
            if (static_cast<int>(t.f.modules.calls.size()) < n) {  // nothing failed
                EXPECT_TRUE(ok);
                EXPECT_EQ(t.marks.log, (Strings{"Store", "Mark"}));
                break;
            }
            EXPECT_EQ(t.f.manager->GetLayout(), t.layout.get());
            ExpectPrinterInvariant(*t.f.manager);
            if (ok) continue;  // the driver's refusal had a fallback
            ++failed;
            t.ExpectUnchanged();
            const DriverCall& call = t.f.modules.calls.at(n - 1);
            ASSERT_EQ(t.messages.shown.size(), 1u);
            if (call.op == DriverOperation::Open && call.printer == "P24") {
                EXPECT_EQ(t.messages.shown[0].id, IDS_PRINTER_NOT_OPENED);
                EXPECT_EQ(t.messages.shown[0].args, (Args{std::string("P24")}));
            } else {
                EXPECT_EQ(t.messages.shown[0].id, IDS_PRINT_SETTINGS_NOT_APPLIED);
            }
            EXPECT_EQ(t.messages.shown[0].icon, Icon::Error);
            if (n == 1)  // the settings record could not be kept: nothing was begun
                EXPECT_TRUE(t.marks.log.empty());
            else
                EXPECT_EQ(t.marks.log, (Strings{"Store", "Load"}));
        }
        EXPECT_GT(failed, n / 2);
    }
}

TEST(SettingsTransaction, AChangeThatStandsIsMarkedAndLaidOut) {
    TransactionFixture t;
    ASSERT_TRUE(t.Run(PaperSize(8)));
    EXPECT_EQ(t.layout->GetPaperSize(), 8);
    EXPECT_EQ(t.layout->GetPageMax(), 35);
    ASSERT_EQ(t.marks.marked.size(), 1u);
    EXPECT_EQ(t.marks.marked[0], t.record);
    EXPECT_EQ(t.record[SettingsChangeRecord::kPaperSize], 1);
    EXPECT_EQ(t.f.layouts.log, (Strings{"SnapshotLayout", "Relayout", "FreeLayoutSnapshots"}));
    EXPECT_EQ(t.f.layouts.snapshotsAlive, 0);
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_EQ(t.refreshes, 0);
}

TEST(SettingsTransaction, APrinterChangeReconcilesAScratchCopyFirst) {
    TransactionFixture t;
    std::vector<const CLayoutSetting*> bound;
    t.f.modules.refuse = [&](const DriverCall& c) {
        if (c.op == DriverOperation::GetDriverInfo) bound.push_back(t.f.manager->GetLayout());
        return false;
    };
    ASSERT_TRUE(t.Run(Printer("P24")));
    ASSERT_EQ(bound.size(), 2u);
    EXPECT_NE(bound[0], t.layout.get());
    EXPECT_EQ(bound[1], t.layout.get());
    EXPECT_EQ(t.f.manager->GetLayout(), t.layout.get());
    EXPECT_EQ(t.layout->Texts().printerModel, "TEVRA Proof 24");
    EXPECT_EQ(t.f.manager->CurrentPrinter(), "P24");
}

TEST(SettingsTransaction, TheRealLayoutIsBoundAgainWhenTheScratchReconcileThrows) {
    TransactionFixture t;
    t.f.modules.refuse = [](const DriverCall& c) -> bool {
        if (c.op == DriverOperation::GetDriverInfo) throw std::runtime_error("driver crashed");
        return false;
    };
    EXPECT_THROW(t.Run(Printer("P24")), std::runtime_error);
    EXPECT_EQ(t.f.manager->GetLayout(), t.layout.get());
}

TEST(SettingsTransaction, RelayoutRefusalsRollEverythingBack) {
    struct Row {
        const char* what;
        bool roll;
        int relayoutResult;
        int32_t pagesAfterRelayout;
        int message;  // 0: the change stands
    };
    const std::vector<Row> rows = {
        {"more pages than allowed", false, 0, 1, IDS_PAPER_LENGTH_LIMIT},
        {"sheets that would print at 90 pixels per inch", false, 1, 30000, IDS_PAGE_COUNT_LIMIT},
        {"a roll is not counted in sheets", true, 1, 30000, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TransactionFixture t;
        t.f.layouts.relayoutResult = row.relayoutResult;
        t.f.layouts.onRelayout = [&](CLayoutSetting& l) {
            l.SetPageNumber(static_cast<int16_t>(row.pagesAfterRelayout));
            l.SetPageNum(row.pagesAfterRelayout);
        };
        SettingsChange change = PaperSize(8);
        if (row.roll) {
            change.write = [](CLayoutSetting& l) {
                l.SetDefaultSource(256);
                l.SetBanner(1);
                l.SetBannerLength(10000);
            };
        }
        const bool ok = t.Run(change);
        EXPECT_EQ(ok, row.message == 0);
        if (row.message == 0) {
            EXPECT_TRUE(t.messages.shown.empty());
            continue;
        }
        EXPECT_EQ(t.messages.Ids(), (std::vector<int>{row.message}));
        EXPECT_EQ(t.messages.shown[0].icon, Icon::Error);
        EXPECT_EQ(t.f.layouts.log,
                  (Strings{"SnapshotLayout", "Relayout", "RestoreLayoutSnapshot", "FreeLayoutSnapshots"}));
        EXPECT_EQ(t.marks.log, (Strings{"Store", "Mark", "Load"}));
        EXPECT_EQ(t.refreshes, 1);
        t.ExpectUnchanged();
    }
}

TEST(SettingsTransaction, DecliningTheConfirmationRollsBackSilently) {
    TransactionFixture t;
    std::vector<SettingsChangeRecord> asked;
    t.hooks.confirm = [&](const SettingsChangeRecord& r) {
        asked.push_back(r);
        return false;
    };
    EXPECT_FALSE(t.Run(PaperSize(8)));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0][SettingsChangeRecord::kPaperSize], 1);
    EXPECT_TRUE(t.messages.shown.empty());
    EXPECT_TRUE(t.f.layouts.log.empty());
    EXPECT_EQ(t.marks.log, (Strings{"Store", "Load"}));
    EXPECT_EQ(t.refreshes, 1);
    t.ExpectUnchanged();
}

// Queues deleted while the program runs: the change is refused with the printer's name
// and the program goes on.
TEST(SettingsTransaction, PrintersThatWentAwayAreNamed) {
    TransactionFixture t;
    std::erase_if(t.f.queues.queues, [](const PrintQueue& q) { return q.name == "P24"; });
    EXPECT_FALSE(t.Run(Printer("P24")));
    EXPECT_EQ(t.messages.Ids(), (std::vector<int>{IDS_PRINTER_NOT_OPENED}));
    t.ExpectUnchanged();

    // Now the old printer is gone as well: it cannot be put back.
    t.messages.shown.clear();
    std::erase_if(t.f.queues.queues, [](const PrintQueue& q) { return q.name == "P44"; });
    t.f.modules.refuse = [](const DriverCall& c) {
        return c.op == DriverOperation::GetData && c.item == DriverItem::Orientation;
    };
    EXPECT_FALSE(t.Run(PaperSize(8)));
    ASSERT_EQ(t.messages.Ids(), (std::vector<int>{IDS_PRINT_SETTINGS_NOT_APPLIED, IDS_PRINTER_NOT_OPENED}));
    EXPECT_EQ(t.messages.shown[1].args, (Args{std::string("P44")}));
    EXPECT_EQ(DumpLayout(*t.layout), t.before);
    EXPECT_EQ(t.f.manager->CurrentPrinter(), "");
}

}  // namespace
}  // namespace vx::test
