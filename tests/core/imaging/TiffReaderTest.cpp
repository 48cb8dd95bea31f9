#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "DecoderFiles.h"
#include "JpegFixtures.h"
#include "TestBuffers.h"
#include "TiffFixtures.h"
#include "imaging/TiffMemoryStream.h"
#include "imaging/TiffReader.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

using test::TiffFixture;
using Bgra = std::array<uint8_t, 4>;

class TiffFiles : public test::DecoderFiles<DecodeTiffImage> {
protected:
    using DecoderFiles::Write;
    std::filesystem::path Write(const TiffFixture& fixture, const char* name = "picture") {
        return Write(test::EncodeTiff(fixture), name);
    }
};

TiffFixture Kind(uint16_t photometric, uint16_t samples, uint16_t bits) {
    TiffFixture s;
    s.photometric = photometric;
    s.samples = samples;
    s.bits = bits;
    return s;
}

TEST_F(TiffFiles, RefusesWhatItCannotDecodeWhenDescribing) {
    struct Case {
        const char* what;
        TiffFixture fixture;
    };
    auto with = [](TiffFixture s, const std::function<void(TiffFixture&)>& change) {
        change(s);
        return s;
    };
    const TiffFixture rgb = Kind(PHOTOMETRIC_RGB, 3, 8);
    const std::vector<Case> cases = {
        {"LZW", with(rgb, [](TiffFixture& s) { s.compression = COMPRESSION_LZW; })},
        {"photometric 4 (mask)", Kind(PHOTOMETRIC_MASK, 1, 1)},
        {"5 samples", with(Kind(PHOTOMETRIC_RGB, 5, 8), [](TiffFixture& s) { s.extraSamples = {0, 0}; })},
        {"RGB with 1 sample", Kind(PHOTOMETRIC_RGB, 1, 8)},
        {"2-bit grey", Kind(PHOTOMETRIC_MINISBLACK, 1, 2)},
        {"4-bit grey", Kind(PHOTOMETRIC_MINISBLACK, 1, 4)},
        {"1-bit RGB", Kind(PHOTOMETRIC_RGB, 3, 1)},
        {"tiled", with(rgb, [](TiffFixture& s) { s.tiled = true; })},
        {"separate planes", with(rgb, [](TiffFixture& s) { s.planar = PLANARCONFIG_SEPARATE; })},
        {"YCbCr subsampled 2 x 2", with(Kind(PHOTOMETRIC_YCBCR, 3, 8), [](TiffFixture& s) { s.subsampling = {2, 2}; })},
        {"CMYK with 3 samples", Kind(PHOTOMETRIC_SEPARATED, 3, 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto path = Write(c.fixture);
        EXPECT_TRUE(OpenTiffFile(path));  // libtiff reads it; the readers refuse it
        ImageDescription d;
        d.width = 99;
        bool icc = true;
        int messageId = 0;
        EXPECT_FALSE(ReadTiffInfo(path, d, icc, &messageId));
        EXPECT_EQ(messageId, IDS_IMAGE_FORMAT_UNSUPPORTED);
        EXPECT_EQ(d.width, 99);
        EXPECT_FALSE(Decode(path));
        EXPECT_EQ(mMessageId, IDS_IMAGE_FORMAT_UNSUPPORTED);
    }
}

TEST_F(TiffFiles, DescribesSizeDepthResolutionAndProfile) {
    struct Case {
        const char* what;
        std::optional<uint16_t> unit;
        float x, y;
        uint32_t hRes, vRes;
    };
    const std::vector<Case> cases = {
        {"inches", RESUNIT_INCH, 300, 240, 300, 240},
        {"118.11 per centimetre", RESUNIT_CENTIMETER, 118.11f, 118.11f, 299, 299},
        {"no unit", std::nullopt, 300, 300, 72, 72},
        {"unit 1 (none)", RESUNIT_NONE, 300, 300, 72, 72},
        {"a zero value", RESUNIT_INCH, 300, 0, 72, 72},
        {"a value beyond 32 bits", RESUNIT_INCH, 1e12f, 300, 72, 72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TiffFixture s = Kind(PHOTOMETRIC_RGB, 4, 16);
        s.extraSamples = {EXTRASAMPLE_UNASSALPHA};
        s.width = 7;
        s.length = 5;
        s.resolutionUnit = c.unit;
        s.xResolution = c.x;
        s.yResolution = c.y;
        ImageDescription d;
        bool icc = true;
        ASSERT_TRUE(ReadTiffInfo(Write(s), d, icc));
        EXPECT_EQ(d.codecType, FourCC("tiff"));
        EXPECT_EQ(d.width, 7);
        EXPECT_EQ(d.height, 5);
        EXPECT_EQ(d.depth, 64);
        EXPECT_EQ(d.hRes, c.hRes);
        EXPECT_EQ(d.vRes, c.vRes);
        EXPECT_FALSE(icc);
    }
}

TEST_F(TiffFiles, GivesTheIccProfileUnchanged) {
    TiffFixture s = Kind(PHOTOMETRIC_RGB, 3, 8);
    for (int i = 0; i < 300; ++i) s.icc.push_back(uint8_t(i * 7 + 1));
    const auto path = Write(s);
    ImageDescription d;
    bool icc = false;
    ASSERT_TRUE(ReadTiffInfo(path, d, icc));
    EXPECT_TRUE(icc);
    std::vector<uint8_t> profile;
    ASSERT_TRUE(LoadTiffIccProfile(path, profile));
    EXPECT_EQ(profile, s.icc);

    EXPECT_FALSE(LoadTiffIccProfile(Write(Kind(PHOTOMETRIC_RGB, 3, 8), "plain.tif"), profile));
    EXPECT_TRUE(profile.empty());
}

struct PixelCase {
    const char* what;
    TiffFixture fixture;
    std::function<Bgra(int x, int y)> want;
    int tolerance = 0;
};

uint8_t Value(int x, int y, int s) { return uint8_t(x * 50 + y * 20 + s * 7 + 3); }

std::vector<uint16_t> ColourMap(int entries) {
    std::vector<uint16_t> map;
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < entries; ++i) map.push_back(uint16_t((i * 13 + c * 60) % 256 << 8 | 0x7F));
    return map;
}

PixelCase Whole(const char* what, uint16_t photometric, uint16_t samples, std::vector<uint16_t> extra,
                std::function<Bgra(int x, int y)> want) {
    TiffFixture s = Kind(photometric, samples, 8);
    s.extraSamples = std::move(extra);
    s.sample = [](int x, int y, int c) { return Value(x, y, c); };
    return {what, s, std::move(want)};
}

PixelCase Palette(const char* what, uint16_t bits) {
    TiffFixture s = Kind(PHOTOMETRIC_PALETTE, 1, bits);
    const int entries = 1 << bits;
    s.colourMap = ColourMap(entries);
    s.sample = [entries](int x, int y, int) { return uint16_t((x * 3 + y) % entries); };
    const std::vector<uint16_t> map = s.colourMap;
    return {what, s, [map, entries](int x, int y) {
                const size_t i = size_t((x * 3 + y) % entries);
                return Bgra{uint8_t(map[2 * entries + i] >> 8), uint8_t(map[entries + i] >> 8), uint8_t(map[i] >> 8), 255};
            }};
}

PixelCase Bilevel(const char* what, uint16_t photometric) {
    TiffFixture s = Kind(photometric, 1, 1);
    s.width = 11;  // rows end inside a byte
    s.sample = [](int x, int y, int) { return uint16_t((x + y) % 3 == 0); };
    const bool zeroIsWhite = photometric == PHOTOMETRIC_MINISWHITE;
    return {what, s, [zeroIsWhite](int x, int y) {
                const bool one = (x + y) % 3 == 0;
                const uint8_t g = one == zeroIsWhite ? 0 : 255;
                return Bgra{g, g, g, 255};
            }};
}

PixelCase SixteenBitRgb() {
    TiffFixture s = Kind(PHOTOMETRIC_RGB, 3, 16);
    s.sample = [](int x, int y, int c) { return uint16_t(Value(x, y, c) << 8 | 0xC3); };
    return {"16-bit RGB gives the high bytes", s,
            [](int x, int y) { return Bgra{Value(x, y, 2), Value(x, y, 1), Value(x, y, 0), 255}; }};
}

PixelCase YCbCr() {
    TiffFixture s = Kind(PHOTOMETRIC_YCBCR, 3, 8);
    // Y, Cb, Cr per pixel: grey, saturated red, blue, green and dark tones.
    static const std::array<std::array<uint8_t, 3>, 4> kColours = {
        {{128, 128, 128}, {76, 85, 255}, {29, 255, 107}, {150, 44, 21}}};
    s.sample = [](int x, int y, int c) { return kColours[size_t(x + y) % 4][size_t(c)]; };
    return {"YCbCr 1 x 1", s, [](int x, int y) {
                const auto& v = kColours[size_t(x + y) % 4];
                auto clamp = [](double d) { return uint8_t(std::lround(std::fmin(255, std::fmax(0, d)))); };
                const double cb = v[1] - 128.0, cr = v[2] - 128.0;
                return Bgra{clamp(v[0] + 1.772 * cb), clamp(v[0] - 0.344136 * cb - 0.714136 * cr),
                            clamp(v[0] + 1.402 * cr), 255};
            }, 1};
}

TEST_F(TiffFiles, DecodesEveryKindTopRowFirst) {
    const std::vector<PixelCase> cases = {
        Whole("grey, min is white", PHOTOMETRIC_MINISWHITE, 1, {},
              [](int x, int y) { const uint8_t g = uint8_t(255 - Value(x, y, 0)); return Bgra{g, g, g, 255}; }),
        Whole("grey, min is black", PHOTOMETRIC_MINISBLACK, 1, {},
              [](int x, int y) { const uint8_t g = Value(x, y, 0); return Bgra{g, g, g, 255}; }),
        Whole("grey and alpha", PHOTOMETRIC_MINISBLACK, 2, {EXTRASAMPLE_UNASSALPHA},
              [](int x, int y) { const uint8_t g = Value(x, y, 0); return Bgra{g, g, g, Value(x, y, 1)}; }),
        Whole("RGB", PHOTOMETRIC_RGB, 3, {},
              [](int x, int y) { return Bgra{Value(x, y, 2), Value(x, y, 1), Value(x, y, 0), 255}; }),
        Whole("RGBA", PHOTOMETRIC_RGB, 4, {EXTRASAMPLE_ASSOCALPHA},
              [](int x, int y) { return Bgra{Value(x, y, 2), Value(x, y, 1), Value(x, y, 0), Value(x, y, 3)}; }),
        Whole("CMYK bytes as stored", PHOTOMETRIC_SEPARATED, 4, {},
              [](int x, int y) { return Bgra{Value(x, y, 0), Value(x, y, 1), Value(x, y, 2), Value(x, y, 3)}; }),
        SixteenBitRgb(),
        Palette("palette, 8 bits", 8),
        Palette("palette, 4 bits", 4),
        Palette("palette, 1 bit", 1),
        YCbCr(),
        Bilevel("1 bit, 0 is white", PHOTOMETRIC_MINISWHITE),
        Bilevel("1 bit, 0 is black", PHOTOMETRIC_MINISBLACK),
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.what);
        DibBufferPtr b = Decode(Write(c.fixture));
        ASSERT_TRUE(b) << mMessageId;
        const int w = int(c.fixture.width), h = int(c.fixture.length);
        ASSERT_EQ(DibBuffer::GetRect(b.get()), (Rect16{0, 0, int16_t(h), int16_t(w)}));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const Bgra got = test::PixelAt(b.get(), x, y);
                const Bgra want = c.want(x, y);
                for (int i = 0; i < 4; ++i)
                    EXPECT_NEAR(got[size_t(i)], want[size_t(i)], c.tolerance) << x << "," << y << " byte " << i;
            }
    }
}

