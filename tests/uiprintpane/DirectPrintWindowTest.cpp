#include "../uicontrols/GalleryFixture.h"

#include <map>

#include "app/DirectPrintController.h"
#include "app/DirectPrintState.h"
#include "document/LayoutDocument.h"
#include "host/Shell.h"
#include "platform/driver/DescribedModuleLocator.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "support/RecordingApplicationState.h"
#include "support/RecordingHost.h"
#include "support/RecordingPorts.h"
#include "support/printing/FakeQueueSource.h"
#include "ui/controls/CIconButton.h"
#include "ui/printpane/CDirectPrintDlg.h"

namespace {

namespace fs = std::filesystem;

/// No document is open and nothing opens: drops end before the printer is touched.
struct NoDocuments : vx::DirectPrintHost {
    std::vector<fs::path> opened;
    vx::CGPDoc* ActiveDocument() override { return nullptr; }
    vx::CGPDoc* OpenDocument(const fs::path& path) override {
        opened.push_back(path);
        return nullptr;
    }
    void CloseDocument(vx::CGPDoc&) override {}
    std::string DocumentTitle(vx::CGPDoc&) override { return {}; }
    void SetDocumentTitle(vx::CGPDoc&, const std::string&) override {}
    bool HasPrintSettingsPane(vx::CGPDoc&) override { return false; }
    std::vector<fs::path> RecentFiles() override { return {}; }
    void SetRecentFiles(const std::vector<fs::path>&) override {}
};

struct DirectPrintWindow : Gallery {
    void SetUp() override {
        Gallery::SetUp();
        queues.Add("TEVRA Proof 44 (Datei)", "TEVRA Proof 44").isDefault = true;
        queues.Add("P24", "TEVRA Proof 24");
        queues.Add("PA3", "TEVRA Proof A3");
        manager = std::make_unique<vx::CPrinterManager>(queues, vx::SystemDriverModules());
        manager->EnumSupportedPrinters();
        app.preferences.directPrintPrinters = {"TEVRA Proof 44 (Datei)", "", "P24", "", "PA3", "", "", ""};
    }
    void TearDown() override {
        if (dialog) dialog->Destroy();
        Pump();
        Gallery::TearDown();
    }
    vx::test::InstalledApplicationState app;
    vx::test::RecordingMessagePort messages;
    vx::test::ScopedPorts ports{&messages};
    vx::test::RecordingShell shell;
    vx::ScopedHostService<vx::Shell> installShell{&shell};
    vx::test::FakeQueueSource queues;
    std::unique_ptr<vx::CPrinterManager> manager;
    NoDocuments host;
    CDirectPrintDlg* dialog = nullptr;
};

TEST_F(DirectPrintWindow, ThreePrintersGiveThreeCaptionsThreeButtonsHigh) {
    dialog = new CDirectPrintDlg(mFrame, *manager, &host);
    dialog->Show();
    Pump(200);
    EXPECT_EQ(dialog->GetTitle(), "Direktdruck");
    const char* names[] = {"TEVRA Proof 44 (Datei)", "P24", "PA3"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dialog->Button(i)->GetLabel(), wxString::FromUTF8(names[i]));
        EXPECT_TRUE(dialog->Button(i)->IsEnabled());
        EXPECT_TRUE(dialog->Button(i)->IsShown());
    }
    for (int i = 3; i < CDirectPrintDlg::kButtons; ++i) {
        EXPECT_TRUE(dialog->Button(i)->GetLabel().empty());
        EXPECT_FALSE(dialog->Button(i)->IsEnabled());
    }
    const int buttonHeight = dialog->Button(0)->GetSize().y;
    EXPECT_EQ(dialog->GetClientSize().y, 3 * buttonHeight);
    EXPECT_EQ(dialog->Button(2)->GetPosition().y, 2 * buttonHeight);
    SavePng(dialog, "CDirectPrintDlg.png");

    // Fewer printers after the preferences changed: the window follows by itself.
    app.preferences.directPrintPrinters = {"", "", "", "", "", "", "", ""};
    EXPECT_TRUE(PumpUntil([&] { return dialog->GetClientSize().y == buttonHeight; }))
        << "one button high without printers";
    EXPECT_FALSE(dialog->Button(0)->IsEnabled());
}

TEST_F(DirectPrintWindow, DropsGoToTheButtonUnderThePoint) {
    dialog = new CDirectPrintDlg(mFrame, *manager, &host);
    dialog->Show();
    Pump();
    const wxRect second = dialog->Button(1)->GetRect();
    // A picture on the second button: refused before anything opens.
    EXPECT_EQ(dialog->DropAt(second.GetPosition() + wxPoint(5, 5), {"/tmp/bild.jpg"}), vx::DirectPrintResult::Refused);
    EXPECT_EQ(messages.Ids(), std::vector<int>{vx::IDS_FILE_NOT_READABLE});
    // A layout on it opens for printing on that button's printer.
    EXPECT_EQ(dialog->DropAt(second.GetPosition() + wxPoint(5, 5), {"/tmp/job.kqf"}), vx::DirectPrintResult::Failed);
    EXPECT_EQ(host.opened, std::vector<fs::path>{"/tmp/job.kqf"});
    // Below the used buttons nothing happens.
    messages.shown.clear();
    EXPECT_EQ(dialog->DropAt(wxPoint(5, dialog->GetClientSize().y + 10), {"/tmp/job.kqf"}),
              vx::DirectPrintResult::Ignored);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(shell.printNowAt.empty());
}

TEST_F(DirectPrintWindow, ClosingWaitsForTheRunningPrint) {
    dialog = new CDirectPrintDlg(mFrame, *manager, &host);
    dialog->Show();
    Pump();
    {
        vx::DirectPrintState::RunningScope running;
        EXPECT_FALSE(dialog->Close());
        Pump();
        EXPECT_EQ(CDirectPrintDlg::Instance(), dialog);
    }
    dialog->Move(123, 111);
    Pump();
    const wxPoint at = dialog->GetPosition();
    EXPECT_TRUE(dialog->Close());
    dialog = nullptr;
    Pump();
    EXPECT_EQ(CDirectPrintDlg::Instance(), nullptr);
    EXPECT_EQ(app.preferences.directPrintX, at.x);
    EXPECT_EQ(app.preferences.directPrintY, at.y);
}

}  // namespace
