#include "platform/system/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "platform/system/Paths.h"
#include "platform/system/StringTable.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

std::atomic<AtomicWriteStep> gFailStep{AtomicWriteStep::None};
std::atomic<void (*)(AtomicWriteStep)> gStepHook{nullptr};
std::atomic<bool> gNoTmpFile{false};

bool Fails(AtomicWriteStep step) {
    if (auto hook = gStepHook.load()) hook(step);
    return gFailStep.load() == step;
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= size_t(n);
    }
    return true;
}

mode_t NewFileMode() {
    // umask can only be read by setting it; this runs on the UI thread.
    mode_t mask = umask(022);
    umask(mask);
    return 0666 & ~mask;
}

std::string HiddenName(const fs::path& folder, const fs::path& target) {
    static std::mt19937_64 random{std::random_device{}()};
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    return (folder / ("." + target.filename().string() + "." + suffix)).string();
}

/// Gives the unnamed file a hidden name beside the target; false when it cannot.
bool LinkUnnamed(int fd, const fs::path& folder, const fs::path& target, std::string& name) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        name = HiddenName(folder, target);
        // AT_EMPTY_PATH needs a capability; the /proc link works for everybody.
        if (linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return true;
        std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST) return false;
    }
    return false;
}

}  // namespace

void FailAtomicWriteStepForTests(AtomicWriteStep step) { gFailStep = step; }
void SetAtomicWriteStepHookForTests(void (*hook)(AtomicWriteStep)) { gStepHook = hook; }
void DisableTmpFileForTests(bool disable) { gNoTmpFile = disable; }

fs::path ResolveSaveTarget(const fs::path& path) {
    fs::path current = path;
    // The kernel's own limit on a chain of links; a loop ends the same way.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)) || ec) return current;
        fs::path next = fs::read_symlink(current, ec);
        if (ec) return current;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

Status WriteFileAtomically(const fs::path& requested, std::string_view bytes) {
    const Status failed{IDS_SAVE_FAILED, {PathText(requested)}};
    const fs::path target = ResolveSaveTarget(requested);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    struct stat old {};
    const mode_t mode = (::stat(target.c_str(), &old) == 0) ? (old.st_mode & 07777) : NewFileMode();

    // Same folder as the target: rename is atomic only within one file system. An
    // unnamed file disappears by itself when the save dies before it is linked.
    int fd = -1;
    std::string name;
    bool unnamed = false;
    if (!Fails(AtomicWriteStep::Create)) {
        if (!gNoTmpFile.load()) {
            fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
            unnamed = fd >= 0;
        }
        if (fd < 0) {
            name = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
            fd = mkostemp(name.data(), O_CLOEXEC);
        }
    }
    if (fd < 0) return failed;

    bool ok = fchmod(fd, mode) == 0;
    ok = ok && !Fails(AtomicWriteStep::Write) && WriteAll(fd, bytes);
    // Data must be on disk before the rename makes it the file the user sees.
    ok = ok && !Fails(AtomicWriteStep::Sync) && fsync(fd) == 0;
    if (ok && unnamed) ok = !Fails(AtomicWriteStep::Link) && LinkUnnamed(fd, folder, target, name);
    ok = (::close(fd) == 0) && ok;
    ok = ok && !Fails(AtomicWriteStep::Rename) && ::rename(name.c_str(), target.c_str()) == 0;
    if (!ok) {
        if (!name.empty()) ::unlink(name.c_str());
        return failed;
    }
    // Make the rename itself durable.
    int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        ::close(dfd);
    }
    return {};
}

Status ReadWholeFile(const fs::path& path, std::string& out) {
    const Status failed{IDS_FILE_READ_FAILED, {PathText(path)}};
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return failed;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return failed;
    }
    std::string data;
    data.reserve(size_t(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return failed;
        }
        if (n == 0) break;
        data.append(buf, size_t(n));
    }
    ::close(fd);
    out = std::move(data);
    return {};
}

}  // namespace vx
