#include "ui/CGPApp.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/docview.h>
#include <wx/image.h>

#include "app/AppCore.h"
#include "app/StartupBindings.h"
#include "app/WindowPlacement.h"
#include "document/LayoutDocument.h"
#include "model/ItemClipboard.h"
#include "host/DocumentServices.h"
#include "host/FatalError.h"
#include "host/HostService.h"
#include "platform/gfx/PangoTextMeasurer.h"
#include "platform/system/CLocale.h"
#include "platform/system/Folders.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "ui/CMainFrame.h"
#include "ui/PrintStatusDialog.h"
#include "ui/SurfacePainter.h"
#include "ui/WxPorts.h"
#include "ui/document/GPDocument.h"
#include "ui/shell/AppDocumentServices.h"
#include "ui/document/WxSettingsDialogs.h"
#include "ui/dialogs/CPrintPresetDlg.h"
#include "host/PrintPresetsDialog.h"
#include "ui/shell/CSplashWnd.h"
#include "ui/shell/CStartupWarningDlg.h"
#include "ui/view/CGPViewWindow.h"
#include "ui/shell/GPView.h"
#include "ui/shell/InstanceChannel.h"
#include "ui/shell/LayoutPane.h"
#include "ui/view/FrameToolWindows.h"
#include "view/RenderState.h"
#include "view/SystemPrintJobServices.h"

namespace {

// A session that ends sends SIGTERM: close like the window's close box, so the
// temporary folder goes too. wx delivers it on the main loop, not in signal context.
void CloseOnSignal(int) {
    auto* app = dynamic_cast<CGPApp*>(wxTheApp);
    if (!app) return;
    // A dialog open now would hold its own loop: it ends as cancelled first.
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal()) dialog->EndModal(wxID_CANCEL);
    app->CallAfter([app] { app->EndOnRequest(); });
    wxWakeUpIdle();
}

std::vector<vx::ScreenRect> DisplayRects() {
    std::vector<vx::ScreenRect> rects;
    const unsigned count = wxDisplay::GetCount();
    // The primary display comes first.
    for (unsigned pass = 0; pass < 2; ++pass)
        for (unsigned i = 0; i < count; ++i) {
            wxDisplay display(i);
            if (display.IsPrimary() != (pass == 0)) continue;
            const wxRect r = display.GetGeometry();
            rects.push_back({r.x, r.y, r.x + r.width, r.y + r.height});
        }
    return rects;
}

wxSize PrimaryDisplaySize() {
    const int index = wxDisplay::GetFromPoint(wxPoint(0, 0));
    wxDisplay display(index == wxNOT_FOUND ? 0u : unsigned(index));
    return display.GetGeometry().GetSize();
}

}  // namespace

CGPApp::CGPApp() = default;
CGPApp::~CGPApp() = default;

