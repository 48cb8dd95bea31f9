#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "../document/LayoutLoadFixtures.h"
#include "../printing/PrinterTestSupport.h"
#include "app/AppCore.h"
#include "app/DirectPrintController.h"
#include "app/DirectPrintState.h"
#include "document/LayoutDocument.h"
#include "document/LayoutXmlWriter.h"
#include "model/CTextObj.h"
#include "host/Shell.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/system/StringTable.h"
#include "support/RecordingHost.h"
#include "templates/TemplateInfo.h"

namespace fs = std::filesystem;

namespace vx::test {
namespace {

/// The application and windows around a direct print: one active document at most,
/// the recent files, and documents the application opens from files.
struct FakeDirectPrintHost : DirectPrintHost {
    CGPDoc* active = nullptr;
    std::vector<std::unique_ptr<CGPDoc>> opened;
    std::vector<fs::path> recent;
    std::map<const CGPDoc*, std::string> titles;
    bool hasPane = true;
    int closed = 0;
    int redraws = 0;

    CGPDoc* ActiveDocument() override { return active; }
    CGPDoc* OpenDocument(const fs::path& path) override {
        // The framework lists every file it opens first.
        std::erase(recent, path);
        recent.insert(recent.begin(), path);
        auto doc = std::make_unique<CGPDoc>();
        if (!doc->OnOpenDocument(path)) return nullptr;
        active = doc.get();
        opened.push_back(std::move(doc));
        return active;
    }
    void CloseDocument(CGPDoc& doc) override {
        ++closed;
        if (active == &doc) active = nullptr;
        std::erase_if(opened, [&](const auto& d) { return d.get() == &doc; });
    }
    std::string DocumentTitle(CGPDoc& doc) override { return titles[&doc]; }
    void SetDocumentTitle(CGPDoc& doc, const std::string& title) override { titles[&doc] = title; }
    bool HasPrintSettingsPane(CGPDoc&) override { return hasPane; }
    std::vector<fs::path> RecentFiles() override { return recent; }
    void SetRecentFiles(const std::vector<fs::path>& files) override { recent = files; }
    /// What the pane's refill does to the layout, if anything.
    std::function<void(CLayoutSetting&)> onRedraw;
    void RedrawLayout(CGPDoc& doc) override {
        ++redraws;
        if (onRedraw && doc.GetLayout()) onRedraw(*doc.GetLayout());
    }
};

/// What was true while Print now ran.
struct PrintingShell : RecordingShell {
    std::function<void()> onPrint;
    void PrintNow() override {
        RecordingShell::PrintNow();
        if (onPrint) onPrint();
    }
};

struct ZoomWindows : ScriptedToolWindows {
    std::vector<std::pair<int32_t, int32_t>> zooms;
    void SetZoom(int32_t n, int32_t d) override { zooms.emplace_back(n, d); }
};

class DirectPrint : public LayoutLoadTest {
protected:
    DirectPrint() {
        app.undo = &undo;
        app.preferences.directPrintPrinters = {"P44", "", "P24", "PA3", "", "", "", ""};
    }

    /// A layout file for printer with n images.
    fs::path WriteLayoutFile(const std::string& name, const std::string& printer, int texts = 2) {
        const fs::path p = root.Path() / name;
        auto layout = MakeSavableLayout();
        layout->SetColorIntentRGB(1);
        layout->SetColorIntentSimulation(3);
        LayoutTexts& t = layout->Texts();
        t.rgbSourceProfile = t.simulationProfile = t.monitorProfile = t.printerProfile = kTestProfile;
        t.printerName = printer;
        layout->GetBaseImage()->SetSourceProfile(kTestProfile);
        layout->GetBaseImage()->SetSimulationProfile(kTestProfile);
        for (int i = 0; i < texts; ++i) {
            CTextObj* text = AddItem<CTextObj>(*layout);
            text->SetText("Text " + std::to_string(i));
            text->SetFont({"DejaVu Sans", 0x200, 60, 0});
            text->SetPosition(100 * i, 50);
        }
        EXPECT_TRUE(SaveLayoutXml(p, *layout));
        return p;
    }

