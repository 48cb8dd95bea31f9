#include <gtest/gtest.h>

#include "../printing/PrinterTestSupport.h"
#include "app/TemplateChangeMarks.h"
#include "platform/system/StringTable.h"
#include "printing/PrintPresetsController.h"
#include "support/RecordingPorts.h"

namespace vx::test {
namespace {

using Strings = std::vector<std::string>;

std::vector<int> MarkedRows(const TemplateChangeMarks& marks) {
    std::vector<int> rows;
    for (int r = 0; r < kTemplateSettingRows; ++r)
        if (marks.IsMarked(r)) rows.push_back(r);
    return rows;
}

// A reconciled portrait colour layout on "P44", laid out automatically, and the dialog's
// controller with its own marks.
struct PresetsFixture {
    explicit PresetsFixture(int images = 0, std::function<void(CLayoutSetting&)> prepare = {},
                            const std::string& printer = "P44") {
        layout = f.BoundLayout(printer);
        layout->SetOrientation(1);
        layout->SetColor(2);
        layout->SetAutoMode(1);
        layout->SetMediaType(1);
        layout->SetPageNumber(1);
        if (prepare) prepare(*layout);
        for (int i = 0; i < images; ++i) AddImage(*layout, 100 + 1000 * i, 200);
        SettingsChangeRecord record;
        EXPECT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
        before = DumpLayout(*layout);
        settingsBefore = Settings();
        f.modules.calls.clear();
        PrintPresetsController::Hooks hooks;
        hooks.markRow = [this](int row) { marks.Mark(row); };
        hooks.refresh = [this] { ++refreshes; };
        controller = std::make_unique<PrintPresetsController>(*f.manager, *layout, marks, hooks);
    }
    std::string Settings() {
        std::string s;
        f.manager->GetDevMode(&s);
        return s;
    }
    void ExpectUnchanged() {
        EXPECT_EQ(DumpLayout(*layout), before);
        EXPECT_EQ(f.manager->CurrentPrinter(), "P44");
        EXPECT_EQ(Settings(), settingsBefore);
        EXPECT_EQ(f.manager->GetLayout(), layout.get());
        EXPECT_TRUE(MarkedRows(marks).empty());
        ExpectPrinterInvariant(*f.manager);
    }

