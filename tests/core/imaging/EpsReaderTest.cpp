#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "EpsFixtures.h"
#include "DecoderFiles.h"
#include "JpegFixtures.h"
#include "TestBuffers.h"
#include "TiffFixtures.h"
#include "imaging/EmbeddedThumbnail.h"
#include "imaging/EpsClipMask.h"
#include "imaging/EpsFile.h"
#include "imaging/EpsReader.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

using test::EpsFixture;
using test::PathBuilder;
using test::ResourceBuilder;
using Bgra = std::array<uint8_t, 4>;

uint8_t Value(int x, int y, int channel) { return uint8_t(x * 40 + y * 17 + channel * 71 + 5); }

/// Rows of channel planes of `block` bytes each (columns values, then 0xEE), then pad
/// planes.
std::vector<uint8_t> Planes(int columns, int rows, int channels, int block = 0, int pad = 0) {
    if (block == 0) block = columns;
    std::vector<uint8_t> out;
    for (int y = 0; y < rows; ++y)
        for (int c = 0; c < channels + pad; ++c)
            for (int x = 0; x < block; ++x) out.push_back(c < channels && x < columns ? Value(x, y, c) : 0xEE);
    return out;
}

class EpsFiles : public test::DecoderFiles<DecodeEpsImage> {
protected:
    using DecoderFiles::Write;
    std::filesystem::path Write(const EpsFixture& fixture, const char* name = "picture") {
        return Write(test::EncodeEps(fixture), name);
    }
    /// A side x side RGB picture with these image resources, decoded.
    DibBufferPtr DecodeWithResources(int side, const std::vector<uint8_t>& resources);
};

EpsFixture Rgb(int columns = 4, int rows = 3) {
    EpsFixture s;
    s.columns = columns;
    s.rows = rows;
    s.data = Planes(columns, rows, 3);
    return s;
}

DibBufferPtr EpsFiles::DecodeWithResources(int side, const std::vector<uint8_t>& resources) {
    EpsFixture s = Rgb(side, side);
    s.resources = resources;
    return Decode(Write(s));
}

TEST_F(EpsFiles, DescribesTheImageDataLine) {
    EpsFixture s;
    s.imageDataLine = "100 50 8 3 0 100 1 \"beginimage\"";
    s.resources = ResourceBuilder().Resolution(300, 240).Bytes();
    ImageDescription d;
    bool icc = true;
    ASSERT_TRUE(ReadEpsInfo(Write(s), d, icc));
    EXPECT_EQ(d.codecType, FourCC("raw "));
    EXPECT_EQ(d.width, 100);
    EXPECT_EQ(d.height, 50);
    EXPECT_EQ(d.depth, 24);
    EXPECT_EQ(d.hRes, 300u);
    EXPECT_EQ(d.vRes, 240u);
    EXPECT_EQ(d.epsImageData, (EpsImageData{100, 50, 8, 3, 0, 100, 1}));
    EXPECT_FALSE(icc);

    s.resources.clear();  // no resource 1005: 72
    ASSERT_TRUE(ReadEpsInfo(Write(s), d, icc));
    EXPECT_EQ(d.hRes, 72u);
    EXPECT_EQ(d.vRes, 72u);
    uint32_t h = 0, v = 0;
    EXPECT_FALSE(ReadEpsResolution(Write(s), h, v));
}

