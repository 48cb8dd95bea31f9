#include "platform/system/Folders.h"

#include <dirent.h>
#include <fcntl.h>
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

/// Removes what the open folder holds, never following a link; false when it cannot be
/// listed. Working through the descriptor keeps a name swapped for a link meanwhile from
/// leading anywhere else. What cannot be removed stays, as a leftover of an earlier run.
bool RemoveContentsAt(int folder) {
    const int listFd = dup(folder);
    if (listFd < 0) return false;
    DIR* list = fdopendir(listFd);
    if (!list) {
        close(listFd);
        return false;
    }
    while (const dirent* entry = readdir(list)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (unlinkat(folder, name.c_str(), 0) == 0) continue;
        const int sub = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0) continue;
        RemoveContentsAt(sub);
        close(sub);
        unlinkat(folder, name.c_str(), AT_REMOVEDIR);
    }
    closedir(list);
    return true;
}

/// The temporary folder opened without following a link, when it is a folder of ours.
int OpenOwnFolder(const fs::path& dir) {
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) {
        close(fd);
        return -1;
    }
    return fd;
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
    // An existing name may be anyone's in a shared /var/tmp: trust only our own folder,
    // and act on the folder checked, not on whatever the name holds later.
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0)
        return {IDS_FOLDER_NOT_CREATED, {PathText(dir)}};
    const int fd = OpenOwnFolder(dir);
    if (fd < 0) return {IDS_TEMP_FOLDER_UNSAFE, {PathText(dir)}};
    if (fstat(fd, &st) != 0 || ((st.st_mode & 07777) != 0700 && fchmod(fd, 0700) != 0)) {
        close(fd);
        return {IDS_TEMP_FOLDER_UNSAFE, {PathText(dir)}};
    }
    const bool emptied = RemoveContentsAt(fd);
    close(fd);
    if (!emptied) return {IDS_FOLDER_NOT_CREATED, {PathText(dir)}};
    return {};
}

void RemoveTempFolder() {
    const fs::path dir = TempFolder();
    const int fd = OpenOwnFolder(dir);
    if (fd < 0) return;
    RemoveContentsAt(fd);
    close(fd);
    // rmdir never follows a link and fails on anything not empty.
    rmdir(dir.c_str());
}

}  // namespace vx
