#include "platform/system/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/system/Paths.h"
#include "platform/system/StringTable.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

std::atomic<AtomicWriteStep> gFailStep{AtomicWriteStep::None};

bool Fails(AtomicWriteStep step) { return gFailStep.load() == step; }

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

}  // namespace

void FailAtomicWriteStepForTests(AtomicWriteStep step) { gFailStep = step; }

Status WriteFileAtomically(const fs::path& target, std::string_view bytes) {
    const Status failed{IDS_SAVE_FAILED, {PathText(target)}};
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // Same folder as the target: rename is atomic only within one file system.
    std::string tmpl = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = Fails(AtomicWriteStep::Create) ? -1 : mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) return failed;

    struct stat old {};
    mode_t mode = (::stat(target.c_str(), &old) == 0) ? (old.st_mode & 07777) : NewFileMode();
    bool ok = fchmod(fd, mode) == 0;
    ok = ok && !Fails(AtomicWriteStep::Write) && WriteAll(fd, bytes);
    // Data must be on disk before the rename makes it the file the user sees.
    ok = ok && !Fails(AtomicWriteStep::Sync) && fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && !Fails(AtomicWriteStep::Rename) && ::rename(tmpl.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tmpl.c_str());
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
