#include "ui/dialogs/ColourDialogParts.h"

#include <wx/statbox.h>

namespace vx {

wxSizer* SimulationControls::Build(wxWindow* parent, const wxString& profileLabel) {
    auto* box = new wxStaticBoxSizer(wxVERTICAL, parent, "Drucksimulation:");
    wxWindow* b = box->GetStaticBox();
    off = new wxRadioButton(b, 3844, "Aus", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    rgb = new wxRadioButton(b, 3846, "RGB");
    cmyk = new wxRadioButton(b, 3845, "CMYK");
    rgbProfile = new ProfileChoice(b, 3838);
    rgbIntent = new ProfileChoice(b, 3839);
    cmykProfile = new ProfileChoice(b, 3840);
    cmykIntent = new ProfileChoice(b, 3841);
    box->Add(off, 0, wxALL, 3);
    for (auto [radio, profile, intent] : {std::tuple{rgb, rgbProfile, rgbIntent}, std::tuple{cmyk, cmykProfile, cmykIntent}}) {
        box->Add(radio, 0, wxALL, 3);
        auto* grid = new wxFlexGridSizer(2, 4, 6);
        grid->Add(new wxStaticText(b, wxID_ANY, profileLabel), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 20);
        grid->Add(profile, 1, wxEXPAND);
        grid->Add(new wxStaticText(b, wxID_ANY, Text("Wiedergabepriorität:")), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 20);
        grid->Add(intent, 1, wxEXPAND);
        grid->AddGrowableCol(1);
        box->Add(grid, 0, wxEXPAND | wxALL, 3);
    }
    return box;
}

void SimulationControls::Show(const InputProfileLists& lists, const SimulationChoice& c) {
    rgbProfile->Fill(lists.rgbSimulation, c.rgbProfile);
    rgbIntent->FillTexts(IntentListTexts(), c.rgbIntent);
    cmykProfile->Fill(lists.cmykSimulation, c.cmykProfile);
    cmykIntent->FillTexts(IntentListTexts(), c.cmykIntent);
    off->SetValue(c.mode == Simulation::Off);
    rgb->SetValue(c.mode == Simulation::Rgb);
    cmyk->SetValue(c.mode == Simulation::Cmyk);
    Enable(c.mode);
}

Simulation SimulationControls::Mode() const {
    return rgb->GetValue() ? Simulation::Rgb : cmyk->GetValue() ? Simulation::Cmyk : Simulation::Off;
}

SimulationChoice SimulationControls::Read() const {
    SimulationChoice c;
    c.mode = Mode();
    c.rgbProfile = rgbProfile->Entry();
    c.rgbIntent = std::max(0, rgbIntent->Entry());
    c.cmykProfile = cmykProfile->Entry();
    c.cmykIntent = std::max(0, cmykIntent->Entry());
    return c;
}

void SimulationControls::Enable(Simulation mode) {
    rgbProfile->Enable(mode == Simulation::Rgb);
    rgbIntent->Enable(mode == Simulation::Rgb);
    cmykProfile->Enable(mode == Simulation::Cmyk);
    cmykIntent->Enable(mode == Simulation::Cmyk);
}

wxSizer* BuildOutputGroup(wxWindow* parent, int monitorId, const std::string& monitor, const std::string& printer,
                          const std::string& printerModel) {
    auto* box = new wxStaticBoxSizer(wxHORIZONTAL, parent, "Management Ausgabefarben:");
    wxWindow* b = box->GetStaticBox();
    auto* grid = new wxFlexGridSizer(2, 4, 6);
    grid->Add(new wxStaticText(b, wxID_ANY, "Monitorprofil:"));
    grid->Add(new wxStaticText(b, monitorId, Text(monitor)));
    grid->Add(new wxStaticText(b, wxID_ANY, "Druckerprofil:"));
    grid->Add(new wxStaticText(b, 3843, Text(printer)));
    box->Add(new wxStaticBitmap(b, 3901, PrinterModelPicture(printerModel, 32)), 0, wxALL, 4);
    box->Add(grid, 1, wxALL | wxALIGN_CENTER_VERTICAL, 4);
    box->Add(new wxStaticBitmap(b, 3902, ResourceIcon(193, 32)), 0, wxALL, 4);
    return box;
}

}  // namespace vx
