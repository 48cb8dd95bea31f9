#pragma once
#include <wx/checkbox.h>

#include "dialogs/InputColourDefaultsController.h"
#include "ui/dialogs/ColourDialogParts.h"

namespace vx {

/// "Management Eingabefarben - Standardeinstellungen": the layout's input colour
/// defaults, bound by control id to InputColourDefaultsController.
class CInputColorDefaultsDlg : public SettingsDialog {
public:
    CInputColorDefaultsDlg(wxWindow* parent, CLayoutSetting& layout);
    InputColourDefaultsController& Controller() { return mCtl; }

protected:
    DialogCheck Commit() override;

private:
    InputColourDefaultsController mCtl;
    wxCheckBox* mZel = nullptr;
    ProfileChoice* mSource = nullptr;
    ProfileChoice* mSourceIntent = nullptr;
    wxCheckBox* mEmbed = nullptr;
    SimulationControls mSimulation;
};

}  // namespace vx
