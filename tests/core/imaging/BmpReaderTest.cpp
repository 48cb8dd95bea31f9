#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "BmpFixtures.h"
#include "DecoderFiles.h"
#include "JpegFixtures.h"
#include "TestBuffers.h"
#include "imaging/BmpReader.h"
#include "imaging/CBitmapFileReader.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

using test::BmpFixture;
using Rgb = std::array<uint8_t, 3>;

std::vector<Rgb> Palette(int entries) {
    std::vector<Rgb> p;
    for (int i = 0; i < entries; ++i) p.push_back({uint8_t(i * 16 + 1), uint8_t(255 - i * 8), uint8_t(i * 3)});
    return p;
}

/// B,G,R,A bytes of a width x height picture, top row first.
std::vector<uint8_t> Expected(int width, int height, const std::function<Rgb(int x, int y)>& rgb) {
    std::vector<uint8_t> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb c = rgb(x, y);
            out.insert(out.end(), {c[2], c[1], c[0], 255});
        }
    return out;
}

class BmpFiles : public test::DecoderFiles<DecodeBitmapFile> {
protected:
    using DecoderFiles::Write;
    std::filesystem::path Write(const BmpFixture& fixture, const char* name = "picture") {
        return Write(test::EncodeBmp(fixture), name);
    }
};

BmpFixture Indexed(int bitCount, int width = 5, int height = 3) {
    BmpFixture s;
    s.width = width;
    s.height = height;
    s.bitCount = uint16_t(bitCount);
    s.palette = Palette(bitCount == 1 ? 2 : 16);
    s.pixels = test::StoredRows(width, height, bitCount, false,
                                [&](int x, int y) { return uint32_t(x + 2 * y) % s.palette.size(); });
    return s;
}

