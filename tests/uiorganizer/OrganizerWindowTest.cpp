#include <functional>
#include <string>
#include <vector>

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/modalhook.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "../core/templates/OrganizerFolder.h"
#include "../uicontrols/GalleryFixture.h"
#include "platform/system/StringTable.h"
#include "templates/OrganizerModel.h"
#include "templates/SaveTemplateAsController.h"
#include "ui/controls/CIconButton.h"
#include "ui/dialogs/CSaveTemplateAsDlg.h"
#include "ui/dialogs/CTemplateOrganizeDlg.h"
#include "ui/dialogs/CategoryDialogs.h"
#include "ui/dialogs/TemplateListControls.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

class OrganizerWindow : public Gallery {};

void Press(wxWindow* button) {
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

void PressOk(wxDialog& dialog) { Press(dialog.FindWindow(wxID_OK)); }

/// Answers the modal dialogs that open over owner while it lives: act gets each one
/// and returns the code to end it with, or wxID_NONE to show it.
class ModalAnswers : public wxModalDialogHook {
public:
    ModalAnswers(wxDialog* owner, std::function<int(wxDialog*)> act) : mOwner(owner), mAct(std::move(act)) {
        Register();
    }
    ~ModalAnswers() override { Unregister(); }
    std::vector<wxString> titles;

protected:
    int Enter(wxDialog* dialog) override {
        if (dialog == mOwner) return wxID_NONE;
        titles.push_back(dialog->GetTitle());
        return mAct(dialog);
    }
    void Exit(wxDialog*) override {}

private:
    wxDialog* mOwner;
    std::function<int(wxDialog*)> mAct;
};

TEST_F(OrganizerWindow, AddCategoryChecksTheNameAndTrimsIt) {
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    CAddCategoryDlg dialog(mFrame, {"MyTemp", "Kunden"});
    EXPECT_EQ(dialog.GetTitle(), wxString::FromUTF8("Benutzerkategorie hinzufügen "));
    dialog.CallAfter([&] {
        Pump(150);
        SavePng(&dialog, "add_category.png");
        for (const char* refused : {"bildmaske", "a:b", ""}) {
            dialog.NameEdit()->SetValue(wxString::FromUTF8(refused));
            PressOk(dialog);
        }
        EXPECT_TRUE(dialog.IsModal());
        dialog.NameEdit()->SetFocus();
        dialog.NameEdit()->SetValue(wxString());
        Pump(50);
        Type(" Partner ");
        Pump(100);
        PressOk(dialog);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(messages.Ids(), (std::vector<int>{IDS_USER_CATEGORY_EXISTS, IDS_CATEGORY_NAME_CHARS}));
    EXPECT_EQ(dialog.GetCategoryName(), "Partner");
}

TEST_F(OrganizerWindow, ReturnCancelsBothDeletionDialogs) {
    CDeleteTemplateDlg deleteTemplate(mFrame, "Foto.kqt");
    CDeleteCategoryDlg deleteCategory(mFrame, "Kunden");
    for (wxDialog* dialog : std::vector<wxDialog*>{&deleteTemplate, &deleteCategory}) {
        dialog->CallAfter([&, dialog] {
            Pump(150);
            SavePng(dialog, dialog->GetId() == CDeleteTemplateDlg::kResourceId ? "delete_template.png"
                                                                                : "delete_category.png");
            mSim.Char(WXK_RETURN);
        });
        EXPECT_EQ(dialog->ShowModal(), wxID_CANCEL);
    }
    EXPECT_EQ(deleteTemplate.NameText()->GetLabel(), "Foto.kqt");
    EXPECT_EQ(deleteTemplate.NameText()->GetId(), 3887);
    EXPECT_EQ(deleteCategory.NameText()->GetId(), 3890);
    EXPECT_EQ(deleteCategory.GetTitle(), wxString::FromUTF8("Benutzerkategorie löschen"));
}

TEST_F(OrganizerWindow, SaveAsTakesATypedNameAndAsksBeforeReplacing) {
    test::OrganizerFolder folder;
    SaveTemplateAsFields fields;
    fields.note = "Notiz";
    fields.saveWithImages = 1;
    SaveTemplateAsController controller(fields, TemplateCatalog(), UserCategoryList(),
                                        (folder.templates / "Foto.kqt").string(), folder.templates);
    CSaveTemplateAsDlg dialog(mFrame, controller);
    EXPECT_EQ(dialog.NameEdit()->GetValue(), "Foto(0).kqt");
    EXPECT_EQ(dialog.CategoryCombo()->GetStringSelection(), "MyTemp");
    EXPECT_TRUE(dialog.WithImagesCheck()->GetValue());
    EXPECT_EQ(dialog.NoteEdit()->GetValue(), "Notiz");
    folder.messages.answer = kIdNo;
    dialog.CallAfter([&] {
        Pump(150);
        SavePng(&dialog, "save_template_as.png");
        dialog.NameEdit()->SetValue("Reise");
        PressOk(dialog);  // asked, answered No: stays
        EXPECT_TRUE(dialog.IsModal());
        dialog.NameEdit()->SetFocus();
        dialog.NameEdit()->SetValue(wxString());
        Pump(50);
        Type("Plan");
        dialog.CategoryCombo()->SetSelection(dialog.CategoryCombo()->FindString("Kunden"));
        dialog.WithImagesCheck()->SetValue(false);
        Pump(100);
        PressOk(dialog);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(folder.messages.Ids(), std::vector<int>{IDS_TEMPLATE_REPLACE_QUESTION});
    EXPECT_EQ(fields.name, "Plan.kqt");
    EXPECT_EQ(fields.category, "Kunden");
    EXPECT_EQ(fields.note, "Notiz");
    EXPECT_EQ(fields.saveWithImages, 0);
}

TEST_F(OrganizerWindow, DeletesACategoryAndATemplateThroughTheButtons) {
    test::OrganizerFolder folder;
    OrganizerModel model(TemplateCatalog(), UserCategoryList(), BuiltinCategoryKeys(), {}, folder.CategoryFile());
    model.Open();
    CTemplateOrganizeDlg dialog(mFrame, model);
    EXPECT_EQ(dialog.GetTitle(), "Vorlagen organisieren");
    EXPECT_EQ(dialog.FindWindow(wxID_OK)->GetLabel(), wxString::FromUTF8("Schließen"));
    ModalAnswers answers(&dialog, [&](wxDialog* asked) {
        if (auto* add = dynamic_cast<CAddCategoryDlg*>(asked)) {
            add->CallAfter([add] {
                add->NameEdit()->SetValue("Partner");
                PressOk(*add);
            });
            return static_cast<int>(wxID_NONE);
        }
        return static_cast<int>(wxID_OK);
    });
    dialog.CallAfter([&] {
        Pump(200);
        SavePng(&dialog, "organizer_first.png");
        EXPECT_FALSE(dialog.AddCategoryButton()->IsEnabled());
        EXPECT_EQ(dialog.List()->GetItemCount(), 1);

        dialog.Tree()->SelectItem(dialog.TreeItem(2));
        Pump(100);
        EXPECT_TRUE(dialog.AddCategoryButton()->IsEnabled());
        Press(dialog.AddCategoryButton());
        Pump(150);
        EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"Kunden", "MyTemp", "Partner"}));

        // "Kunden" is the only category of "Kundenkarte.kqt": it stays.
        dialog.Tree()->SelectItem(dialog.TreeItem(2, 0));
        Pump(100);
        EXPECT_EQ(dialog.Tree()->GetItemText(dialog.TreeItem(2, 0)), "Kunden");
        EXPECT_FALSE(dialog.DeleteCategoryButton()->IsEnabled());

        // "Partner" under "MyTemplate", selected as a click would.
        dialog.Tree()->SelectItem(dialog.TreeItem(2, 2));
        Pump(100);
        EXPECT_EQ(dialog.Tree()->GetItemText(dialog.TreeItem(2, 2)), "Partner");
        EXPECT_TRUE(dialog.DeleteCategoryButton()->IsEnabled());
        Press(dialog.DeleteCategoryButton());
        Pump(100);
        EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"Kunden", "MyTemp"}));

        // "Foto.kqt" under "Kategorie".
        dialog.Tree()->SelectItem(dialog.TreeItem(0));
        Pump(100);
        ASSERT_EQ(dialog.List()->GetItemCount(), 1);
        dialog.List()->ShowSelected(0);
        Pump(200);
        EXPECT_TRUE(dialog.DeleteTemplateButton()->IsEnabled());
        SavePng(&dialog, "organizer_selected.png");
        Press(dialog.DeleteTemplateButton());
        Pump(100);
        EXPECT_EQ(dialog.List()->GetItemCount(), 0);
        EXPECT_FALSE(dialog.DeleteTemplateButton()->IsEnabled());
        Press(dialog.FindWindow(wxID_OK));
    });
    dialog.ShowModal();
    EXPECT_EQ(answers.titles.size(), 3u);
    EXPECT_EQ(test::ReadFileBytes(folder.CategoryFile()),
              "[USR_TEMPLATE_FOLDER]\nUsrTemplate0=\"Kunden\"\nUsrTemplate1=\"MyTemp\"\n");
    EXPECT_FALSE(fs::exists(folder.templates / "Foto.kqt"));
    EXPECT_FALSE(fs::exists(folder.templates / "Foto"));
    EXPECT_TRUE(fs::exists(folder.templates / "Reise" / "c.jpg"));
    EXPECT_EQ(TemplateCatalog().GetSize(), 3);
    EXPECT_TRUE(folder.messages.shown.empty());
}

