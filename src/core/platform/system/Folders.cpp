#include "platform/system/Folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/system/Paths.h"
#include "platform/system/StringTable.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

const char* Env(const char* name) {
    const char* v = std::getenv(name);
    return (v && *v) ? v : nullptr;
}

}  // namespace

fs::path ExecutableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec);
    return exe.parent_path();
}

fs::path DataFolder() {
    if (const char* v = Env("VELLICOREX_DATA_DIR")) return fs::path(v);
    return (ExecutableFolder() / ".." / "share" / "vellicorex").lexically_normal();
}

fs::path UserFolder() {
    if (const char* v = Env("VELLICOREX_USER_DIR")) return fs::path(v);
    if (const char* v = Env("XDG_CONFIG_HOME")) return fs::path(v) / "vellicorex";
    if (const char* v = Env("HOME")) return fs::path(v) / ".config" / "vellicorex";
    return fs::path("/tmp") / ("vellicorex-config-" + std::to_string(geteuid()));
}

fs::path TempFolder() {
    // The override names a place, as TMPDIR does: what else lies there is the user's.
    const char* place = Env("VELLICOREX_TEMP_DIR");
    if (!place) place = Env("TMPDIR");
    return (place ? fs::path(place) : fs::path("/var/tmp")) / ("TEVRA VellicorEX-" + std::to_string(geteuid()));
}

Status EnsureUserFolder() {
    const fs::path dir = UserFolder();
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir, ec) || access(dir.c_str(), W_OK | X_OK) != 0)
        return {IDS_FOLDER_NOT_CREATED, {PathText(dir)}};
    return {};
}

Status CreateTempFolder() {
    const fs::path dir = TempFolder();
    std::error_code ec;
    if (dir.has_parent_path()) fs::create_directories(dir.parent_path(), ec);
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return {IDS_FOLDER_NOT_CREATED, {PathText(dir)}};
    // An existing name may be anyone's in a shared /var/tmp: trust only our own folder.
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0)
        return {IDS_FOLDER_NOT_CREATED, {PathText(dir)}};
    if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return {IDS_TEMP_FOLDER_UNSAFE, {PathText(dir)}};
    if ((st.st_mode & 07777) != 0700 && chmod(dir.c_str(), 0700) != 0)
        return {IDS_TEMP_FOLDER_UNSAFE, {PathText(dir)}};
    // remove_all deletes links themselves, never what they point to.
    for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        std::error_code rm;
        fs::remove_all(it->path(), rm);
    }
    if (ec) return {IDS_FOLDER_NOT_CREATED, {PathText(dir)}};
    return {};
}

void RemoveTempFolder() {
    const fs::path dir = TempFolder();
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return;
    std::error_code ec;
    fs::remove_all(dir, ec);
}

}  // namespace vx