    /// The open document: "open.kqf" on P44, zoomed 3/2, titled, shown in the pane.
    void OpenDocument() { OpenDocument(doc); }
    void OpenDocument(CGPDoc& doc) {
        const fs::path file = WriteLayoutFile("open.kqf", "P44", 1);
        ASSERT_TRUE(doc.OnOpenDocument(file));
        CLayoutSetting& layout = *doc.GetLayout();
        ViewStateBlock* block = layout.GetViewState();
        if (!block) block = &layout.RenewViewState();
        block->zoomNumerator = 3;
        block->zoomDenominator = 2;
        host.active = &doc;
        host.titles[&doc] = "open";
        app.active = &layout;
        f.manager->BindLayout(&layout);
        f.manager->SelectPrinter("P44", -1);
        SettingsChangeRecord record;
        ASSERT_TRUE(f.manager->SyncLayoutAndDriver(&record, true, 0, false, true));
        TemplateInfo info;
        info.Path = "Vorlage.kqt";
        SetCurrentTemplateInfo(info);
        Remember(doc);
    }

    void Remember() { Remember(doc); }
    void Remember(CGPDoc& doc) {
        if (CLayoutSetting* layout = doc.GetLayout()) layoutBefore = DumpLayout(*layout);
        f.manager->GetDevMode(&settingsBefore);
        printerBefore = f.manager->CurrentPrinter();
        recentBefore = host.recent;
    }

    void ExpectAsBefore() {
        if (CLayoutSetting* layout = doc.GetLayout()) {
            EXPECT_EQ(DumpLayout(*layout), layoutBefore);
            EXPECT_EQ(layout->GetViewState()->zoomNumerator, 3);
            EXPECT_EQ(host.titles[&doc], "open");
            ASSERT_EQ(CurrentTemplateInfo().GetSize(), 1);
            EXPECT_EQ(CurrentTemplateInfo().ElementAt(0).Path, "Vorlage.kqt");
        }
        std::string settings;
        f.manager->GetDevMode(&settings);
        EXPECT_EQ(f.manager->CurrentPrinter(), printerBefore);
        EXPECT_EQ(settings, settingsBefore);
        EXPECT_EQ(host.recent, recentBefore);
        EXPECT_FALSE(DirectPrintState::Running());
        EXPECT_EQ(app.preferences.directPrint, 0);
    }

    DirectPrintResult Drop(const std::string& printer, std::vector<fs::path> files) {
        DirectPrintController controller(*f.manager, host);
        return controller.Drop(printer, files);
    }