TEST_F(BmpFiles, ProbeAcceptsOnlyWhatTheLibraryReads) {
    struct Case {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> damage;
        int result;  // why the reader does not open
    };
    const std::vector<Case> cases = {
        {"an 8-bit file with a 40-byte header", [](std::vector<uint8_t>&) {}, kImageFileOk},
        {"no BM", [](std::vector<uint8_t>& b) { b[1] = 'A'; }, kImageFileReadFailed},
        {"two planes", [](std::vector<uint8_t>& b) { b[26] = 2; }, kImageFileNotReadable},
        {"bit fields (compression 3)", [](std::vector<uint8_t>& b) { b[30] = 3; }, kImageFileNotReadable},
        {"shorter than its headers", [](std::vector<uint8_t>& b) { b.resize(40); }, kImageFileReadFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = test::EncodeBmp(Indexed(8));
        c.damage(bytes);
        const auto path = Write(bytes);
        EXPECT_EQ(IsBitmapFile(path), c.result == kImageFileOk ? 2 : -1);
        int result = 1;
        EXPECT_EQ(OpenBitmapFileReader(path, 0, &result) != nullptr, c.result == kImageFileOk);
        EXPECT_EQ(result, c.result);
    }
    int result = 1;
    EXPECT_EQ(OpenBitmapFileReader(mRoot.Path() / "missing.bmp", 0, &result), nullptr);
    EXPECT_EQ(result, kImageFileOpenFailed);
}

struct PixelCase {
    const char* what;
    BmpFixture fixture;
    std::function<Rgb(int x, int y)> rgb;  // y from the top
};

PixelCase IndexedCase(const char* what, int bitCount) {
    BmpFixture s = Indexed(bitCount);
    const std::vector<Rgb> palette = s.palette;
    return {what, s, [palette](int x, int y) { return palette[size_t(x + 2 * y) % palette.size()]; }};
}

Rgb Colour(int x, int y) { return {uint8_t(40 * x + 10), uint8_t(80 * y + 5), uint8_t(7 * x + y)}; }

uint32_t Bgr(int x, int y) {
    const Rgb c = Colour(x, y);
    return uint32_t(c[2]) | uint32_t(c[1]) << 8 | uint32_t(c[0]) << 16;
}

PixelCase TrueColourCase(const char* what, int bitCount, bool topDown = false, uint32_t gap = 0) {
    BmpFixture s;
    s.bitCount = uint16_t(bitCount);
    s.height = topDown ? -3 : 3;
    s.gap = gap;
    s.pixels = test::StoredRows(5, 3, bitCount, topDown, [&](int x, int y) {
        return bitCount == 32 ? Bgr(x, y) | 0xAB000000u : Bgr(x, y);
    });
    return {what, s, Colour};
}

PixelCase FiveFiveFive() {
    BmpFixture s;
    s.bitCount = 16;
    auto r5 = [](int x, int) { return unsigned(x * 7 + 1); };
    auto g5 = [](int, int y) { return unsigned(y * 15); };
    auto b5 = [](int x, int) { return unsigned(31 - x); };
    s.pixels = test::StoredRows(5, 3, 16, false, [=](int x, int y) {
        return r5(x, y) << 10 | g5(x, y) << 5 | b5(x, y);
    });
    auto eight = [](unsigned v) { return uint8_t(v << 3 | v >> 2); };
    return {"16 bits as 5-5-5", s,
            [=](int x, int y) { return Rgb{eight(r5(x, y)), eight(g5(x, y)), eight(b5(x, y))}; }};
}

PixelCase CorePalette() {
    PixelCase c = IndexedCase("a core header with a three-byte palette", 8);
    c.fixture.coreHeader = true;
    c.fixture.palette = Palette(256);  // a core header always has 2^bits entries
    const std::vector<Rgb> palette = c.fixture.palette;
    c.fixture.pixels = test::StoredRows(5, 3, 8, false, [](int x, int y) { return uint32_t(x * 50 + y); });
    c.rgb = [palette](int x, int y) { return palette[size_t(x * 50 + y)]; };
    return c;
}

TEST_F(BmpFiles, DecodesEveryDepthTopRowFirst) {
    const std::vector<PixelCase> cases = {
        IndexedCase("1 bit", 1),
        IndexedCase("4 bits", 4),
        IndexedCase("8 bits", 8),
        FiveFiveFive(),
        TrueColourCase("24 bits", 24),
        TrueColourCase("32 bits as B,G,R,x", 32),
        CorePalette(),
        TrueColourCase("a top-down file", 24, true),
        TrueColourCase("a gap before the pixels", 24, false, 6),
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.what);
        DibBufferPtr b = Decode(Write(c.fixture));
        ASSERT_TRUE(b) << mMessageId;
        EXPECT_EQ(DibBuffer::GetRect(b.get()), (Rect16{0, 0, 3, 5}));
        EXPECT_EQ(test::AllPixels(b.get()), Expected(5, 3, c.rgb));
    }
}

TEST_F(BmpFiles, ReadsBandsOfRowsWithOpaqueAlpha) {
    const PixelCase c = TrueColourCase("24 bits", 24);
    std::unique_ptr<CImageFileBase> reader = OpenBitmapFileReader(Write(c.fixture));
    ASSERT_TRUE(reader);
    ImageFileInfo info;
    ASSERT_EQ(reader->GetInfo(info), kImageFileOk);
    ASSERT_EQ(reader->LoadPalette(), kImageFileOk);
    std::vector<uint8_t> rows(5 * 3 * 2, 0);
    std::vector<uint8_t> alpha(5 * 2, 0);
    ASSERT_EQ(reader->ReadRows(rows.data(), alpha.data(), 1, 2), kImageFileOk);
    for (int y = 1; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const Rgb want = Colour(x, y);
            EXPECT_EQ((Rgb{rows[size_t((y - 1) * 15 + x * 3)], rows[size_t((y - 1) * 15 + x * 3 + 1)],
                           rows[size_t((y - 1) * 15 + x * 3 + 2)]}),
                      want);
        }
    EXPECT_EQ(alpha, std::vector<uint8_t>(10, 255));
    EXPECT_EQ(reader->ReadRows(rows.data(), nullptr, 2, 2), kImageFileReadFailed);  // past the bottom
    EXPECT_EQ(reader->FreePalette(), kImageFileOk);
    EXPECT_EQ(reader->CreateBitmapFile(info), kImageFileUnsupported);
}

