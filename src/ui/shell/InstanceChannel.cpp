#include "ui/shell/InstanceChannel.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/ipc.h>
#include <wx/log.h>
#include <wx/snglinst.h>
#include <wx/toplevel.h>

#include "app/LayoutDrops.h"
#include "app/StartupSequence.h"
#include "document/LayoutDocument.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/Shell.h"
#include "platform/system/Folders.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "ui/document/GPDocument.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

const char kTopic[] = "VellicorEX";
// Asked after the request: the answer tells the sender its request was taken.
const char kAcceptedItem[] = "accepted";

void Report(const std::string& line) { std::fprintf(stderr, "vellicorex: %s\n", line.c_str()); }

wxString Wx(const std::string& text) { return wxString::FromUTF8(text.c_str()); }

/// The application as the command line uses it.
class AppCommandLineHost final : public CommandLineHost {
public:
    AppCommandLineHost(GPDocManager* manager, StartupSequence* sequence) : mManager(manager), mSequence(sequence) {}

    DropDocument* ActiveDocument() override {
        mDrop.reset();
        wxDocument* doc = mManager ? mManager->GetCurrentDocument() : nullptr;
        if (!doc && mManager && !mManager->GetDocumentsVector().empty()) doc = mManager->GetDocumentsVector().front();
        auto* gp = dynamic_cast<GPDocument*>(doc);
        if (!gp || !gp->Core().GetLayout()) return nullptr;
        mDrop = std::make_unique<CGPDocDropDocument>(gp->Core());
        return mDrop.get();
    }
    bool OpenStartupLayout() override { return mSequence && mSequence->OpenStartupLayout(false); }
    void OpenStartupLayoutAtStart() override {
        if (mSequence) mSequence->OpenStartupLayout(true);
    }
    bool OpenDocumentFile(const fs::path& path) override { return mManager && mManager->OpenLayoutFile(path); }
    bool SetApplicationPrinter(const std::string& queue) override {
        CPrinterManager* printers = CPrinterManager::GetInstance();
        return printers && printers->SetApplicationPrinter(queue) == 1;
    }
    void PrintNow() override {
        if (Shell* shell = HostService<Shell>()) shell->PrintNow();
    }

private:
    GPDocManager* mManager;
    StartupSequence* mSequence;
    std::unique_ptr<CGPDocDropDocument> mDrop;
};

void RaiseMainWindow() {
    wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    auto* frame = dynamic_cast<wxTopLevelWindow*>(top);
    if (!frame || !frame->IsShown()) return;
    if (frame->IsIconized()) frame->Iconize(false);
    // Window managers may refuse the focus to a window that did not ask; the attention
    // request then marks it instead.
    frame->Raise();
    // The framework yields inside it, which needs a running loop.
    if (wxEventLoopBase::GetActive()) frame->RequestUserAttention();
}

bool ModalDialogOpen() {
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal()) return true;
    return false;
}

}  // namespace

class RequestConnection final : public wxConnection {
public:
    explicit RequestConnection(InstanceChannel& channel) : mChannel(channel) {}
    bool OnExecute(const wxString&, const void* data, size_t size, wxIPCFormat) override {
        mAccepted = mChannel.Receive(std::string_view(static_cast<const char*>(data), size));
        return mAccepted;
    }
    const void* OnRequest(const wxString&, const wxString& item, size_t* size, wxIPCFormat) override {
        if (item != kAcceptedItem || !mAccepted) return nullptr;
        *size = 1;
        return "1";
    }

private:
    InstanceChannel& mChannel;
    bool mAccepted = false;
};

class RequestServer final : public wxServer {
public:
    explicit RequestServer(InstanceChannel& channel) : mChannel(channel) {}
    wxConnectionBase* OnAcceptConnection(const wxString& topic) override {
        if (topic != kTopic) return nullptr;
        // The framework deletes it when the sender disconnects.
        return new RequestConnection(mChannel);
    }

private:
    InstanceChannel& mChannel;
};

