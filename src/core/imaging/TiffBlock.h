#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vx {

class ByteSource;

/// Bounded walker over a TIFF-structured block (an Exif block, a TIFF file): byte order,
/// IFDs, their entries and typed values. Every offset, count and value length is checked
/// against the source before it is used; each IFD is read at most once, so offsets that
/// point back cannot loop; an entry count is capped by the bytes that follow it. Values
/// are read by their declared type: a value of another type gives nothing.
class TiffBlock {
public:
    enum Type : uint16_t { kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5,
                           kSByte = 6, kUndefined = 7, kSShort = 8, kSLong = 9,
                           kSRational = 10, kFloat = 11, kDouble = 12, kIfd = 13 };

    struct Entry {
        uint16_t tag = 0;
        uint16_t type = 0;
        uint32_t count = 0;
        uint64_t valueOffset = 0;      // where the value's bytes start in the block
        uint32_t valueBytes = 0;       // count x the type's size
        std::array<uint8_t, 4> field{};  // the entry's value field as it stands
    };

    /// The source must outlive the walker.
    explicit TiffBlock(ByteSource& source);
    TiffBlock(const TiffBlock&) = delete;
    TiffBlock& operator=(const TiffBlock&) = delete;

    /// Reads the byte order ("II" little-endian, "MM" big-endian) and the offset of IFD0;
    /// false for any other start or a block shorter than the header.
    bool ReadHeader();
    uint32_t FirstIfdOffset() const { return mFirstIfd; }
    uint64_t Size() const { return mSize; }

    /// The entries of the IFD at `offset` whose values lie inside the block, and the
    /// offset of the next IFD (0 at the end, or when the entries ran past the block).
    /// False when the IFD was read before or its entry count does not fit.
    bool ReadIfd(uint32_t offset, std::vector<Entry>& entries, uint32_t* nextIfd = nullptr);

    /// The first value of an entry of the named types; nothing for any other type.
    std::optional<uint16_t> Short(const Entry& e) const;
    std::optional<uint32_t> Unsigned(const Entry& e) const;  // SHORT or LONG
    /// An offset: SHORT, LONG, or IFD as libtiff writes the Exif IFD link.
    std::optional<uint32_t> Offset(const Entry& e) const;
    std::optional<std::pair<uint32_t, uint32_t>> Rational(const Entry& e) const;
    std::optional<std::pair<int32_t, int32_t>> SRational(const Entry& e) const;
    /// ASCII text up to its first NUL as UTF-8 (bytes that are not UTF-8 are taken as
    /// Latin-1), cut to `maxChars` characters; empty for any other type.
    std::string Text(const Entry& e, size_t maxChars) const;
    /// The first `length` bytes of an UNDEFINED or BYTE value; false when it is shorter
    /// or of another type.
    bool Bytes(const Entry& e, uint8_t* out, size_t length) const;

    /// Raw bytes of the block, checked like everything else.
    bool ReadAt(uint64_t offset, void* out, size_t length) const;

private:
    uint16_t U16(const uint8_t* p) const;
    uint32_t U32(const uint8_t* p) const;
    /// The first `length` bytes of an entry's value (from its field when it fits there).
    bool Value(const Entry& e, uint8_t* out, size_t length) const;

    ByteSource* mSource;
    uint64_t mSize;
    bool mBigEndian = false;
    uint32_t mFirstIfd = 0;
    std::vector<uint32_t> mVisited;
};

}  // namespace vx
