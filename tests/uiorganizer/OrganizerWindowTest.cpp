#include <functional>
#include <map>
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
#include "templates/TemplateCatalogLookup.h"
#include "ui/controls/CIconButton.h"
#include "ui/dialogs/CSaveTemplateAsDlg.h"
#include "ui/dialogs/CTemplateOrganizeDlg.h"
#include "ui/dialogs/CategoryDialogs.h"
#include "ui/dialogs/TemplateDropTarget.h"
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

/// The texts of the list's lines in order.
std::vector<std::string> LineTexts(const wxListCtrl* list) {
    std::vector<std::string> texts;
    for (long i = 0; i < list->GetItemCount(); ++i) texts.push_back(list->GetItemText(i).utf8_string());
    return texts;
}

long LineOf(wxListCtrl* list, const std::string& text) { return list->FindItem(-1, wxString::FromUTF8(text)); }

/// The catalogue record behind a line of the list: what a drag of that line carries.
const TemplateInfo& RecordOf(const wxListCtrl* list, long line) {
    return TemplateCatalog().ElementAt(static_cast<int>(list->GetItemData(line)));
}

/// The child of the "MyTemplate" root with text, as the tree shows it now.
wxTreeItemId UserCategoryItem(const CTemplateOrganizeDlg& dialog, const std::string& text) {
    for (int child = 0;; ++child) {
        const wxTreeItemId item = dialog.TreeItem(2, child);
        if (!item.IsOk() || dialog.Tree()->GetItemText(item).utf8_string() == text) return item;
    }
}

wxPoint CentreOf(const wxTreeCtrl* tree, const wxTreeItemId& item) {
    wxRect rect;
    EXPECT_TRUE(tree->GetBoundingRect(item, rect, true));
    return {rect.x + rect.width / 2, rect.y + rect.height / 2};
}

wxPoint CentreOf(wxListCtrl* list, long line) {
    wxRect rect;
    EXPECT_TRUE(list->GetItemRect(line, rect, wxLIST_RECT_LABEL));
    return {rect.x + rect.width / 2, rect.y + rect.height / 2};
}

/// The template file base + ".kqt" and its image folder, with every byte.
std::map<std::string, std::string> FilesOf(const test::OrganizerFolder& folder, const std::string& base) {
    const std::string file = "Templates/" + base + ".kqt", images = "Templates/" + base;
    std::map<std::string, std::string> files;
    for (const auto& [path, bytes] : folder.Snapshot())
        if (path == file || path == images || path.rfind(images + "/", 0) == 0) files[path] = bytes;
    return files;
}

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

/// A drop as it arrives from a drag of the list's line: the data carries the line's
/// record path; the pointer enters the tree, moves over the point and lets go there.
/// def is what the keyboard asks for (copy with Ctrl), which the target ignores.
struct DropResult {
    wxDragResult over, data;
};
DropResult DropLine(CTemplateDropTarget* target, const wxListCtrl* list, long line, wxPoint at, wxDragResult def) {
    target->SetDroppedPath(RecordOf(list, line).Path);
    target->OnEnter(at.x, at.y, def);
    const wxDragResult over = target->OnDragOver(at.x, at.y, def);
    if (!target->OnDrop(at.x, at.y)) return {over, wxDragNone};
    return {over, target->OnData(at.x, at.y, def)};
}

