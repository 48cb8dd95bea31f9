#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>

#include "../core/document/PrintCommandsFixture.h"
#include "../uicontrols/GalleryFixture.h"
#include "colourmanagement/PictureColourTransforms.h"
#include "document/PrintCommands.h"
#include "model/PictureLoader.h"
#include "model/UndoStore.h"
#include "platform/spool/QueueFile.h"
#include "platform/system/Folders.h"
#include "platform/system/Ports.h"
#include "printing/CPrinterManager.h"
#include "printing/DriverSettingsEditor.h"
#include "support/RecordingApplicationState.h"
#include "support/TestFolders.h"
#include "support/printing/FileQueueOutput.h"
#include "ui/CMainFrame.h"
#include "ui/WxPorts.h"
#include "ui/dialogs/DriverSettingsDlg.h"
#include "ui/document/GPDocument.h"
#include "ui/document/WxSettingsDialogs.h"
#include "ui/shell/CommandIds.h"
#include "view/CGPView.h"
#include "view/SystemPrintJobServices.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

constexpr const char* kFileQueue = test::kShippedFileQueue;
using test::PdfsIn;

/// Takes every modal dialog instead of showing it modally: the test's handler drives it
/// and answers.
class DialogDriver : public wxModalDialogHook {
public:
    std::function<int(wxDialog*)> handler;
    std::vector<std::string> seen;
    DialogDriver() { Register(); }
    ~DialogDriver() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override {
        if (auto* message = dynamic_cast<wxMessageDialog*>(dialog))
            seen.push_back(std::string(message->GetMessage().utf8_str()));
        else
            seen.push_back(std::string(dialog->GetTitle().utf8_str()));
        return handler ? handler(dialog) : wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

class DriverSettingsWindow : public Gallery {
protected:
    void SetUp() override {
        Gallery::SetUp();
        ASSERT_TRUE(CreateTempFolder());
        InstallColourManagement();
        ASSERT_TRUE(EnsureUserFolder());
        test::WriteShippedFileQueue(UserFolder(), output);
        app.undo = &undo;
        previousPort = SetMessagePort(&port);
        // The process's manager, as the document's menu commands reach it.
        manager = CPrinterManager::GetInstance();
        ASSERT_NE(manager, nullptr);
        jobs = std::make_unique<SystemPrintJobServices>();
        installJobs = std::make_unique<ScopedHostService<PrintJobServices>>(jobs.get());

        document = std::make_unique<GPDocument>();
        document->Core().AdoptLayout(test::MakeTwoPageLayout(root.Path(), kFileQueue));
        layout = document->Core().GetLayout();
        manager->BindLayout(layout);
        ASSERT_EQ(manager->SelectPrinter(kFileQueue, -1), 1);
        viewCore.OnInitialUpdate(layout);
        shell.view = &viewCore;
        ASSERT_GE(manager->GetDevMode(&devModeBefore), 1);
    }
    void TearDown() override {
        manager->BindLayout(nullptr);
        document->Core().DeleteLayout();
        document.reset();
        installJobs.reset();
        SetMessagePort(previousPort);
        fs::remove(UserFolder() / QueueFile::kFileName);
        RemoveTempFolder();
        Gallery::TearDown();
    }
    void Print() { PrintCommands(document->Core()).OnCommand(kCmdPrintWithDriverSettings); }

    test::TestRoot root;
    // Folders of the test's own: the window suites start without the program's, and the
    // queue file must not land in the user's.
    test::ScopedEnv temp{"VELLICOREX_TEMP_DIR", (root.Path() / "temp").string()};
    test::ScopedEnv user{"VELLICOREX_USER_DIR", (root.Path() / "user").string()};
    test::ScopedEnv server{"CUPS_SERVER", (root.Path() / "no-cups.sock").string()};
    fs::path output = root.Path() / "Druckausgabe";
    test::RecordingApplicationState app;
    ScopedHostService<ApplicationState> installApp{&app};
    UndoStore undo;
    WxMessagePort port;
    MessagePort* previousPort = nullptr;
    WxSettingsDialogs dialogs;
    ScopedHostService<SettingsDialogs> installDialogs{&dialogs};
    CPrinterManager* manager = nullptr;
    std::unique_ptr<SystemPrintJobServices> jobs;
    std::unique_ptr<ScopedHostService<PrintJobServices>> installJobs;
    std::unique_ptr<GPDocument> document;
    CLayoutSetting* layout = nullptr;
    CGPView view;
    test::QuietWindow window;
    LayoutViewCore viewCore{view, window};
    test::PrintingShell shell;
    ScopedHostService<Shell> installShell{&shell};
    std::string devModeBefore;
    DialogDriver driver;
};

TEST_F(DriverSettingsWindow, TheChosenMediumPrintsAfterOkAndJa) {
    std::string chosen;
    bool pictured = false;
    driver.handler = [&](wxDialog* dialog) -> int {
        if (dynamic_cast<wxMessageDialog*>(dialog)) return wxID_YES;  // "Ja"
        auto* settings = dynamic_cast<DriverSettingsDlg*>(dialog);
        EXPECT_NE(settings, nullptr);
        if (!settings) return wxID_CANCEL;
        wxChoice* media = settings->MediaChoice();
        EXPECT_FALSE(settings->Radio(OptionControl::Orientation1)->IsEnabled()) << "fixed by the layout";
        const int index = media->FindString(wxString::FromUTF8("Fotopapier Seidenglanz"));
        EXPECT_NE(index, wxNOT_FOUND);
        media->SetSelection(index);
        wxCommandEvent event(wxEVT_CHOICE, media->GetId());
        event.SetEventObject(media);
        event.SetInt(index);
        media->ProcessWindowEvent(event);
        chosen = std::string(media->GetStringSelection().utf8_str());
        dialog->Show();
        Pump(300);
        SavePng(dialog, "ui-driver-settings.png");
        pictured = true;
        dialog->Hide();
        EXPECT_TRUE(settings->PressOk());
        return wxID_OK;
    };
    // Through the document's event table, as the menu reaches it.
    wxCommandEvent menu(wxEVT_MENU, ToWxId(kCmdPrintWithDriverSettings));
    document->ProcessEvent(menu);
    EXPECT_TRUE(pictured);
    EXPECT_EQ(chosen, "Fotopapier Seidenglanz");
    ASSERT_EQ(driver.seen.size(), 2u);
    EXPECT_EQ(driver.seen[1], "Möchten Sie drucken?");
    EXPECT_EQ(PdfsIn(output).size(), 1u) << "the PDF appears in the file queue's folder";
    std::string after;
    manager->GetDevMode(&after);
    EXPECT_EQ(after, devModeBefore);
}

TEST_F(DriverSettingsWindow, CancelInTheDialogAsksNothingAndPrintsNothing) {
    driver.handler = [](wxDialog*) { return wxID_CANCEL; };
    Print();
    EXPECT_EQ(driver.seen, std::vector<std::string>{"Druckertreiber-Einstellungen"});
    EXPECT_TRUE(PdfsIn(output).empty());
}

TEST_F(DriverSettingsWindow, TheShellsPrintNowPrintsTheOpenDocument) {
    auto* documents = new GPDocManager;
    new GPDocTemplate(documents);
    auto* frame = new CMainFrame(documents);
    documents->AddDocument(document.get());
    driver.handler = [](wxDialog*) { return wxID_CANCEL; };
    frame->PrintNow();
    EXPECT_TRUE(driver.seen.empty()) << driver.seen[0];
    EXPECT_EQ(PdfsIn(output).size(), 1u);
    documents->RemoveDocument(document.get());
    frame->Destroy();
    Pump(50);
    delete documents;
}

}  // namespace
}  // namespace vx