std::vector<std::string> InstanceChannel::ProcessArguments() {
    // The bytes as given: the framework's copies went through the locale's conversion.
    std::vector<std::string> arguments;
    if (FILE* file = std::fopen("/proc/self/cmdline", "rb")) {
        std::string bytes;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
        std::fclose(file);
        for (size_t start = 0; start < bytes.size();) {
            size_t end = bytes.find('\0', start);
            if (end == std::string::npos) end = bytes.size();
            arguments.push_back(bytes.substr(start, end - start));
            start = end + 1;
        }
        if (!arguments.empty()) arguments.erase(arguments.begin());
        // An application given an argv of its own (tests) goes by that one.
        if (!wxTheApp || size_t(wxTheApp->argc) == arguments.size() + 1) return arguments;
        arguments.clear();
    }
    if (wxTheApp)
        for (int i = 1; i < wxTheApp->argc; ++i) arguments.emplace_back(wxTheApp->argv[i].utf8_str());
    return arguments;
}

InstanceChannel::InstanceChannel() = default;

InstanceChannel::~InstanceChannel() {
    Stop();
    if (mAttached && wxTheApp) wxTheApp->Unbind(wxEVT_IDLE, &InstanceChannel::OnIdle, this);
}

bool InstanceChannel::TakeLock() {
    wxLogNull quiet;
    mLock = std::make_unique<wxSingleInstanceChecker>();
    if (!mLock->Create(Wx(std::string(kInstanceLockName)), Wx(PathText(UserFolder())))) {
        mLock.reset();
        return false;
    }
    return true;
}

bool InstanceChannel::HandOver(const std::string& bytes) const {
    const std::optional<fs::path> socket = InstanceSocketPath(TempFolder());
    if (!socket) return false;
    wxLogNull quiet;
    wxClient client;
    std::unique_ptr<wxConnectionBase> connection(client.MakeConnection("localhost", Wx(PathText(*socket)), kTopic));
    if (!connection) return false;
    bool accepted = false;
    if (connection->Execute(bytes.data(), bytes.size(), wxIPC_PRIVATE)) {
        size_t size = 0;
        const void* answer = connection->Request(kAcceptedItem, &size, wxIPC_PRIVATE);
        accepted = answer && size == 1 && *static_cast<const char*>(answer) == '1';
    }
    connection->Disconnect();
    return accepted;
}

void InstanceChannel::BecomeFirst() {
    // Only the lock holder may empty the folder: another run could be using it.
    mTempFolder = CreateTempFolder();
    mOwnsTempFolder = true;
    if (!mTempFolder) return;
    const std::optional<fs::path> socket = InstanceSocketPath(TempFolder());
    if (!socket) {
        Report("the temporary folder's path is too long for the request socket; later starts cannot hand over");
        return;
    }
    wxLogNull quiet;
    auto server = std::make_unique<RequestServer>(*this);
    if (!server->Create(Wx(PathText(*socket)))) {
        Report("cannot serve " + PathText(*socket) + "; later starts cannot hand over");
        return;
    }
    mSocket = *socket;
    mServer = std::move(server);
}

