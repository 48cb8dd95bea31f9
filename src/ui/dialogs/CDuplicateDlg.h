#pragma once
#include <cstdint>

#include <wx/dialog.h>

#include "dialogs/DuplicateController.h"

class CNumEdit;

namespace vx {

/// "Duplizieren": how many copies of the selection to make, 1 to 99.
class CDuplicateDlg : public wxDialog {
public:
    static constexpr int kDialogId = 299;
    static constexpr int kIdCount = 1148;

    explicit CDuplicateDlg(wxWindow* parent);
    /// The number of copies accepted at OK.
    int16_t GetCount() const { return int16_t(mController.Count()); }

private:
    bool TransferDataToWindow() override;
    void OnOk(wxCommandEvent& event);

    DuplicateController mController;
    CNumEdit* mCount = nullptr;
};

}  // namespace vx