TEST_F(EpsFiles, RefusesImageDataItCannotDecode) {
    struct Case {
        const char* what;
        std::string line;
        bool epsf = true;
    };
    const std::vector<Case> cases = {
        {"format 7", "100 50 8 3 0 100 7"},
        {"format 0", "100 50 8 3 0 100 0"},
        {"no EPSF header", "100 50 8 3 0 100 1", false},
        {"depth 16", "100 50 16 3 0 200 1"},
        {"mode 2", "100 50 8 2 0 100 1"},
        {"a block shorter than a row", "100 50 8 3 0 99 1"},
        {"zero rows", "100 0 8 3 0 100 1"},
        {"a number past 16 bits", "40000 50 8 3 0 40000 1"},
        {"six numbers", "100 50 8 3 0 100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EpsFixture s;
        s.imageDataLine = c.line;
        s.epsfHeader = c.epsf;
        const auto path = Write(s);
        ImageDescription d;
        d.width = 99;
        bool icc = false;
        EXPECT_FALSE(ReadEpsInfo(path, d, icc));
        EXPECT_EQ(d.width, 99);
        EpsImageData values{};
        EXPECT_FALSE(ReadEpsImageData(path, values));
        EXPECT_FALSE(Decode(path));
    }
}

TEST_F(EpsFiles, FindsAKeywordAcrossABufferBoundary) {
    for (size_t at : {size_t(505), size_t(65530)}) {
        SCOPED_TRACE(at);
        std::string text = "%!PS-Adobe-3.0 EPSF-3.0\r\n";
        text += std::string(at - text.size(), 'x');
        text += "%%BeginBinary: 12 34\r\nbeginimage\r\nDATA";
        const auto path = Write(std::vector<uint8_t>(text.begin(), text.end()));
        EpsFile file;
        ASSERT_TRUE(file.Open(path));
        uint64_t number = 0;
        ASSERT_TRUE(file.FindKeyword("%%BeginBinary:", &number, 2));
        EXPECT_EQ(number, 1234u);  // every digit before the line end
        uint8_t data[4];
        ASSERT_TRUE(file.Read(data, 4));
        EXPECT_EQ(std::string(data, data + 4), "DATA");
        EXPECT_FALSE(file.FindKeyword("%%BeginBinary:"));
    }
}

TEST_F(EpsFiles, DecodesHexadecimalTextOfEitherCase) {
    const std::string text = "%!PS\n0a Fb\r\n%% c3\t7E zz";
    const auto path = Write(std::vector<uint8_t>(text.begin(), text.end()));
    EpsFile file;
    ASSERT_TRUE(file.Open(path));
    ASSERT_TRUE(file.FindKeyword("%!PS"));
    uint8_t out[4] = {};
    ASSERT_TRUE(file.ReadHex(out, 4));
    EXPECT_EQ((std::vector<uint8_t>(out, out + 4)), (std::vector<uint8_t>{0x0A, 0xFB, 0xC3, 0x7E}));
    EXPECT_FALSE(file.ReadHex(out, 1));  // 'z' is no digit
}

TEST_F(EpsFiles, DecodesLongHexadecimalTextAcrossBufferBoundaries) {
    // Mixed case, white space and '%' at every alignment, a digit pair split by a line
    // end now and then, more than one buffer of text.
    std::vector<uint8_t> bytes;
    std::string text = "%!PS\n";
    const char* upper = "0123456789ABCDEF";
    const char* lower = "0123456789abcdef";
    for (uint32_t i = 0; i < 40000; ++i) {
        const uint8_t b = uint8_t(i * 2654435761u >> 24);
        bytes.push_back(b);
        const char* digits = (i / 7) % 2 ? upper : lower;
        text += digits[b >> 4];
        if (i % 97 == 0) text += "\r\n";
        text += digits[b & 15];
        if (i % 13 == 0) text += ' ';
        if (i % 331 == 0) text += "\n% ";
    }
    const auto path = Write(std::vector<uint8_t>(text.begin(), text.end()));
    EpsFile file;
    ASSERT_TRUE(file.Open(path));
    ASSERT_TRUE(file.FindKeyword("%!PS"));
    std::vector<uint8_t> out(bytes.size());
    ASSERT_TRUE(file.ReadHex(out.data(), out.size()));
    EXPECT_EQ(out, bytes);

    // Any other character ends the text, also inside a run of digits.
    std::string broken = "%!PS\n" + std::string(40, 'a') + "x" + std::string(40, 'b');
    const auto brokenPath = Write(std::vector<uint8_t>(broken.begin(), broken.end()), "broken.eps");
    EpsFile other;
    ASSERT_TRUE(other.Open(brokenPath));
    ASSERT_TRUE(other.FindKeyword("%!PS"));
    std::vector<uint8_t> some(30);
    EXPECT_FALSE(other.ReadHex(some.data(), some.size()));
    EXPECT_EQ(some[19], 0xAA);
}

struct PixelCase {
    const char* what;
    EpsFixture fixture;
    std::function<Bgra(int x, int y)> want;
};

EpsFixture Grey(const std::string& lineEnd, int format) {
    EpsFixture s;
    s.mode = 1;
    s.format = format;
    s.lineEnd = lineEnd;
    s.lowerCaseHex = true;
    s.data = Planes(4, 3, 1);
    return s;
}

TEST_F(EpsFiles, DecodesPlanesTopRowFirst) {
    auto rgb = [](int x, int y) { return Bgra{Value(x, y, 2), Value(x, y, 1), Value(x, y, 0), 255}; };
    auto grey = [](int x, int y) { const uint8_t g = Value(x, y, 0); return Bgra{g, g, g, 255}; };
    EpsFixture padded = Rgb();
    padded.blockSize = 6;
    padded.padChannels = 1;
    padded.data = Planes(4, 3, 3, 6, 1);
    EpsFixture cmyk = Rgb();
    cmyk.mode = 4;
    cmyk.data = Planes(4, 3, 4);
    EpsFixture rgbHex = Rgb();
    rgbHex.format = 2;
    const std::vector<PixelCase> cases = {
        {"RGB binary", Rgb(), rgb},
        {"RGB with wider blocks and a pad plane", padded, rgb},
        {"RGB hexadecimal", rgbHex, rgb},
        {"grey hexadecimal, LF", Grey("\n", 2), grey},
        {"grey hexadecimal, CR", Grey("\r", 2), grey},
        {"grey hexadecimal, CR LF", Grey("\r\n", 2), grey},
        {"grey binary, CR LF", Grey("\r\n", 1), grey},
        {"CMYK keeps its black plane", cmyk,
         [](int x, int y) { return Bgra{Value(x, y, 0), Value(x, y, 1), Value(x, y, 2), Value(x, y, 3)}; }},
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.what);
        DibBufferPtr b = Decode(Write(c.fixture));
        ASSERT_TRUE(b) << mMessageId;
        ASSERT_EQ(DibBuffer::GetRect(b.get()), (Rect16{0, 0, 3, 4}));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) EXPECT_EQ(test::PixelAt(b.get(), x, y), c.want(x, y)) << x << "," << y;
    }
}