TEST_F(OrganizerWindow, SelectRenameDropAndDeleteThroughTheControls) {
    test::OrganizerFolder folder;
    const fs::path t = folder.templates;
    const auto start = folder.Snapshot();
    const auto foto = FilesOf(folder, "Foto");
    OrganizerModel model(TemplateCatalog(), UserCategoryList(), BuiltinCategoryKeys(), {}, folder.CategoryFile());
    model.Open();
    CTemplateOrganizeDlg dialog(mFrame, model);
    CTemplateTreeCtrl* tree = dialog.Tree();
    CTemplateListCtrl* list = dialog.List();

    // The delete question is shown, pictured and answered with its own buttons.
    int answer = wxID_CANCEL;
    ModalAnswers answers(&dialog, [&](wxDialog* asked) {
        asked->CallAfter([&, asked] {
            Pump(150);
            SavePng(asked, answer == wxID_OK ? "organizer_flow_5_question_yes.png" : "organizer_flow_4_question_no.png");
            Press(asked->FindWindow(answer));
        });
        return static_cast<int>(wxID_NONE);
    });
    const auto selectCategory = [&](const std::string& name) {
        const wxTreeItemId item = UserCategoryItem(dialog, name);
        ASSERT_TRUE(item.IsOk()) << name;
        ClickAt(tree, wxMOUSE_BTN_LEFT, CentreOf(tree, item));
        EXPECT_TRUE(PumpUntil([&] { return model.TreeSelectionText() == name; }, 1000)) << name;
    };
    const auto catalogueAgreesWithTheFiles = [&] { EXPECT_EQ(folder.Listing(), folder.ScannedListing()); };

    const auto flow = [&] {
        Pump(200);

        // Selecting "Kunden" lists its templates, a template of it and another category
        // included; nothing on disk changes.
        selectCategory("Kunden");
        EXPECT_EQ(LineTexts(list), (std::vector<std::string>{"Kundenkarte.kqt", "Mix.kqt"}));
        EXPECT_EQ(folder.Snapshot(), start);
        SavePng(&dialog, "organizer_flow_1_kunden.png");

        // Renamed in the list's label editor: typed, ended with Return. Escape first
        // drops what was typed and leaves the dialog open.
        selectCategory("MyTemp");
        ASSERT_EQ(LineTexts(list), std::vector<std::string>{"Reise.kqt"});
        wxTextCtrl* edit = list->EditLabel(LineOf(list, "Reise.kqt"));
        ASSERT_NE(edit, nullptr);
        edit->SetFocus();
        edit->SelectAll();
        Pump(50);
        Type("Anders");
        mSim.Char(WXK_ESCAPE);
        EXPECT_TRUE(PumpUntil([&] { return list->GetEditControl() == nullptr; }, 1000));
        EXPECT_TRUE(dialog.IsModal()) << "Escape ends the edit, not the dialog";
        EXPECT_EQ(LineTexts(list), std::vector<std::string>{"Reise.kqt"});
        EXPECT_EQ(folder.Snapshot(), start);

        edit = list->EditLabel(LineOf(list, "Reise.kqt"));
        ASSERT_NE(edit, nullptr);
        edit->SetFocus();
        edit->SelectAll();
        Pump(50);
        Type("Urlaub");
        EXPECT_EQ(edit->GetValue(), "Urlaub");
        SavePng(&dialog, "organizer_flow_2_rename.png");
        mSim.Char(WXK_RETURN);
        EXPECT_TRUE(PumpUntil([&] { return LineOf(list, "Urlaub.kqt") >= 0; }, 1000));
        EXPECT_TRUE(dialog.IsModal()) << "Return ends the edit, not the dialog";
        EXPECT_EQ(list->GetEditControl(), nullptr);
        EXPECT_FALSE(fs::exists(t / "Reise.kqt"));
        EXPECT_FALSE(fs::exists(t / "Reise"));
        EXPECT_EQ(test::ReadFileBytes(t / "Urlaub" / "c.jpg"), std::string(1000, 'c'));
        EXPECT_NE(test::ReadFileBytes(t / "Urlaub.kqt").find("<RelativeDir>\"./Urlaub/\"</RelativeDir>"), std::string::npos);
        EXPECT_EQ(folder.Listing(), (std::vector<std::string>{"Foto.kqt|Personal Photo", "Kundenkarte.kqt|Kunden",
                                                              "Mix.kqt|Kunden:Reise", "Urlaub.kqt|MyTemp"}));
        catalogueAgreesWithTheFiles();
        EXPECT_TRUE(folder.messages.shown.empty());
        SavePng(&dialog, "organizer_flow_2_renamed.png");

        // The user template dropped on "Kunden" moves there, Ctrl held or not.
        CTemplateDropTarget* target = tree->DropTarget();
        ASSERT_NE(target, nullptr);
        const DropResult moved =
            DropLine(target, list, LineOf(list, "Urlaub.kqt"), CentreOf(tree, UserCategoryItem(dialog, "Kunden")), wxDragCopy);
        EXPECT_EQ(moved.over, wxDragMove);
        EXPECT_EQ(moved.data, wxDragMove);
        EXPECT_TRUE(PumpUntil([&] { return list->GetItemCount() == 0; }, 1000)) << "MyTemp is empty now";
        EXPECT_NE(test::ReadFileBytes(t / "Urlaub.kqt").find("<NameMyTemplate>\"Kunden\"</NameMyTemplate>"),
                  std::string::npos);
        EXPECT_EQ(test::ReadFileBytes(t / "Urlaub" / "c.jpg"), std::string(1000, 'c'));
        EXPECT_EQ(folder.Listing(), (std::vector<std::string>{"Foto.kqt|Personal Photo", "Kundenkarte.kqt|Kunden",
                                                              "Mix.kqt|Kunden:Reise", "Urlaub.kqt|Kunden"}));
        catalogueAgreesWithTheFiles();
        SavePng(&dialog, "organizer_flow_3_moved.png");

        // The standard template dropped on "Kunden" is copied with its pictures; the
        // highlight shows where it goes while the pointer is over the category.
        tree->SelectItem(dialog.TreeItem(0));
        EXPECT_TRUE(PumpUntil([&] { return LineTexts(list) == std::vector<std::string>{"Foto.kqt"}; }, 1000));
        const wxPoint kunden = CentreOf(tree, UserCategoryItem(dialog, "Kunden"));
        target->SetDroppedPath(RecordOf(list, 0).Path);
        EXPECT_EQ(target->OnDragOver(kunden.x, kunden.y, wxDragMove), wxDragCopy);
        EXPECT_EQ(tree->DropHighlight(), UserCategoryItem(dialog, "Kunden"));
        Pump(100);
        SavePng(&dialog, "organizer_flow_3_drop_over_kunden.png");
        const DropResult copied = DropLine(target, list, 0, kunden, wxDragMove);
        EXPECT_EQ(copied.over, wxDragCopy);
        EXPECT_EQ(copied.data, wxDragCopy);
        EXPECT_FALSE(tree->DropHighlight().IsOk());
        EXPECT_TRUE(PumpUntil([&] { return fs::exists(t / "Foto_copy(0).kqt") && UserCategoryItem(dialog, "Kunden").IsOk(); },
                              1000));
        Pump(100);
        const std::string copy = test::ReadFileBytes(t / "Foto_copy(0).kqt");
        EXPECT_NE(copy.find("<NameMyTemplate>\"Kunden\"</NameMyTemplate>"), std::string::npos) << copy;
        EXPECT_EQ(copy.find("NameGenre"), std::string::npos) << copy;
        EXPECT_EQ(test::ReadFileBytes(t / "Foto_copy(0)" / "a.jpg"), std::string(3000, 'a'));
        EXPECT_EQ(test::ReadFileBytes(t / "Foto_copy(0)" / "b.jpg"), std::string(2000, 'b'));
        EXPECT_EQ(test::ReadFileBytes(t / "Foto_copy(0)" / "s.jpg"), "stamp");
        EXPECT_EQ(FilesOf(folder, "Foto"), foto);
        const int record = FindTemplateByFileName(TemplateCatalog(), "Foto_copy(0).kqt");
        ASSERT_GE(record, 0);
        EXPECT_EQ(TemplateCatalog().ElementAt(record).IsUserTemplate, 1);
        EXPECT_EQ(folder.Listing(),
                  (std::vector<std::string>{"Foto.kqt|Personal Photo", "Foto_copy(0).kqt|Kunden", "Kundenkarte.kqt|Kunden",
                                            "Mix.kqt|Kunden:Reise", "Urlaub.kqt|Kunden"}));
        catalogueAgreesWithTheFiles();

        // The copy deleted from "Kunden": No keeps every byte, Yes takes file and pictures.
        selectCategory("Kunden");
        EXPECT_EQ(LineTexts(list), (std::vector<std::string>{"Foto_copy(0).kqt", "Kundenkarte.kqt", "Mix.kqt", "Urlaub.kqt"}));
        ClickAt(list, wxMOUSE_BTN_LEFT, CentreOf(list, LineOf(list, "Foto_copy(0).kqt")));
        EXPECT_TRUE(PumpUntil([&] { return model.CurrentRecord().Path == (t / "Foto_copy(0).kqt").string(); }, 1000));
        EXPECT_TRUE(dialog.DeleteTemplateButton()->IsEnabled());
        SavePng(&dialog, "organizer_flow_4_copy_selected.png");
        const auto beforeNo = folder.Snapshot();
        const auto listingBeforeNo = folder.Listing();
        answer = wxID_CANCEL;
        Press(dialog.DeleteTemplateButton());
        Pump(100);
        EXPECT_EQ(folder.Snapshot(), beforeNo);
        EXPECT_EQ(folder.Listing(), listingBeforeNo);
        EXPECT_NE(LineOf(list, "Foto_copy(0).kqt"), -1);

        answer = wxID_OK;
        Press(dialog.DeleteTemplateButton());
        Pump(100);
        EXPECT_FALSE(fs::exists(t / "Foto_copy(0).kqt"));
        EXPECT_FALSE(fs::exists(t / "Foto_copy(0)"));
        EXPECT_EQ(FilesOf(folder, "Foto"), foto);
        EXPECT_EQ(LineTexts(list), (std::vector<std::string>{"Kundenkarte.kqt", "Mix.kqt", "Urlaub.kqt"}));
        EXPECT_EQ(folder.Listing(), (std::vector<std::string>{"Foto.kqt|Personal Photo", "Kundenkarte.kqt|Kunden",
                                                              "Mix.kqt|Kunden:Reise", "Urlaub.kqt|Kunden"}));
        catalogueAgreesWithTheFiles();
        SavePng(&dialog, "organizer_flow_5_deleted.png");
    };
    dialog.CallAfter([&] {
        flow();
        if (dialog.IsModal()) dialog.EndModal(wxID_OK);
    });
    dialog.ShowModal();
    EXPECT_EQ(answers.titles.size(), 2u);
    EXPECT_TRUE(folder.messages.shown.empty());
    EXPECT_EQ(test::ReadFileBytes(folder.CategoryFile()), start.at("VellicorEX_TemplatePref.ini"));
}

}  // namespace
}  // namespace vx
