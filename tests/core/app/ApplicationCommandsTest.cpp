#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../document/LayoutLoadFixtures.h"
#include "app/ApplicationCommands.h"
#include "document/DocumentCommands.h"
#include "document/LayoutDocument.h"
#include "document/LayoutXmlWriter.h"
#include "host/DocumentServices.h"
#include "model/UndoStore.h"
#include "model/ViewStateBlock.h"
#include "platform/spool/PrintDevice.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "support/RecordingHost.h"
#include "support/printing/FakeModuleLocator.h"
#include "support/printing/FakeQueueSource.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

TEST(ApplicationTexts, VersionsAndToggles) {
    EXPECT_EQ(VersionText(1, 0, 3), "Version 1.0");
    EXPECT_EQ(VersionText(0, 9, 5), "Version 0.95");
    EXPECT_EQ(VersionText(2, 11, 0), "Version 2.11");
    EXPECT_EQ(ToolWindowToggleText(33605, false), "Bildvorschau anzeigen");
    EXPECT_EQ(ToolWindowToggleText(33605, true), "Bildvorschau ausblenden");
    EXPECT_EQ(ToolWindowToggleText(33604, true), "Bildinformation ausblenden");
    EXPECT_EQ(ToolWindowToggleText(33401, false), "Direktdruckfenster anzeigen");
    EXPECT_EQ(ToolWindowToggleText(1, false), "");
}

TEST(ApplicationManual, AMissingManualIsReported) {
    test::TestRoot root;
    test::ScopedEnv data("VELLICOREX_DATA_DIR", root.Path().string());
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    int launched = 0;
    auto launch = [&](const fs::path& p) {
        ++launched;
        EXPECT_EQ(p, ManualPath());
        return true;
    };
    ASSERT_EQ(ManualPath(), root.Path() / "help" / "index.htm");
    EXPECT_FALSE(OpenManual(launch));
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_MANUAL_NOT_FOUND});
    fs::create_directories(root.Path() / "help");
    std::ofstream(root.Path() / "help" / "index.htm") << "<html></html>";
    EXPECT_TRUE(OpenManual(launch));
    EXPECT_EQ(launched, 1);
}

class OpenCommand : public test::LayoutLoadTest {
protected:
    OpenCommand() { app.undo = &undo; }
    ~OpenCommand() override { EXPECT_EQ(AppBusyFlag(), 0); }

    fs::path WriteLayoutFile(const std::string& relative) {
        const fs::path p = root.Path() / relative;
        auto layout = test::MakeSavableLayout();
        layout->SetColorIntentRGB(1);
        layout->SetColorIntentSimulation(3);
        LayoutTexts& t = layout->Texts();
        t.rgbSourceProfile = t.simulationProfile = t.monitorProfile = t.printerProfile = test::kTestProfile;
        layout->GetBaseImage()->SetSourceProfile(test::kTestProfile);
        layout->GetBaseImage()->SetSimulationProfile(test::kTestProfile);
        EXPECT_TRUE(SaveLayoutXml(p, *layout));
        return p;
    }
    /// A document that opened file, zoomed to 3/2 and changed.
    void OpenZoomed(CGPDoc& doc, const fs::path& file) {
        ASSERT_TRUE(doc.OnOpenDocument(file));
        ViewStateBlock* block = doc.GetLayout()->GetViewState();
        if (!block) block = &doc.GetLayout()->RenewViewState();
        block->zoomNumerator = 3;
        block->zoomDenominator = 2;
        app.active = doc.GetLayout();
    }

    UndoStore undo;
    test::RecordingHost host;
    std::vector<fs::path> opened;
    std::function<void(const fs::path&)> open = [this](const fs::path& p) {
        EXPECT_EQ(AppBusyFlag(), 0) << "the framework open runs with the flag clear";
        opened.push_back(p);
    };
};

TEST_F(OpenCommand, AWrongExtensionStopsWith10417) {
    const fs::path a = WriteLayoutFile("a.kqf");
    OpenLayoutFiles({root.Path() / "b.kqt", a}, open);
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_FILE_NOT_READABLE});
    EXPECT_TRUE(opened.empty());
    OpenLayoutFiles({root.Path() / "A.KQF"}, open);
    EXPECT_EQ(opened, std::vector<fs::path>{root.Path() / "A.KQF"});
}

TEST_F(OpenCommand, NothingHappensWhileBusyOrPrinting) {
    {
        BusyScope busy;
        OpenLayoutFiles({root.Path() / "a.kqf"}, open);
    }
    app.preferences.directPrint = 1;
    OpenLayoutFiles({root.Path() / "a.kqf"}, open);
    EXPECT_TRUE(opened.empty());
}

