#include "imaging/FileByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vx {

FileByteSource::~FileByteSource() {
    if (mFd >= 0) ::close(mFd);
}

bool FileByteSource::Open(const std::filesystem::path& path) {
    if (mFd >= 0) ::close(mFd);
    mFd = -1;
    SetSize(0);
    mBytesRead = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return false;
    }
    mFd = fd;
    SetSize(uint64_t(st.st_size));
    return true;
}

bool FileByteSource::ReadInside(uint64_t offset, void* out, size_t length) {
    if (mFd < 0) return false;
    auto* p = static_cast<uint8_t*>(out);
    while (length > 0) {
        const ssize_t n = ::pread(mFd, p, length, off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // an error, or the file shrank since it was opened
        p += n;
        offset += uint64_t(n);
        length -= size_t(n);
        mBytesRead += uint64_t(n);
    }
    return true;
}

}  // namespace vx
