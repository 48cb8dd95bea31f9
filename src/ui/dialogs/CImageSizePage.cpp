#include "ui/dialogs/CImageSizePage.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/gbsizer.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "host/FatalError.h"
#include "platform/system/StringTable.h"
#include "ui/controls/CNumEdit.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/dialogs/CImageSizeDlg.h"
#include "ui/dialogs/DialogViewApply.h"

using namespace vx::dialogs;

namespace {

wxString Text(const char* utf8) { return wxString::FromUTF8(utf8); }

}  // namespace

template <class Handler>
void CImageSizePage::Run(Handler&& handler) {
    vx::RunGuarded([&] { mDlg.ShowView(handler(mDlg.Controller().Size())); });
}

CImageSizePage::CImageSizePage(wxWindow* parent, CImageSizeDlg& dialog) : wxPanel(parent, wxID_ANY), mDlg(dialog) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, Text("Größe:")), 0, wxLEFT | wxTOP, 8);
    top->Add(new wxRadioButton(this, kDimensionsRadio, "Abmessungen:", wxDefaultPosition, wxDefaultSize, wxRB_GROUP),
             0, wxLEFT | wxTOP, 8);
    top->Add(BuildDimensions(), 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    top->Add(new wxRadioButton(this, kRatioRadio, Text("Verhältnis:")), 0, wxLEFT | wxTOP, 8);
    top->Add(BuildRatio(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(top);

    using Page = ImageSizeController::SizePage;
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](Page& p) { return p.OnDimensions(); }); },
         kDimensionsRadio);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](Page& p) { return p.OnRatio(); }); }, kRatioRadio);
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
        Run([&e](Page& p) { return p.OnKeepProportionsDimensions(e.IsChecked()); });
    }, kKeepDimensions);
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
        Run([&e](Page& p) { return p.OnKeepProportionsRatio(e.IsChecked()); });
    }, kKeepRatio);
    const int options[] = {kImageOptionOff, kImageOptionFit, kImageOptionCrop};
    for (int n = 0; n < 3; ++n)
        Bind(wxEVT_RADIOBUTTON, [this, n](wxCommandEvent&) { Run([n](Page& p) { return p.OnImageOption(n); }); },
             options[n]);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        Run([&e](Page& p) { return p.OnUnitChange(e.GetSelection()); });
    }, kSizeUnitCombo);
    const auto text = [](wxCommandEvent& e) { return std::string(e.GetString().utf8_str()); };
    Bind(wxEVT_TEXT, [this, text](wxCommandEvent& e) {
        Run([&](Page& p) { return p.OnWidthChange(text(e)); });
    }, kWidthEdit);
    Bind(wxEVT_TEXT, [this, text](wxCommandEvent& e) {
        Run([&](Page& p) { return p.OnHeightChange(text(e)); });
    }, kHeightEdit);
    Bind(wxEVT_TEXT, [this, text](wxCommandEvent& e) {
        Run([&](Page& p) { return p.OnRatioWidthChange(text(e)); });
    }, kRatioWidthEdit);
    Bind(wxEVT_TEXT, [this, text](wxCommandEvent& e) {
        Run([&](Page& p) { return p.OnRatioHeightChange(text(e)); });
    }, kRatioHeightEdit);
}

wxSizer* CImageSizePage::BuildDimensions() {
    auto* box = new wxStaticBoxSizer(new wxStaticBox(this, kDimensionsGroup, wxString()), wxVERTICAL);
    wxStaticBox* frame = box->GetStaticBox();
    auto* grid = new wxGridBagSizer(4, 6);
    grid->Add(new wxStaticText(frame, kWidthLabel, "Breite:"), {0, 0}, {1, 1}, wxALIGN_CENTER_VERTICAL);
    grid->Add(new CNumEdit(frame, kWidthEdit, wxString(), wxDefaultPosition, wxSize(100, -1)), {0, 1});
    grid->Add(new wxStaticText(frame, kHeightLabel, Text("Höhe:")), {1, 0}, {1, 1}, wxALIGN_CENTER_VERTICAL);
    grid->Add(new CNumEdit(frame, kHeightEdit, wxString(), wxDefaultPosition, wxSize(100, -1)), {1, 1});
    grid->Add(new wxStaticBitmap(frame, kDimensionsLink, wxNullBitmap, wxDefaultPosition, wxSize(16, 40)), {0, 2},
              {2, 1}, wxALIGN_CENTER_VERTICAL);
    grid->Add(UnitChoice(frame, kSizeUnitCombo), {0, 3}, {1, 1}, wxALIGN_CENTER_VERTICAL);
    box->Add(grid, 0, wxALL, 4);
    box->Add(new wxCheckBox(frame, kKeepDimensions, "Proportionen erhalten"), 0, wxALL, 4);
    auto* options = new wxStaticBoxSizer(new wxStaticBox(frame, kImageOptionsGroup, "Bildoptionen"), wxVERTICAL);
    wxStaticBox* optionsBox = options->GetStaticBox();
    options->Add(new wxRadioButton(optionsBox, kImageOptionOff, "Aus", wxDefaultPosition, wxDefaultSize, wxRB_GROUP),
                 0, wxALL, 2);
    options->Add(new wxRadioButton(optionsBox, kImageOptionFit, "Automatisch anpassen"), 0, wxALL, 2);
    options->Add(new wxRadioButton(optionsBox, kImageOptionCrop, "Automatisch zuschneiden"), 0, wxALL, 2);
    box->Add(options, 0, wxEXPAND | wxALL, 4);
    return box;
}

wxSizer* CImageSizePage::BuildRatio() {
    auto* box = new wxStaticBoxSizer(new wxStaticBox(this, kRatioGroup, wxString()), wxVERTICAL);
    wxStaticBox* frame = box->GetStaticBox();
    auto* grid = new wxGridBagSizer(4, 6);
    grid->Add(new wxStaticText(frame, kRatioWidthLabel, "Breite:"), {0, 0}, {1, 1}, wxALIGN_CENTER_VERTICAL);
    grid->Add(new CNumEdit(frame, kRatioWidthEdit, wxString(), wxDefaultPosition, wxSize(100, -1)), {0, 1});
    grid->Add(new wxStaticText(frame, kRatioWidthPercent, "%"), {0, 2}, {1, 1}, wxALIGN_CENTER_VERTICAL);
    grid->Add(new wxStaticText(frame, kRatioHeightLabel, Text("Höhe:")), {1, 0}, {1, 1}, wxALIGN_CENTER_VERTICAL);
    grid->Add(new CNumEdit(frame, kRatioHeightEdit, wxString(), wxDefaultPosition, wxSize(100, -1)), {1, 1});
    grid->Add(new wxStaticText(frame, kRatioHeightPercent, "%"), {1, 2}, {1, 1}, wxALIGN_CENTER_VERTICAL);
    grid->Add(new wxStaticBitmap(frame, kRatioLink, wxNullBitmap, wxDefaultPosition, wxSize(16, 40)), {0, 3},
              {2, 1}, wxALIGN_CENTER_VERTICAL);
    box->Add(grid, 0, wxALL, 4);
    box->Add(new wxCheckBox(frame, kKeepRatio, "Proportionen erhalten"), 0, wxALL, 4);
    return box;
}

void CImageSizePage::Apply(const PageView& view) { ApplyPageView(this, view); }
