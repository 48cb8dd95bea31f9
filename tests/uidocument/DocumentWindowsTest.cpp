#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>

#include "../uicontrols/GalleryFixture.h"
#include "document/LayoutDocument.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "platform/system/Ports.h"
#include "support/TestFolders.h"
#include "ui/WxPorts.h"
#include "ui/document/ApplicationDialogs.h"
#include "ui/document/FileDialogs.h"
#include "ui/document/GPDocument.h"
#include "ui/document/ImageNotFoundDialog.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

/// Answers every modal dialog instead of showing it and records it; a dialog that is
/// neither a message of the message port nor one of ours fails the test.
class AnsweringHook : public wxModalDialogHook {
public:
    std::vector<std::string> messages;
    std::vector<bool> saveBoxes;  // the relative box preset of each save dialog
    int messageAnswer = wxID_NO;

    AnsweringHook() { Register(); }
    ~AnsweringHook() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override {
        if (auto* message = dynamic_cast<wxMessageDialog*>(dialog)) {
            messages.push_back(std::string(message->GetMessage().utf8_str()));
            return messageAnswer;
        }
        if (auto* save = dynamic_cast<CSaveLayoutDlg*>(dialog)) {
            saveBoxes.push_back(save->Relative());
            return wxID_CANCEL;
        }
        ADD_FAILURE() << "a dialog outside the message port: " << dialog->GetTitle().utf8_str();
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

class DocumentWindows : public Gallery {
protected:
    void SetUp() override {
        Gallery::SetUp();
        previous = SetMessagePort(&port);
        manager = new GPDocManager;
        new GPDocTemplate(manager);
        manager->FileHistoryUseMenu(nullptr);
    }
    void TearDown() override {
        for (wxDocument* doc : manager->GetDocumentsVector()) {
            static_cast<GPDocument*>(doc)->Core().DeleteLayout();
            delete doc;
        }
        delete manager;
        SetMessagePort(previous);
        Gallery::TearDown();
    }
    /// A framework document holding a changed layout saved before at path.
    GPDocument* ChangedDocument(const fs::path& path, bool relative) {
        auto* doc = new GPDocument;
        doc->SetDocumentTemplate(manager->GetTemplatesVector().front());
        manager->AddDocument(doc);
        auto layout = std::make_unique<CLayoutSetting>(true);
        layout->Texts().documentPath = path.string();
        layout->SetDirty(1);
        layout->SetRelative(relative ? 1 : 0);
        layout->RenewViewState();
        doc->Core().AdoptLayout(std::move(layout));
        return doc;
    }

    WxMessagePort port;
    MessagePort* previous = nullptr;
    GPDocManager* manager = nullptr;
    test::TestRoot root;
};

TEST_F(Gallery, ImageNotFoundDialogAnswersByButtonAndCloseBox) {
    const std::string name = "/home/anna/Bilder/Urlaub 2026/IMG_0042.JPG";
    const struct Case {
        int button;  // 0: the close box
        int answer;
    } cases[] = {{1, kImageNotFoundSearch}, {2, kImageNotFoundStop}, {2020, kImageNotFoundSkip}, {0, kImageNotFoundStop}};
    bool pictured = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        CImageNotFoundDlg dialog(mFrame, name);
        EXPECT_EQ(std::string(dialog.GetTitle().utf8_str()), name);
        wxTheApp->CallAfter([&] {
            PumpUntil([&] { return dialog.IsShownOnScreen(); }, 1000);
            Pump(200);
            if (!pictured) {
                SavePng(&dialog, "image-not-found-dialog.png");
                pictured = true;
            }
            if (c.button == 0) {
                dialog.Close();
            } else {
                wxWindow* button = dialog.FindWindow(c.button);
                ASSERT_NE(button, nullptr);
                wxCommandEvent click(wxEVT_BUTTON, c.button);
                click.SetEventObject(button);
                button->GetEventHandler()->ProcessEvent(click);
            }
        });
        EXPECT_EQ(dialog.ShowModal(), c.answer);
        EXPECT_EQ(dialog.Answer(), c.answer);
    }
    EXPECT_TRUE(fs::exists(test::OutputFolder() / "image-not-found-dialog.png"));
}

TEST_F(Gallery, AboutBoxShowsTheBuildVersionAndTheNotices) {
    CAboutDlg about(mFrame);
    EXPECT_EQ(std::string(about.FindWindow(3501)->GetLabel().utf8_str()), BuildVersionText());
    EXPECT_EQ(BuildVersionText().rfind("Version ", 0), 0u);
    auto* notices = dynamic_cast<wxTextCtrl*>(about.FindWindow(3899));
    ASSERT_NE(notices, nullptr);
    EXPECT_NE(notices->GetValue().Find("libtiff"), wxNOT_FOUND);
    about.Show();
    PumpUntil([&] { return about.IsShownOnScreen(); }, 1000);
    Pump(200);
    SavePng(&about, "about-box.png");
    about.Hide();
}

TEST_F(DocumentWindows, ClosingAChangedLayoutAsksThroughTheMessagePort) {
    AnsweringHook hook;
    GPDocument* doc = ChangedDocument(root.Path() / "Fotos.kqf", false);
    hook.messageAnswer = wxID_CANCEL;
    EXPECT_FALSE(manager->CloseDocument(doc));
    hook.messageAnswer = wxID_NO;
    EXPECT_TRUE(manager->CloseDocument(doc));
    EXPECT_EQ(hook.messages, (std::vector<std::string>(2, "Möchten Sie \"Fotos.kqf\" vor dem Schließen speichern?")));
    EXPECT_TRUE(manager->GetDocumentsVector().empty());
}

TEST_F(DocumentWindows, SaveAsPresetsTheRelativeBox) {
    AnsweringHook hook;
    GPDocument* relative = ChangedDocument({}, true);
    EXPECT_FALSE(relative->SaveAs());
    GPDocument* absolute = ChangedDocument({}, false);
    WxDocumentServices services(manager);
    ScopedHostService<DocumentServices> install(&services);
    EXPECT_FALSE(relative->SaveAs());
    EXPECT_FALSE(absolute->SaveAs());
    EXPECT_EQ(hook.saveBoxes, (std::vector<bool>{true, false}));
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(DocumentWindows, AMissingFileGives10417AndNoDocument) {
    AnsweringHook hook;
    hook.messageAnswer = wxID_OK;
    EXPECT_EQ(manager->CreateDocument("\"" + (root.Path() / "fehlt.kqf").string() + "\" /p", 0), nullptr);
    EXPECT_EQ(hook.messages, std::vector<std::string>{"Datei nicht lesbar."});
    EXPECT_TRUE(manager->GetDocumentsVector().empty());
}

}  // namespace
}  // namespace vx
