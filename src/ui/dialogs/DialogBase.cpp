#include "ui/dialogs/DialogBase.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/image.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "dialogs/PrinterProfileText.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "platform/system/Folders.h"

namespace vx {

std::filesystem::path IconPath(int id) { return DataFolder() / "icons" / (std::to_string(id) + ".png"); }

wxBitmap ResourceIcon(int id, int size) {
    const auto path = IconPath(id);
    wxImage image;
    if (std::filesystem::exists(path) && image.LoadFile(wxString::FromUTF8(path.string()), wxBITMAP_TYPE_PNG)) {
        if (image.GetWidth() != size || image.GetHeight() != size) image.Rescale(size, size, wxIMAGE_QUALITY_HIGH);
        return wxBitmap(image);
    }
    wxImage blank(size, size);
    blank.InitAlpha();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) blank.SetAlpha(x, y, 0);
    return wxBitmap(blank);
}

wxBitmap PrinterModelPicture(std::string_view model, int size) { return ResourceIcon(PrinterModelIcon(model), size); }

ProfileChoice::ProfileChoice(wxWindow* parent, wxWindowID id)
    : wxChoice(parent, id, wxDefaultPosition, wxSize(260, -1)) {}

void ProfileChoice::Fill(const ProfileListModel& model, int selection) {
    std::vector<std::string> texts;
    for (const ProfileEntry& e : model.Entries()) texts.push_back(e.description);
    FillTexts(texts, selection);
}

void ProfileChoice::FillTexts(const std::vector<std::string>& texts, int selection) {
    Clear();
    for (const std::string& t : texts) Append(Text(t));
    if (selection >= 0 && unsigned(selection) < GetCount()) SetSelection(selection);
}

SettingsDialog::SettingsDialog(wxWindow* parent, const wxString& title)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE) {
    Bind(wxEVT_BUTTON, Guarded<wxCommandEvent>([this](wxCommandEvent&) { PressOk(); }), wxID_OK);
}

wxSizer* SettingsDialog::MakeButtons() {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->AddStretchSpacer();
    row->Add(new wxButton(this, wxID_OK, "OK"), 0, wxALL, 4);
    row->Add(new wxButton(this, wxID_CANCEL, "Abbrechen"), 0, wxALL, 4);
    return row;
}

bool SettingsDialog::PressOk() {
    const DialogCheck check = Commit();
    if (!check) {
        if (wxWindow* control = FindWindow(check.controlId)) {
            control->SetFocus();
            if (auto* edit = dynamic_cast<wxTextCtrl*>(control)) {
                edit->SelectAll();
                edit->ShowPosition(edit->GetInsertionPoint());
            }
        }
        return false;
    }
    mAccepted = true;
    if (IsModal()) EndModal(wxID_OK);
    else {
        SetReturnCode(wxID_OK);
        Hide();
    }
    return true;
}

}  // namespace vx
