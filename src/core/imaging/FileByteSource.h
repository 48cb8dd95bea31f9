#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "imaging/ByteSource.h"

namespace vx {

/// A regular file opened read-only, with the size it had when opened. Small reads are
/// served from one block read ahead, as marker and IFD walks read a few bytes at a time;
/// larger ones go straight to the file. BytesRead() counts what was read from the file.
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
    static constexpr size_t kBlockBytes = 4096;

    bool ReadInside(uint64_t offset, void* out, size_t length) override;
    bool ReadFile(uint64_t offset, uint8_t* out, size_t length);

    int mFd = -1;
    uint64_t mBytesRead = 0;
    std::vector<uint8_t> mBlock;  // the bytes at mBlockOffset
    uint64_t mBlockOffset = 0;
};

}  // namespace vx
