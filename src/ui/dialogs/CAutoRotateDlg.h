#pragma once
#include <cstdint>

#include <wx/dialog.h>

#include "dialogs/AutoRotateController.h"

class wxRadioButton;

namespace vx {

class CLayoutSetting;

/// "Automatisch drehen": how placed images are turned, on a copy of the layout's
/// settings (AutoRotateController).
class CAutoRotateDlg : public wxDialog {
public:
    static constexpr int kDialogId = 209;
    /// The radio buttons of modes 0 to 5.
    static constexpr int kRadioIds[AutoRotateController::kModes] = {3536, 3855, 3538, 3856, 3537, 3857};

    explicit CAutoRotateDlg(wxWindow* parent);
    int SetSettings(const CLayoutSetting& layout, int flag);
    int GetSettings(CLayoutSetting& layout) const { return mController.GetSettings(layout); }
    uint16_t GetRotateMode() const { return mController.GetRotateMode(); }

private:
    void OnOk(wxCommandEvent& event);

    AutoRotateController mController;
    wxRadioButton* mRadios[AutoRotateController::kModes] = {};
    int mChecked = -1;  // a toolkit radio group cannot show none checked: kept here
};

}  // namespace vx
