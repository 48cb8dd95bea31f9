#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/JpegReader.h"
#include "JpegFixtures.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

using test::JpegFixture;

/// B,G,R,A of one pixel.
std::vector<int> Pixel(const DibBuffer* b, int x, int y) {
    const uint8_t* p = DibBuffer::GetBits(b) + (size_t(y) * size_t(DibBuffer::GetRect(b).Width()) + size_t(x)) * 4;
    return {p[0], p[1], p[2], p[3]};
}

void ExpectNear(const std::vector<int>& got, const std::vector<int>& want, int tolerance = 6) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], tolerance) << "byte " << i;
}

class JpegFiles : public testing::Test {
protected:
    std::filesystem::path Write(const std::vector<uint8_t>& bytes, const char* name = "picture.jpg") {
        const auto path = mRoot.Path() / name;
        test::WriteBytes(path, bytes);
        return path;
    }
    std::filesystem::path Write(const JpegFixture& fixture, const char* name = "picture.jpg") {
        return Write(test::EncodeJpeg(fixture), name);
    }
    test::TestRoot mRoot;
};

struct InfoCase {
    const char* what;
    JpegFixture fixture;
    uint32_t codec;
    uint32_t res;  // both directions
    uint16_t depth;
    bool cmyk;
};

JpegFixture Density(int unit, int x, int y) {
    JpegFixture s;
    s.densityUnit = unit;
    s.xDensity = x;
    s.yDensity = y;
    return s;
}

JpegFixture WithMarker(JpegFixture s, int marker, std::vector<uint8_t> data) {
    s.markers.emplace_back(marker, std::move(data));
    return s;
}

JpegFixture Space(J_COLOR_SPACE space) {
    JpegFixture s;
    s.space = space;
    return s;
}

TEST_F(JpegFiles, DescribesTheHeader) {
    const uint32_t jpeg = FourCC("jpeg");
    const std::vector<uint8_t> exif300 =
        test::ExifBuilder().Rational(282, 300, 1).Rational(283, 300, 1).Short(296, 2).Build(true);
    const std::vector<uint8_t> exifNoUnit =
        test::ExifBuilder().Rational(282, 240, 1).Rational(283, 240, 1).Build(true);
    const std::vector<uint8_t> exifZero =
        test::ExifBuilder().Rational(282, 300, 0).Rational(283, 300, 0).Short(296, 2).Build(true);
    const std::vector<uint8_t> xmp = test::Bytes("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>");
    const std::vector<InfoCase> cases = {
        {"118 dots per cm", Density(2, 118, 118), jpeg, 299, 24, false},
        {"300 dots per inch", Density(1, 300, 300), jpeg, 300, 24, false},
        {"density 0", Density(1, 0, 0), jpeg, 72, 24, false},
        {"aspect ratio only", Density(0, 3, 3), jpeg, 72, 24, false},
        {"Exif over JFIF", WithMarker(Density(1, 72, 72), JPEG_APP0 + 1, exif300), jpeg, 300, 24, false},
        {"Exif without unit is per inch", WithMarker(Density(0, 1, 1), JPEG_APP0 + 1, exifNoUnit), jpeg, 240, 24, false},
        {"Exif of 0 falls back to JFIF", WithMarker(Density(1, 200, 200), JPEG_APP0 + 1, exifZero), jpeg, 200, 24, false},
        {"XMP is not Exif", WithMarker(Density(1, 300, 300), JPEG_APP0 + 1, xmp), jpeg, 300, 24, false},
        {"grey", Space(JCS_GRAYSCALE), jpeg, 72, 8, false},
        {"CMYK", Space(JCS_CMYK), jpeg, 72, 32, true},
        {"EFF", WithMarker(JpegFixture{}, JPEG_APP0 + 5, test::Bytes(std::string_view("EFFHEAD\0rest", 12))),
         FourCC("EFF "), 72, 24, false},
        {"EFFHEAD without its NUL", WithMarker(JpegFixture{}, JPEG_APP0 + 5, test::Bytes("EFFHEADX")), jpeg, 72, 24, false},
    };
    for (const InfoCase& c : cases) {
        SCOPED_TRACE(c.what);
        JpegFixture fixture = c.fixture;
        fixture.width = 24;
        fixture.height = 10;
        JpegFileInfo info;
        ASSERT_TRUE(ReadJpegInfo(Write(fixture), info));
        EXPECT_EQ(FourCCText(info.description.codecType), FourCCText(c.codec));
        EXPECT_EQ(info.description.width, 24);
        EXPECT_EQ(info.description.height, 10);
        EXPECT_EQ(info.description.hRes, c.res);
        EXPECT_EQ(info.description.vRes, c.res);
        EXPECT_EQ(info.description.depth, c.depth);
        EXPECT_EQ(info.cmyk, c.cmyk);
        EXPECT_FALSE(info.hasIccProfile);
    }
}