TEST_F(EpsFiles, DecodesJpegData) {
    test::JpegFixture rgb;
    rgb.width = 16;
    rgb.height = 8;
    rgb.pixel = [](int x, int, uint8_t* c) { c[0] = x < 8 ? 250 : 10; c[1] = 20; c[2] = x < 8 ? 10 : 240; };
    EpsFixture s = Rgb(16, 8);
    s.format = 3;
    s.data = test::EncodeJpeg(rgb);
    DibBufferPtr b = Decode(Write(s));
    ASSERT_TRUE(b) << mMessageId;
    const Bgra red = test::PixelAt(b.get(), 2, 4);
    EXPECT_NEAR(red[2], 250, 8);
    EXPECT_NEAR(red[0], 10, 8);
    EXPECT_EQ(red[3], 255);

    test::JpegFixture cmyk = rgb;
    cmyk.space = JCS_CMYK;
    cmyk.pixel = [](int, int, uint8_t* c) { c[0] = 200; c[1] = 150; c[2] = 100; c[3] = 30; };
    s.mode = 4;
    s.data = test::EncodeJpeg(cmyk);
    b = Decode(Write(s));
    ASSERT_TRUE(b) << mMessageId;
    const Bgra inverted = test::PixelAt(b.get(), 5, 5);
    const Bgra want = {55, 105, 155, 225};
    for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(inverted[i], want[i], 3) << i;

    s.columns = 15;  // the JPEG does not have the described size
    s.blockSize = 15;
    EXPECT_FALSE(Decode(Write(s)));
    EXPECT_EQ(mMessageId, IDS_FILE_NOT_READABLE);
}

const std::vector<PathBuilder::Point> kSquare = {{0.25, 0.25}, {0.75, 0.25}, {0.75, 0.75}, {0.25, 0.75}};

