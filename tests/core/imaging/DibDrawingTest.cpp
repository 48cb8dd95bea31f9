#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "TestBuffers.h"
#include "imaging/DibDrawing.h"
#include "imaging/PackedDib.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"

namespace vx {
namespace {

void Put16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
    v[at] = uint8_t(x);
    v[at + 1] = uint8_t(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + size_t(i)] = uint8_t(x >> (8 * i));
}

/// A packed DIB: header of headerSize bytes, then table bytes, then profile bytes (v5),
/// then rows (bottom-up unless height is negative).
struct DibMaker {
    uint32_t headerSize = 40;
    int32_t width = 2;
    int32_t height = 2;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t clrUsed = 0;
    std::vector<uint8_t> table;   // colour table or masks as stored after the header
    uint32_t profileSize = 0;
    std::vector<uint32_t> inHeaderMasks;  // r, g, b, a inside a v4/v5 header

    std::vector<uint8_t> Header() const {
        std::vector<uint8_t> v(headerSize, 0);
        Put32(v, 0, headerSize);
        if (headerSize == 12) {
            Put16(v, 4, uint16_t(width));
            Put16(v, 6, uint16_t(height));
            Put16(v, 8, 1);
            Put16(v, 10, bitCount);
            return v;
        }
        Put32(v, 4, uint32_t(width));
        Put32(v, 8, uint32_t(height));
        Put16(v, 12, 1);
        Put16(v, 14, bitCount);
        Put32(v, 16, compression);
        Put32(v, 32, clrUsed);
        for (size_t i = 0; i < inHeaderMasks.size(); ++i) Put32(v, 40 + i * 4, inHeaderMasks[i]);
        if (headerSize >= 124) Put32(v, 112, profileSize);
        return v;
    }
    /// rows top row first, each already padded.
    std::vector<uint8_t> Build(const std::vector<std::vector<uint8_t>>& rowsTopFirst) const {
        std::vector<uint8_t> v = Header();
        v.insert(v.end(), table.begin(), table.end());
        v.insert(v.end(), profileSize, 0xEE);
        const bool topDown = height < 0;
        for (size_t i = 0; i < rowsTopFirst.size(); ++i) {
            const auto& row = rowsTopFirst[topDown ? i : rowsTopFirst.size() - 1 - i];
            v.insert(v.end(), row.begin(), row.end());
        }
        return v;
    }
};

TEST(PackedDibHeader, FindsThePixelsBehindHeaderTableAndProfile) {
    struct Case {
        const char* name;
        DibMaker dib;
        uint64_t tableBytes;
        uint64_t pixelOffset;
    };
    DibMaker bitfields40;
    bitfields40.bitCount = 32;
    bitfields40.compression = 3;
    DibMaker bitfields108 = bitfields40;
    bitfields108.headerSize = 108;
    DibMaker eightBit;
    eightBit.bitCount = 8;
    DibMaker eightBitUsed = eightBit;
    eightBitUsed.clrUsed = 16;
    DibMaker core;
    core.headerSize = 12;
    core.bitCount = 8;
    DibMaker core24 = core;
    core24.bitCount = 24;
    DibMaker v5;
    v5.headerSize = 124;
    v5.bitCount = 4;
    v5.profileSize = 300;
    DibMaker truecolour;
    truecolour.clrUsed = 0;
    for (const Case& c : {Case{"40 bit fields", bitfields40, 12, 52}, Case{"108 bit fields", bitfields108, 0, 108},
                          Case{"8 bit", eightBit, 1024, 1064}, Case{"8 bit, 16 used", eightBitUsed, 64, 104},
                          Case{"core 8 bit", core, 768, 780}, Case{"core 24 bit", core24, 0, 12},
                          Case{"v5 with profile", v5, 64, 124 + 64 + 300}, Case{"24 bit", truecolour, 0, 40}}) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> h = c.dib.Header();
        std::vector<uint8_t> withMasks = h;
        withMasks.resize(h.size() + 16, 0);
        auto parsed = ReadPackedDibHeader(withMasks.data(), withMasks.size());
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->colourTableBytes, c.tableBytes);
        EXPECT_EQ(parsed->PixelOffset(), c.pixelOffset);
    }
    const uint8_t tooShort[4] = {40, 0, 0, 0};
    EXPECT_FALSE(ReadPackedDibHeader(tooShort, 4));
    const uint8_t oddSize[40] = {20};
    EXPECT_FALSE(ReadPackedDibHeader(oddSize, 40));
}

