#pragma once
#include <vector>

#include <wx/dialog.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

#include "dialogs/OutputColorController.h"
#include "ui/dialogs/DialogBase.h"

namespace vx {

/// "Management Ausgabefarben": the monitor profile and how printing is colour-managed,
/// bound by control id to OutputColorController.
class COutputColorDlg : public wxDialog {
public:
    enum : int {
        kMonitorProfile = 3850, kMonitorPicture = 3902, kPrinterPicture = 3901, kApplication = 3851,
        kDriver = 3852, kPhotoType = 3853, kPrinterProfile = 3839, kPathText = 3909,
    };

    /// manager: the printer manager when it holds layout, else null (no reconciliation).
    COutputColorDlg(wxWindow* parent, CLayoutSetting& layout, CPrinterManager* manager,
                    std::vector<OptionEntry> mediaProfiles);

    OutputColorController& Controller() { return mCtl; }
    /// OK as the button does: ends with OK, or with Cancel when the printer refused.
    void PressOk();

private:
    void ShowPrinterList();
    void End(int code);

    OutputColorController mCtl;
    ProfileChoice* mMonitor = nullptr;
    ProfileChoice* mPrinter = nullptr;
    wxRadioButton* mDriver = nullptr;
    wxRadioButton* mApplication = nullptr;
    wxRadioButton* mPhotoType = nullptr;
    wxStaticText* mPath = nullptr;
};

}  // namespace vx
