#pragma once
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/statbmp.h>
#include <wx/textctrl.h>

#include "dialogs/ImageStampController.h"
#include "ui/dialogs/DialogBase.h"

class CNumEdit;

namespace vx {

/// "Bildstempel": the layout's image stamp, bound by control id to
/// ImageStampController.
class CImageStampDlg : public SettingsDialog {
public:
    CImageStampDlg(wxWindow* parent, CLayoutSetting& layout);
    ImageStampController& Controller() { return mCtl; }
    /// "Auswählen" with a file already chosen (the file dialog's part done).
    void ChooseFile(const std::filesystem::path& path);

protected:
    DialogCheck Commit() override;

private:
    void ShowSizes();
    void ShowPosition();
    void Enable();
    void OnChooseFile();

    ImageStampController mCtl;
    wxRadioButton* mOff = nullptr;      // 3800
    wxRadioButton* mOn = nullptr;       // 3859
    wxTextCtrl* mPath = nullptr;        // 1148
    wxRadioButton* mAuto = nullptr;     // 3801
    wxRadioButton* mCustom = nullptr;   // 3861
    CNumEdit* mX = nullptr;             // 1033
    CNumEdit* mY = nullptr;             // 1074
    wxChoice* mPositionUnit = nullptr;  // 3868
    wxStaticBitmap* mChain = nullptr;   // 3867
    CNumEdit* mWidth = nullptr;         // 1075
    CNumEdit* mHeight = nullptr;        // 3862
    wxChoice* mSizeUnit = nullptr;      // 1138
    wxCheckBox* mKeep = nullptr;        // 1081
    std::vector<wxWindow*> mStampLevel, mSettingsLevel, mCustomLevel;
};

}  // namespace vx
