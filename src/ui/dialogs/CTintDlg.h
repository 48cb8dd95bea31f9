#pragma once
#include <wx/dialog.h>

#include "dialogs/TintController.h"

class wxRadioButton;
class wxSlider;
class wxStaticText;

namespace vx {

class CLayoutSetting;

/// "Farbtönung": off, automatic or custom tint with brightness, contrast and saturation
/// sliders, for the selected images (TintController).
class CTintDlg : public wxDialog {
public:
    static constexpr int kDialogId = 304;
    static constexpr int kIdOff = 3548;
    static constexpr int kIdAutomatic = 3856;
    static constexpr int kIdCustom = 3857;
    static constexpr int kIdBrightness = 1034;
    static constexpr int kIdContrast = 1035;
    static constexpr int kIdSaturation = 1036;

    CTintDlg(wxWindow* parent, CLayoutSetting& layout);
    /// The refusals before the dialog shows; false after the message.
    bool Init();
    TintController& Controller() { return mController; }

private:
    void SyncControls();
    void OnRadio(TintController::Choice choice);
    void OnOk(wxCommandEvent& event);

    TintController mController;
    wxRadioButton* mRadios[3] = {};      // off, automatic, custom
    wxSlider* mSliders[3] = {};          // brightness, contrast, saturation
    wxStaticText* mLabels[9] = {};
};

}  // namespace vx
