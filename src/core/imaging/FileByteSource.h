#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "imaging/ByteSource.h"

namespace vx {

/// A regular file opened read-only, with the size it had when opened. Reads are plain
/// positioned reads; nothing is buffered, so BytesRead() is what the reader asked for.
class FileByteSource final : public ByteSource {
public:
    FileByteSource() = default;
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    /// False when the path is no readable regular file.
    bool Open(const std::filesystem::path& path);
    bool IsOpen() const { return mFd >= 0; }
    uint64_t BytesRead() const { return mBytesRead; }

private:
    bool ReadInside(uint64_t offset, void* out, size_t length) override;

    int mFd = -1;
    uint64_t mBytesRead = 0;
};

}  // namespace vx
