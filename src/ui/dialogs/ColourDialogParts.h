#pragma once
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "dialogs/ColourDialogValues.h"
#include "ui/dialogs/DialogBase.h"

namespace vx {

/// The controls both colour dialogs share: the print simulation group and the output
/// group (monitor and printer profile, printer picture).
struct SimulationControls {
    wxRadioButton* off = nullptr;  // 3844
    wxRadioButton* rgb = nullptr;  // 3846
    wxRadioButton* cmyk = nullptr; // 3845
    ProfileChoice* rgbProfile = nullptr;   // 3838
    ProfileChoice* rgbIntent = nullptr;    // 3839
    ProfileChoice* cmykProfile = nullptr;  // 3840
    ProfileChoice* cmykIntent = nullptr;   // 3841

    /// Builds the group "Drucksimulation:" on parent.
    wxSizer* Build(wxWindow* parent, const wxString& profileLabel);
    void Show(const InputProfileLists& lists, const SimulationChoice& choice);
    Simulation Mode() const;
    SimulationChoice Read() const;
    void Enable(Simulation mode);
};

/// "Management Ausgabefarben:": monitor profile (monitorId), printer profile (3843),
/// printer picture (3901) and the decoration (3902).
wxSizer* BuildOutputGroup(wxWindow* parent, int monitorId, const std::string& monitor, const std::string& printer,
                          const std::string& printerModel);

}  // namespace vx
