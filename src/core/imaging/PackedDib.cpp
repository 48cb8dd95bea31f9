#include "imaging/PackedDib.h"

namespace vx {
namespace {
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }
}  // namespace

std::optional<PackedDibHeader> ReadPackedDibHeader(const uint8_t* dib, size_t available) {
    if (!dib || available < 4) return std::nullopt;
    PackedDibHeader h;
    h.headerSize = U32(dib);
    h.core = h.headerSize == PackedDibHeader::kCoreBytes;
    if (!h.core && h.headerSize < PackedDibHeader::kInfoBytes) return std::nullopt;
    // Fields past the first 40 bytes are read only when the header has them.
    if (available < (h.core ? PackedDibHeader::kCoreBytes : PackedDibHeader::kInfoBytes)) return std::nullopt;
    int64_t height = 0;
    if (h.core) {
        h.width = U16(dib + 4);
        height = U16(dib + 6);
        h.planes = U16(dib + 8);
        h.bitCount = U16(dib + 10);
        // A core header's table has 2 to the bit count entries in 16 bits.
        h.colourEntries = h.bitCount <= 8 ? (1u << h.bitCount) & 0xFFFF : 0;
        h.colourTableBytes = h.colourEntries * 3;
    } else {
        h.width = int32_t(U32(dib + 4));
        height = int32_t(U32(dib + 8));
        h.planes = U16(dib + 12);
        h.bitCount = U16(dib + 14);
        h.compression = U32(dib + 16);
        h.xPelsPerMeter = int32_t(U32(dib + 24));
        h.yPelsPerMeter = int32_t(U32(dib + 28));
        const uint32_t used = U32(dib + 32);
        h.colourEntries = used != 0 ? used : h.bitCount <= 8 ? (1u << h.bitCount) : 0;
        const bool maskBytes = h.compression == PackedDibHeader::kBitFields && h.headerSize < PackedDibHeader::kV4Bytes;
        h.colourTableBytes = maskBytes ? 12 : h.colourEntries * 4;
        if (h.compression == PackedDibHeader::kBitFields) {
            // The masks follow a 40-byte header, or are part of a longer one.
            const uint8_t* m = dib + PackedDibHeader::kInfoBytes;
            if (available >= PackedDibHeader::kInfoBytes + 12) {
                h.masks[0] = U32(m);
                h.masks[1] = U32(m + 4);
                h.masks[2] = U32(m + 8);
            }
            if (h.headerSize >= PackedDibHeader::kV4Bytes && available >= PackedDibHeader::kInfoBytes + 16)
                h.alphaMask = U32(m + 12);
        }
        if (h.headerSize >= PackedDibHeader::kV5Bytes && available >= PackedDibHeader::kV5Bytes)
            h.profileBytes = U32(dib + 112);
    }
    h.topDown = height < 0;
    h.height = int32_t(height < 0 ? -height : height);
    return h;
}

}  // namespace vx
