#pragma once
#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/ImageListImport.h"

namespace vx {

/// The lock every instance of one user takes (a file of this name in the user folder).
inline constexpr std::string_view kInstanceLockName = "VellicorEx.exe";
/// The first instance's request socket, in its temporary folder.
inline constexpr std::string_view kInstanceSocketName = "VellicorEx.ipc";
/// The first field of every request; another version is refused.
inline constexpr std::string_view kInstanceRequestHeader = "VellicorEX 1";
/// No request is longer (a command line of this size is no command line).
inline constexpr size_t kMaxInstanceRequestBytes = size_t(1) << 20;
/// A Unix socket path has room for 107 bytes and its terminating zero.
inline constexpr size_t kMaxSocketPathBytes = 107;

/// What a later start asks of the running instance: its command line (argv without the
/// program's name) and the folder it was started in, both as the system gave them.
struct InstanceRequest {
    std::string workingDirectory;
    std::vector<std::string> arguments;
    /// The running instance's own command line, which runs after the queued requests
    /// and opens the start-up layout when it names nothing.
    bool own = false;
};

/// The request as sent: header, working directory and arguments, each ended by a NUL.
/// nullopt when it would exceed kMaxInstanceRequestBytes.
std::optional<std::string> EncodeInstanceRequest(const InstanceRequest& request);
/// The request in bytes; nullopt for a wrong header, a relative or missing working
/// directory, a missing final NUL, or more than kMaxInstanceRequestBytes.
std::optional<InstanceRequest> DecodeInstanceRequest(std::string_view bytes);

/// The socket of the instance whose temporary folder is tempFolder; nullopt when the
/// path is too long to bind.
std::optional<std::filesystem::path> InstanceSocketPath(const std::filesystem::path& tempFolder);

/// What the command line may ask of the application beyond image lists.
class CommandLineHost : public ImageListHost {
public:
    /// Opens the layout the start-up document preference asks for at start-up.
    virtual void OpenStartupLayoutAtStart() = 0;
    /// Opens a layout file as the open command does (asking before the current layout
    /// is discarded); true when it is the active layout now.
    virtual bool OpenDocumentFile(const std::filesystem::path& path) = 0;
    /// Makes a print queue the application's printer; false when there is none of
    /// that name.
    virtual bool SetApplicationPrinter(const std::string& queue) = 0;
    /// Print now on the active layout.
    virtual void PrintNow() = 0;
};

/// How one command line ran.
struct CommandLineResult {
    bool succeeded = false;
    /// An open, print or print-to request (what the running instance counts).
    bool layoutRequest = false;
};

/// Runs a parsed command line: an image list ("VO2=" or "FM"), a layout to open, to
/// print or to print to a queue (19601 for an unknown queue, nothing printed), or, for
/// the program's own command line naming nothing, the start-up layout.
CommandLineResult ProcessCommandLine(CommandLineHost& host, const CGPCommandLineInfo& info, bool ownCommandLine);

/// When queued requests may run: never during start-up, a modal dialog or print job
/// (the main window is disabled then), a busy command, a direct print, or a nested
/// event loop.
struct InstanceQueueState {
    bool startupComplete = false;
    bool mainWindowEnabled = false;
    bool busy = false;
    bool directPrint = false;
    bool nestedLoop = false;
    bool Ready() const { return startupComplete && mainWindowEnabled && !busy && !directPrint && !nestedLoop; }
};

/// The requests of later starts, run one at a time in arrival order.
class InstanceRequestQueue {
public:
    using Runner = std::function<CommandLineResult(const InstanceRequest&)>;

    void Push(InstanceRequest request);
    /// Runs the first request when state allows it and no request is running (a request
    /// may pump events); true when one ran.
    bool RunNext(const InstanceQueueState& state, const Runner& run);
    size_t Pending() const { return mRequests.size(); }
    /// Open and print requests that succeeded so far.
    int SucceededLayoutRequests() const { return mSucceeded; }
    /// Empties the queue (at exit); how many requests were dropped.
    size_t Drop();

private:
    std::deque<InstanceRequest> mRequests;
    int mSucceeded = 0;
    bool mRunning = false;
};

}  // namespace vx