InstanceChannel::Start InstanceChannel::Begin(const std::vector<std::string>& arguments) {
    mOwnArguments = arguments;
    std::error_code error;
    mOwnFolder = PathText(fs::current_path(error));
    mLockFile = UserFolder() / std::string(kInstanceLockName);
    (void)EnsureUserFolder();
    if (!TakeLock()) {
        Report("cannot make the lock file " + PathText(mLockFile) + "; starting without single-instance check");
        mTempFolder = CreateTempFolder();
        mOwnsTempFolder = true;
        return Start::Alone;
    }
    if (!mLock->IsAnotherRunning()) {
        BecomeFirst();
        return Start::First;
    }
    const std::optional<std::string> bytes = EncodeInstanceRequest({mOwnFolder, arguments, false});
    if (!bytes) {
        Report("the command line is longer than a request may be; nothing handed over");
        mLock.reset();
        return Start::NotResponding;
    }
    using Clock = std::chrono::steady_clock;
    const auto giveUp = Clock::now() + std::chrono::milliseconds(kGiveUpMilliseconds);
    for (;;) {
        if (HandOver(*bytes)) {
            mLock.reset();
            return Start::HandedOver;
        }
        if (Clock::now() >= giveUp) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(kRetryMilliseconds));
        // The running one may have ended meanwhile: then this start is the first.
        if (TakeLock() && !mLock->IsAnotherRunning()) {
            BecomeFirst();
            return Start::First;
        }
    }
    mLock.reset();
    Report("another instance holds " + PathText(mLockFile) + " but does not answer");
    Messages().Show(IDS_INSTANCE_NOT_RESPONDING, {PathText(mLockFile)}, Icon::Error, Buttons::Ok);
    return Start::NotResponding;
}

bool InstanceChannel::TempFolderReady() const {
    if (mTempFolder) return true;
    Messages().Show(mTempFolder.stringId, mTempFolder.args, Icon::Error, Buttons::Ok);
    return false;
}

void InstanceChannel::Attach(GPDocManager* manager, StartupSequence* sequence, std::function<bool()> complete) {
    mManager = manager;
    mSequence = sequence;
    mComplete = std::move(complete);
    if (!mAttached && wxTheApp) {
        wxTheApp->Bind(wxEVT_IDLE, &InstanceChannel::OnIdle, this);
        mAttached = true;
    }
}

void InstanceChannel::QueueOwnCommandLine() {
    mQueue.Push({mOwnFolder, mOwnArguments, true});
    wxWakeUpIdle();
}

void InstanceChannel::Stop() {
    if (mServer) {
        mServer.reset();
        // The framework removes the socket with its server; a crashed run's is removed
        // by the next first instance.
        std::error_code error;
        fs::remove(mSocket, error);
    }
    if (const size_t dropped = mQueue.Drop())
        Report(std::to_string(dropped) + " request(s) of later starts dropped at exit");
}

bool InstanceChannel::Receive(std::string_view bytes) {
    std::optional<InstanceRequest> request = DecodeInstanceRequest(bytes);
    if (!request) {
        Report("refused a request of " + std::to_string(bytes.size()) + " bytes that is no command line");
        return false;
    }
    mQueue.Push(std::move(*request));
    // Not inside the socket's handler: raising may yield.
    if (wxTheApp) wxTheApp->CallAfter([] { RaiseMainWindow(); });
    wxWakeUpIdle();
    return true;
}

CommandLineResult InstanceChannel::Run(const InstanceRequest& request) {
    AppCommandLineHost host(mManager, mSequence);
    const CommandLineResult result =
        ProcessCommandLine(host, ParseCommandLine(request.arguments, request.workingDirectory), request.own);
    if (wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr) top->Refresh();
    return result;
}

void InstanceChannel::OnIdle(wxIdleEvent& event) {
    event.Skip();
    if (mQueue.Pending() == 0) return;
    wxWindow* top = wxTheApp->GetTopWindow();
    wxEventLoopBase* active = wxEventLoopBase::GetActive();
    ApplicationState* app = HostService<ApplicationState>();
    InstanceQueueState state;
    state.startupComplete = mComplete && mComplete();
    state.mainWindowEnabled = top && top->IsEnabled() && !ModalDialogOpen();
    state.busy = AppBusyFlag() != 0;
    state.directPrint = app && app->ImportLocked();
    // Inside a yield the interrupted handler is still running.
    state.nestedLoop = active && active->IsYielding();
    if (mQueue.RunNext(state, [this](const InstanceRequest& r) { return Run(r); }) && mQueue.Pending())
        event.RequestMore();
}

}  // namespace vx
