#pragma once
#include <wx/button.h>

#include "dialogs/ImageColourController.h"
#include "ui/dialogs/ColourDialogParts.h"

namespace vx {

/// "Management Bildfarben": the colour source and simulation of the selected images,
/// bound by control id to ImageColourController.
class CImageColorDlg : public SettingsDialog {
public:
    CImageColorDlg(wxWindow* parent, CLayoutSetting& layout);
    ImageColourController& Controller() { return mCtl; }
    /// Enabling and pictures from the controller (after every change).
    void UpdateControlState();

protected:
    DialogCheck Commit() override;

private:
    void ShowValues();
    void ReadValues();

    ImageColourController mCtl;
    wxRadioButton* mZel = nullptr;       // 3832
    wxRadioButton* mExif = nullptr;      // 3833
    wxRadioButton* mEmbedded = nullptr;  // 3835
    wxRadioButton* mRgb = nullptr;       // 3834
    wxStaticText* mEmbeddedText = nullptr;  // 3903
    wxStaticBitmap* mZelPicture = nullptr;  // 3853
    wxStaticBitmap* mExifPicture = nullptr; // 3854
    ProfileChoice* mSource = nullptr;
    ProfileChoice* mSourceIntent = nullptr;
    SimulationControls mSimulation;
};

}  // namespace vx