struct Canvas8 {
    gfx::ImageSurface surface{8, 8};
    gfx::Canvas canvas{surface.Native(), gfx::kScreenPixelsPerInch};
    Canvas8() { canvas.Clear({1, 1, 1, 1}); }
    uint32_t At(int x, int y) const { return surface.Pixel(x, y) & 0xFFFFFF; }  // RGB
};

// Each format draws the same 2 × 2 picture: top row red, blue; bottom row green, white.
TEST(DrawDibGdiplus, DrawsEveryUncompressedFormatTheRightWayUp) {
    struct Case {
        const char* name;
        DibMaker dib;
        std::vector<std::vector<uint8_t>> rows;
    };
    std::vector<Case> cases;
    {
        DibMaker d;
        d.bitCount = 24;
        cases.push_back({"24 bit", d, {{0, 0, 255, 255, 0, 0, 0, 0}, {0, 255, 0, 255, 255, 255, 0, 0}}});
        d.height = -2;
        cases.push_back({"24 bit top-down", d, {{0, 0, 255, 255, 0, 0, 0, 0}, {0, 255, 0, 255, 255, 255, 0, 0}}});
    }
    {
        DibMaker d;
        d.bitCount = 32;
        cases.push_back({"32 bit", d, {{0, 0, 255, 0, 255, 0, 0, 0}, {0, 255, 0, 0, 255, 255, 255, 0}}});
    }
    {
        DibMaker d;
        d.bitCount = 8;
        d.clrUsed = 4;
        d.table = {0, 0, 255, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0};
        cases.push_back({"8 bit", d, {{0, 1, 0, 0}, {2, 3, 0, 0}}});
        d.bitCount = 4;
        cases.push_back({"4 bit", d, {{0x01, 0, 0, 0}, {0x23, 0, 0, 0}}});
        DibMaker c;
        c.headerSize = 12;
        c.bitCount = 1;
        c.table = {0, 0, 255, 255, 0, 0};  // two 3-byte entries: red, blue
        cases.push_back({"core 1 bit", c, {{0x40, 0, 0, 0}, {0x40, 0, 0, 0}}});
    }
    {
        DibMaker d;
        d.bitCount = 16;  // 5-5-5
        cases.push_back({"16 bit", d, {{0x00, 0x7C, 0x1F, 0x00}, {0xE0, 0x03, 0xFF, 0x7F}}});
        d.compression = 3;  // 5-6-5 masks after a 40-byte header
        d.table = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
        cases.push_back({"16 bit fields", d, {{0x00, 0xF8, 0x1F, 0x00}, {0xE0, 0x07, 0xFF, 0xFF}}});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> bytes = c.dib.Build(c.rows);
        Canvas8 t;
        ASSERT_EQ(DrawDibGdiplus(t.canvas, {0, 0, 2, 2}, {0, 0, 4, 4}, bytes.data(), bytes.size(), gfx::Filter::Nearest), 1);
        const bool oneBit = c.dib.bitCount == 1;
        EXPECT_EQ(t.At(0, 0), 0xFF0000u);
        EXPECT_EQ(t.At(3, 0), 0x0000FFu);
        EXPECT_EQ(t.At(0, 3), oneBit ? 0xFF0000u : 0x00FF00u);
        EXPECT_EQ(t.At(3, 3), oneBit ? 0x0000FFu : 0xFFFFFFu);
        EXPECT_EQ(t.At(5, 5), 0xFFFFFFu);  // outside the destination
    }
}

TEST(DrawDibGdiplus, RefusesRunLengthAndShortData) {
    DibMaker rle;
    rle.bitCount = 8;
    rle.compression = 1;
    std::vector<uint8_t> bytes = rle.Build({{0, 0, 0, 0}, {0, 0, 0, 0}});
    Canvas8 t;
    EXPECT_EQ(DrawDibGdiplus(t.canvas, {0, 0, 2, 2}, {0, 0, 2, 2}, bytes.data(), bytes.size(), gfx::Filter::Nearest), 0);
    DibMaker plain;
    bytes = plain.Build({{0, 0, 255, 0, 0, 255, 0, 0}, {0, 0, 255, 0, 0, 255, 0, 0}});
    EXPECT_EQ(DrawDibGdiplus(t.canvas, {0, 0, 2, 2}, {0, 0, 2, 2}, bytes.data(), bytes.size() - 1, gfx::Filter::Nearest), 0);
    EXPECT_EQ(DrawDibGdiplus(t.canvas, {0, 0, 2, 2}, {0, 0, 2, 2}, nullptr, 0, gfx::Filter::Nearest), 0);
    EXPECT_EQ(t.At(0, 0), 0xFFFFFFu);
}