bool CGPApp::OnInit() {
    SetAppName("VellicorEX");
    vx::SetUpProcessLocale();
    wxInitAllImageHandlers();
    vx::FillSystemColours();
    // The layout model measures free text with the engine the view draws it with.
    mTextMeasurer = std::make_unique<vx::gfx::PangoTextMeasurer>();
    vx::InstallRenderState();

    mMessages = std::make_unique<vx::WxMessagePort>();
    vx::SetMessagePort(mMessages.get());
    mProgress = std::make_unique<vx::WxProgressPort>();
    vx::SetProgressPort(mProgress.get());
    mBusy = vx::MakeWxBusyIndicator();
    // A later start hands its command line to the running instance and ends.
    mInstance = std::make_unique<vx::InstanceChannel>();
    switch (mInstance->Begin(vx::InstanceChannel::ProcessArguments())) {
    case vx::InstanceChannel::Start::HandedOver:
        mRefused = true;
        return true;
    case vx::InstanceChannel::Start::NotResponding:
        mRefused = true;
        mExitStatus = 1;
        return true;
    default: break;
    }
    vx::SetFatalErrorHook([](int code) {
        vx::Messages().Show(vx::IDS_UNKNOWN_ERROR, {}, vx::Icon::Error, vx::Buttons::Ok);
        vx::RemoveTempFolder();
        std::_Exit(code & 0xFF);
    });
    SetSignalHandler(SIGTERM, CloseOnSignal);
    SetSignalHandler(SIGINT, CloseOnSignal);

    // Print jobs show their status over the main window.
    mPrintJobs = std::make_unique<vx::SystemPrintJobServices>(
        []() -> std::unique_ptr<vx::PrintStatusWindow> {
            return std::make_unique<vx::WxPrintStatusWindow>(wxTheApp ? wxTheApp->GetTopWindow() : nullptr);
        });
    vx::InstallHostService<vx::PrintJobServices>(mPrintJobs.get());
    mCore = std::make_unique<vx::AppCore>();
    mManager = new vx::GPDocManager;
    new vx::GPDocTemplate(mManager, CLASSINFO(vx::GPView));
    mManager->SetMaxDocsOpen(1);
    mDocumentServices = std::make_unique<vx::AppDocumentServices>(mManager, *mCore);
    vx::InstallHostService<vx::DocumentServices>(mDocumentServices.get());
    mSettingsDialogs = std::make_unique<vx::WxSettingsDialogs>();
    vx::InstallHostService<vx::SettingsDialogs>(mSettingsDialogs.get());
    vx::InstallHostService<vx::PrintPresetsDialog>(&vx::PrintPresetsDialogWindow());
    mIdleCheck = std::make_unique<vx::IdleResolutionCheck>();

    // The frame is made by start-up; the shell binds once it exists.
    vx::HostBindingPorts ports;
    ports.application = mCore.get();
    ports.textMeasurer = mTextMeasurer.get();
    ports.busy = mBusy.get();
    ports.settings = &mCore->Settings();
    mBindings = std::make_unique<vx::StartupBindings>(std::move(ports));
    const wxSize screen = PrimaryDisplaySize();
    vx::StartupEnvironment environment = vx::StartupEnvironment::System(screen.x, screen.y, mBindings.get());
    environment.createTempFolder = [this] { return mInstance->TempFolderReady(); };
    environment.processCommandLine = [this] { mInstance->QueueOwnCommandLine(); };
    mSequence = std::make_unique<vx::StartupSequence>(std::move(environment), static_cast<vx::StartupHost&>(*this),
                                                      static_cast<vx::StartupWarnings&>(*this));
    mInstance->Attach(mManager, mSequence.get(), [this] { return StartupComplete(); });
    mSplashTimer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { FinishStartup(); });
    Bind(wxEVT_IDLE, &CGPApp::OnIdleCheck, this);

    mInStartupSteps = true;
    const vx::StartupResult first = mSequence->RunStartupSteps1To21();
    mInStartupSteps = false;
    if (!first.run) {
        Refused(first);
        return true;  // OnRun ends the run with the refusal's status
    }
    if (mEndAsked) {
        StopStartup();
        return true;
    }
    mSplashTimer.StartOnce(kSplashMilliseconds);
    return true;
}

void CGPApp::FinishStartup() {
    if (mSplashTimer.IsRunning()) mSplashTimer.Stop();
    CloseSplash();
    if (mRefused || !mSequence || mSequence->StartupComplete()) return;
    mInStartupSteps = true;
    const vx::StartupResult rest = mSequence->RunStartupSteps22To30();
    mInStartupSteps = false;
    if (!rest.run) {
        Refused(rest);
        ExitMainLoop();
    } else if (mEndAsked) {
        EndOnRequest();
    }
}

void CGPApp::EndOnRequest() {
    if (!mRefused && mSequence && !mSequence->StartupComplete()) {
        // Start-up still uses the hidden main window: it stops between two steps.
        mEndAsked = true;
        if (!mInStartupSteps) StopStartup();
        return;
    }
    if (vx::AppBusyFlag() != 0) {
        // A long command holds the window open: the run ends once it has finished.
        mEndAsked = true;
        return;
    }
    mEndAsked = false;
    if (wxWindow* top = GetTopWindow())
        top->Close(true);
    else
        ExitMainLoop();
    // The closed frame is destroyed at idle time; nothing else may come to run it.
    wxWakeUpIdle();
}

void CGPApp::StopStartup() {
    // Asked to end, not refused: the run ends with status 0 and saves nothing.
    mSplashTimer.Stop();
    mRefused = true;
    CloseSplash();
    if (mFrame) {
        mFrame->Destroy();
        mFrame = nullptr;
    }
    ExitMainLoop();
    wxWakeUpIdle();
}

