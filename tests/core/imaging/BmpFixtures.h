#pragma once
// Windows bitmap files written byte by byte for the tests.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace vx::test {

struct BmpFixture {
    int width = 5;
    int height = 3;  // negative: stored top-down
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    bool coreHeader = false;
    /// Of an info header: its fields up to this size (zeros past 40 bytes).
    uint32_t infoHeaderSize = 40;
    uint16_t planes = 1;
    int32_t pixelsPerMetre = 2834;
    /// Entries as R, G, B; written B, G, R (and 0 after an info header).
    std::vector<std::array<uint8_t, 3>> palette;
    uint32_t coloursUsed = 0;  // 0: the palette's size when there is one
    /// Red, green and blue masks of bit-field files (compression 3), behind the header.
    std::vector<uint32_t> bitMasks;
    /// Bytes between the palette and the pixels; the file header's offset skips them.
    uint32_t gap = 0;
    /// The stored pixel data: rows with their padding, or a run-length stream.
    std::vector<uint8_t> pixels;
};

inline void PutLe(std::vector<uint8_t>& v, uint32_t x, int bytes) {
    for (int i = 0; i < bytes; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

inline std::vector<uint8_t> EncodeBmp(const BmpFixture& s) {
    const uint32_t headerSize = s.coreHeader ? 12 : s.infoHeaderSize;
    const uint32_t entryBytes = s.coreHeader ? 3 : 4;
    const uint32_t paletteBytes = uint32_t(s.palette.size()) * entryBytes + uint32_t(s.bitMasks.size()) * 4;
    const uint32_t offset = 14 + headerSize + paletteBytes + s.gap;
    std::vector<uint8_t> out = {'B', 'M'};
    PutLe(out, offset + uint32_t(s.pixels.size()), 4);
    PutLe(out, 0, 4);
    PutLe(out, offset, 4);
    PutLe(out, headerSize, 4);
    if (s.coreHeader) {
        PutLe(out, uint32_t(s.width), 2);
        PutLe(out, uint32_t(s.height), 2);
        PutLe(out, s.planes, 2);
        PutLe(out, s.bitCount, 2);
    } else {
        PutLe(out, uint32_t(s.width), 4);
        PutLe(out, uint32_t(s.height), 4);
        PutLe(out, s.planes, 2);
        PutLe(out, s.bitCount, 2);
        PutLe(out, s.compression, 4);
        PutLe(out, uint32_t(s.pixels.size()), 4);
        PutLe(out, uint32_t(s.pixelsPerMetre), 4);
        PutLe(out, uint32_t(s.pixelsPerMetre), 4);
        PutLe(out, s.coloursUsed ? s.coloursUsed : uint32_t(s.palette.size()), 4);
        PutLe(out, 0, 4);
        out.resize(14 + size_t(headerSize), 0);
    }
    for (uint32_t mask : s.bitMasks) PutLe(out, mask, 4);
    for (const auto& e : s.palette) {
        out.insert(out.end(), {e[2], e[1], e[0]});
        if (!s.coreHeader) out.push_back(0);
    }
    out.insert(out.end(), s.gap, 0xEE);
    out.insert(out.end(), s.pixels.begin(), s.pixels.end());
    return out;
}

/// Stored rows of width x height pixels, bottom row first unless topDown, each padded
/// to 32 bits; `value(x, y)` (y from the top) is the pixel's index (1, 4, 8 bits), its
/// 16-bit word, or its B,G,R(,x) bytes packed low byte first (24, 32 bits).
inline std::vector<uint8_t> StoredRows(int width, int height, int bitCount, bool topDown,
                                       const std::function<uint32_t(int x, int y)>& value) {
    const size_t rowBytes = (size_t(bitCount) * size_t(width) + 31) / 32 * 4;
    std::vector<uint8_t> out(rowBytes * size_t(height), 0);
    for (int i = 0; i < height; ++i) {
        const int y = topDown ? i : height - 1 - i;
        uint8_t* row = out.data() + size_t(i) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            if (bitCount < 8) {
                const int bit = x * bitCount;
                row[bit / 8] |= uint8_t(v << (8 - bitCount - bit % 8));
            } else {
                for (int b = 0; b < bitCount / 8; ++b) row[size_t(x) * (bitCount / 8) + b] = uint8_t(v >> (8 * b));
            }
        }
    }
    return out;
}

}  // namespace vx::test