TEST_F(TiffFiles, ScalesToTheTarget) {
    TiffFixture s = Kind(PHOTOMETRIC_RGB, 3, 8);
    s.sample = [](int x, int y, int c) { return Value(x, y, c); };
    Rect16 target;
    target.Set(0, 0, 2, 6);
    DibBufferPtr b = Decode(Write(s), &target);
    ASSERT_TRUE(b);
    EXPECT_EQ(DibBuffer::GetRect(b.get()), target);
}

TEST_F(TiffFiles, DamagedFilesAreUnreadable) {
    TiffFixture rgb = Kind(PHOTOMETRIC_RGB, 3, 8);  // 4 x 3, two rows per strip: 24 and 12 bytes
    TiffFixture shortStrip = rgb;
    shortStrip.rawStrips = std::vector<std::vector<uint8_t>>{std::vector<uint8_t>(24, 1), std::vector<uint8_t>(5, 1)};
    TiffFixture missingStrip = rgb;
    missingStrip.rawStrips = std::vector<std::vector<uint8_t>>{std::vector<uint8_t>(24, 1)};
    std::vector<uint8_t> badOrder = test::EncodeTiff(rgb);
    badOrder[0] = 'X';
    std::vector<uint8_t> cut = test::EncodeTiff(rgb);
    cut.resize(cut.size() / 2);
    TiffFixture oneStrip = rgb;
    oneStrip.rowsPerStrip = 3;
    std::vector<uint8_t> farStrip = test::EncodeTiff(oneStrip);
    {
        // The strip offset (tag 273, one value, little-endian) points past the end.
        auto u32 = [&](size_t at) { uint32_t v; std::memcpy(&v, farStrip.data() + at, 4); return v; };
        const size_t ifd = u32(4);
        const size_t entries = size_t(farStrip[ifd] | farStrip[ifd + 1] << 8);
        for (size_t i = 0; i < entries; ++i) {
            const size_t e = ifd + 2 + i * 12;
            if ((farStrip[e] | farStrip[e + 1] << 8) == 273) {
                const uint32_t past = 0x7FFFFFF0;
                std::memcpy(farStrip.data() + e + 8, &past, 4);
            }
        }
    }

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool describes;
    };
    const std::vector<Case> cases = {
        {"a strip shorter than its rows", test::EncodeTiff(shortStrip), true},
        {"a strip missing", test::EncodeTiff(missingStrip), true},
        {"a strip past the end of the file", farStrip, true},
        {"a broken byte order", badOrder, false},
        {"a file cut in half", cut, false},
        {"an empty file", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto path = Write(c.bytes);
        ImageDescription d;
        bool icc = false;
        int messageId = 0;
        EXPECT_EQ(ReadTiffInfo(path, d, icc, &messageId), c.describes);
        if (!c.describes) {
            EXPECT_EQ(messageId, IDS_FILE_NOT_READABLE);
        }
        EXPECT_FALSE(Decode(path));
        EXPECT_EQ(mMessageId, IDS_FILE_NOT_READABLE);
        EXPECT_FALSE(DecodeTiffFromMemory(c.bytes.data(), c.bytes.size()));
    }
    EXPECT_FALSE(Decode(mRoot.Path() / "missing.tif"));
    EXPECT_EQ(mMessageId, IDS_FILE_NOT_READABLE);
}

