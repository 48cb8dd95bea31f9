#include "app/InstanceRequests.h"

#include "platform/system/MessagePort.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace fs = std::filesystem;

namespace vx {

std::optional<std::string> EncodeInstanceRequest(const InstanceRequest& request) {
    size_t size = kInstanceRequestHeader.size() + 1 + request.workingDirectory.size() + 1;
    for (const std::string& argument : request.arguments) size += argument.size() + 1;
    if (size > kMaxInstanceRequestBytes) return std::nullopt;
    std::string bytes;
    bytes.reserve(size);
    const auto field = [&bytes](std::string_view text) {
        bytes.append(text);
        bytes.push_back('\0');
    };
    field(kInstanceRequestHeader);
    field(request.workingDirectory);
    for (const std::string& argument : request.arguments) field(argument);
    return bytes;
}

std::optional<InstanceRequest> DecodeInstanceRequest(std::string_view bytes) {
    if (bytes.size() > kMaxInstanceRequestBytes || bytes.empty() || bytes.back() != '\0') return std::nullopt;
    std::vector<std::string_view> fields;
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = bytes.find('\0', start);
        fields.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    if (fields.size() < 2 || fields[0] != kInstanceRequestHeader) return std::nullopt;
    // Relative paths resolve against it: a relative one would resolve against ours.
    if (fields[1].empty() || fields[1].front() != '/') return std::nullopt;
    InstanceRequest request;
    request.workingDirectory = std::string(fields[1]);
    for (size_t i = 2; i < fields.size(); ++i) request.arguments.emplace_back(fields[i]);
    return request;
}

std::optional<fs::path> InstanceSocketPath(const fs::path& tempFolder) {
    fs::path socket = tempFolder / std::string(kInstanceSocketName);
    if (socket.native().size() > kMaxSocketPathBytes) return std::nullopt;
    return socket;
}

CommandLineResult ProcessCommandLine(CommandLineHost& host, const CGPCommandLineInfo& info, bool ownCommandLine) {
    if (info.listMode == 0) return {ImportImageListFile(host, info.listFile) == 1, false};
    if (info.listMode == 1) return {ImportFileList(host, info.fileList) == 1, false};
    switch (info.shellCommand) {
    case ShellCommand::New:
        // A request that names nothing only raises the window; at start-up the queued
        // requests may have made a layout active already, which then stays.
        if (ownCommandLine && !host.ActiveDocument()) host.OpenStartupLayoutAtStart();
        return {true, false};
    case ShellCommand::Nothing: return {true, false};
    case ShellCommand::Open: return {host.OpenDocumentFile(info.fileName), true};
    case ShellCommand::Print:
    case ShellCommand::PrintTo:
        if (info.fileName.empty()) return {false, true};
        if (info.shellCommand == ShellCommand::PrintTo && !host.SetApplicationPrinter(info.printerName)) {
            Messages().Show(IDS_PRINTER_NOT_OPENED, {info.printerName}, Icon::Error, Buttons::Ok);
            return {false, true};
        }
        if (!host.OpenDocumentFile(info.fileName)) return {false, true};
        host.PrintNow();
        return {true, true};
    }
    return {};
}

void InstanceRequestQueue::Push(InstanceRequest request) { mRequests.push_back(std::move(request)); }

bool InstanceRequestQueue::RunNext(const InstanceQueueState& state, const Runner& run) {
    if (mRunning || mRequests.empty() || !state.Ready()) return false;
    InstanceRequest request = std::move(mRequests.front());
    mRequests.pop_front();
    mRunning = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{mRunning};
    const CommandLineResult result = run(request);
    if (result.succeeded && result.layoutRequest) ++mSucceeded;
    return true;
}

size_t InstanceRequestQueue::Drop() {
    const size_t dropped = mRequests.size();
    mRequests.clear();
    return dropped;
}

}  // namespace vx