TEST_F(JpegFiles, FillsTheExifRecordFromTheFirstExifMarker) {
    const std::vector<uint8_t> xmp = test::Bytes("http://ns.adobe.com/xap/1.0/");
    const std::vector<uint8_t> exif = test::ExifBuilder(true).Ascii(271, "Kamerawerk").Ascii(272, "KW-9").Build(true);
    JpegFixture fixture = WithMarker(WithMarker(JpegFixture{}, JPEG_APP0 + 1, xmp), JPEG_APP0 + 1, exif);
    JpegFileInfo info;
    ASSERT_TRUE(ReadJpegInfo(Write(fixture), info));
    EXPECT_EQ(info.exif.presence, ExifRecord::kExifIfd);
    EXPECT_EQ(info.exif.maker, "Kamerawerk");
    EXPECT_EQ(info.exif.model, "KW-9");

    ASSERT_TRUE(ReadJpegInfo(Write(JpegFixture{}), info));
    EXPECT_EQ(info.exif.presence, 0u) << "no Exif marker, no Exif record";
}

TEST_F(JpegFiles, RefusesWhatIsNoReadableJpeg) {
    std::vector<uint8_t> cut = test::EncodeJpeg(JpegFixture{});
    cut.resize(30);  // inside the header
    std::vector<uint8_t> wide = test::EncodeJpeg(JpegFixture{});
    // Width field of the baseline frame header, set to 40000.
    for (size_t i = 0; i + 8 < wide.size(); ++i)
        if (wide[i] == 0xFF && wide[i + 1] == 0xC0) {
            wide[i + 7] = 40000 >> 8;
            wide[i + 8] = 40000 & 0xFF;
            break;
        }
    const std::vector<std::pair<const char*, std::filesystem::path>> cases = {
        {"missing", mRoot.Path() / "missing.jpg"},
        {"cut in its header", Write(cut, "cut.jpg")},
        {"not a JPEG", Write(test::Bytes("GIF89a, not a JPEG at all"), "gif.jpg")},
        {"empty", Write(std::vector<uint8_t>{}, "empty.jpg")},
        {"wider than 32767", Write(wide, "wide.jpg")},
    };
    for (const auto& [what, path] : cases) {
        SCOPED_TRACE(what);
        JpegFileInfo info;
        EXPECT_FALSE(ReadJpegInfo(path, info));
    }
}

