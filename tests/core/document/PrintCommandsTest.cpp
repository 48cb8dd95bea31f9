#include <gtest/gtest.h>

#include <memory>

#include "../printing/PrinterTestSupport.h"
#include "PrintCommandsFixture.h"
#include "colourmanagement/PictureColourTransforms.h"
#include "document/LayoutDocument.h"
#include "document/PrintCommands.h"
#include "host/DocumentServices.h"
#include "model/ImageInfoReaders.h"
#include "model/ObjectList.h"
#include "model/PictureLoader.h"
#include "model/ProfileDescriptions.h"
#include "model/UndoStore.h"
#include "platform/driver/DescribedModuleLocator.h"
#include "platform/spool/QueueFile.h"
#include "platform/spool/QueueSource.h"
#include "platform/system/FourCC.h"
#include "platform/system/Folders.h"
#include "platform/system/MessagePort.h"
#include "printing/CPrinterManager.h"
#include "printing/DriverSettingsEditor.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "support/printing/FileQueueOutput.h"
#include "view/CGPView.h"
#include "view/LayoutViewCore.h"
#include "view/RenderState.h"
#include "view/SystemPrintJobServices.h"

namespace fs = std::filesystem;

namespace vx::test {
namespace {

constexpr const char* kFileQueue = kShippedFileQueue;

/// The system's job services, noting the device each job got.
struct NotingJobServices : PrintJobServices {
    explicit NotingJobServices(CPrinterManager& manager) : inner({}, &manager) {}
    SystemPrintJobServices inner;
    std::vector<fs::path> profiles;
    std::optional<PrintSetup> ProvideDevice(CLayoutSetting& layout) override {
        std::optional<PrintSetup> setup = inner.ProvideDevice(layout);
        if (setup && setup->device) profiles.push_back(setup->device->ProfilePath());
        return setup;
    }
    std::unique_ptr<SpoolJob> CreateJob(const PrintSetup& s, MessagePort& m, SpoolPump p) override {
        return inner.CreateJob(s, m, std::move(p));
    }
    std::unique_ptr<PrintStatusWindow> CreateStatusWindow() override { return nullptr; }
};

/// The driver dialog: each run does the next scripted step on the editor and answers
/// its result (Cancel once the script has ended).
struct ScriptedDriverDialog : SettingsDialogs {
    bool bound = true;
    std::vector<std::function<bool(DriverSettingsEditor&)>> steps;
    int runs = 0;
    std::vector<OptionControls> shown;

    bool Has(Dialog d) override { return bound && d == Dialog::DriverSettings; }
    bool RunAutoRotate(CLayoutSetting&) override { return false; }
    std::optional<fs::path> ChooseTemplate() override { return std::nullopt; }
    bool RunDriverSettings(DriverSettingsEditor& editor) override {
        shown.push_back(editor.Controls());
        if (size_t(runs) >= steps.size()) return false;
        return steps[size_t(runs++)](editor);
    }
};

/// Picks a medium by its shown name, as the user does in the combo.
bool ChooseMedium(DriverSettingsEditor& editor, const std::string& name) {
    const OptionControls controls = editor.Controls();
    for (const ComboItem& item : controls[OptionControl::Media].items)
        if (item.text == name) return editor.SetMedia(item.data);
    ADD_FAILURE() << "no medium " << name;
    return false;
}

class PrintCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        loaderHooks = SetPictureLoaderHooks({});
        SetPictureLoaderHooks(loaderHooks);
        InstallColourManagement();
        ASSERT_TRUE(EnsureUserFolder());
        WriteShippedFileQueue(UserFolder(), output);
        app.undo = &undo;

        auto made = MakeTwoPageLayout(root.Path(), kFileQueue);
        doc.AdoptLayout(std::move(made));
        layout = doc.GetLayout();

        manager.BindLayout(layout);
        ASSERT_EQ(manager.SelectPrinter(kFileQueue, -1), 1);
        // As the pane left it: the layout already agrees with its printer.
        SettingsChangeRecord record;
        ASSERT_TRUE(manager.SyncLayoutAndDriver(&record, true, 0, false, true));
        viewCore.OnInitialUpdate(layout);
        shell.view = &viewCore;
        ASSERT_GE(manager.GetDevMode(&devModeBefore), 1);
        layoutBefore = DumpLayout(*layout);
    }
    void TearDown() override {
        SetPictureLoaderHooks(loaderHooks);
        SetProfileDescriptions({});
        fs::remove(UserFolder() / QueueFile::kFileName);
    }

