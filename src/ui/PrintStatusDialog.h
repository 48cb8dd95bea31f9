#pragma once
#include <chrono>
#include <functional>

#include <wx/dialog.h>
#include <wx/weakref.h>

#include "printing/CPrintStatusDlg.h"

class wxGauge;
class wxStaticText;

namespace vx {

/// Dialog 102 "Druckstatus": fixed text 3928, progress bar 1003, percent text 1004,
/// status text 1005 and Cancel (2). Modeless; Cancel, Escape and the close box only
/// report the cancel, the print job closes the window.
class PrintStatusDialog : public wxDialog {
public:
    static constexpr int kId = 102;
    enum ControlId : int { kProgress = 1003, kPercent = 1004, kStatus = 1005, kFixedText = 3928 };

    PrintStatusDialog(wxWindow* owner, std::function<void()> onCancel);

    wxGauge* Progress() const { return mProgress; }
    wxStaticText* Percent() const { return mPercent; }
    wxStaticText* Status() const { return mStatus; }

private:
    std::function<void()> mOnCancel;
    wxGauge* mProgress = nullptr;
    wxStaticText* mPercent = nullptr;
    wxStaticText* mStatus = nullptr;
};

/// The print status's window side for the job: the dialog, owned by the program's
/// top-level window, which it disables for the job's time.
class WxPrintStatusWindow final : public PrintStatusWindow {
public:
    /// owner: any window of the program; its top-level window owns the dialog.
    explicit WxPrintStatusWindow(wxWindow* owner);
    ~WxPrintStatusWindow() override;

    bool Create(std::function<void()> onCancel) override;
    void Destroy() override;
    bool IsOwnerEnabled() const override;
    void EnableOwner(bool enable) override;
    void SetBarRange(int32_t lower, int32_t upper) override;
    void SetBarPos(int32_t position) override;
    void SetPercentText(const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    bool Pump() override;

    PrintStatusDialog* Dialog() const { return mDialog; }

private:
    wxWeakRef<wxWindow> mOwner;
    PrintStatusDialog* mDialog = nullptr;
    int32_t mLower = 0;
    std::chrono::steady_clock::time_point mLastPump{};
};

}  // namespace vx
