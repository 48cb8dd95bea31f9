#pragma once
#include <wx/cursor.h>
#include <wx/dialog.h>

#include "dialogs/CropController.h"

class CNumEdit;
class ColourSwatchButton;
class wxCheckBox;
class wxRadioButton;

namespace vx {

class CLayoutSetting;

/// "Zuschneiden": the crop frame over a preview of the current image, its size in
/// image pixels, the crop mode, "Proportionen erhalten" and the frame colour. OK
/// writes the crop into the selected images (CropController).
class CCropDlg : public wxDialog {
public:
    static constexpr int kDialogId = 149;
    static constexpr int kIdWidth = 1123;
    static constexpr int kIdHeight = 1124;
    static constexpr int kIdPreview = 2028;
    static constexpr int kIdColour = 1145;
    static constexpr int kIdKeepProportions = 1081;
    static constexpr int kIdModeOff = 3809;
    static constexpr int kIdModeCrop = 1117;
    static constexpr int kIdModeFrame = 3808;
    static constexpr int kPreviewSide = 320;

    CCropDlg(wxWindow* parent, CLayoutSetting& layout, bool sameImage);
    /// The set-up on the current image; false after "Nicht genügend Speicher.": do not
    /// show the dialog then.
    bool Init();
    CropController& Controller() { return mController; }
    wxWindow* Preview() const;

private:
    class PreviewPanel;

    void SyncControls();
    void SyncEdit(CNumEdit* edit, CropController::Axis axis);
    void OnEditText(CropController::Axis axis);
    void OnEditLeave(wxFocusEvent& event, CropController::Axis axis);
    void OnMode(int mode);
    void OnKeepProportions(wxCommandEvent& event);
    void OnColour(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnOk(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);

    CropController mController;
    PreviewPanel* mPreview = nullptr;
    CNumEdit* mWidth = nullptr;
    CNumEdit* mHeight = nullptr;
    wxCheckBox* mKeep = nullptr;
    wxRadioButton* mModes[3] = {};
    ColourSwatchButton* mColour = nullptr;
    bool mSyncing = false;
    friend class PreviewPanel;
};

}  // namespace vx