    PrintCommands Commands() { return PrintCommands(doc, {&manager, &SystemQueues(), &modules}); }
    std::string DevMode() {
        std::string record;
        manager.GetDevMode(&record);
        return record;
    }
    /// Layout, printer settings, lock and flag as before the command.
    void ExpectAllBack() {
        EXPECT_EQ(DumpLayout(*layout), layoutBefore);
        EXPECT_EQ(DevMode(), devModeBefore);
        EXPECT_EQ(manager.CurrentPrinter(), kFileQueue);
        EXPECT_EQ(InstallRenderState().LockOwner(), 0);
        EXPECT_EQ(app.preferences.directPrint, 0);
    }
    void MakeLayoutNeed120Ppi() {
        // 30 A4 pages exceed the area printed at 360 pixels per inch.
        layout->SetPageNumber(30);
        layoutBefore = DumpLayout(*layout);
    }

    PictureLoaderHooks loaderHooks;
    TestRoot root;
    ScopedEnv server{"CUPS_SERVER", (root.Path() / "no-cups.sock").string()};
    fs::path output = root.Path() / "Druckausgabe";
    RecordingApplicationState app;
    ScopedHostService<ApplicationState> installApp{&app};
    UndoStore undo;
    RecordingMessagePort messages;
    ScopedPorts ports{&messages};
    ScriptedModules modules{SystemDriverModules()};
    CPrinterManager manager{SystemQueues(), modules};
    CGPDoc doc;
    CLayoutSetting* layout = nullptr;
    CGPView view;
    QuietWindow window;
    LayoutViewCore viewCore{view, window};
    PrintingShell shell;
    ScopedHostService<Shell> installShell{&shell};
    NotingJobServices jobs{manager};
    ScopedHostService<PrintJobServices> installJobs{&jobs};
    ScriptedDriverDialog dialog;
    ScopedHostService<SettingsDialogs> installDialogs{&dialog};
    std::string devModeBefore;
    std::string layoutBefore;
};

TEST_F(PrintCommandsTest, PrintNowLeavesOnePdfOfTheLayoutsPagesAndPutsEverythingBack) {
    Commands().OnCommand(kCmdFilePrint);
    EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text;
    const std::vector<fs::path> pdfs = PdfsIn(output);
    ASSERT_EQ(pdfs.size(), 1u);
    EXPECT_EQ(pdfs[0].filename(), "Hochzeit.kqf.pdf");
    ExpectAllBack();
    const std::optional<std::string> report = PdfInfo(pdfs[0], 1, 2);
    if (!report) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    const std::string& info = *report;
    EXPECT_NE(info.find("Pages: 2\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page 1 size: 595.3 x 841.9 pts"), std::string::npos) << info;
    EXPECT_NE(info.find("Page 2 size: 595.3 x 841.9 pts"), std::string::npos) << info;
}

TEST_F(PrintCommandsTest, ThePrintKeepsNoCopyOfThePicturesOnceTheLayoutLetsThemGo) {
    const auto workingFiles = [] {
        int n = 0;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(TempFolder(), ec))
            n += e.path().filename().string().rfind("Vel", 0) == 0;
        return n;
    };
    ASSERT_EQ(workingFiles(), 2) << "the two pictures' working bitmaps";
    Commands().OnCommand(kCmdFilePrint);
    ASSERT_EQ(PdfsIn(output).size(), 1u);
    // The pictures leave the layout (a direct print puts the open layout back this way):
    // their temporary files must go with them, not wait for the next print.
    while (CLayoutObj* item = layout->GetFirstItem()) RemoveObjectById(layout->ItemListHead(), item);
    EXPECT_EQ(workingFiles(), 0);
}

