#include <gtest/gtest.h>

#include "PrinterTestSupport.h"
#include "platform/system/StringTable.h"
#include "printing/PrintSettingsPaneController.h"
#include "support/RecordingPorts.h"

namespace vx::test {
namespace {

struct BindingFixture {
    ShippedPrinters f;
    RecordingMarks marks;
    RecordingMessagePort messages;
    ScopedPorts ports{&messages};
    std::vector<std::string> calls;
    PrintSettingsPaneController pane{*f.manager, marks,
                                     {[this] { calls.push_back("zoom"); },
                                      [this](bool keep) { calls.push_back(keep ? "refresh 1" : "refresh 0"); },
                                      [this](int hint) { calls.push_back("views " + std::to_string(hint)); }}};
};

TEST(PrintSettingsPaneBinding, ChoosesThePrinterOfTheLayout) {
    struct Case {
        const char* what;
        std::string model, name;
        std::string printer;
        bool printerMarked;
    };
    const Case cases[] = {
        {"model and name found", "TEVRA Proof 24", "P24", "P24", false},
        {"model only", "TEVRA Proof A3", "Büro", "PA3", false},
        // The supported printers are listed in byte order: "P24" comes first.
        {"neither", "TEVRA Anders", "Büro", "P24", true},
        {"no name", "TEVRA Anders", "", "P24", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BindingFixture t;
        auto layout = std::make_unique<CLayoutSetting>(true);
        layout->Texts().printerModel = c.model;
        layout->Texts().printerName = c.name;
        ASSERT_TRUE(t.pane.LoadDocumentSettings(*layout));
        EXPECT_EQ(t.pane.Layout(), layout.get());
        EXPECT_EQ(t.f.manager->GetLayout(), layout.get());
        EXPECT_EQ(layout->Texts().printerName, c.printer);
        EXPECT_EQ(t.f.manager->CurrentPrinter(), c.printer);
        ASSERT_EQ(t.marks.marked.size(), 1u);
        EXPECT_EQ(t.marks.marked[0][SettingsChangeRecord::kPrinter] != 0, c.printerMarked);
        EXPECT_EQ(t.calls, (std::vector<std::string>{"zoom", "refresh 0", "views 1"}));
        EXPECT_TRUE(t.messages.shown.empty());
        EXPECT_EQ(t.f.layouts.log.back(), "Relayout");
    }
}

// A queue that went away and a driver that refuses leave the layout and say why.
TEST(PrintSettingsPaneBinding, FailuresLeaveTheLayout) {
    {
        BindingFixture t;
        auto layout = std::make_unique<CLayoutSetting>(true);
        layout->Texts().printerModel = "TEVRA Proof 24";
        layout->Texts().printerName = "P24";
        std::erase_if(t.f.queues.queues, [](const PrintQueue& q) { return q.name == "P24"; });
        const std::string before = DumpLayout(*layout);
        EXPECT_FALSE(t.pane.LoadDocumentSettings(*layout));
        EXPECT_EQ(t.messages.Ids(), (std::vector<int>{IDS_PRINTER_NOT_OPENED}));
        EXPECT_EQ(DumpLayout(*layout), before);
        EXPECT_TRUE(t.calls.empty());
        EXPECT_TRUE(t.marks.marked.empty());
    }
    for (int n = 1;; ++n) {
        SCOPED_TRACE(n);
        BindingFixture t;
        auto layout = std::make_unique<CLayoutSetting>(true);
        layout->Texts().printerModel = "TEVRA Proof 44";
        layout->Texts().printerName = "P44";
        layout->SetOrientation(2);
        layout->SetPaperSize(8);
        const std::string before = DumpLayout(*layout);
        t.f.modules.failCall = n;
        const bool ok = t.pane.LoadDocumentSettings(*layout);
        t.f.modules.failCall = 0;
        if (static_cast<int>(t.f.modules.calls.size()) < n) {
            EXPECT_TRUE(ok);
            break;
        }
        ExpectPrinterInvariant(*t.f.manager);
        if (ok) continue;
        EXPECT_TRUE(t.calls.empty());
        EXPECT_TRUE(t.marks.marked.empty());
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.f.manager->GetLayout(), layout.get());
        EXPECT_EQ(DumpLayout(*layout), before);
    }
}

}  // namespace
}  // namespace vx::test

namespace vx::test {
namespace {

// The program's defaults leave source, media and ink to the driver: filling them in is
// no change to a template. The same values read from a file are.
TEST(PrintSettingsPaneBinding, OnlyALayoutFromAFileMarksWhatTheDriverChanged) {
    for (const bool fromFile : {false, true}) {
        SCOPED_TRACE(fromFile ? "from a file" : "from the defaults");
        BindingFixture t;
        auto layout = std::make_unique<CLayoutSetting>(true);
        layout->Texts().printerModel = "TEVRA Proof 44";
        layout->Texts().printerName = "P44";
        layout->SetDefaultSource(0);
        layout->SetMediaType(0);
        layout->SetColor(0);
        if (fromFile) layout->Texts().documentPath = "/fotos/Karte.kqf";
        ASSERT_TRUE(t.pane.LoadDocumentSettings(*layout));
        ASSERT_EQ(t.marks.marked.size(), 1u);
        const SettingsChangeRecord& r = t.marks.marked[0];
        EXPECT_EQ(r[SettingsChangeRecord::kSource] != 0, fromFile);
        EXPECT_EQ(r[SettingsChangeRecord::kMedia] != 0, fromFile);
        EXPECT_EQ(r[SettingsChangeRecord::kPrinter], 0);
        EXPECT_NE(layout->GetMediaType(), 0) << "the driver's values are taken either way";
    }
}

}  // namespace
}  // namespace vx::test
