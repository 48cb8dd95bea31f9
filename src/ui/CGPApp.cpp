#include "ui/CGPApp.h"

#include <clocale>
#include <csignal>
#include <cstdlib>

#include "host/FatalError.h"
#include "host/HostService.h"
#include "platform/gfx/PangoTextMeasurer.h"
#include "platform/system/Folders.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "ui/CMainFrame.h"
#include "ui/PrintStatusDialog.h"
#include "ui/SurfacePainter.h"
#include "ui/WxPorts.h"
#include "view/RenderState.h"
#include "view/SystemPrintJobServices.h"

namespace {

// A session that ends sends SIGTERM: close like the window's close box, so the
// temporary folder goes too. wx delivers it on the main loop, not in signal context.
void CloseOnSignal(int) {
    if (!wxTheApp) return;
    if (wxWindow* top = wxTheApp->GetTopWindow())
        top->Close(true);
    else
        wxTheApp->ExitMainLoop();
    // The closed frame is destroyed at idle time; nothing else may come to run it.
    wxWakeUpIdle();
}

}  // namespace

CGPApp::CGPApp() = default;
CGPApp::~CGPApp() = default;

bool CGPApp::OnInit() {
    SetAppName("VellicorEX");
    // GTK set the process locale; numbers in files and messages keep the dot.
    std::setlocale(LC_NUMERIC, "C");
    vx::FillSystemColours();
    // The layout model measures free text with the engine the view draws it with.
    mTextMeasurer = std::make_unique<vx::gfx::PangoTextMeasurer>();
    vx::InstallHostService<vx::TextMeasurer>(mTextMeasurer.get());
    vx::InstallRenderState();

    mMessages = std::make_unique<vx::WxMessagePort>();
    vx::SetMessagePort(mMessages.get());
    vx::SetFatalErrorHook([](int code) {
        vx::Messages().Show(vx::IDS_UNKNOWN_ERROR, {}, vx::Icon::Error, vx::Buttons::Ok);
        vx::RemoveTempFolder();
        std::_Exit(code & 0xFF);
    });

    if (vx::Status st = vx::CreateTempFolder(); !st) {
        vx::Messages().Show(st.stringId, st.args, vx::Icon::Error, vx::Buttons::Ok);
        return false;
    }

    SetSignalHandler(SIGTERM, CloseOnSignal);
    SetSignalHandler(SIGINT, CloseOnSignal);

    auto* frame = new CMainFrame();
    mStatus = std::make_unique<vx::WxStatusPort>(frame);
    vx::SetStatusPort(mStatus.get());
    // Print jobs show their status over the main window.
    mPrintJobs = std::make_unique<vx::SystemPrintJobServices>(
        []() -> std::unique_ptr<vx::PrintStatusWindow> {
            return std::make_unique<vx::WxPrintStatusWindow>(wxTheApp ? wxTheApp->GetTopWindow() : nullptr);
        });
    vx::InstallHostService<vx::PrintJobServices>(mPrintJobs.get());
    SetTopWindow(frame);
    frame->Show();
    return true;
}

int CGPApp::OnExit() {
    vx::InstallHostService<vx::PrintJobServices>(nullptr);
    vx::InstallHostService<vx::TextMeasurer>(nullptr);
    vx::SetStatusPort(nullptr);
    vx::SetMessagePort(nullptr);
    vx::SetFatalErrorHook({});
    vx::RemoveTempFolder();
    return wxApp::OnExit();
}

void CGPApp::FatalError(int exitCode) { vx::FatalError(exitCode); }

void CGPApp::HandleEvent(wxEvtHandler* handler, wxEventFunction func, wxEvent& event) const {
    vx::RunGuarded([&] { wxApp::HandleEvent(handler, func, event); });
}

bool CGPApp::OnExceptionInMainLoop() {
    vx::LogUnexpectedException(std::current_exception());
    vx::FatalError(vx::kFatalExitCode);
    return false;
}

void CGPApp::OnUnhandledException() {
    vx::LogUnexpectedException(std::current_exception());
    vx::FatalError(vx::kFatalExitCode);
}
