#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

/// Bounded reader of a TIFF-structured block held in memory (an Exif block): byte order,
/// IFDs and their entries. Every offset and length is checked against the block before
/// it is used; a value that does not fit gives nothing.
class TiffBlock {
public:
    enum Type : uint16_t { kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5,
                           kSByte = 6, kUndefined = 7, kSShort = 8, kSLong = 9,
                           kSRational = 10, kFloat = 11, kDouble = 12 };

    struct Entry {
        uint16_t tag = 0;
        uint16_t type = 0;
        uint32_t count = 0;
        uint32_t valueOffset = 0;  // where the value's bytes start in the block
        uint32_t valueBytes = 0;   // count x the type's size
    };

    TiffBlock(const uint8_t* data, size_t size);

    /// Reads the byte order ("II" little-endian, "MM" big-endian) and the offset of IFD0;
    /// false for any other start or a block shorter than the header.
    bool ReadHeader();
    uint32_t FirstIfdOffset() const { return mFirstIfd; }

    /// The entries of the IFD at `offset` whose values lie inside the block, and the
    /// offset of the next IFD (0 at the end); false when the IFD itself does not fit.
    bool ReadIfd(uint32_t offset, std::vector<Entry>& entries, uint32_t* nextIfd = nullptr) const;

    /// Values of an entry; nothing when its type does not match.
    std::optional<uint32_t> Unsigned(const Entry& e) const;  // first BYTE, SHORT or LONG
    std::optional<std::pair<uint32_t, uint32_t>> Rational(const Entry& e) const;  // first
    /// ASCII text up to its first NUL, cut to `capacity` bytes.
    std::string Text(const Entry& e, size_t capacity) const;

    uint16_t U16(uint32_t offset) const;  // callers check the bounds first
    uint32_t U32(uint32_t offset) const;

private:
    const uint8_t* mData;
    size_t mSize;
    bool mBigEndian = false;
    uint32_t mFirstIfd = 0;
};

}  // namespace vx
