#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/TiffHandle.h"

namespace vx {

/// A file in memory for libtiff. Mode 'r' reads the caller's bytes, which must outlive
/// the stream and are never written or grown; 'w' writes into a block of its own that
/// starts empty; 'a' reads and updates a block of its own that starts with the given
/// bytes. Positions past the end read nothing; a write there fills the gap with zeros.
class TiffMemoryStream {
public:
    static TiffMemoryStream ForReading(const uint8_t* data, size_t size);
    static TiffMemoryStream ForWriting();
    static TiffMemoryStream ForAppending(std::vector<uint8_t> bytes);
    TiffMemoryStream(const TiffMemoryStream&) = delete;
    TiffMemoryStream& operator=(const TiffMemoryStream&) = delete;
    TiffMemoryStream(TiffMemoryStream&&) = default;  // the block's storage moves along
    TiffMemoryStream& operator=(TiffMemoryStream&&) = default;

    char Mode() const { return mMode; }
    /// n bytes from the position, or 0 when fewer than n are left (the position stays);
    /// -1 for a negative n.
    int64_t Read(void* out, int64_t n);
    /// n bytes at the position, growing the block as needed; -1 in mode 'r', for a
    /// negative n, or when memory is short.
    int64_t Write(const void* in, int64_t n);
    /// whence 0 from the start, 1 from the position, 2 from the end (SEEK_SET, SEEK_CUR,
    /// SEEK_END); the new position, or -1 when it would be negative.
    int64_t Seek(int64_t offset, int whence);
    int64_t Position() const { return mPosition; }
    int64_t Size() const { return int64_t(mSize); }
    const uint8_t* Data() const { return mData; }
    /// The block of a 'w' or 'a' stream, handed over; the stream is empty afterwards.
    std::vector<uint8_t> TakeBlock();

private:
    TiffMemoryStream(char mode, const uint8_t* data, size_t size) : mMode(mode), mData(data), mSize(size) {}

    char mMode;
    const uint8_t* mData;
    size_t mSize;
    int64_t mPosition = 0;
    std::vector<uint8_t> mBlock;  // 'w' and 'a'
};

/// libtiff over the stream in the stream's mode (under the name "FomMemory"); the stream
/// must outlive the handle. Null when libtiff refuses the contents.
TiffFile OpenTiffFromMemory(TiffMemoryStream& stream);

}  // namespace vx
