#include "ui/shell/CStartupWarningDlg.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "platform/system/StringTable.h"

namespace {
wxString Wx(const std::string& text) { return wxString::FromUTF8(text); }
}  // namespace

CStartupWarningDlg::CStartupWarningDlg(wxWindow* parent, Kind kind, const std::string& text)
    : wxDialog(parent, wxID_ANY, Wx(vx::LoadString(vx::IDS_WARNING_CAPTION)), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
    auto* icon = new wxStaticBitmap(this, 3562, wxArtProvider::GetBitmap(wxART_WARNING, wxART_MESSAGE_BOX));
    auto* message = new wxStaticText(this, wxID_ANY, Wx(text));
    message->Wrap(FromDIP(440));
    mCheck = new wxCheckBox(this, wxID_ANY, Wx(vx::LoadString(vx::IDS_DONT_SHOW_AGAIN)));
    mCheck->SetValue(false);

    const bool yesNo = kind != Kind::UserRights;
    auto* first = new wxButton(this, wxID_OK, yesNo ? "Ja" : "OK");
    auto* second = new wxButton(this, wxID_CANCEL, yesNo ? "Nein" : "Abbrechen");
    first->SetDefault();

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(icon, 0, wxALL, 12);
    top->Add(message, 1, wxTOP | wxRIGHT | wxBOTTOM, 12);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(first, 0, wxRIGHT, 8);
    buttons->Add(second);
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(top, 1, wxEXPAND);
    column->Add(mCheck, 0, wxLEFT | wxRIGHT, 12);
    column->Add(buttons, 0, wxEXPAND | wxALL, 12);
    SetSizerAndFit(column);
    SetEscapeId(wxID_CANCEL);
    CentreOnScreen();
}

bool CStartupWarningDlg::DontShowAgain() const { return mCheck->GetValue(); }
