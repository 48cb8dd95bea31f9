#include "ui/document/ImageNotFoundDialog.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace vx {

namespace {
constexpr int kIdSearch = 1;
constexpr int kIdStop = 2;
constexpr int kIdSkip = 2020;
constexpr const char* kExplanation =
    "Bild nicht gefunden.\n  Weiter: Bild laden überspringen.\n  Suchen: Mit dem nächsten Schritt zur Suche "
    "des Bildes fortfahren.\n  Stopp: Bilder laden anhalten.";
}  // namespace

CImageNotFoundDlg::CImageNotFoundDlg(wxWindow* parent, const std::string& fileName)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(fileName)) {
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(new wxStaticBitmap(this, 2018, wxArtProvider::GetBitmap(wxART_WARNING, wxART_MESSAGE_BOX)), 0,
             wxALL, 12);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(kExplanation)), 1, wxALL | wxEXPAND, 12);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    const struct {
        int answer;
        const char* label;
    } rows[] = {{kIdSearch, "Suchen"}, {kIdStop, "Stopp"}, {kIdSkip, "Weiter"}};
    for (const auto& row : rows) {
        auto* button = new wxButton(this, row.answer, wxString::FromUTF8(row.label));
        button->Bind(wxEVT_BUTTON, [this, answer = row.answer](wxCommandEvent&) { Finish(answer); });
        buttons->Add(button, 0, wxALL, 6);
    }
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(top, 1, wxEXPAND);
    outer->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 6);
    SetSizerAndFit(outer);
    // The close box and Escape stop like "Stopp".
    SetEscapeId(wxID_NONE);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Finish(kIdStop); });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE)
            Finish(kIdStop);
        else
            event.Skip();
    });
    FindWindow(kIdSearch)->SetFocus();
    CentreOnParent();
}

void CImageNotFoundDlg::Finish(int answer) {
    mAnswer = answer;
    if (IsModal())
        EndModal(answer);
    else
        Hide();
}

int WxImageNotFoundPrompt::Ask(const std::string& name) {
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    CImageNotFoundDlg dialog(parent, name);
    dialog.ShowModal();
    return dialog.Answer();
}

}  // namespace vx
