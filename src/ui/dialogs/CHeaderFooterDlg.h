#pragma once
#include <array>

#include <wx/dialog.h>

#include "dialogs/HeaderFooterController.h"

class CFontComboBox;
class CFontComboBoxBase;
class CIconButton;
class CNumEdit;
class ColourSwatchButton;
class wxCheckBox;
class wxChoice;
class wxStaticText;
class wxTextCtrl;

namespace vx {

class CLayoutSetting;

/// Dialog 154 "Kopf-/Fußzeile ": header and footer on the dialog's own copy of the
/// layout's settings; the opener takes the copy back after OK.
class CHeaderFooterDlg : public wxDialog {
public:
    explicit CHeaderFooterDlg(wxWindow* parent);

    int SetSettings(const CLayoutSetting& layout) { return mController.SetSettings(layout); }
    int GetSettings(CLayoutSetting& layout) const { return mController.GetSettings(layout); }
    dialogs::HeaderFooterController& Controller() { return mController; }

private:
    using Area = dialogs::HeaderFooterController::Area;
    struct AreaControls {
        CNumEdit* height = nullptr;
        wxChoice* unit = nullptr;
        wxCheckBox* text = nullptr;
        wxTextCtrl* edit = nullptr;
        wxCheckBox* info = nullptr;
        wxCheckBox* datePage = nullptr;
        wxCheckBox* fixedDate = nullptr;
        wxStaticText* dateLabel = nullptr;
    };

    wxSizer* MakeArea(Area area, const wxString& title);
    void OnInitDialog(wxInitDialogEvent& event);
    void ShowArea(Area area);
    void ShowStyle();
    void OnOk(wxCommandEvent& event);
    AreaControls& Of(Area a) { return a == Area::Header ? mHeader : mFooter; }

    dialogs::HeaderFooterController mController;
    AreaControls mHeader, mFooter;
    CFontComboBox* mFont = nullptr;
    CFontComboBoxBase* mSize = nullptr;
    CFontComboBoxBase* mLineHeight = nullptr;
    ColourSwatchButton* mColour = nullptr;
    std::array<CIconButton*, 3> mStyle{};    // B, I, U
    std::array<CIconButton*, 3> mJustify{};  // L, C, R
};

}  // namespace vx
