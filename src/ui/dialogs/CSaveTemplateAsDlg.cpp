#include "ui/dialogs/CSaveTemplateAsDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "templates/TemplateFolders.h"
#include "templates/UserCategories.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/dialogs/CategoryDialogs.h"
#include "ui/dialogs/DialogBase.h"
#include "ui/dialogs/DialogTexts.h"
#include "ui/document/WxSettingsDialogs.h"

namespace vx {

CSaveTemplateAsDlg::CSaveTemplateAsDlg(wxWindow* parent, SaveTemplateAsController& controller)
    : wxDialog(parent, kResourceId, DialogText(kResourceId, 0)), mController(controller) {
    const auto label = [this](wxWindow* parent, int id) { return new wxStaticText(parent, wxID_ANY, DialogText(kResourceId, id)); };
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* nameRow = new wxBoxSizer(wxHORIZONTAL);
    nameRow->Add(label(this, -1), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    mName = new wxTextCtrl(this, kNameId, wxString(), wxDefaultPosition, wxSize(300, -1));
    nameRow->Add(mName, 1);
    top->Add(nameRow, 0, wxEXPAND | wxALL, 10);

    auto* info = new wxStaticBoxSizer(wxVERTICAL, this, DialogText(kResourceId, -2));
    wxWindow* box = info->GetStaticBox();
    auto* grid = new wxFlexGridSizer(2, 6, 6);
    grid->AddGrowableCol(1);
    grid->AddGrowableRow(1);
    grid->Add(label(box, -3), 0, wxALIGN_CENTER_VERTICAL);
    mCategory = new wxChoice(box, kCategoryId);
    grid->Add(mCategory, 1, wxEXPAND);
    grid->Add(label(box, -4), 0, wxALIGN_TOP);
    mNote = new wxTextCtrl(box, kNoteId, wxString(), wxDefaultPosition, wxSize(280, 90), wxTE_MULTILINE);
    grid->Add(mNote, 1, wxEXPAND);
    info->Add(grid, 1, wxEXPAND | wxALL, 6);
    top->Add(info, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);

    auto* options = new wxStaticBoxSizer(wxVERTICAL, this, DialogText(kResourceId, -5));
    mWithImages = new wxCheckBox(options->GetStaticBox(), kWithImagesId, DialogText(kResourceId, kWithImagesId));
    options->Add(mWithImages, 0, wxALL, 6);
    top->Add(options, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* ok = new wxButton(this, wxID_OK, DialogText(kResourceId, 1));
    buttons->Add(ok, 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, DialogText(kResourceId, 2)));
    top->Add(buttons, 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);
    ok->SetDefault();

    mName->SetValue(Text(mController.InitialName()));
    mNote->SetValue(Text(mController.InitialNote()));
    mWithImages->SetValue(mController.InitialSaveWithImages());
    for (const std::string& name : mController.Categories()) mCategory->Append(Text(name));
    if (mController.InitialCategory() >= 0) mCategory->SetSelection(mController.InitialCategory());

    mCategory->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
        FitComboDropDownWidth(mCategory);
        event.Skip();
    });
    ok->Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent& e) { OnOK(e); }));
    mName->SetFocus();
}

void CSaveTemplateAsDlg::OnOK(wxCommandEvent&) {
    using Field = SaveTemplateAsController::Field;
    const auto result = mController.Ok(Utf8(mName->GetValue()), mCategory->GetSelection(), Utf8(mNote->GetValue()),
                                       mWithImages->GetValue());
    if (result.close) {
        EndModal(wxID_OK);
        return;
    }
    wxTextCtrl* field = result.focus == Field::Note ? mNote : mName;
    field->SetFocus();
    field->SelectAll();
    field->ShowPosition(field->GetLastPosition());
}

bool WxSettingsDialogs::RunSaveTemplateAs(SaveTemplateAsFields& fields) {
    std::string documentPath;
    if (ApplicationState* app = HostService<ApplicationState>())
        if (const CLayoutSetting* layout = app->ActiveLayoutSlot()) documentPath = layout->Texts().documentPath;
    SaveTemplateAsController controller(fields, TemplateCatalog(), UserCategoryList(), documentPath, GetTemplateFolder());
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    CSaveTemplateAsDlg dialog(parent, controller);
    return dialog.ShowModal() == wxID_OK;
}

}  // namespace vx