/// A 4 x 3 picture of 16 colours: RLE8 (compression 1) or RLE4 (2).
BmpFixture RunLength(uint32_t compression, std::vector<uint8_t> stream) {
    BmpFixture s;
    s.width = 4;
    s.bitCount = compression == 1 ? 8 : 4;
    s.compression = compression;
    s.palette = Palette(16);
    s.pixels = std::move(stream);
    return s;
}

struct RleCase {
    const char* what;
    uint32_t compression;
    std::vector<uint8_t> stream;
    /// Palette indices expected, rows from the top, 4 x 3.
    std::vector<int> indices;
};

TEST_F(BmpFiles, DecodesRunLengthPictures) {
    const std::vector<RleCase> cases = {
        {"RLE8: an early end of line leaves entry 0", 1,
         {2, 5, 0, 0, 4, 6, 0, 0, 1, 7, 0, 1},
         {7, 0, 0, 0,  6, 6, 6, 6,  5, 5, 0, 0}},
        {"RLE8: an odd absolute run keeps its padding", 1,
         {0, 3, 1, 2, 3, 0, 1, 4, 0, 0, 4, 5, 0, 0, 4, 6, 0, 1},
         {6, 6, 6, 6,  5, 5, 5, 5,  1, 2, 3, 4}},
        {"RLE8: a delta moves right and up", 1,
         {1, 7, 0, 2, 2, 1, 1, 8, 0, 1},
         {0, 0, 0, 0,  0, 0, 0, 8,  7, 0, 0, 0}},
        {"RLE8: end of bitmap stops", 1,
         {4, 3, 0, 1, 4, 9, 0, 0},
         {0, 0, 0, 0,  0, 0, 0, 0,  3, 3, 3, 3}},
        {"RLE4: runs alternate the two nibbles", 2,
         {3, 0x12, 0, 0, 4, 0x34, 0, 1},
         {0, 0, 0, 0,  3, 4, 3, 4,  1, 2, 1, 0}},
        {"RLE4: an absolute run of 3 pads its 2 bytes to 2", 2,
         {0, 3, 0x56, 0x70, 1, 0x90, 0, 1},
         {0, 0, 0, 0,  0, 0, 0, 0,  5, 6, 7, 9}},
        {"RLE4: an absolute run of 5 pads its 3 bytes to 4", 2,
         {0, 5, 0x12, 0x34, 0x50, 0, 0, 1},
         {0, 0, 0, 0,  0, 0, 0, 0,  1, 2, 3, 4}},
    };
    for (const RleCase& c : cases) {
        SCOPED_TRACE(c.what);
        const BmpFixture s = RunLength(c.compression, c.stream);
        DibBufferPtr b = Decode(Write(s));
        ASSERT_TRUE(b) << mMessageId;
        EXPECT_EQ(test::AllPixels(b.get()),
                  Expected(4, 3, [&](int x, int y) { return s.palette[size_t(c.indices[size_t(y * 4 + x)])]; }));
    }
}