    UndoStore undo;
    ShippedPrinters f;
    FakeDirectPrintHost host;
    PrintingShell shell;
    ScopedHostService<Shell> installShell{&shell};
    ZoomWindows zoomWindows;
    ScopedHostService<ToolWindows> installZoom{&zoomWindows};
    CGPDoc doc;
    std::string layoutBefore, settingsBefore, printerBefore;
    std::vector<fs::path> recentBefore;
};

TEST(DirectPrintButtons, NamedPrintersComeFirstAndSetTheHeight) {
    ShippedPrinters f;
    f.manager->EnumSupportedPrinters();
    AppPreferences preferences;
    preferences.directPrintPrinters = {"", "P44", "", "P24", "PA3", "", "", ""};
    const auto buttons = DirectPrintButtons(preferences, *f.manager);
    EXPECT_EQ(buttons[0].printer, "P44");
    EXPECT_EQ(buttons[1].printer, "P24");
    EXPECT_EQ(buttons[2].printer, "PA3");
    for (int i = 0; i < 3; ++i) EXPECT_NE(buttons[i].icon, 0);
    for (int i = 3; i < 8; ++i) {
        EXPECT_TRUE(buttons[i].printer.empty());
        EXPECT_EQ(buttons[i].icon, 0);
    }
    EXPECT_EQ(DirectPrintWindowRows(buttons), 3);
    EXPECT_EQ(DirectPrintWindowRows(DirectPrintButtons(AppPreferences{}, *f.manager)), 1);
}

TEST_F(DirectPrint, ADroppedLayoutPrintsOnItsButtonAndTheOpenLayoutComesBack) {
    OpenDocument();
    const fs::path file = WriteLayoutFile("job.kqf", "P24", 3);
    size_t itemsWhilePrinting = 0;
    std::string printerWhilePrinting, layoutPrinterWhilePrinting, titleWhilePrinting;
    bool lockedWhilePrinting = false;
    AppCore core(root.Path() / "user");
    shell.onPrint = [&] {
        const CLayoutSetting& l = *doc.GetLayout();
        for (CLayoutObj* o = l.GetFirstItem(); o; o = o->NextItem()) ++itemsWhilePrinting;
        layoutPrinterWhilePrinting = l.Texts().printerName;
        printerWhilePrinting = f.manager->CurrentPrinter();
        titleWhilePrinting = host.titles[&doc];
        lockedWhilePrinting = core.ImportLocked();
        EXPECT_EQ(app.preferences.directPrint, 1);
    };
    EXPECT_EQ(Drop("P24", {file}), DirectPrintResult::Printed);
    EXPECT_EQ(shell.printNowAt.size(), 1u);
    EXPECT_EQ(itemsWhilePrinting, 3u);
    EXPECT_EQ(layoutPrinterWhilePrinting, "P24");
    EXPECT_EQ(printerWhilePrinting, "P24");
    EXPECT_EQ(titleWhilePrinting, "job.kqf");
    EXPECT_TRUE(lockedWhilePrinting) << "imports and drops wait while a direct print runs";
    EXPECT_FALSE(core.ImportLocked());
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_DIRECT_PRINT_NO_EDITING});
    ExpectAsBefore();
    EXPECT_EQ(zoomWindows.zooms, (std::vector<std::pair<int32_t, int32_t>>{{3, 2}}));
    EXPECT_EQ(host.redraws, 1);
    EXPECT_EQ(f.manager->GetLayout(), doc.GetLayout());
}

// The pane marks a layout with changed template rows modified when it refills its list
// after the put-back; the layout was not edited, so it stays unmodified.
TEST_F(DirectPrint, TheRedrawAfterThePrintLeavesAnUnchangedLayoutUnmodified) {
    OpenDocument();
    ASSERT_EQ(doc.GetLayout()->GetDirty(), 0);
    host.onRedraw = [](CLayoutSetting& layout) { layout.SetDirty(1); };
    EXPECT_EQ(Drop("P24", {WriteLayoutFile("job.kqf", "P24")}), DirectPrintResult::Printed);
    EXPECT_EQ(host.redraws, 1);
    EXPECT_EQ(doc.GetLayout()->GetDirty(), 0);
    ExpectAsBefore();
}

TEST_F(DirectPrint, WithoutADocumentTheFileOpensPrintsAndClosesAndTheRecentListStays) {
    const fs::path file = WriteLayoutFile("job.kqf", "PA3");
    host.recent = {root.Path() / "other.kqf", file};
    Remember();
    std::string printerWhilePrinting;
    shell.onPrint = [&] { printerWhilePrinting = f.manager->CurrentPrinter(); };
    EXPECT_EQ(Drop("PA3", {file}), DirectPrintResult::Printed);
    EXPECT_EQ(shell.printNowAt.size(), 1u);
    EXPECT_EQ(printerWhilePrinting, "PA3");
    EXPECT_EQ(host.closed, 1);
    EXPECT_TRUE(host.opened.empty());
    EXPECT_EQ(host.recent, recentBefore) << "the user's own entry of the file stays";
    EXPECT_EQ(f.manager->GetLayout(), nullptr) << "the manager holds no closed layout";
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(DirectPrintState::Running());
}