TEST(DrawImageBufferGdiplus, DrawsALargeBufferInOnePiece) {
    for (auto [w, h] : {std::pair{5000, 4000}, std::pair{4000, 4000}}) {
        DibBufferPtr buffer = test::MakeBuffer(w, h);
        ASSERT_TRUE(buffer);
        gfx::ImageSurface surface(50, 40);
        gfx::Canvas canvas(surface.Native(), gfx::kScreenPixelsPerInch);
        std::vector<std::string> trace;
        canvas.SetTrace(&trace);
        EXPECT_EQ(DrawImageBufferGdiplus(buffer.get(), canvas, {0, 0, 50, 40}, gfx::Filter::Nearest), 1);
        EXPECT_EQ(trace.size(), 1u);
    }
    gfx::ImageSurface surface(4, 4);
    gfx::Canvas canvas(surface.Native(), gfx::kScreenPixelsPerInch);
    EXPECT_EQ(DrawImageBufferGdiplus(nullptr, canvas, {0, 0, 4, 4}, gfx::Filter::Nearest), 0);
}

TEST(DrawImageBufferGdiplus, WrapsOpaqueBuffersAndShowsTheSourceRectangle) {
    DibBufferPtr buffer = test::MakeBuffer(4, 4);
    uint8_t* p = DibBuffer::GetBits(buffer.get());
    for (int i = 0; i < 16; ++i) {
        p[i * 4 + 3] = 255;
        p[i * 4 + 2] = i == 5 ? 255 : 0;  // (1, 1) red, the rest black
    }
    Canvas8 t;
    EXPECT_EQ(DrawImageBufferGdiplus(t.canvas, {1, 1, 2, 2}, {0, 0, 8, 8}, buffer.get(), gfx::Filter::Nearest), 1);
    EXPECT_EQ(t.At(3, 3), 0xFF0000u);
    EXPECT_EQ(t.At(7, 7), 0xFF0000u);
}

TEST(DrawRotatedDib, ShowsItsOwnPartWhenCutOnTheLeft) {
    // A 4 × 2 picture: left half red, right half blue, drawn into (0, 0, 8, 4) but
    // clipped to its right half: the right half must show blue, not the picture's start.
    DibBufferPtr buffer = test::MakeBuffer(4, 2);
    uint8_t* p = DibBuffer::GetBits(buffer.get());
    for (int i = 0; i < 8; ++i) {
        p[i * 4 + 3] = 255;
        (i % 4 < 2 ? p[i * 4 + 2] : p[i * 4 + 0]) = 255;
    }
    Canvas8 t;
    bool failed = false;
    EXPECT_EQ(DrawRotatedDib(t.canvas, {0, 0, 8, 4}, {4, 0, 8, 4}, 0, DibBuffer::GetHeader(buffer.get()),
                             DibBuffer::GetBits(buffer.get()), gfx::Filter::Nearest, &failed), 1);
    EXPECT_FALSE(failed);
    EXPECT_EQ(t.At(5, 1), 0x0000FFu);
    EXPECT_EQ(t.At(1, 1), 0xFFFFFFu);  // clipped away
    // Half a turn about the clip's centre (6, 2): the blue half lands on the left of it.
    Canvas8 u;
    DrawRotatedDib(u.canvas, {4, 0, 8, 4}, {4, 0, 8, 4}, 180, DibBuffer::GetHeader(buffer.get()),
                   DibBuffer::GetBits(buffer.get()), gfx::Filter::Nearest, &failed);
    EXPECT_EQ(u.At(4, 1), 0x0000FFu);
    EXPECT_EQ(u.At(7, 1), 0xFF0000u);
    EXPECT_EQ(DrawRotatedDib(u.canvas, {0, 0, 8, 4}, {0, 0, 8, 4}, 0, nullptr, nullptr, gfx::Filter::Nearest, &failed), 1);
}

}  // namespace
}  // namespace vx