TEST_F(BmpFiles, CraftedRunLengthDataIsClippedOrRefused) {
    struct Case {
        const char* what;
        uint32_t compression;
        std::vector<uint8_t> stream;
        bool decodes;
    };
    const std::vector<Case> cases = {
        {"a run past the row", 1, {200, 1, 0, 0, 255, 2, 0, 1}, true},
        {"an absolute run past the row", 1, {0, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1}, true},
        {"a delta below the picture", 1, {0, 2, 200, 200, 5, 1, 0, 1}, true},
        {"rows past the top", 1, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 1, 0, 1}, true},
        {"an absolute run past the input", 1, {0, 40, 1, 2, 3}, false},
        {"an RLE4 absolute run past the input", 2, {0, 40, 0x12}, false},
        {"a delta cut short", 1, {0, 2, 1}, false},
        {"half a pair", 1, {4}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DibBufferPtr b = Decode(Write(RunLength(c.compression, c.stream)));
        EXPECT_EQ(b != nullptr, c.decodes);
        EXPECT_EQ(mMessageId, c.decodes ? 0 : IDS_FILE_NOT_READABLE);
    }
}

TEST(BitmapResolution, ConvertsPixelsPerMetreToDotsPerInch) {
    const std::vector<std::pair<int32_t, int32_t>> cases = {
        {2834, 72}, {3780, 96}, {11811, 300}, {0, 0}, {-3780, 0}, {2147483647, 54546085}};
    for (const auto& [ppm, dpi] : cases) EXPECT_EQ(CBitmapFileReader::DotsPerInch(ppm), dpi) << ppm;
}

TEST_F(BmpFiles, DescribesTheFile) {
    BmpFixture s = Indexed(4, 7, 2);
    s.pixelsPerMetre = 3780;
    ImageDescription d;
    ASSERT_TRUE(ReadBmpInfo(Write(s), d));
    EXPECT_EQ(d.codecType, FourCC("WRLE"));
    EXPECT_EQ(d.width, 7);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.depth, 4);
    EXPECT_EQ(d.hRes, 96u);
    EXPECT_EQ(d.vRes, 96u);
    EXPECT_FALSE(d.epsImageData);

    s.pixelsPerMetre = 0;  // no resolution: 72
    ASSERT_TRUE(ReadBmpInfo(Write(s), d));
    EXPECT_EQ(d.hRes, 72u);
    EXPECT_EQ(d.vRes, 72u);
}

/// A 5 x 3 file of bit fields (compression 3) as converters write it: 16 bits 5-6-5
/// or 32 bits 8-8-8.
void BitFields(BmpFixture& s, int bitCount) {
    s.palette.clear();
    s.bitCount = uint16_t(bitCount);
    s.compression = 3;
    s.bitMasks = bitCount == 16 ? std::vector<uint32_t>{0xF800, 0x07E0, 0x001F}
                                : std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF};
    s.pixels = test::StoredRows(s.width, s.height, bitCount, false, [](int x, int y) { return uint32_t(x * 99 + y); });
}