TEST_F(OrganizerWindow, EscapeEndsALabelEditBeforeItClosesTheDialog) {
    test::OrganizerFolder folder;
    OrganizerModel model(TemplateCatalog(), UserCategoryList(), BuiltinCategoryKeys(), {}, folder.CategoryFile());
    model.Open();
    CTemplateOrganizeDlg dialog(mFrame, model);
    bool editing = false, openAfterEscape = false, editAfterEscape = true;
    dialog.CallAfter([&] {
        Pump(150);
        dialog.Tree()->SetFocus();
        dialog.Tree()->EditLabel(dialog.TreeItem(2, 0));
        Pump(150);
        editing = dialog.Tree()->GetEditControl() != nullptr;
        if (editing) dialog.Tree()->GetEditControl()->SetFocus();
        Pump(50);
        mSim.Char(WXK_ESCAPE);
        Pump(200);
        openAfterEscape = dialog.IsModal();
        editAfterEscape = dialog.Tree()->GetEditControl() != nullptr;
        mSim.Char(WXK_ESCAPE);
        Pump(200);
        if (dialog.IsModal()) dialog.EndModal(wxID_CANCEL);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_TRUE(editing);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_FALSE(editAfterEscape);
    EXPECT_EQ(UserCategoryList(), (std::vector<std::string>{"Kunden", "MyTemp"}));
}

TEST_F(OrganizerWindow, TheOpenLayoutsTemplateIsRefusedBeforeAsking) {
    test::OrganizerFolder folder;
    CLayoutSetting open(true);
    open.Texts().documentPath = (folder.templates / "Foto.kqt").string();
    folder.app.active = &open;
    OrganizerModel model(TemplateCatalog(), UserCategoryList(), BuiltinCategoryKeys(), {}, folder.CategoryFile());
    model.Open();
    CTemplateOrganizeDlg dialog(mFrame, model);
    ModalAnswers answers(&dialog, [](wxDialog*) { return static_cast<int>(wxID_OK); });
    const auto before = folder.Snapshot();
    dialog.CallAfter([&] {
        dialog.List()->ShowSelected(0);
        Pump(150);
        Press(dialog.DeleteTemplateButton());
        Press(dialog.FindWindow(wxID_OK));
    });
    dialog.ShowModal();
    EXPECT_EQ(answers.titles.size(), 0u);
    EXPECT_EQ(folder.messages.Ids(), std::vector<int>{IDS_TEMPLATE_IN_USE});
    EXPECT_EQ(folder.Snapshot(), before);
    folder.app.active = nullptr;
}

}  // namespace
}  // namespace vx
