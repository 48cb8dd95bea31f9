#pragma once
#include <memory>

#include <wx/app.h>

namespace vx {
class SystemPrintJobServices;
class WxMessagePort;
class WxStatusPort;
namespace gfx {
class PangoTextMeasurer;
}
}

/// The application object: start-up, ports, fatal-error exit and clean exit.
class CGPApp : public wxApp {
public:
    CGPApp();
    ~CGPApp() override;

    bool OnInit() override;
    int OnExit() override;

    /// Shows "Unbekannter Fehler." and ends the process with exitCode (255 for -1).
    static void FatalError(int exitCode);

protected:
    // Every event handler runs inside this boundary: an exception is a bug.
    void HandleEvent(wxEvtHandler* handler, wxEventFunction func, wxEvent& event) const override;
    bool OnExceptionInMainLoop() override;
    void OnUnhandledException() override;

private:
    std::unique_ptr<vx::WxMessagePort> mMessages;
    std::unique_ptr<vx::WxStatusPort> mStatus;
    std::unique_ptr<vx::gfx::PangoTextMeasurer> mTextMeasurer;
    std::unique_ptr<vx::SystemPrintJobServices> mPrintJobs;
};

wxDECLARE_APP(CGPApp);