TEST_F(JpegFiles, AssemblesTheIccProfileOnlyWhenComplete) {
    const std::vector<uint8_t> a(700, 'a'), b(500, 'b'), c(300, 'c');
    std::vector<uint8_t> whole = a;
    whole.insert(whole.end(), b.begin(), b.end());
    whole.insert(whole.end(), c.begin(), c.end());
    struct Case {
        const char* what;
        std::vector<std::vector<uint8_t>> chunks;
        std::vector<uint8_t> expected;
    };
    const std::vector<Case> cases = {
        {"1, 2, 3 of 3", {test::IccChunk(1, 3, a), test::IccChunk(2, 3, b), test::IccChunk(3, 3, c)}, whole},
        {"1 and 3 of 3", {test::IccChunk(1, 3, a), test::IccChunk(3, 3, c)}, {}},
        {"single chunk", {test::IccChunk(1, 1, a)}, a},
        {"counts that disagree", {test::IccChunk(1, 2, a), test::IccChunk(2, 3, b)}, {}},
        {"chunk 1 twice", {test::IccChunk(1, 2, a), test::IccChunk(1, 2, b)}, {}},
        {"no chunk", {}, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        JpegFixture fixture;
        for (const auto& chunk : k.chunks) fixture.markers.emplace_back(JPEG_APP0 + 2, chunk);
        const auto path = Write(fixture);
        JpegFileInfo info;
        ASSERT_TRUE(ReadJpegInfo(path, info));
        EXPECT_EQ(info.hasIccProfile, !k.expected.empty());
        std::vector<uint8_t> profile = {1, 2, 3};
        EXPECT_EQ(LoadJpegIccProfile(path, profile), !k.expected.empty());
        EXPECT_EQ(profile, k.expected);
    }
}

JpegFixture RedBlockOnWhite(int width, int height) {
    JpegFixture s;
    s.width = width;
    s.height = height;
    s.pixel = [](int x, int y, uint8_t* rgb) {
        const bool red = x < 16 && y < 16;
        rgb[0] = 255;
        rgb[1] = rgb[2] = red ? 0 : 255;
    };
    return s;
}

TEST_F(JpegFiles, DecodesInBlueGreenRedAlphaOrderTopRowFirst) {
    int messageId = 0;
    DibBufferPtr b = DecodeJpegFile(Write(RedBlockOnWhite(64, 32)), nullptr, messageId);
    ASSERT_TRUE(b);
    EXPECT_EQ(DibBuffer::GetRect(b.get()).Width(), 64);
    EXPECT_EQ(DibBuffer::GetRect(b.get()).Height(), 32);
    ExpectNear(Pixel(b.get(), 4, 4), {0, 0, 255, 255});
    ExpectNear(Pixel(b.get(), 40, 4), {255, 255, 255, 255});
    ExpectNear(Pixel(b.get(), 4, 28), {255, 255, 255, 255});

    JpegFixture grey;
    grey.space = JCS_GRAYSCALE;
    grey.pixel = [](int x, int, uint8_t* g) { g[0] = uint8_t(x * 16); };
    b = DecodeJpegFile(Write(grey, "grey.jpg"), nullptr, messageId);
    ASSERT_TRUE(b);
    const std::vector<int> p = Pixel(b.get(), 8, 3);
    EXPECT_EQ(p[0], p[1]);
    EXPECT_EQ(p[1], p[2]);
    EXPECT_NEAR(p[0], 128, 6);
    EXPECT_EQ(p[3], 255);
}

TEST_F(JpegFiles, DecodesForATargetAtExactlyItsSize) {
    const auto path = Write(RedBlockOnWhite(4000, 64));
    struct Case {
        int width, height;
        int expectedWidth, expectedHeight;
    };
    const std::vector<Case> cases = {
        {900, 14, 900, 14},  // ratio 4: decoded at 1000 x 16, then scaled
        {4000, 64, 4000, 64},
        {500, 8, 500, 8},    // ratio 8: decoded at exactly the target
        {0, 0, 1, 1},        // no division by a zero side
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        Rect16 target;
        target.Set(0, 0, int16_t(c.width), int16_t(c.height));
        int messageId = 0;
        DibBufferPtr b = DecodeJpegFile(path, &target, messageId);
        ASSERT_TRUE(b);
        EXPECT_EQ(DibBuffer::GetRect(b.get()).Width(), c.expectedWidth);
        EXPECT_EQ(DibBuffer::GetRect(b.get()).Height(), c.expectedHeight);
        EXPECT_EQ(messageId, 0);
    }
}

TEST_F(JpegFiles, DecodesAtTheLargestReductionStillCoveringASizeAndDoesNotScale) {
    // Odd sides: libjpeg rounds reduced sides up (1001 / 8 gives 126, 603 / 8 gives 76).
    JpegFixture fixture = RedBlockOnWhite(1001, 603);
    fixture.pixel = [](int x, int, uint8_t* rgb) {
        rgb[0] = 255;
        rgb[1] = rgb[2] = x < 500 ? 0 : 255;  // red left half, white right half
    };
    const auto path = Write(fixture);
    struct Case {
        int width, height;
        int expectedWidth, expectedHeight;
    };
    const std::vector<Case> cases = {
        {126, 76, 126, 76},      // 1/8 covers exactly
        {127, 76, 251, 151},     // one pixel wider: 1/4
        {126, 77, 251, 151},     // the height decides as well
        {501, 302, 501, 302},    // 1/2 covers exactly
        {502, 10, 1001, 603},    // beyond half: full size, not enlarged
        {5000, 5000, 1001, 603},
        {0, 0, 126, 76},         // sides below 1 count as 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        Rect16 cover;
        cover.Set(0, 0, int16_t(c.width), int16_t(c.height));
        int messageId = 0;
        DibBufferPtr b = DecodeJpegCovering(path, cover, messageId);
        ASSERT_TRUE(b);
        const Rect16 r = DibBuffer::GetRect(b.get());
        EXPECT_EQ(r.Width(), c.expectedWidth);
        EXPECT_EQ(r.Height(), c.expectedHeight);
        EXPECT_EQ(messageId, 0);
        // The reduction keeps the picture where it was: the halves meet in the middle.
        ExpectNear(Pixel(b.get(), r.Width() / 2 - 3, r.Height() / 2), {0, 0, 255, 255}, 12);
        ExpectNear(Pixel(b.get(), r.Width() / 2 + 3, r.Height() / 2), {255, 255, 255, 255}, 12);
    }
}

TEST_F(JpegFiles, NamesWhyADecodeFailed) {
    std::vector<uint8_t> damaged = test::EncodeJpeg(JpegFixture{});
    damaged.resize(30);
    // A progressive header that claims 30000 x 30000 pixels: its coefficients alone would
    // take gigabytes.
    JpegFixture progressive;
    progressive.progressive = true;
    std::vector<uint8_t> huge = test::EncodeJpeg(progressive);
    for (size_t i = 0; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC2) {
            huge[i + 5] = huge[i + 7] = 30000 >> 8;
            huge[i + 6] = huge[i + 8] = 30000 & 0xFF;
            break;
        }
    const std::vector<std::pair<std::filesystem::path, int>> cases = {
        {mRoot.Path() / "missing.jpg", IDS_FILE_NOT_READABLE},
        {Write(damaged, "damaged.jpg"), IDS_FILE_NOT_READABLE},
        {Write(test::Bytes("no JPEG here"), "text.jpg"), IDS_FILE_NOT_READABLE},
        {Write(Space(JCS_CMYK), "cmyk.jpg"), IDS_IMAGE_FORMAT_UNSUPPORTED},
        {Write(huge, "huge.jpg"), IDS_NOT_ENOUGH_MEMORY},
    };
    for (const auto& [path, id] : cases) {
        SCOPED_TRACE(path.filename().string());
        Rect16 preview;
        preview.Set(0, 0, 300, 300);
        int messageId = IDS_NOT_ENOUGH_MEMORY + 1000;
        EXPECT_FALSE(DecodeJpegFile(path, &preview, messageId));
        EXPECT_EQ(messageId, id);
        messageId = IDS_NOT_ENOUGH_MEMORY + 1000;
        EXPECT_FALSE(DecodeJpegCovering(path, preview, messageId));
        EXPECT_EQ(messageId, id);
    }
}

TEST(JpegMemory, DecodesWholeAndTruncatedDataButNotEmptyData) {
    const std::vector<uint8_t> bytes = test::EncodeJpeg(RedBlockOnWhite(64, 32));
    DibBufferPtr b = DecodeJpegFromMemory(bytes.data(), bytes.size());
    ASSERT_TRUE(b);
    EXPECT_EQ(DibBuffer::GetRect(b.get()).Width(), 64);
    ExpectNear(Pixel(b.get(), 2, 2), {0, 0, 255, 255});

    // Cut inside the scan: finished with a warning, the top rows are still there.
    size_t scan = 0;
    while (scan + 1 < bytes.size() && !(bytes[scan] == 0xFF && bytes[scan + 1] == 0xDA)) ++scan;
    b = DecodeJpegFromMemory(bytes.data(), scan + (bytes.size() - scan) / 2);
    ASSERT_TRUE(b);
    EXPECT_EQ(DibBuffer::GetRect(b.get()).Height(), 32);
    ExpectNear(Pixel(b.get(), 2, 2), {0, 0, 255, 255});

    EXPECT_FALSE(DecodeJpegFromMemory(bytes.data(), 0));
    EXPECT_FALSE(DecodeJpegFromMemory(nullptr, 0));
}

TEST(JpegMemory, DecodesFromAStream) {
    std::vector<uint8_t> bytes = test::EncodeJpeg(RedBlockOnWhite(64, 32));
    std::FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
    ASSERT_TRUE(f);
    Rect16 half;
    half.Set(0, 0, 32, 16);
    int messageId = 0;
    DibBufferPtr b = DecodeJpegStream(f, &half, messageId);
    std::fclose(f);
    ASSERT_TRUE(b);
    EXPECT_EQ(DibBuffer::GetRect(b.get()).Width(), 32);
    ExpectNear(Pixel(b.get(), 1, 1), {0, 0, 255, 255});
}

TEST(JpegMemory, AnAbandonedCompressionLeavesNothingBehind) {
    // Noise, so that the output outgrows the destination's first block before the
    // missing rows make finishing an error; the sanitizer build reports a leak or a
    // double free.
    JpegFixture noise;
    noise.width = noise.height = 512;
    noise.quality = 100;
    noise.pixel = [](int x, int y, uint8_t* rgb) {
        for (int i = 0; i < 3; ++i) rgb[i] = uint8_t(uint32_t(x * 3 + y * 1536 + i) * 2654435761u >> 13);
    };
    noise.rowsWritten = 256;
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(test::TryEncodeJpeg(noise, bytes));
    EXPECT_TRUE(bytes.empty());
}

}  // namespace
}  // namespace vx
