#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vx {

/// The header of a packed device-independent bitmap (a 12-byte core header, or an
/// info header of 40, 108 or 124 bytes and whatever longer ones add), with where its
/// colour table and pixels lie. Offsets count from the header's first byte.
struct PackedDibHeader {
    static constexpr uint32_t kCoreBytes = 12;
    static constexpr uint32_t kInfoBytes = 40;
    static constexpr uint32_t kV4Bytes = 108;
    static constexpr uint32_t kV5Bytes = 124;
    static constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

    uint32_t headerSize = 0;
    bool core = false;
    int32_t width = 0;
    int32_t height = 0;   // always positive
    bool topDown = false; // a negative stored height
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint64_t colourEntries = 0;    // clrUsed, else 2^bits up to 8 bits
    uint64_t colourTableBytes = 0; // entries × 4 (× 3 for core), or 12 for info-header masks
    uint64_t profileBytes = 0;     // version-5 headers: the embedded profile before the pixels
    uint32_t masks[3] = {0, 0, 0}; // red, green, blue of bit-field pictures
    uint32_t alphaMask = 0;

    uint64_t PixelOffset() const { return headerSize + colourTableBytes + profileBytes; }
    /// Bytes of one stored row, padded to 4.
    uint64_t RowBytes() const { return (uint64_t(bitCount) * uint64_t(width) + 31) / 32 * 4; }
};

/// Reads the header fields from the available bytes: the first 12 or 40 must be there;
/// masks and the profile size are read when available reaches them (a caller that
/// uses them checks that the whole header is there). Nullopt for header sizes below 40
/// other than 12. Neither sizes nor formats are judged here.
std::optional<PackedDibHeader> ReadPackedDibHeader(const uint8_t* dib, size_t available);

}  // namespace vx
