#pragma once
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include "dialogs/FreeTextController.h"
#include "ui/dialogs/DialogBase.h"

class CFontComboBox;
class CNumEdit;

namespace vx {

/// "Freier Text": a free text's text and format on a private copy, bound by control id
/// to FreeTextController.
class CGPTextDlg : public SettingsDialog {
public:
    explicit CGPTextDlg(wxWindow* parent);
    /// Hand the item in before ShowModal and take it back after OK; both return 1.
    int SetTextSettings(const CTextObj& item);
    int GetTextSettings(CTextObj& item) const;
    FreeTextController& Controller() { return mCtl; }

protected:
    DialogCheck Commit() override;

private:
    void ShowValues();
    void ReadValues();
    void ShowVertical(bool vertical);
    void SetJustify(int justify);

    FreeTextController mCtl;
    CFontComboBox* mFont = nullptr;   // 1162
    CNumEdit* mSize = nullptr;        // 1148
    wxToggleButton* mBold = nullptr;  // 1171
    wxToggleButton* mItalic = nullptr;
    wxToggleButton* mUnderline = nullptr;
    wxToggleButton* mLeft = nullptr;  // 1168
    wxToggleButton* mCentre = nullptr;
    wxToggleButton* mRight = nullptr;
    wxCheckBox* mVertical = nullptr;  // 1081
    wxChoice* mLineHeight = nullptr;  // 1164
    CNumEdit* mAngle = nullptr;       // 1149
    ColourSwatchButton* mTextColour = nullptr;  // 1165
    wxRadioButton* mNoBackground = nullptr;     // 3796
    wxRadioButton* mBackground = nullptr;       // 3797
    ColourSwatchButton* mBackgroundColour = nullptr;  // 1166
    wxTextCtrl* mText = nullptr;      // 1167
};

/// The face list of the font combos, as the controller takes it.
std::vector<std::string> InstalledFaceNames();

}  // namespace vx