TEST(TiffMemoryStream, ReadsOnlyWhatIsThereAndNeverGrowsTheCallersBlock) {
    std::vector<uint8_t> block(100);
    for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(i);
    TiffMemoryStream s = TiffMemoryStream::ForReading(block.data(), block.size());
    uint8_t out[10] = {};
    EXPECT_EQ(s.Seek(95, SEEK_SET), 95);
    EXPECT_EQ(s.Read(out, 10), 0);
    EXPECT_EQ(s.Position(), 95);
    EXPECT_EQ(s.Read(out, 5), 5);
    EXPECT_EQ(out[4], 99);

    EXPECT_EQ(s.Seek(50, SEEK_END), 150);  // only the position moves
    EXPECT_EQ(s.Size(), 100);
    EXPECT_EQ(s.Data(), block.data());
    EXPECT_EQ(s.Read(out, 1), 0);
    EXPECT_EQ(s.Write(out, 1), -1);
    EXPECT_EQ(s.Seek(-10, SEEK_CUR), 140);
    EXPECT_EQ(s.Seek(-1, SEEK_SET), -1);
    EXPECT_EQ(s.Seek(-101, SEEK_END), -1);
    EXPECT_EQ(s.Position(), 140);
}

TEST(TiffMemoryStream, WritingPastTheEndFillsTheGap) {
    TiffMemoryStream s = TiffMemoryStream::ForWriting();
    const uint8_t bytes[3] = {7, 8, 9};
    EXPECT_EQ(s.Seek(4, SEEK_SET), 4);
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.Write(bytes, 3), 3);
    EXPECT_EQ(s.Position(), 7);
    EXPECT_EQ(s.TakeBlock(), (std::vector<uint8_t>{0, 0, 0, 0, 7, 8, 9}));
}