std::vector<uint8_t> WithClippingPath(const std::vector<uint8_t>& path, const std::string& pathName = "Pfad 1",
                                      const std::string& clipName = "Pfad 1") {
    return ResourceBuilder().Resolution(300, 300).Add(2000, pathName, path).ClippingPathName(clipName).Bytes();
}

/// The alpha byte of every pixel, rows from the top.
std::vector<uint8_t> Alpha(const DibBuffer* b) {
    std::vector<uint8_t> all = test::AllPixels(b), alpha;
    for (size_t i = 3; i < all.size(); i += 4) alpha.push_back(all[i]);
    return alpha;
}

TEST_F(EpsFiles, ClippingPathBecomesAlpha) {
    struct Case {
        const char* what;
        std::vector<uint8_t> resources;
    };
    const std::vector<Case> cases = {
        {"a square", WithClippingPath(PathBuilder().Record(6).Record(8, 1).Polygon(kSquare).Bytes())},
        {"a square after a clipboard record",
         WithClippingPath(PathBuilder().Record(6).Record(7).Polygon(kSquare).Record(7).Bytes())},
        {"a square after an open subpath",
         WithClippingPath(PathBuilder().Record(3, 1).Knot(5, {0, 0}, {0, 0}, {0, 0}).Polygon(kSquare).Bytes())},
        {"a square whose path is not the first", ResourceBuilder()
                                                      .Add(2000, "Anderer", PathBuilder().Polygon({{0, 0}, {1, 0}, {1, 1}}).Bytes())
                                                      .Add(2001, "Pfad 1", PathBuilder().Polygon(kSquare).Bytes())
                                                      .ClippingPathName("Pfad 1")
                                                      .Bytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DibBufferPtr b = DecodeWithResources(40, c.resources);
        ASSERT_TRUE(b) << mMessageId;
        const std::vector<uint8_t> alpha = Alpha(b.get());
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool inside = x >= 13 && x < 27 && y >= 13 && y < 27;
                const bool outside = x < 7 || x >= 33 || y < 7 || y >= 33;
                const uint8_t a = alpha[size_t(y * 40 + x)];
                EXPECT_TRUE(inside ? a == 255 : outside ? a == 0 : a == 0 || a == 255) << x << "," << y;
            }
        // Colours are untouched.
        EXPECT_EQ(test::PixelAt(b.get(), 20, 20)[2], Value(20, 20, 0));
    }
}

TEST_F(EpsFiles, SubpathsFillEvenOdd) {
    DibBufferPtr b = DecodeWithResources(40, WithClippingPath(PathBuilder()
                                                      .Polygon({{0.2, 0.2}, {0.8, 0.2}, {0.8, 0.8}, {0.2, 0.8}})
                                                      .Polygon({{0.35, 0.35}, {0.65, 0.35}, {0.65, 0.65}, {0.35, 0.65}})
                                                      .Bytes()));
    ASSERT_TRUE(b);
    EXPECT_EQ(test::PixelAt(b.get(), 19, 19)[3], 0);    // the hole
    EXPECT_EQ(test::PixelAt(b.get(), 10, 19)[3], 255);  // the ring
    EXPECT_EQ(test::PixelAt(b.get(), 2, 2)[3], 0);
}

