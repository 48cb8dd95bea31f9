#pragma once
#include <array>

#include "printing/OptionControls.h"
#include "ui/dialogs/DialogBase.h"

class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxStaticBitmap;

namespace vx {

class DriverSettingsEditor;

/// The printer driver's settings: medium, ink, print mode and high speed of the open
/// printer, each written to the driver as it is chosen. Source, paper and orientation
/// are shown but fixed. On OK the editor holds the settings to print with.
class DriverSettingsDlg : public SettingsDialog {
public:
    DriverSettingsDlg(wxWindow* parent, DriverSettingsEditor& editor);

    wxChoice* MediaChoice() const { return mMedia; }
    wxRadioButton* Radio(OptionControl control) const;
    wxCheckBox* HighSpeedBox() const { return mHighSpeed; }

    /// Shows what the driver holds now.
    void ShowDriverState();

private:
    DialogCheck Commit() override { return {}; }
    void OnMedia();
    void OnRadio(OptionControl control);
    void OnHighSpeed();

    DriverSettingsEditor& mEditor;
    wxChoice* mSource = nullptr;
    wxChoice* mPaper = nullptr;
    wxChoice* mMedia = nullptr;
    std::array<wxRadioButton*, kOptionControlCount> mRadios{};
    wxStaticBitmap* mInkPicture = nullptr;
    wxCheckBox* mHighSpeed = nullptr;
};

}  // namespace vx
