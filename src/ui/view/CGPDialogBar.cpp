#include "ui/view/CGPDialogBar.h"

#include <wx/combobox.h>
#include <wx/sizer.h>

#include "platform/system/StringTable.h"
#include "ui/controls/CIconButton.h"
#include "ui/view/CGPViewWindow.h"

namespace vx {
namespace {

wxArrayString ToArray(const std::vector<std::string>& texts) {
    wxArrayString out;
    for (const std::string& t : texts) out.Add(wxString::FromUTF8(t));
    return out;
}

// The tooltip is what follows the first line break of the command's string.
wxString TipOf(int stringId) {
    const std::string& text = LoadString(stringId);
    const size_t nl = text.find('\n');
    return wxString::FromUTF8(nl == std::string::npos ? text : text.substr(nl + 1));
}

}  // namespace

bool CInitDialogBar::Create(wxWindow* parent, wxWindowID id, long style) {
    if (!wxPanel::Create(parent, id, wxDefaultPosition, wxDefaultSize, style)) return false;
    bool ok = false;
    GuardedHandler([&] { ok = InitBar(); });
    return ok;
}

CIconButton* CGPDialogBar::AddButton(wxSizer& row, int id, int icon, int tipString) {
    auto* button = new CIconButton(this, id, wxString(), wxDefaultPosition, wxSize(34, 34));
    button->SetIconsById(icon, 0);
    button->SetFocusRectWhenFlat(true, true);
    button->SetTipText(TipOf(tipString));
    row.Add(button, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 2);
    return button;
}

bool CGPDialogBar::InitBar() {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    AddButton(*row, kIdZoomIn, 326, IDS_TIP_ZOOM_IN);
    mZoom = new wxComboBox(this, kIdZoomList, wxString(), wxDefaultPosition, wxSize(110, -1), 0, nullptr,
                           wxCB_DROPDOWN | wxTE_PROCESS_ENTER);
    row->Add(mZoom, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 2);
    AddButton(*row, kIdZoomOut, 329, IDS_TIP_ZOOM_OUT);
    AddButton(*row, kIdPrevPage, 328, IDS_TIP_PREV_PAGE);
    mPage = new wxComboBox(this, kIdPageList, wxString(), wxDefaultPosition, wxSize(110, -1), 0, nullptr,
                           wxCB_DROPDOWN | wxTE_PROCESS_ENTER);
    row->Add(mPage, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 2);
    AddButton(*row, kIdNextPage, 325, IDS_TIP_NEXT_PAGE);
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(row, 0, wxALL, 2);
    SetSizerAndFit(outer);

    mLogic.InitBar();

    Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { GuardedHandler([&] { mLogic.OnZoomSelected(mZoom->GetSelection()); }); },
         kIdZoomList);
    Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { GuardedHandler([&] { mLogic.OnPageSelected(mPage->GetSelection()); }); },
         kIdPageList);
    Bind(wxEVT_TEXT_ENTER,
         [this](wxCommandEvent&) { GuardedHandler([&] { mLogic.OnZoomTyped(mZoom->GetValue().utf8_string()); }); },
         kIdZoomList);
    Bind(wxEVT_TEXT_ENTER,
         [this](wxCommandEvent&) { GuardedHandler([&] { mLogic.OnPageTyped(mPage->GetValue().utf8_string()); }); },
         kIdPageList);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { GuardedHandler([&] { mLogic.OnZoomIn(); }); }, kIdZoomIn);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { GuardedHandler([&] { mLogic.OnZoomOut(); }); }, kIdZoomOut);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { GuardedHandler([&] { mLogic.OnNextPage(); }); }, kIdNextPage);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { GuardedHandler([&] { mLogic.OnPrevPage(); }); }, kIdPrevPage);
    for (int id : {kIdZoomIn, kIdZoomOut, kIdNextPage, kIdPrevPage, kIdZoomList, kIdPageList})
        Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(ZoomPageBarLogic::ControlsEnabled()); }, id);
    return true;
}

void CGPDialogBar::SetZoomEntries(const std::vector<std::string>& labels) { mZoom->Set(ToArray(labels)); }

void CGPDialogBar::SelectZoomEntry(int index) { mZoom->SetSelection(index); }

void CGPDialogBar::SetZoomText(const std::string& text) {
    mZoom->SetSelection(wxNOT_FOUND);
    mZoom->ChangeValue(wxString::FromUTF8(text));
}

void CGPDialogBar::SetPageEntries(const std::vector<std::string>& entries) { mPage->Set(ToArray(entries)); }

void CGPDialogBar::SelectPageEntry(int index) { mPage->SetSelection(index); }

void CGPDialogBar::SetPageText(const std::string& text) { mPage->ChangeValue(wxString::FromUTF8(text)); }

}  // namespace vx