TEST_F(PrintCommandsTest, APrinterThatCannotBePutBackAfterThePrintSays19601) {
    // Once the proof has arrived, the printer no longer opens.
    modules.refuse = [&](const DriverCall& c) { return c.op == DriverOperation::Open && !PdfsIn(output).empty(); };
    Commands().OnCommand(kCmdFilePrint);
    modules.refuse = nullptr;
    EXPECT_EQ(PdfsIn(output).size(), 1u);
    ASSERT_EQ(messages.Ids(), std::vector<int>{19601});
    EXPECT_EQ(std::get<std::string>(messages.shown[0].args[0]), kFileQueue);
    EXPECT_EQ(DumpLayout(*layout), layoutBefore) << "the layout comes back before the printer";
}

TEST_F(PrintCommandsTest, ADirectPrintStartClearsTheFlagAndAMenuPrintAfterItAsksAgain) {
    MakeLayoutNeed120Ppi();
    app.preferences.directPrint = 1;
    messages.answer = kIdCancel;
    const int invalidations = window.invalidations;
    Commands().OnFilePrint();
    EXPECT_EQ(messages.Ids(), std::vector<int>{59452});
    EXPECT_EQ(app.preferences.directPrint, 0);
    EXPECT_EQ(InstallRenderState().LockOwner(), 0) << "the lock taken for the question is given back";
    EXPECT_GT(window.invalidations, invalidations) << "the view shows that it waits";

    // A 360-pixel layout with the flag set: no question, and the flag still goes.
    layout->SetPageNumber(2);
    app.preferences.directPrint = 1;
    modules.calls.clear();
    shell.view = nullptr;  // nothing is printed without a view
    Commands().OnFilePrint();
    EXPECT_EQ(messages.Ids(), std::vector<int>{59452});
    EXPECT_EQ(app.preferences.directPrint, 0);
    EXPECT_TRUE(modules.calls.empty());
}

