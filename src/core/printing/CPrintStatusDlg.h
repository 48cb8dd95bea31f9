#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/system/ProgressPort.h"

namespace vx {

/// The window side of the print status: dialog 102 ("Druckstatus") shown modeless, and
/// the top-level window that owns it.
class PrintStatusWindow {
public:
    virtual ~PrintStatusWindow() = default;
    /// Creates and shows the dialog; its Cancel button, the Escape key and the close box
    /// call onCancel. False when it cannot be made.
    virtual bool Create(std::function<void()> onCancel) = 0;
    virtual void Destroy() = 0;
    virtual bool IsOwnerEnabled() const = 0;
    virtual void EnableOwner(bool enable) = 0;
    /// The progress bar's bounds and position (within the bounds).
    virtual void SetBarRange(int32_t lower, int32_t upper) = 0;
    virtual void SetBarPos(int32_t position) = 0;
    /// Control 1004 and control 1005.
    virtual void SetPercentText(const std::string& text) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    /// Lets waiting window events through; false once the application is ending.
    virtual bool Pump() = 0;
};

/// The print status's logic: range, step and position of the bar, the percent text,
/// the status line and the cancel flag. The print job owns it and installs it as the
/// progress port while it runs; every call lets window events through first, which is
/// what keeps the program alive while the job works on the user-interface thread.
class CPrintStatusDlg : public ProgressPort {
public:
    explicit CPrintStatusDlg(PrintStatusWindow& window) : mWindow(window) {}
    /// Destroys the window when it still exists.
    ~CPrintStatusDlg() override;
    CPrintStatusDlg(const CPrintStatusDlg&) = delete;
    CPrintStatusDlg& operator=(const CPrintStatusDlg&) = delete;

    /// Disables an enabled owner and shows the window with bounds 0..10, step 1, no
    /// cancel: 1; 0 when the window cannot be made (the owner is enabled again).
    int Create();
    /// Enables the owner when Create disabled it, then destroys the window.
    void DestroyWindow();
    bool IsCreated() const { return mCreated; }

    void SetStatusText(const std::string& text);
    void SetRange(int32_t lower, int32_t upper);
    void SetStep(int32_t step) { mStep = step; }
    /// Moves the bar; returns the previous position.
    int32_t SetPos(int32_t position);
    /// One step, unless it would pass the upper bound; returns the position before.
    int32_t StepIt();
    /// Lets events through and tells whether the user cancelled.
    bool IsCancelled() override;
    /// Lets events through; false once the application is ending.
    bool Pump();

    /// Cancel, Escape or the close box: only the flag is set; the job closes the window.
    void OnCancel() { mCancelled = true; }

    int32_t Lower() const { return mLower; }
    int32_t Upper() const { return mUpper; }
    int32_t Position() const { return mPosition; }
    const std::string& PercentText() const { return mPercent; }
    const std::string& StatusText() const { return mStatus; }

    /// The percent text of position within lower..upper: "%d%%", reduced modulo 100
    /// except at exactly 100; "0%" for equal bounds.
    static std::string FormatPercent(int32_t position, int32_t lower, int32_t upper);
    /// Every status text a job shows, each at its widest numbers (the page limit of a
    /// layout, the item limit for pictures): the window keeps a size that holds them all.
    static std::vector<std::string> WidestStatusTexts();

    // The job's progress port.
    void SetText(const std::string& text) override { SetStatusText(text); }
    void SetRange(int maximum) override { SetRange(0, maximum); }
    void SetValue(int value) override { SetPos(value); }

private:
    void ShowPercent();

    PrintStatusWindow& mWindow;
    int32_t mLower = 0;
    int32_t mUpper = 10;
    int32_t mStep = 1;
    int32_t mPosition = 0;
    bool mCancelled = false;
    bool mCreated = false;
    bool mOwnerDisabled = false;
    std::string mPercent = " 0 %";
    std::string mStatus = "status";
};

}  // namespace vx
