#include "imaging/FileByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vx {

FileByteSource::~FileByteSource() {
    if (mFd >= 0) ::close(mFd);
}

bool FileByteSource::Open(const std::filesystem::path& path) {
    if (mFd >= 0) ::close(mFd);
    mFd = -1;
    SetSize(0);
    mBytesRead = 0;
    mBlock.clear();
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
    if (length > kBlockBytes / 8) return ReadFile(offset, static_cast<uint8_t*>(out), length);
    if (offset < mBlockOffset || offset + length > mBlockOffset + mBlock.size()) {
        mBlock.resize(size_t(std::min<uint64_t>(kBlockBytes, Size() - offset)));
        mBlockOffset = offset;
        if (!ReadFile(offset, mBlock.data(), mBlock.size())) {
            mBlock.clear();
            return false;
        }
    }
    std::memcpy(out, mBlock.data() + (offset - mBlockOffset), length);
    return true;
}

bool FileByteSource::ReadFile(uint64_t offset, uint8_t* p, size_t length) {
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
