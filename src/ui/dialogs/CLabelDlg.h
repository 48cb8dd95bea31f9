#pragma once
#include "dialogs/LabelsController.h"
#include "ui/dialogs/CFrameTextDlg.h"

class wxListCtrl;

namespace vx {

class UndoStore;

/// Dialog 270 "Beschriftungen": the label items of the current or selected images, or
/// with the preset flag of "BaseImage".
class CLabelDlg : public CFrameTextDlg {
public:
    CLabelDlg(wxWindow* parent, UndoStore& undo);
    dialogs::LabelsController& Controller() { return static_cast<dialogs::LabelsController&>(*mController); }
    wxListCtrl* Items() const { return mItems; }
    CDisabledItemCombo* Combinations() const { return mCombination; }

private:
    bool InitController(const std::vector<std::string>& faces) override;
    void ShowOwnState() override;
    void Accept() override;

    wxListCtrl* mItems = nullptr;
    CDisabledItemCombo* mCombination = nullptr;
    bool mShowing = false;  // the dialog sets the ticks itself
};

}  // namespace vx