void CGPApp::Refused(const vx::StartupResult& result) {
    mRefused = true;
    mExitStatus = result.exitStatus ? result.exitStatus : 1;
    CloseSplash();
    if (mFrame) {
        mFrame->Destroy();
        mFrame = nullptr;
    }
}

int CGPApp::OnRun() {
    if (mRefused) return mExitStatus;
    const int code = wxApp::OnRun();
    return mExitStatus ? mExitStatus : code;
}

int CGPApp::OnExit() {
    // A later start must not hand its command line to a run that is ending, which
    // would drop it: it waits for the lock and starts as the first.
    if (mInstance) mInstance->Stop();
    // A main window closed by a stopped or refused start-up is still pending: it goes
    // while the document manager it points to exists.
    DeletePendingObjects();
    vx::InstallHostService<vx::PrintJobServices>(nullptr);
    // Copied items hold pictures: free them while the picture stores still exist.
    vx::ItemClipboard::Instance().Clear();
    mSplashTimer.Stop();
    const bool complete = StartupComplete();
    if (mManager) {
        // Documents left open at exit go without questions: the frame asked already.
        for (wxDocument* doc : mManager->GetDocumentsVector()) {
            if (auto* gp = dynamic_cast<vx::GPDocument*>(doc)) gp->Core().DeleteLayout();
            doc->DeleteAllViews();
        }
    }
    if (mSequence) mSequence->Exit();
    // A refused start saves nothing.
    if (complete && mCore && mCore->HasDefaultLayout()) {
        mCore->WriteRecentFileList();
        mCore->FreeAppDefaults();
    }
    mBindings.reset();
    vx::InstallHostService<vx::DocumentServices>(nullptr);
    vx::InstallHostService<vx::SettingsDialogs>(nullptr);
    vx::InstallHostService<vx::PrintPresetsDialog>(nullptr);
    if (vx::HostService<vx::ToolWindows>() == mToolWindows.get()) vx::InstallHostService<vx::ToolWindows>(nullptr);
    delete mManager;
    mManager = nullptr;
    mDocumentServices.reset();
    vx::SetStatusPort(nullptr);
    vx::SetProgressPort(nullptr);
    vx::SetMessagePort(nullptr);
    vx::SetFatalErrorHook({});
    // The lock goes last: a new start must not empty the folder while it is in use.
    if (!mInstance || mInstance->OwnsTempFolder()) vx::RemoveTempFolder();
    mInstance.reset();
    return wxApp::OnExit();
}

void CGPApp::CloseSplash() {
    if (!mSplash) return;
    mSplash->Destroy();
    mSplash = nullptr;
}

void CGPApp::OnIdleCheck(wxIdleEvent& event) {
    event.Skip();
    if (mEndAsked && StartupComplete() && vx::AppBusyFlag() == 0) {
        EndOnRequest();
        return;
    }
    if (mIdleCheck && StartupComplete()) vx::CheckActiveLayoutResolution(*mIdleCheck);
}

bool CGPApp::SetCursorByIndex(int index) {
    if (index < 0 || index > 8 || !mTrackerCursors[size_t(index)].IsOk()) return false;
    if (mFrame)
        if (vx::LayoutView* view = mFrame->GetLayoutView())
            if (auto* pane = dynamic_cast<wxWindow*>(view)) pane->SetCursor(mTrackerCursors[size_t(index)]);
    return true;
}

// StartupHost

void CGPApp::LoadSettings() {
    // A first start has no user folder yet; one that cannot be made shows up later as a
    // restricted user.
    (void)vx::EnsureUserFolder();
    mCore->Settings().Reload();
    mCore->LoadRecentFileList();
    const auto& entries = mCore->RecentFiles().Entries();
    // The framework's list puts each addition first: add the oldest first.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        mManager->AddFileToHistory(wxString::FromUTF8(vx::PathText(*it)));
}