TEST_F(BmpFiles, RefusesKindsItDoesNotReadApartFromDamagedFiles) {
    struct Case {
        const char* what;
        std::function<void(BmpFixture&)> change;
        std::function<void(std::vector<uint8_t>&)> damage;
        int messageId;  // of the information and the decoder
    };
    auto none = [](std::vector<uint8_t>&) {};
    auto keep = [](BmpFixture&) {};
    auto cut = [](size_t keep) { return [keep](std::vector<uint8_t>& b) { b.resize(keep); }; };
    const std::vector<Case> cases = {
        {"bit fields of 16 bits", [](BmpFixture& s) { BitFields(s, 16); }, none, IDS_IMAGE_FORMAT_UNSUPPORTED},
        {"bit fields of 32 bits", [](BmpFixture& s) { BitFields(s, 32); }, none, IDS_IMAGE_FORMAT_UNSUPPORTED},
        {"two planes", [](BmpFixture& s) { s.planes = 2; }, none, IDS_IMAGE_FORMAT_UNSUPPORTED},
        {"a header of 20 bytes", [](BmpFixture& s) { s.infoHeaderSize = 20; }, none, IDS_IMAGE_FORMAT_UNSUPPORTED},
        {"a core header of two planes", [](BmpFixture& s) { s.coreHeader = true; s.planes = 2; }, none,
         IDS_IMAGE_FORMAT_UNSUPPORTED},
        {"width 0", [](BmpFixture& s) { s.width = 0; }, none, IDS_IMAGE_FORMAT_UNSUPPORTED},
        {"height 0", [](BmpFixture& s) { s.height = 0; }, none, IDS_IMAGE_FORMAT_UNSUPPORTED},
        {"a side above 32767", [](BmpFixture& s) { s.width = 40000; }, none, IDS_IMAGE_FORMAT_UNSUPPORTED},
        {"2 bits per pixel", [](BmpFixture& s) { s.bitCount = 2; }, none, IDS_IMAGE_FORMAT_UNSUPPORTED},
        {"RLE8 on a 4-bit file", [](BmpFixture& s) { s.compression = 1; }, none, IDS_IMAGE_FORMAT_UNSUPPORTED},
        {"a compressed top-down file", [](BmpFixture& s) { s.compression = 2; s.height = -3; }, none,
         IDS_IMAGE_FORMAT_UNSUPPORTED},
        {"four billion colours used", [](BmpFixture& s) { s.coloursUsed = 0xFFFFFFFF; }, none,
         IDS_FILE_NOT_READABLE},
        {"a header longer than the file", keep, [](std::vector<uint8_t>& b) { b[14] = 0xF0; b[15] = 0xFF; },
         IDS_FILE_NOT_READABLE},
        {"pixels cut short", keep, [](std::vector<uint8_t>& b) { b.pop_back(); }, IDS_FILE_NOT_READABLE},
        {"a file cut inside the pixels", keep, [](std::vector<uint8_t>& b) { b.resize(b.size() - 5); },
         IDS_FILE_NOT_READABLE},
        {"a file cut inside the header", keep, cut(30), IDS_FILE_NOT_READABLE},
        {"a file cut inside the core header", [](BmpFixture& s) { s.coreHeader = true; }, cut(20),
         IDS_FILE_NOT_READABLE},
        {"a file cut inside the file header", keep, cut(10), IDS_FILE_NOT_READABLE},
        {"an empty file", keep, cut(0), IDS_FILE_NOT_READABLE},
        {"no BM", keep, [](std::vector<uint8_t>& b) { b[0] = 'X'; }, IDS_FILE_NOT_READABLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BmpFixture s = Indexed(4);
        c.change(s);
        std::vector<uint8_t> bytes = test::EncodeBmp(s);
        c.damage(bytes);
        const auto path = Write(bytes);
        ImageDescription d;
        d.width = 99;
        int messageId = 0;
        EXPECT_FALSE(ReadBmpInfo(path, d, &messageId));
        EXPECT_EQ(messageId, c.messageId);
        EXPECT_EQ(d.width, 99);  // untouched
        EXPECT_FALSE(Decode(path));
        EXPECT_EQ(mMessageId, c.messageId);
    }
    int messageId = 0;
    ImageDescription d;
    EXPECT_FALSE(ReadBmpInfo(mRoot.Path() / "missing.bmp", d, &messageId));
    EXPECT_EQ(messageId, IDS_FILE_NOT_READABLE);
    EXPECT_FALSE(Decode(mRoot.Path() / "missing.bmp"));
    EXPECT_EQ(mMessageId, IDS_FILE_NOT_READABLE);
}

TEST_F(BmpFiles, ScalesToTheTarget) {
    const auto path = Write(TrueColourCase("24 bits", 24).fixture);
    Rect16 target;
    target.Set(0, 0, 10, 6);
    DibBufferPtr b = Decode(path, &target);
    ASSERT_TRUE(b);
    EXPECT_EQ(DibBuffer::GetRect(b.get()), target);
    const Rgb c = Colour(2, 1);
    EXPECT_EQ(test::PixelAt(b.get(), 4, 2), (std::array<uint8_t, 4>{c[2], c[1], c[0], 255}));
}

}  // namespace
}  // namespace vx
