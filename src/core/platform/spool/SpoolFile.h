#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vx {

/// A new file that print data are written into, buffered: removed again unless Keep()
/// is called, so a failed or dropped job leaves nothing behind.
class SpoolFile {
public:
    SpoolFile() = default;
    ~SpoolFile() { Discard(); }
    SpoolFile(const SpoolFile&) = delete;
    SpoolFile& operator=(const SpoolFile&) = delete;

    /// Creates a file of its own (mode 0600) in folder, named from prefix, six random
    /// characters and suffix. False with errno set.
    bool Create(const std::filesystem::path& folder, const std::string& prefix, const std::string& suffix);
    /// False (errno set) when the data cannot be written; every later call fails too.
    bool Write(const uint8_t* data, size_t size);
    bool Flush();
    /// Flushes and writes through to the disk; the file stays open.
    bool Sync();
    /// Removes the file; safe to call more than once.
    void Discard();
    /// The file now has another name (or was handed over): closes it, removes nothing.
    void Keep();

    bool IsOpen() const { return mFd >= 0; }
    int Fd() const { return mFd; }
    const std::filesystem::path& Path() const { return mPath; }
    std::uint64_t Bytes() const { return mBytes; }
    /// errno of the first failed write, 0 when none failed.
    int Error() const { return mError; }

private:
    bool Fail();

    int mFd = -1;
    std::filesystem::path mPath;
    std::vector<uint8_t> mBuffer;
    std::uint64_t mBytes = 0;
    int mError = 0;
};

}  // namespace vx