TEST_F(OpenCommand, TheOpenFileIsReloadedKeepingItsZoom) {
    const fs::path file = WriteLayoutFile("a.kqf");
    CGPDoc doc;
    OpenZoomed(doc, file);
    CLayoutSetting* old = doc.GetLayout();
    old->SetSavedLayout(0);
    OpenLayoutFiles({file}, open);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(messages.shown.empty()) << "a clean layout is reloaded without a question";
    CLayoutSetting* fresh = doc.GetLayout();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->GetViewState()->zoomNumerator, 3);
    EXPECT_EQ(fresh->GetViewState()->zoomDenominator, 2);
    EXPECT_EQ(fresh->GetSavedLayout(), 1);
    EXPECT_EQ(fresh->GetDirty(), 0);
    EXPECT_EQ(app.active, fresh);
    EXPECT_EQ(host.pane.resets, 1);
}

TEST_F(OpenCommand, AChangedOpenLayoutIsKeptOnNoAndAFailedReloadKeepsIt) {
    const fs::path file = WriteLayoutFile("a.kqf");
    CGPDoc doc;
    OpenZoomed(doc, file);
    CLayoutSetting* old = doc.GetLayout();
    old->SetDirty(1);
    messages.answer = kIdNo;
    OpenLayoutFiles({file, root.Path() / "b.kqf"}, open);
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_DISCARD_CURRENT_LAYOUT});
    EXPECT_EQ(doc.GetLayout(), old);
    EXPECT_TRUE(opened.empty()) << "No stops the whole command";

    messages.shown.clear();
    messages.answer = kIdYes;
    std::ofstream(file, std::ios::trunc) << "kaputt";
    OpenLayoutFiles({file}, open);
    EXPECT_EQ(messages.Ids(), (std::vector<int>{IDS_DISCARD_CURRENT_LAYOUT, IDS_FILE_NOT_READABLE}));
    EXPECT_EQ(doc.GetLayout(), old);
    EXPECT_EQ(old->GetDirty(), 1);
}

struct RotateDialog : SettingsDialogs {
    bool bound = true;
    int answerMode = -1;  // -1: Cancel
    bool Has(Dialog d) override { return bound && d == Dialog::AutoRotate; }
    bool RunAutoRotate(CLayoutSetting& layout) override {
        if (answerMode < 0) return false;
        layout.SetAutoRotate(int16_t(answerMode));
        return true;
    }
    std::optional<fs::path> ChooseTemplate() override { return std::nullopt; }
};

TEST(AutoRotateCommand, MarksAChangedModeAndAlwaysTheLayoutOnOk) {
    test::InstalledApplicationState app;
    UndoStore undo;
    app.undo = &undo;
    test::RecordingHost host;
    RotateDialog dialog;
    CLayoutSetting layout(true);
    EXPECT_FALSE(CanRunAutoRotate(true)) << "no dialog bound";
    ScopedHostService<SettingsDialogs> install(&dialog);
    EXPECT_TRUE(CanRunAutoRotate(true));
    EXPECT_FALSE(CanRunAutoRotate(false));
    EXPECT_FALSE(RunAutoRotateCommand(layout));
    EXPECT_EQ(layout.GetDirty(), 0);
    dialog.answerMode = 0;  // unchanged
    EXPECT_TRUE(RunAutoRotateCommand(layout));
    EXPECT_EQ(layout.GetDirty(), 1);
    EXPECT_TRUE(host.pane.marks.empty());
    dialog.answerMode = 2;
    EXPECT_TRUE(RunAutoRotateCommand(layout));
    EXPECT_EQ(host.pane.marks, std::vector<TemplateChangeMark>{TemplateChangeMark::AutoRotate});
    EXPECT_EQ(host.pane.templateTexts.size(), 2u);
    EXPECT_EQ(host.pane.invalidations, 2);
}

TEST(PrintSetup, FillsTheRecordAndTheDeviceOfTheOpenPrinter) {
    test::FakeQueueSource queues;
    queues.Add("a", "TEVRA Proof 44");
    test::FakeModuleLocator modules;
    CPrinterManager manager(queues, modules);
    test::RecordingViewServices services;
    ScopedHostService<ViewServices> installServices(&services);
    CLayoutSetting layout(true);

    PrintSetupInfo none;
    EXPECT_EQ(ApplyPrintSetup(none, manager, &layout), 2);
    EXPECT_EQ(none.device, nullptr);

    ASSERT_EQ(manager.SelectPrinter("a", -1), 1);
    PrintSetupInfo info;
    EXPECT_EQ(ApplyPrintSetup(info, manager, &layout), 1);
    EXPECT_EQ(info.settings, modules.state->devMode);
    ASSERT_NE(info.device, nullptr);
    EXPECT_EQ(info.device->Caps(), modules.state->caps);
    EXPECT_EQ(services.headerFooterPages, std::vector<int>{0});
}

}  // namespace
}  // namespace vx
