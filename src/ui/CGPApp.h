#pragma once
#include <array>
#include <filesystem>
#include <memory>

#include <wx/app.h>
#include <wx/cursor.h>
#include <wx/timer.h>

#include "app/StartupSequence.h"
#include "ui/shell/WxBusyIndicator.h"

class CMainFrame;
class CSplashWnd;

namespace vx {
class SystemPrintJobServices;
class AppCore;
class GPDocManager;
class StartupBindings;
class WxMessagePort;
class WxProgressPort;
class WxStatusPort;
class FrameToolWindows;
class InstanceChannel;
class AppDocumentServices;
class WxSettingsDialogs;
namespace gfx {
class PangoTextMeasurer;
}
}  // namespace vx

/// The application object: runs start-up (the splash, then a 2-second pause before the
/// checks that may still refuse), owns the application state, the document manager,
/// the ports and the cursor table, and ends with status 0, 1 for a refused start or
/// 255 after an unexpected failure.
class CGPApp : public wxApp, private vx::StartupHost, private vx::StartupWarnings {
public:
    /// The splash pause before start-up goes on.
    static constexpr int kSplashMilliseconds = 2000;

    CGPApp();
    ~CGPApp() override;

    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;

    /// Shows "Unbekannter Fehler." and ends the process with exitCode (255 for -1).
    static void FatalError(int exitCode);

    /// Sets tracker cursor index (0 to 8) on the layout view; false for another index.
    bool SetCursorByIndex(int index);
    const wxCursor& TrackerCursor(int index) const { return mTrackerCursors.at(size_t(index)); }

    vx::AppCore* Core() const { return mCore.get(); }
    vx::GPDocManager* DocManager() const { return mManager; }
    CMainFrame* MainFrame() const { return mFrame; }
    /// Whether start-up ran to its end.
    bool StartupComplete() const { return mSequence && mSequence->StartupComplete(); }
    /// The exit status the run ends with (0 unless start-up refused).
    int ExitStatus() const { return mExitStatus; }
    /// Runs the steps after the splash pause now (tests; the timer calls it otherwise).
    void FinishStartup();
    /// Ends the run as the main window's close box does (a session's SIGTERM). Asked
    /// during start-up, start-up stops after its current step and the run ends with 0;
    /// asked during a long command, the run ends once the command has finished.
    void EndOnRequest();

protected:
    // Every event handler runs inside this boundary: an exception is a bug.
    void HandleEvent(wxEvtHandler* handler, wxEventFunction func, wxEvent& event) const override;
    bool OnExceptionInMainLoop() override;
    void OnUnhandledException() override;

private:
    // StartupHost
    void LoadSettings() override;
    bool CreateMainFrame() override;
    void ShowSplash() override;
    bool InitAppDefaults() override;
    void LoadCursors() override;
    void ShowMainFrame() override;
    bool LoadUserCategories() override;
    void CloseMainFrame() override;
    const void* ActiveDocument() override;
    void NewDocument() override;
    void OpenDocument(const std::filesystem::path& path) override;
    std::filesystem::path FirstRecentFile() override;
    // StartupWarnings
    vx::WarningAnswer ShowDiskSpaceWarning(double freeGb, int minimumGb, int recommendedGb) override;
    vx::WarningAnswer ShowQuickTimeWarning() override;
    vx::WarningAnswer ShowUserRightsWarning(const std::string& userFolder) override;

    void Refused(const vx::StartupResult& result);
    void StopStartup();
    void CloseSplash();
    void OnIdleCheck(wxIdleEvent& event);

    std::unique_ptr<vx::WxMessagePort> mMessages;
    std::unique_ptr<vx::WxStatusPort> mStatus;
    std::unique_ptr<vx::FrameToolWindows> mToolWindows;
    std::unique_ptr<vx::WxProgressPort> mProgress;
    vx::BusyIndicatorPtr mBusy{nullptr, nullptr};
    std::unique_ptr<vx::gfx::PangoTextMeasurer> mTextMeasurer;
    std::unique_ptr<vx::SystemPrintJobServices> mPrintJobs;
    std::unique_ptr<vx::AppCore> mCore;
    std::unique_ptr<vx::AppDocumentServices> mDocumentServices;
    std::unique_ptr<vx::WxSettingsDialogs> mSettingsDialogs;
    std::unique_ptr<vx::StartupBindings> mBindings;
    std::unique_ptr<vx::StartupSequence> mSequence;
    std::unique_ptr<vx::IdleResolutionCheck> mIdleCheck;
    std::unique_ptr<vx::InstanceChannel> mInstance;
    vx::GPDocManager* mManager = nullptr;
    CMainFrame* mFrame = nullptr;
    CSplashWnd* mSplash = nullptr;
    wxTimer mSplashTimer;
    wxCursor mArrowCursor;
    wxCursor mWaitCursor;
    std::array<wxCursor, 9> mTrackerCursors;
    wxCursor mMoveCursor;
    int mExitStatus = 0;
    bool mRefused = false;
    bool mInStartupSteps = false;
    bool mEndAsked = false;
};

wxDECLARE_APP(CGPApp);