TEST_F(PrintCommandsTest, TheResolutionQuestionEndsThePrintBeforeThePrinterIsTouched) {
    MakeLayoutNeed120Ppi();
    struct Case {
        const char* what;
        bool directPrint;
        bool lockHeld;
        std::vector<int> asked;
    };
    const std::vector<Case> cases = {
        {"Cancel from the menu", false, false, {59452}},
        {"Cancel of a direct-print start", true, false, {59452}},
        {"a direct-print start while another pass holds the lock", true, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.shown.clear();
        messages.answer = kIdCancel;
        modules.calls.clear();
        app.preferences.directPrint = c.directPrint ? 1 : 0;
        RenderState& render = InstallRenderState();
        if (c.lockHeld) ASSERT_TRUE(render.Acquire(1, false));
        Commands().OnCommand(kCmdFilePrint);
        EXPECT_EQ(messages.Ids(), c.asked);
        EXPECT_TRUE(modules.calls.empty()) << "no slot saved, nothing reconciled";
        EXPECT_TRUE(PdfsIn(output).empty());
        EXPECT_EQ(app.preferences.directPrint, 0);
        EXPECT_EQ(render.LockOwner(), c.lockHeld ? 1 : 0) << "the other holder keeps it";
        if (c.lockHeld) render.Release();
        EXPECT_EQ(DumpLayout(*layout), layoutBefore);
    }
}

TEST_F(PrintCommandsTest, ARefusedReconciliationPrintsNothingAndSaysWhy) {
    struct Case {
        const char* what;
        std::function<void()> script;
        std::vector<int> shown;
    };
    const std::vector<Case> cases = {
        {"the driver refuses the print mode",
         [&] { modules.refuse = [](const DriverCall& c) { return c.op == DriverOperation::SetData && c.item == DriverItem::PrintMode; }; },
         {19602}},
        {"the layout's printer has gone",
         [&] {
             modules.refuse = nullptr;
             layout->Texts().printerName = "Verschwundener Drucker";
             layoutBefore = DumpLayout(*layout);
         },
         {19601}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.shown.clear();
        c.script();
        Commands().OnCommand(kCmdFilePrint);
        EXPECT_EQ(messages.Ids(), c.shown);
        EXPECT_TRUE(PdfsIn(output).empty());
        modules.refuse = nullptr;
        EXPECT_EQ(DumpLayout(*layout), layoutBefore) << "slot 0 puts the layout back";
        EXPECT_EQ(DevMode(), devModeBefore);
    }
    EXPECT_EQ(std::get<std::string>(messages.shown[0].args[0]), "Verschwundener Drucker");
}

TEST_F(PrintCommandsTest, DriverSettingsPrintWithTheChosenMediumAndPutThePrinterBack) {
    dialog.steps = {
        [](DriverSettingsEditor& e) { return ChooseMedium(e, "Fotopapier Seidenglanz"); },
        [](DriverSettingsEditor&) { return true; },
    };
    messages.answers = {kIdCancel, kIdYes};
    Commands().OnCommand(kCmdPrintWithDriverSettings);
    EXPECT_EQ(messages.Ids(), (std::vector<int>{59428, 59428}));
    EXPECT_EQ(dialog.runs, 2) << "Cancel in the question shows the dialog again";
    ASSERT_EQ(dialog.shown.size(), 2u);
    EXPECT_EQ(dialog.shown[1][OptionControl::Media].items[size_t(dialog.shown[1][OptionControl::Media].selection)].text,
              "Fotopapier Seidenglanz")
        << "the second run shows the first run's choice";
    ASSERT_EQ(PdfsIn(output).size(), 1u);
    ASSERT_EQ(jobs.profiles.size(), 1u);
    EXPECT_EQ(jobs.profiles[0].filename(), "TEVRA Proof 44 Fotopapier Seidenglanz.icc");
    ExpectAllBack();
}

TEST_F(PrintCommandsTest, DriverSettingsWithoutPrintingPutEverythingBack) {
    struct Case {
        const char* what;
        std::vector<std::function<bool(DriverSettingsEditor&)>> steps;
        std::vector<int> answers;
        std::vector<int> shown;
    };
    const std::vector<Case> cases = {
        {"No in the question",
         {[](DriverSettingsEditor& e) { return ChooseMedium(e, "Normalpapier"); }},
         {kIdNo},
         {59428}},
        {"Cancel in the driver dialog", {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.shown.clear();
        messages.answers = c.answers;
        dialog.runs = 0;
        dialog.steps = c.steps;
        Commands().OnCommand(kCmdPrintWithDriverSettings);
        EXPECT_EQ(messages.Ids(), c.shown);
        EXPECT_TRUE(PdfsIn(output).empty());
        EXPECT_TRUE(jobs.profiles.empty());
        ExpectAllBack();
    }
}

TEST_F(PrintCommandsTest, DriverSettingsOnAPrinterThatWillNotOpenSay19601AndGoOn) {
    // The first open after the manager let its printer go is the dialog's own.
    int opens = 0;
    modules.refuse = [&](const DriverCall& c) { return c.op == DriverOperation::Open && ++opens == 1; };
    Commands().OnCommand(kCmdPrintWithDriverSettings);
    modules.refuse = nullptr;
    EXPECT_EQ(messages.Ids(), std::vector<int>{19601});
    EXPECT_EQ(std::get<std::string>(messages.shown[0].args[0]), kFileQueue);
    EXPECT_EQ(dialog.runs, 0);
    EXPECT_TRUE(PdfsIn(output).empty());
    ExpectAllBack();
}

TEST_F(PrintCommandsTest, CommandStates) {
    const BoundDialogs none, all = BoundDialogs::All();
    struct Case {
        int id;
        bool layout, view;
        BoundDialogs dialogs;
        bool enabled;
    };
    const std::vector<Case> cases = {
        {kCmdFilePrint, true, false, none, true},      {kCmdFilePrint, false, true, all, false},
        {kCmdPrintWithDriverSettings, true, true, all, true},
        {kCmdPrintWithDriverSettings, true, false, all, false},
        {kCmdPrintWithDriverSettings, true, true, none, false},
        {kCmdPrintWithDriverSettings, false, true, all, false},
        {33311, true, true, all, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " layout " << c.layout << " view " << c.view);
        EXPECT_EQ(PrintCommands::Handles(c.id), c.id != 33311);
        EXPECT_EQ(PrintCommands::State(c.id, c.layout ? layout : nullptr, c.view, c.dialogs).enabled, c.enabled);
    }
}

}  // namespace
}  // namespace vx::test
