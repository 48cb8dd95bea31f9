#include "document/DocumentCommands.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <string>
#include <system_error>

#include "document/LayoutDocument.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/LayoutView.h"
#include "host/Shell.h"
#include "host/ToolWindows.h"
#include "model/CLayoutSetting.h"
#include "model/ViewStateBlock.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/Paths.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

constexpr std::array<int, 28> kForwarded = {
    57635, 57634, 57637, 32850, 57643, 57632, 32867, 32865, 32863, 32851,
    32857, 32858, 32856, 32854, 32853, 32855, 32852, 32860, 32859, 33313,
    33305, 33308, 33307, 33306, kCmdZoomToFit, kCmdZoomIn, kCmdZoomOut, 0};

LayoutViewCommands* ActiveViewCommands() {
    Shell* shell = HostService<Shell>();
    LayoutView* view = shell ? shell->GetLayoutView() : nullptr;
    return view ? view->Commands() : nullptr;
}

bool IsZoom(int id) { return id == kCmdZoomIn || id == kCmdZoomOut || id == kCmdZoomToFit; }

}  // namespace

bool IsForwardedCommand(int commandId) {
    return commandId != 0 && std::find(kForwarded.begin(), kForwarded.end(), commandId) != kForwarded.end();
}

void ForwardCommand(int commandId) {
    LayoutViewCommands* commands = ActiveViewCommands();
    if (!commands || !IsForwardedCommand(commandId)) return;
    switch (commandId) {
    case kCmdZoomToFit: commands->ZoomToFit(); break;
    case kCmdZoomIn: commands->ZoomInStep(); break;
    case kCmdZoomOut: commands->ZoomOutStep(); break;
    default: commands->OnCommand(commandId); return;
    }
    ApplicationState* app = HostService<ApplicationState>();
    const CLayoutSetting* layout = app ? app->ActiveLayoutSlot() : nullptr;
    const ViewStateBlock* block = layout ? layout->GetViewState() : nullptr;
    if (ToolWindows* tools = HostService<ToolWindows>(); tools && block)
        tools->SetZoom(block->zoomNumerator, block->zoomDenominator);
}

CommandState ForwardedCommandState(int commandId, bool hasLayout) {
    CommandState state;
    LayoutViewCommands* commands = ActiveViewCommands();
    if (IsZoom(commandId)) {
        state.enabled = hasLayout && commands;
        return state;
    }
    if (!commands || !IsForwardedCommand(commandId)) {
        state.enabled = false;
        return state;
    }
    commands->OnUpdateCommand(commandId, state);
    return state;
}

bool CopyFileWritable(const fs::path& source, const fs::path& target, bool failIfExists) {
    std::error_code error;
    if (failIfExists && fs::exists(fs::symlink_status(target, error))) return false;
    struct stat sourceStat {};
    if (::stat(source.c_str(), &sourceStat) != 0 || !S_ISREG(sourceStat.st_mode)) return false;
    std::string bytes;
    if (!ReadWholeFile(source, bytes)) return false;
    if (!WriteFileAtomically(target, bytes)) return false;
    const fs::path written = ResolveSaveTarget(target);
    struct stat copyStat {};
    if (::stat(written.c_str(), &copyStat) != 0) return false;
    if (copyStat.st_mode & S_IWUSR) return true;
    // Read-only means the owner cannot write; that bit alone is added.
    return ::chmod(written.c_str(), (copyStat.st_mode & 07777) | S_IWUSR) == 0;
}

fs::path PathOfOpenRequest(std::string_view request) {
    if (!request.empty() && request.front() == '"') request.remove_prefix(1);
    if (const size_t quote = request.find('"'); quote != std::string_view::npos) request = request.substr(0, quote);
    fs::path path = PathFromStored(request);
    if (path.empty()) return path;
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal();
}

CGPDoc* FindOpenDocument(const fs::path& path) {
    const fs::path wanted = CanonicalFilePath(path);
    if (wanted.empty()) return nullptr;
    for (CGPDoc* doc : CGPDoc::OpenDocuments()) {
        const CLayoutSetting* layout = doc->GetLayout();
        if (layout && !layout->Texts().documentPath.empty() &&
            CanonicalFilePath(PathFromStored(layout->Texts().documentPath)) == wanted)
            return doc;
    }
    return nullptr;
}

}  // namespace vx