TEST(TiffMemoryStream, LibtiffWritesReadsAndAppendsThroughIt) {
    TiffFixture fixture = Kind(PHOTOMETRIC_RGB, 3, 8);
    fixture.sample = [](int x, int y, int c) { return Value(x, y, c); };
    TiffMemoryStream w = TiffMemoryStream::ForWriting();
    {
        TiffFile t = OpenTiffFromMemory(w);
        ASSERT_TRUE(t);
        ASSERT_TRUE(test::detail::WriteTiff(t.get(), fixture));
    }
    std::vector<uint8_t> written = w.TakeBlock();
    DibBufferPtr b = DecodeTiffFromMemory(written.data(), written.size());
    ASSERT_TRUE(b);
    EXPECT_EQ(test::PixelAt(b.get(), 3, 2), (Bgra{Value(3, 2, 2), Value(3, 2, 1), Value(3, 2, 0), 255}));

    TiffMemoryStream a = TiffMemoryStream::ForAppending(written);
    {
        TiffFile t = OpenTiffFromMemory(a);
        ASSERT_TRUE(t);
        ASSERT_TRUE(test::detail::WriteTiff(t.get(), Kind(PHOTOMETRIC_MINISBLACK, 1, 8)));
    }
    std::vector<uint8_t> appended = a.TakeBlock();
    TiffMemoryStream r = TiffMemoryStream::ForReading(appended.data(), appended.size());
    TiffFile t = OpenTiffFromMemory(r);
    ASSERT_TRUE(t);
    EXPECT_EQ(TIFFNumberOfDirectories(t.get()), 2);
    int messageId = 0;
    DibBufferPtr first = DecodeTiff(t.get(), messageId);
    ASSERT_TRUE(first);
    EXPECT_EQ(test::AllPixels(first.get()), test::AllPixels(b.get()));
}

}  // namespace
}  // namespace vx
