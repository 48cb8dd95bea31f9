#pragma once
#include <unistd.h>

namespace vx {

/// Owns a POSIX file descriptor; closed with the object unless closed before.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : mFd(fd) {}
    ~FileDescriptor() {
        if (mFd >= 0) ::close(mFd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return mFd; }
    /// Closes now and reports whether the close succeeded (a delayed write error shows here).
    bool Close() {
        const int fd = mFd;
        mFd = -1;
        return ::close(fd) == 0;
    }

private:
    int mFd;
};

}  // namespace vx