bool CGPApp::CreateMainFrame() {
    const auto rect = vx::ReadStartupRect(mCore->Settings(), DisplayRects());
    wxPoint pos = wxDefaultPosition;
    wxSize size(1024, 768);
    if (rect) {
        pos = wxPoint(rect->left, rect->top);
        size = wxSize(rect->Width(), rect->Height());
    }
    mFrame = new CMainFrame(mManager, pos, size);
    mFrame->SetSettingsStore(&mCore->Settings());
    mStatus = std::make_unique<vx::WxStatusPort>(mFrame);
    vx::SetStatusPort(mStatus.get());
    mToolWindows = std::make_unique<vx::FrameToolWindows>(mFrame, mFrame->ZoomBar());
    mBindings->BindShell(mFrame, mToolWindows.get());
    mStatus->SetReadyHook([frame = mFrame] { frame->ShowPagesInBar(); });
    SetTopWindow(mFrame);
    if (!rect) mFrame->Centre();
    return true;
}

void CGPApp::ShowSplash() {
    mSplash = new CSplashWnd(nullptr);
    mSplash->Show();
    mSplash->Update();
    Yield(true);
}

bool CGPApp::InitAppDefaults() {
    mCore->SetScreenWidth(PrimaryDisplaySize().x);
    mCore->SetSystemLanguage(mSequence->SystemLanguage());
    return mCore->InitAppDefaults();
}

void CGPApp::LoadCursors() {
    mArrowCursor = wxCursor(wxCURSOR_ARROW);
    mWaitCursor = wxCursor(wxCURSOR_WAIT);
    for (size_t i = 0; i < 9; ++i) mTrackerCursors[i] = wxCursor(vx::TrackerStockCursor(int(i)));
    mMoveCursor = wxCursor(wxCURSOR_SIZING);
}

void CGPApp::ShowMainFrame() {
    if (!mFrame) return;
    const int32_t show = vx::ReadShowState(mCore->Settings());
    if (show == vx::kShowMaximized) mFrame->Maximize(true);
    mFrame->Show(true);
    if (show == vx::kShowMinimized) mFrame->Iconize(true);
    mFrame->Raise();
    if (mSplash) mSplash->Raise();
}

bool CGPApp::LoadUserCategories() { return mCore->LoadUserCategoryList() != 0; }

void CGPApp::CloseMainFrame() {
    if (!mFrame) return;
    mFrame->Destroy();
    mFrame = nullptr;
}

const void* CGPApp::ActiveDocument() {
    wxDocument* doc = mManager ? mManager->GetCurrentDocument() : nullptr;
    if (!doc && mManager && !mManager->GetDocumentsVector().empty()) doc = mManager->GetDocumentsVector().front();
    return doc;
}

void CGPApp::NewDocument() {
    if (mManager) mManager->CreateDocument(wxEmptyString, wxDOC_NEW);
}

void CGPApp::OpenDocument(const std::filesystem::path& path) {
    if (mManager) mManager->OpenLayoutFile(path);
}

std::filesystem::path CGPApp::FirstRecentFile() {
    return mCore->RecentFiles().Empty() ? std::filesystem::path() : mCore->RecentFiles().At(0);
}

// StartupWarnings

namespace {
vx::WarningAnswer Ask(CStartupWarningDlg::Kind kind, const std::string& text) {
    CStartupWarningDlg dialog(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, kind, text);
    const int result = dialog.ShowModal();
    return {result == wxID_OK ? vx::kIdOk : vx::kIdCancel, dialog.DontShowAgain()};
}
}  // namespace

vx::WarningAnswer CGPApp::ShowDiskSpaceWarning(double freeGb, int minimumGb, int recommendedGb) {
    return Ask(CStartupWarningDlg::Kind::DiskSpace,
               vx::MessageText(vx::IDS_DISK_SPACE_LOW_CONTINUE, {freeGb, (long long)minimumGb, (long long)recommendedGb}));
}

vx::WarningAnswer CGPApp::ShowQuickTimeWarning() {
    return Ask(CStartupWarningDlg::Kind::QuickTime, vx::LoadString(vx::IDS_QUICKTIME_REQUIRED));
}

vx::WarningAnswer CGPApp::ShowUserRightsWarning(const std::string& userFolder) {
    return Ask(CStartupWarningDlg::Kind::UserRights, vx::MessageText(vx::IDS_USER_FOLDER_NOT_WRITABLE, {userFolder}));
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
