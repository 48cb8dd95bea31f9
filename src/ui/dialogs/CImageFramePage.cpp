#include "ui/dialogs/CImageFramePage.h"

#include <wx/choice.h>
#include <wx/gbsizer.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "host/FatalError.h"
#include "platform/system/StringTable.h"
#include "ui/controls/CNumEdit.h"
#include "ui/controls/ColourSwatchButton.h"
#include "ui/controls/ControlUtilities.h"
#include "ui/dialogs/CImageSizeDlg.h"
#include "ui/dialogs/DialogSupport.h"
#include "ui/dialogs/DialogViewApply.h"

using namespace vx::dialogs;

namespace {

wxString Text(const char* utf8) { return wxString::FromUTF8(utf8); }

}  // namespace

template <class Handler>
void CImageFramePage::Run(Handler&& handler) {
    vx::RunGuarded([&] { mDlg.ShowView(handler(mDlg.Controller().Frame())); });
}

CImageFramePage::CImageFramePage(wxWindow* parent, CImageSizeDlg& dialog) : wxPanel(parent, wxID_ANY), mDlg(dialog) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* frameBox = new wxStaticBoxSizer(wxVERTICAL, this, "Rahmen:");
    wxStaticBox* frame = frameBox->GetStaticBox();
    auto* modes = new wxBoxSizer(wxHORIZONTAL);
    modes->Add(new wxRadioButton(frame, kFrameOff, "Aus", wxDefaultPosition, wxDefaultSize, wxRB_GROUP), 0, wxALL, 4);
    modes->Add(new wxRadioButton(frame, kFrameAuto, "Automatisch"), 0, wxALL, 4);
    modes->Add(new wxRadioButton(frame, kFrameCustom, "Benutzerdefiniert"), 0, wxALL, 4);
    frameBox->Add(modes);

    auto* widths = new wxStaticBoxSizer(new wxStaticBox(frame, kFrameWidthsGroup, "Rahmenbreite:"), wxVERTICAL);
    wxStaticBox* widthsBox = widths->GetStaticBox();
    auto* grid = new wxGridBagSizer(4, 6);
    const auto edge = [&](int labelId, const char* label, int editId, wxGBPosition at) {
        grid->Add(new wxStaticText(widthsBox, labelId, label), at, {1, 1}, wxALIGN_CENTER_VERTICAL);
        grid->Add(new CNumEdit(widthsBox, editId, wxString(), wxDefaultPosition, wxSize(90, -1)),
                  {at.GetRow(), at.GetCol() + 1});
    };
    edge(kLeftLabel, "Links:", kLeftEdit, {0, 0});
    edge(kTopLabel, "Oben:", kTopEdit, {0, 2});
    edge(kRightLabel, "Rechts:", kRightEdit, {1, 0});
    edge(kBottomLabel, "Unten:", kBottomEdit, {1, 2});
    grid->Add(UnitChoice(widthsBox, kFrameUnitCombo), {0, 4}, {1, 1}, wxALIGN_CENTER_VERTICAL);
    widths->Add(grid, 0, wxALL, 4);
    frameBox->Add(widths, 0, wxEXPAND | wxALL, 4);

    auto* colour = new wxStaticBoxSizer(new wxStaticBox(frame, kFrameColourGroup, "Rahmenfarbe:"), wxHORIZONTAL);
    wxStaticBox* colourBox = colour->GetStaticBox();
    colour->Add(new wxRadioButton(colourBox, kTransparentRadio, "Transparent", wxDefaultPosition, wxDefaultSize,
                                  wxRB_GROUP),
                0, wxALL | wxALIGN_CENTER_VERTICAL, 4);
    colour->Add(new wxRadioButton(colourBox, kColourRadio, "Farbe"), 0, wxALL | wxALIGN_CENTER_VERTICAL, 4);
    mSwatch = new ColourSwatchButton(colourBox, kColourButton, *wxBLACK, [this](wxWindow*, const wxColour&) {
        Run([](ImageSizeController::FramePage& p) { return p.OnChooseColour(); });
        return std::optional<wxColour>(vx::dialog_support::ToWx(mDlg.Controller().Values().frameColour));
    });
    colour->Add(mSwatch, 0, wxALL | wxALIGN_CENTER_VERTICAL, 4);
    frameBox->Add(colour, 0, wxEXPAND | wxALL, 4);
    top->Add(frameBox, 0, wxEXPAND | wxALL, 8);

    auto* sizeBox = new wxStaticBoxSizer(wxHORIZONTAL, this, Text("Bild && Rahmengröße:"));
    wxStaticBox* sizeFrame = sizeBox->GetStaticBox();
    sizeBox->Add(new wxStaticText(sizeFrame, kSizeLine, Text("Breite: xx.xx mm  Höhe: xx.xx mm"), wxDefaultPosition,
                                  wxSize(300, -1), wxST_NO_AUTORESIZE),
                 1, wxALL | wxALIGN_CENTER_VERTICAL, 4);
    sizeBox->Add(UnitChoice(sizeFrame, kSizeLineUnitCombo), 0, wxALL, 4);
    top->Add(sizeBox, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(top);

    using Page = ImageSizeController::FramePage;
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](Page& p) { return p.OnFrameOff(); }); }, kFrameOff);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](Page& p) { return p.OnFrameAuto(); }); }, kFrameAuto);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](Page& p) { return p.OnFrameCustom(); }); },
         kFrameCustom);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](Page& p) { return p.OnTransparent(); }); },
         kTransparentRadio);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { Run([](Page& p) { return p.OnColour(); }); }, kColourRadio);
    for (int id : {kLeftEdit, kTopEdit, kRightEdit, kBottomEdit})
        Bind(wxEVT_TEXT, [this, id](wxCommandEvent& e) {
            const std::string text(e.GetString().utf8_str());
            Run([&](Page& p) { return p.OnEdgeChange(id, text); });
        }, id);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        Run([&e](Page& p) { return p.OnUnitChange(e.GetSelection()); });
    }, kFrameUnitCombo);
    Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
        Run([&e](Page& p) { return p.OnSizeTextUnitChange(e.GetSelection()); });
    }, kSizeLineUnitCombo);
}

void CImageFramePage::Apply(const PageView& view, uint32_t colour) {
    ApplyPageView(this, view, {kSizeLine});
    if (vx::dialog_support::FromWx(mSwatch->GetColour()) != colour) mSwatch->SetColour(vx::dialog_support::ToWx(colour));
}
