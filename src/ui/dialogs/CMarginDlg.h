#pragma once
#include <array>

#include <wx/dialog.h>

#include "dialogs/MarginsController.h"

class CNumEdit;
class wxChoice;
class wxRadioButton;
class wxStaticBox;
class wxStaticText;

namespace vx {

class CLayoutSetting;
class UndoStore;

/// Dialog 268 "Seitenränder": the printer's margins or four typed ones; only OK writes.
class CMarginDlg : public wxDialog {
public:
    CMarginDlg(wxWindow* parent, UndoStore& undo);

    void SetLayout(CLayoutSetting* layout) { mController.SetLayout(layout); }
    dialogs::MarginsController& Controller() { return mController; }

private:
    using Side = dialogs::MarginsController::Side;

    void OnInitDialog(wxInitDialogEvent& event);
    void ReadEdits();
    void FillEdits();
    void EnableManual();
    void SetRange(Side side);
    void OnOk(wxCommandEvent& event);

    dialogs::MarginsController mController;
    std::array<CNumEdit*, 4> mEdits{};         // by side: left, top, right, bottom
    std::array<wxStaticText*, 4> mLabels{};
    wxStaticBox* mFrame = nullptr;
    wxChoice* mUnit = nullptr;
    wxRadioButton* mPrinter = nullptr;
    wxRadioButton* mManual = nullptr;
};

}  // namespace vx
