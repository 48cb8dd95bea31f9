#include "platform/colour/ColourDirectories.h"

#include <cstdlib>
#include <mutex>

#include "platform/system/Folders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

std::mutex gMutex;
std::optional<std::vector<fs::path>> gOverride;

std::optional<fs::path> UserProfileFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    // The XDG rule: an unset, empty or relative value means ~/.local/share.
    if (dataHome && *dataHome == '/') return fs::path(dataHome) / "icc";
    const char* home = std::getenv("HOME");
    if (home && *home) return fs::path(home) / ".local" / "share" / "icc";
    return std::nullopt;
}

}  // namespace

std::vector<fs::path> ColourDirectories() {
    {
        std::lock_guard lock(gMutex);
        if (gOverride) return *gOverride;
    }
    std::vector<fs::path> dirs;
    if (auto user = UserProfileFolder()) dirs.push_back(*user);
    dirs.push_back(DataFolder() / "icc");
    dirs.push_back("/usr/share/color/icc");
    return dirs;
}

void SetColourDirectories(std::optional<std::vector<fs::path>> directories) {
    std::lock_guard lock(gMutex);
    gOverride = std::move(directories);
}

}  // namespace vx