// Each refused drop shows its message (or none), prints nothing and leaves all as it was.
TEST_F(DirectPrint, RefusedDropsPrintNothingAndLeaveAllAsItWas) {
    struct Case {
        const char* what;
        std::string printer;
        std::vector<std::string> files;  // below the test folder
        bool running;
        std::vector<int> messages;
    };
    const Case cases[] = {
        {"a picture file", "P24", {"bild.jpg"}, false, {IDS_DIRECT_PRINT_NO_EDITING, IDS_FILE_NOT_READABLE}},
        {"another printer's layout", "P24", {"p44.kqf"}, false, {IDS_DIRECT_PRINT_NO_EDITING, IDS_DIRECT_PRINT_FAILED}},
        {"two files", "P24", {"p24.kqf", "p44.kqf"}, false, {IDS_DIRECT_PRINT_ONE_FILE}},
        {"a drop while printing", "P24", {"p24.kqf"}, true, {IDS_DIRECT_PRINT_RUNNING}},
        {"the open file", "P44", {"open.kqf"}, false, {IDS_FILE_BEING_EDITED}},
        {"between buttons", "", {"p24.kqf"}, false, {}},
        {"an unreadable layout", "P24", {"kaputt.KQF"}, false, {IDS_DIRECT_PRINT_NO_EDITING}},
    };
    OpenDocument();
    WriteLayoutFile("p24.kqf", "P24");
    WriteLayoutFile("p44.kqf", "P44");
    Touch("bild.jpg");
    WriteText("kaputt.KQF", "<nothing/>");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.shown.clear();
        std::vector<fs::path> files;
        for (const std::string& name : c.files) files.push_back(root.Path() / name);
        {
            std::optional<DirectPrintState::RunningScope> running;
            if (c.running) running.emplace();
            EXPECT_NE(Drop(c.printer, files), DirectPrintResult::Printed);
        }
        EXPECT_EQ(messages.Ids(), c.messages);
        EXPECT_TRUE(shell.printNowAt.empty());
        ExpectAsBefore();
    }
    EXPECT_EQ(Drop("P24", {root.Path() / "open.kqf"}), DirectPrintResult::Refused) << "compared as files";
}

// Only what this drop found on the open printer is put back: a drop that fails before it
// looks does not reopen the printer of an earlier job.
TEST_F(DirectPrint, AnEarlyFailureDoesNotReopenAnEarlierJobsPrinter) {
    OpenDocument();
    const fs::path job = WriteLayoutFile("job.kqf", "P24");
    ASSERT_EQ(Drop("P24", {job}), DirectPrintResult::Printed);
    DirectPrintController controller(*f.manager, host);
    ASSERT_EQ(controller.Drop("P24", {job}), DirectPrintResult::Printed);
    // The user moves the open layout to another printer meanwhile.
    doc.GetLayout()->Texts().printerName = "PA3";
    f.manager->SelectPrinter("PA3", -1);
    Remember();
    Touch("bild.jpg");
    EXPECT_EQ(controller.Drop("P24", {root.Path() / "bild.jpg"}), DirectPrintResult::Refused);
    EXPECT_EQ(f.manager->CurrentPrinter(), "PA3");
    std::string settings;
    f.manager->GetDevMode(&settings);
    EXPECT_EQ(settings, settingsBefore);
}

TEST_F(DirectPrint, AClosedWindowKeepsTheJobsLayoutButGetsItsPrinterBack) {
    OpenDocument();
    host.hasPane = false;
    EXPECT_EQ(Drop("P24", {WriteLayoutFile("job.kqf", "P24")}), DirectPrintResult::Printed);
    EXPECT_EQ(doc.GetLayout()->Texts().printerName, "P24");
    EXPECT_EQ(f.manager->CurrentPrinter(), "P24");
    EXPECT_EQ(host.redraws, 1);
}

// The user closes the layout while the job prints: nothing is put back into it and the
// manager keeps no pointer to it.
TEST_F(DirectPrint, ALayoutClosedDuringThePrintIsLeftAlone) {
    auto closing = std::make_unique<CGPDoc>();
    OpenDocument(*closing);
    shell.onPrint = [&] {
        host.active = nullptr;
        app.active = nullptr;
        closing.reset();
    };
    EXPECT_EQ(Drop("P24", {WriteLayoutFile("job.kqf", "P24")}), DirectPrintResult::Printed);
    EXPECT_EQ(f.manager->GetLayout(), nullptr);
    EXPECT_EQ(host.redraws, 0);
    EXPECT_FALSE(DirectPrintState::Running());
}

}  // namespace
}  // namespace vx::test
