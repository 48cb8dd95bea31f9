#include "platform/spool/SpoolFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vx {
namespace {

// cairo hands its output over in many small pieces.
constexpr size_t kBufferSize = size_t(1) << 20;

}  // namespace

bool SpoolFile::Create(const std::filesystem::path& folder, const std::string& prefix,
                       const std::string& suffix) {
    Discard();
    mError = 0;
    mBytes = 0;
    std::string name = (folder / (prefix + "XXXXXX" + suffix)).string();
    // mkostemps makes the file 0600 and never opens one that exists.
    const int fd = mkostemps(name.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
    if (fd < 0) return false;
    mFd = fd;
    mPath = name;
    mBuffer.reserve(kBufferSize);
    return true;
}

bool SpoolFile::Fail() {
    if (mError == 0) mError = errno ? errno : EIO;
    return false;
}

bool SpoolFile::Write(const uint8_t* data, size_t size) {
    if (mFd < 0 || mError) return false;
    mBytes += size;
    if (mBuffer.size() + size > kBufferSize && !Flush()) return false;
    if (size >= kBufferSize) {
        mBuffer.insert(mBuffer.end(), data, data + size);
        return Flush();
    }
    mBuffer.insert(mBuffer.end(), data, data + size);
    return true;
}

bool SpoolFile::Flush() {
    if (mFd < 0 || mError) return false;
    const uint8_t* p = mBuffer.data();
    size_t left = mBuffer.size();
    while (left > 0) {
        const ssize_t n = ::write(mFd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            mBuffer.clear();
            return Fail();
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    mBuffer.clear();
    return true;
}

bool SpoolFile::Sync() {
    if (!Flush()) return false;
    return ::fsync(mFd) == 0 || Fail();
}

void SpoolFile::Discard() {
    if (mFd < 0 && mPath.empty()) return;
    if (mFd >= 0) ::close(mFd);
    mFd = -1;
    if (!mPath.empty()) ::unlink(mPath.c_str());
    mPath.clear();
    mBuffer.clear();
    mBuffer.shrink_to_fit();
}

void SpoolFile::Keep() {
    if (mFd >= 0) ::close(mFd);
    mFd = -1;
    mPath.clear();
    mBuffer.clear();
    mBuffer.shrink_to_fit();
}

}  // namespace vx