TEST_F(EpsFiles, WithoutAUsablePathThePictureIsOpaque) {
    struct Case {
        const char* what;
        std::vector<uint8_t> resources;
    };
    const std::vector<Case> cases = {
        {"no %BeginPhotoshop: block", {}},
        {"no clipping path name", ResourceBuilder().Add(2000, "Pfad 1", PathBuilder().Polygon(kSquare).Bytes()).Bytes()},
        {"a name no path has", WithClippingPath(PathBuilder().Polygon(kSquare).Bytes(), "Pfad 1", "Pfad 2")},
        {"only an open subpath",
         WithClippingPath(PathBuilder().Record(3, 2).Knot(4, {0, 0}, {0, 0}, {0, 0}).Knot(4, {1, 1}, {1, 1}, {1, 1}).Bytes())},
        {"knots cut short", WithClippingPath(PathBuilder().Record(0, 4).Knot(1, {0, 0}, {0, 0}, {0, 0}).Record(6).Bytes())},
        {"a damaged resource block", {'8', 'B', 'I', 'M', 0x0B, 0xB7, 0, 0, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DibBufferPtr b = DecodeWithResources(20, c.resources);
        ASSERT_TRUE(b) << mMessageId;
        EXPECT_EQ(Alpha(b.get()), std::vector<uint8_t>(400, 255));
    }
}

TEST_F(EpsFiles, FarOutControlPointsStayBounded) {
    DibBufferPtr b = DecodeWithResources(30, WithClippingPath(PathBuilder()
                                                      .Record(0, 3)
                                                      .Knot(1, {-127.9, 127.9}, {0.2, 0.2}, {127.9, -127.9})
                                                      .Knot(1, {127.9, 127.9}, {0.8, 0.2}, {-127.9, -127.9})
                                                      .Knot(1, {-127.9, -127.9}, {0.5, 0.8}, {127.9, 127.9})
                                                      .Bytes()));
    ASSERT_TRUE(b);
    for (uint8_t a : Alpha(b.get())) EXPECT_TRUE(a == 0 || a == 255);
}

TEST(FlattenBezier, NearControlPointsGiveThreePoints) {
    std::vector<PathPoint> points = {{10, 10}};
    ASSERT_TRUE(FlattenBezier({10, 10}, {12, 11}, {13, 12}, {14, 13}, 3, points, 100));
    EXPECT_EQ(points, (std::vector<PathPoint>{{10, 10}, {12, 11}, {13, 12}, {14, 13}}));

    points = {{0, 0}};
    ASSERT_TRUE(FlattenBezier({0, 0}, {0, 300}, {300, 300}, {300, 0}, 3, points, 100000));
    EXPECT_GT(points.size(), 50u);
    EXPECT_EQ(points.back(), (PathPoint{300, 0}));
    for (size_t i = 1; i < points.size(); ++i) {
        EXPECT_LT(std::abs(points[i].x - points[i - 1].x), 3);
        EXPECT_LT(std::abs(points[i].y - points[i - 1].y), 3);
    }

    points.clear();
    EXPECT_FALSE(FlattenBezier({0, 0}, {0, 30000}, {30000, 30000}, {30000, 0}, 3, points, 1000));
    EXPECT_LE(points.size(), 1000u);
}

TEST_F(EpsFiles, ReadsThumbnails) {
    test::JpegFixture small;
    small.width = 12;
    small.height = 9;
    std::vector<uint8_t> thumbnail(28, 0);  // the thumbnail header, then the JPEG
    const std::vector<uint8_t> jpeg = test::EncodeJpeg(small);
    thumbnail.insert(thumbnail.end(), jpeg.begin(), jpeg.end());
    EpsFixture s = Rgb();
    s.resources = ResourceBuilder().Resolution(72, 72).Add(1036, "", thumbnail).Bytes();
    DibBufferPtr b = ReadEpsThumbnail(Write(s));
    ASSERT_TRUE(b);
    EXPECT_EQ(DibBuffer::GetRect(b.get()), (Rect16{0, 0, 9, 12}));

    EXPECT_FALSE(ReadEpsThumbnail(Write(Rgb(), "plain.eps")));
    test::TiffFixture preview;
    preview.width = kMaxThumbnailSide + 1;
    preview.length = 1;
    EXPECT_FALSE(ReadEpsThumbnail(Write(test::DosEps(test::EncodeEps(Rgb()), test::EncodeTiff(preview)), "wide.eps")));
}

/// A 7 x 5 RGB TIFF whose red rises by 30 a column.
std::vector<uint8_t> Preview() {
    test::TiffFixture preview;
    preview.width = 7;
    preview.length = 5;
    preview.sample = [](int x, int, int c) { return uint16_t(c == 0 ? x * 30 : 0); };
    return test::EncodeTiff(preview);
}

TEST_F(EpsFiles, ReadsDosEpsFilesWithTheirPreview) {
    // Writers put the PostScript right behind the 30-byte header; some leave two bytes.
    for (uint32_t offset : {30u, 32u}) {
        SCOPED_TRACE(offset);
        EpsFixture s = Rgb();
        s.resources = ResourceBuilder().Resolution(200, 200).Bytes();
        for (int i = 0; i < 40; ++i) s.icc.push_back(uint8_t(i));
        const auto path = Write(test::DosEps(test::EncodeEps(s), Preview(), offset), "dos.eps");

        ImageDescription d;
        bool icc = false;
        int messageId = 0;
        ASSERT_TRUE(ReadEpsInfo(path, d, icc, &messageId));
        EXPECT_EQ(d.width, 4);
        EXPECT_EQ(d.height, 3);
        EXPECT_EQ(d.hRes, 200u);
        EXPECT_TRUE(icc);
        std::vector<uint8_t> profile;
        EXPECT_TRUE(LoadEpsIccProfile(path, profile));
        EXPECT_EQ(profile, s.icc);

        DibBufferPtr b = Decode(path);
        ASSERT_TRUE(b);
        EXPECT_EQ(test::PixelAt(b.get(), 3, 2), (Bgra{Value(3, 2, 2), Value(3, 2, 1), Value(3, 2, 0), 255}));

        b = ReadEpsThumbnail(path);
        ASSERT_TRUE(b);
        EXPECT_EQ(DibBuffer::GetRect(b.get()), (Rect16{0, 0, 5, 7}));
        EXPECT_EQ(test::PixelAt(b.get(), 3, 2), (Bgra{0, 0, 90, 255}));
    }

    // Sections of length 0 are absent, wherever their offsets point.
    std::vector<uint8_t> bytes = test::DosEps(test::EncodeEps(Rgb()), {});
    test::SetDosField(bytes, 12, 7);           // metafile offset, inside the header
    test::SetDosField(bytes, 20, 0xFFFFFF00);  // TIFF offset, past the end
    const auto path = Write(bytes, "bare.eps");
    EXPECT_TRUE(Decode(path));
    EXPECT_FALSE(ReadEpsThumbnail(path));
}

TEST_F(EpsFiles, RefusesDosHeadersOutsideTheFileAndPostScriptWithoutPicture) {
    const std::vector<uint8_t> postScript = test::EncodeEps(Rgb());
    const std::vector<uint8_t> good = test::DosEps(postScript, Preview());
    auto changed = [&good](size_t field, uint32_t value) {
        std::vector<uint8_t> bytes = good;
        test::SetDosField(bytes, field, value);
        return bytes;
    };
    const uint32_t tiffEnd = uint32_t(good.size()) - 30 - uint32_t(postScript.size());
    const std::string drawing = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 20 20\n"
                                "newpath 0 0 moveto 20 20 lineto stroke\n%%EOF\n";
    std::vector<uint8_t> pixelsCut = good;
    // The PostScript ends inside its pixel data, though the preview follows it.
    test::SetDosField(pixelsCut, 8, uint32_t(postScript.size()) - 30);

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        int messageId;
        bool describes = false;  // pixel data cut short is found only when decoding
    };
    const std::vector<Case> cases = {
        {"PostScript at offset 29", changed(4, 29), IDS_FILE_NOT_READABLE},
        {"PostScript at offset 0", changed(4, 0), IDS_FILE_NOT_READABLE},
        {"PostScript of length 0", changed(8, 0), IDS_FILE_NOT_READABLE},
        {"PostScript past the end", changed(8, uint32_t(good.size())), IDS_FILE_NOT_READABLE},
        {"a TIFF section ending past the file", changed(24, tiffEnd + 1), IDS_FILE_NOT_READABLE},
        {"a TIFF section inside the header", changed(20, 20), IDS_FILE_NOT_READABLE},
        {"a metafile past the end", [&] { auto b = changed(12, 30); test::SetDosField(b, 16, 0x7FFFFFFF); return b; }(),
         IDS_FILE_NOT_READABLE},
        {"a header cut short", std::vector<uint8_t>(good.begin(), good.begin() + 20), IDS_FILE_NOT_READABLE},
        {"PostScript cut inside the pixels", pixelsCut, IDS_FILE_NOT_READABLE, true},
        {"a section that is no PostScript", test::DosEps(std::vector<uint8_t>(200, 'x'), {}), IDS_FILE_NOT_READABLE},
        {"PostScript without picture data", test::DosEps({drawing.begin(), drawing.end()}, Preview()),
         IDS_IMAGE_FORMAT_UNSUPPORTED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto path = Write(c.bytes);
        ImageDescription d;
        d.width = 99;
        bool icc = false;
        int messageId = 0;
        EXPECT_EQ(ReadEpsInfo(path, d, icc, &messageId), c.describes);
        if (!c.describes) {
            EXPECT_EQ(messageId, c.messageId);
            EXPECT_EQ(d.width, 99);
        }
        EXPECT_FALSE(Decode(path));
        EXPECT_EQ(mMessageId, c.messageId);
    }
}

TEST_F(EpsFiles, GivesTheIccProfile) {
    EpsFixture s = Rgb();
    for (int i = 0; i < 333; ++i) s.icc.push_back(uint8_t(i * 11));
    const auto path = Write(s);
    std::vector<uint8_t> profile;
    ASSERT_TRUE(LoadEpsIccProfile(path, profile));
    EXPECT_EQ(profile, s.icc);
    ImageDescription d;
    bool icc = false;
    ASSERT_TRUE(ReadEpsInfo(path, d, icc));
    EXPECT_TRUE(icc);
    EXPECT_FALSE(LoadEpsIccProfile(Write(Rgb(), "plain.eps"), profile));
    EXPECT_TRUE(profile.empty());
}

TEST_F(EpsFiles, DamagedFilesAreUnreadable) {
    auto cut = [](std::vector<uint8_t> bytes, size_t keep) {
        bytes.resize(keep);
        return bytes;
    };
    EpsFixture hexCut = Grey("\n", 2);
    std::string hexText = test::HexLines(hexCut.data, "", "\n");
    EpsFixture jpegBroken = Rgb(16, 8);
    jpegBroken.format = 3;
    jpegBroken.data = std::vector<uint8_t>(200, 0x55);
    std::vector<uint8_t> noBinary = test::EncodeEps(Rgb());
    const std::string text(noBinary.begin(), noBinary.end());
    noBinary.resize(text.find("%%BeginBinary"));
    std::vector<uint8_t> badDos = test::DosEps(test::EncodeEps(Rgb()), {});
    badDos[8] = 0xFF;  // the PostScript would run past the end

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"binary rows cut short", cut(test::EncodeEps(Rgb()), test::EncodeEps(Rgb()).size() - 40)},
        {"hexadecimal rows cut short", cut(test::EncodeEps(hexCut), test::EncodeEps(hexCut).size() - 30)},
        {"no %%BeginBinary:", noBinary},
        {"JPEG data that is none", test::EncodeEps(jpegBroken)},
        {"a DOS header pointing outside the file", badDos},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(Decode(Write(c.bytes)));
        EXPECT_EQ(mMessageId, IDS_FILE_NOT_READABLE);
    }
    EXPECT_FALSE(Decode(mRoot.Path() / "missing.eps"));
    EXPECT_EQ(mMessageId, IDS_FILE_NOT_READABLE);
    EpsFixture refused;
    refused.imageDataLine = "4 3 8 3 0 4 9";
    EXPECT_FALSE(Decode(Write(refused)));
    EXPECT_EQ(mMessageId, IDS_IMAGE_FORMAT_UNSUPPORTED);
}

TEST_F(EpsFiles, ScalesToTheTarget) {
    Rect16 target;
    target.Set(0, 0, 8, 6);
    DibBufferPtr b = Decode(Write(Rgb()), &target);
    ASSERT_TRUE(b);
    EXPECT_EQ(DibBuffer::GetRect(b.get()), target);
}

TEST(InvertPixelBytes, InvertsEveryByte) {
    DibBufferPtr b = test::MakeBuffer(2, 1);
    uint8_t* p = DibBuffer::GetBits(b.get());
    for (int i = 0; i < 8; ++i) p[i] = uint8_t(i * 30);
    InvertPixelBytes(b.get());
    EXPECT_EQ(test::AllPixels(b.get()), (std::vector<uint8_t>{255, 225, 195, 165, 135, 105, 75, 45}));
    InvertPixelBytes(nullptr);
}

}  // namespace
}  // namespace vx