    ShippedPrinters f;
    std::unique_ptr<CLayoutSetting> layout;
    std::string before, settingsBefore;
    TemplateChangeMarks marks;
    RecordingMessagePort messages;
    ScopedPorts ports{&messages};
    int refreshes = 0;
    std::unique_ptr<PrintPresetsController> controller;
};

void OnA2Roll(CLayoutSetting& l) { l.SetPaperSize(257); }

// From the 44-inch model to the A3 model: the A2 paper cannot stay, so question 10428
// comes; "Nein" leaves everything, "Ja" marks printer and paper size.
TEST(PrintPresetsController, PrinterChangeAsksBeforeRearrangingAndNoKeepsAll) {
    {
        PresetsFixture t(3, OnA2Roll);
        std::vector<uint32_t> ids;
        for (CLayoutObj* i = t.layout->GetFirstItem(); i; i = i->NextItem()) ids.push_back(i->GetObjectId());
        t.messages.answer = kIdNo;
        EXPECT_FALSE(t.controller->ApplyPrinter("PA3"));
        EXPECT_EQ(t.messages.Ids(), std::vector<int>{IDS_AUTO_REARRANGE});
        EXPECT_EQ(t.messages.shown[0].icon, Icon::Warning);
        t.ExpectUnchanged();
        std::vector<uint32_t> after;
        for (CLayoutObj* i = t.layout->GetFirstItem(); i; i = i->NextItem()) after.push_back(i->GetObjectId());
        EXPECT_EQ(after, ids);
        EXPECT_GE(t.refreshes, 1);
    }
    {
        PresetsFixture t(3, OnA2Roll);
        t.messages.answer = kIdYes;
        EXPECT_TRUE(t.controller->ApplyPrinter("PA3"));
        EXPECT_EQ(t.f.manager->CurrentPrinter(), "PA3");
        EXPECT_EQ(t.layout->Texts().printerName, "PA3");
        EXPECT_NE(t.layout->GetPaperSize(), 257);
        const std::vector<int> rows = MarkedRows(t.marks);
        EXPECT_NE(std::find(rows.begin(), rows.end(), kRowPrinter), rows.end());
        EXPECT_NE(std::find(rows.begin(), rows.end(), kRowPaperSize), rows.end());
        EXPECT_LE(t.layout->GetPageNumber(), t.layout->GetPageMax());
        EXPECT_GE(t.refreshes, 1);
    }
    {
        // The same printer does nothing; an empty layout is not asked about.
        PresetsFixture t(0, OnA2Roll);
        EXPECT_FALSE(t.controller->ApplyPrinter("P44"));
        t.ExpectUnchanged();
        EXPECT_TRUE(t.controller->ApplyPrinter("PA3"));
        EXPECT_TRUE(t.messages.shown.empty());
    }
}

// The paper page's changes: the layout values and the rows they mark.
TEST(PrintPresetsController, PaperPageChangesSetValuesAndMarks) {
    {
        SCOPED_TRACE("source to roll");
        PresetsFixture t;
        EXPECT_TRUE(t.controller->ApplySource(256));
        EXPECT_EQ(t.layout->GetDefaultSource(), 256);
        EXPECT_EQ(t.layout->GetBanner(), 1);
        std::vector<int> rows = MarkedRows(t.marks);
        EXPECT_TRUE(std::find(rows.begin(), rows.end(), kRowPaperSource) != rows.end());
        EXPECT_TRUE(std::find(rows.begin(), rows.end(), kRowBannerLength) != rows.end());
    }
    {
        SCOPED_TRACE("source to roll, paper changed");
        PresetsFixture t(0, [](CLayoutSetting& l) { l.SetPaperSize(1); });  // Letter is no roll width
        EXPECT_TRUE(t.controller->ApplySource(256));
        EXPECT_NE(t.layout->GetPaperSize(), 1);
        EXPECT_EQ(MarkedRows(t.marks), (std::vector<int>{kRowPaperSource, kRowPaperSize, kRowBannerLength}));
    }
    {
        SCOPED_TRACE("spin");
        PresetsFixture t(0, [](CLayoutSetting& l) {
            l.SetDefaultSource(256);
            l.SetBanner(1);
            l.SetPaperSize(9);
            l.SetOrientation(1);
            l.SetPageNum(3);
            l.SetBannerLength(8910);
        });
        ASSERT_EQ(t.layout->GetPageNum(), 3);
        ASSERT_EQ(t.layout->GetBannerLength(), 8910);
        EXPECT_TRUE(t.controller->SpinRoll(+1));
        EXPECT_EQ(t.layout->GetPageNum(), 4);
        EXPECT_EQ(t.layout->GetBannerLength(), 11880);
        EXPECT_EQ(MarkedRows(t.marks), std::vector<int>{kRowBannerLength});
    }
    {
        SCOPED_TRACE("landscape");
        PresetsFixture t;
        EXPECT_TRUE(t.controller->ApplyOrientation(2));
        EXPECT_EQ(t.layout->GetOrientation(), 2);
        EXPECT_EQ(MarkedRows(t.marks), std::vector<int>{kRowOrientation});
    }
    {
        SCOPED_TRACE("maximum area, centred");
        PresetsFixture t;
        EXPECT_TRUE(t.controller->ApplyPrintableArea(1));
        EXPECT_EQ(t.layout->GetPrintableArea(), 1);
        EXPECT_TRUE(t.controller->ApplyCentred(true));
        EXPECT_EQ(t.layout->GetCentered(), 1);
        EXPECT_TRUE(MarkedRows(t.marks).empty());
    }
    {
        SCOPED_TRACE("the same values do nothing");
        PresetsFixture t;
        EXPECT_FALSE(t.controller->ApplySource(t.layout->GetDefaultSource()));
        EXPECT_FALSE(t.controller->ApplyPaperSize(t.layout->GetPaperSize()));
        EXPECT_FALSE(t.controller->ApplyOrientation(1));
        EXPECT_FALSE(t.controller->ApplyPrintableArea(t.layout->GetPrintableArea()));
        EXPECT_FALSE(t.controller->ApplyMedia(t.layout->GetMediaType()));
        EXPECT_FALSE(t.controller->ApplyMode(1));
        EXPECT_FALSE(t.controller->SpinRoll(1));  // a sheet has no roll length
        EXPECT_TRUE(t.f.modules.calls.empty());
        t.ExpectUnchanged();
    }
}

// "Ja" and "Nein" on the paper page: the question comes for any of the arranging bytes.
TEST(PrintPresetsController, PaperPageAsksForAutomaticLayoutsWithItems) {
    PresetsFixture t(3);
    t.messages.answer = kIdNo;
    EXPECT_FALSE(t.controller->ApplyOrientation(2));
    EXPECT_EQ(t.messages.Ids(), std::vector<int>{IDS_AUTO_REARRANGE});
    t.ExpectUnchanged();
    t.messages.answer = kIdYes;
    EXPECT_TRUE(t.controller->ApplyOrientation(2));
    EXPECT_EQ(t.layout->GetOrientation(), 2);
}

TEST(PrintPresetsController, MediaPageChanges) {
    {
        SCOPED_TRACE("black-and-white photo refused on the medium comes back as colour");
        PresetsFixture t(0, [](CLayoutSetting& l) { l.SetMediaType(5); });
        EXPECT_TRUE(t.controller->ApplyInk(256));
        EXPECT_EQ(t.layout->GetColor(), 2);
        EXPECT_TRUE(t.marks.IsMarked(kRowInk));
    }
    {
        SCOPED_TRACE("black");
        PresetsFixture t;
        EXPECT_TRUE(t.controller->ApplyInk(1));
        EXPECT_EQ(t.layout->GetColor(), 1);
        EXPECT_EQ(t.controller->Controls(PresetPart::MediaPage)[OptionControl::InkPicture].icon, kIconInkBlack);
    }
    {
        SCOPED_TRACE("Ultrafine without the special mode");
        PresetsFixture t(0, [](CLayoutSetting& l) { l.SetMediaType(4); });
        EXPECT_TRUE(t.controller->ApplyMode(15));
        EXPECT_EQ(t.layout->GetAutoMode(), 1);
    }
    {
        SCOPED_TRACE("Ultrafine with it");
        PresetsFixture t;
        EXPECT_TRUE(t.controller->ApplyMode(15));
        EXPECT_EQ(t.layout->GetAutoMode(), 15);
        EXPECT_EQ(t.controller->Controls(PresetPart::MediaPage)[OptionControl::ModeUltrafine].checked, true);
    }
    {
        SCOPED_TRACE("medium");
        PresetsFixture t;
        EXPECT_TRUE(t.controller->ApplyMedia(3));
        EXPECT_EQ(t.layout->GetMediaType(), 3);
        EXPECT_EQ(MarkedRows(t.marks), std::vector<int>{kRowMedia});
    }
    {
        SCOPED_TRACE("very fast and optimised resolution reach no driver");
        PresetsFixture t;
        t.controller->SetHighSpeed(true);
        t.controller->SetPreProcessing(true);
        EXPECT_EQ(t.layout->GetHighSpeed(), 1);
        EXPECT_EQ(t.layout->GetPreProcessing(), 1);
        EXPECT_TRUE(t.f.modules.calls.empty());
        EXPECT_EQ(t.Settings(), t.settingsBefore);
        EXPECT_EQ(t.refreshes, 1);
    }
}

// Fail the n-th driver call of each handler until it goes through: every failure says
// why and leaves layout, printer, settings and marks as they were.
TEST(PrintPresetsController, AnyFailingDriverCallRollsEachChangeBack) {
    using Change = std::function<bool(PrintPresetsController&)>;
    auto roll = [](CLayoutSetting& l) {
        l.SetDefaultSource(256);
        l.SetBanner(1);
        l.SetPaperSize(9);
        l.SetPageNum(3);
    };
    const struct {
        const char* what;
        Change change;
        std::function<void(CLayoutSetting&)> prepare;
    } cases[] = {
        {"printer", [](auto& c) { return c.ApplyPrinter("PA3"); }, OnA2Roll},
        {"source", [](auto& c) { return c.ApplySource(256); }, {}},
        {"size", [](auto& c) { return c.ApplyPaperSize(8); }, {}},
        {"orientation", [](auto& c) { return c.ApplyOrientation(2); }, {}},
        {"printable area", [](auto& c) { return c.ApplyPrintableArea(1); }, {}},
        {"centred", [](auto& c) { return c.ApplyCentred(true); }, {}},
        {"spin", [](auto& c) { return c.SpinRoll(1); }, roll},
        {"media", [](auto& c) { return c.ApplyMedia(3); }, {}},
        {"colour", [](auto& c) { return c.ApplyInk(2); }, {}},
        {"black", [](auto& c) { return c.ApplyInk(1); }, {}},
        {"photo", [](auto& c) { return c.ApplyInk(256); }, {}},
        {"ultrafine", [](auto& c) { return c.ApplyMode(15); }, {}},
        {"quality", [](auto& c) { return c.ApplyMode(1); }, [](CLayoutSetting& l) { l.SetAutoMode(2); }},
        {"fast", [](auto& c) { return c.ApplyMode(2); }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int failed = 0, n = 1;
        for (;; ++n) {
            SCOPED_TRACE(n);
            PresetsFixture t(0, c.prepare);
            t.f.modules.failCall = n;
            const bool ok = c.change(*t.controller);
            t.f.modules.failCall = 0;
            if (static_cast<int>(t.f.modules.calls.size()) < n) {  // nothing failed
                EXPECT_TRUE(ok);
                break;
            }
            ExpectPrinterInvariant(*t.f.manager);
            if (ok) continue;  // the driver's refusal had a fallback
            ++failed;
            t.ExpectUnchanged();
            ASSERT_EQ(t.messages.shown.size(), 1u);
            const DriverCall& call = t.f.modules.calls.at(n - 1);
            const int expected = call.op == DriverOperation::Open && call.printer == "PA3" ? IDS_PRINTER_NOT_OPENED
                                                                                           : IDS_PRINT_SETTINGS_NOT_APPLIED;
            EXPECT_EQ(t.messages.shown[0].id, expected);
        }
        EXPECT_GT(failed, 0);
        EXPECT_GT(n, 1);
    }
}

}  // namespace
}  // namespace vx::test
