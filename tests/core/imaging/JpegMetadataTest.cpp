#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "IfdWriter.h"
#include "imaging/FileByteSource.h"
#include "imaging/JpegMetadata.h"
#include "imaging/MemoryByteSource.h"
#include "JpegFixtures.h"
#include "PsdWriter.h"
#include "support/TestFolders.h"
#include "TestBuffers.h"

namespace vx {
namespace {

using test::IfdWriter;
using test::JpegFixture;

std::vector<uint8_t> ExifSegment(const IfdWriter& block) {
    std::vector<uint8_t> data = test::Bytes(std::string_view("Exif\0\0", 6));
    const std::vector<uint8_t> tiff = block.Build();
    data.insert(data.end(), tiff.begin(), tiff.end());
    return data;
}

const std::vector<uint8_t> kXmp = test::Bytes("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>");

/// A small JPEG with the given markers after its JFIF header.
std::vector<uint8_t> Jpeg(std::vector<std::pair<int, std::vector<uint8_t>>> markers, int width = 16, int height = 16) {
    JpegFixture fixture;
    fixture.width = width;
    fixture.height = height;
    fixture.markers = std::move(markers);
    return test::EncodeJpeg(fixture);
}

/// Offset of the first FF <marker> in a JPEG.
size_t FindMarker(const std::vector<uint8_t>& jpeg, uint8_t marker) {
    for (size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker) return i;
    ADD_FAILURE() << "no marker " << int(marker);
    return 0;
}

std::vector<uint8_t> Insert(std::vector<uint8_t> bytes, size_t at, const std::vector<uint8_t>& what) {
    bytes.insert(bytes.begin() + std::ptrdiff_t(at), what.begin(), what.end());
    return bytes;
}

std::vector<uint8_t> Segment(uint8_t marker, const std::vector<uint8_t>& data) {
    const size_t length = data.size() + 2;
    std::vector<uint8_t> s = {0xFF, marker, uint8_t(length >> 8), uint8_t(length)};
    s.insert(s.end(), data.begin(), data.end());
    return s;
}

ExifRecord Untouched() {
    ExifRecord r;
    r.presence = 0x8000;
    r.maker = "vorher";
    return r;
}

DibBufferPtr Read(const std::vector<uint8_t>& file, ExifRecord& record) {
    MemoryByteSource source(file.data(), file.size());
    return ReadJpegMetadata(source, record);
}

TEST(ReadJpegMetadata, FillsTheRecordFromTheFirstExifMarker) {
    const IfdWriter camera = IfdWriter(true).Ascii(IfdWriter::kIfd0, 271, "Kamerawerk").Short(IfdWriter::kExif, 0x9209, 1);
    ExifRecord filled;
    filled.presence = ExifRecord::kExifIfd | ExifRecord::kFlash;
    filled.flash = 1;
    filled.maker = "Kamerawerk";
    ExifRecord onlyBlock;
    onlyBlock.presence = ExifRecord::kExifIfd;
    const std::vector<uint8_t> plain = Jpeg({});
    std::vector<uint8_t> afterScan = Insert(plain, FindMarker(plain, 0xDA) + 14, Segment(0xE1, ExifSegment(camera)));
    const std::vector<uint8_t> exifFirst = Jpeg({{JPEG_APP0 + 1, ExifSegment(camera)}});
    const std::vector<uint8_t> cut(exifFirst.begin(), exifFirst.begin() + std::ptrdiff_t(FindMarker(exifFirst, 0xE1) + 30));
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        ExifRecord want;
    };
    const std::vector<Case> cases = {
        {"Exif alone", exifFirst, filled},
        {"XMP before Exif", Jpeg({{JPEG_APP0 + 1, kXmp}, {JPEG_APP0 + 1, ExifSegment(camera)}}), filled},
        {"the first of two Exif blocks",
         Jpeg({{JPEG_APP0 + 1, ExifSegment(camera)}, {JPEG_APP0 + 1, ExifSegment(IfdWriter().Ascii(IfdWriter::kIfd0, 271, "x"))}}),
         filled},
        {"neither II nor MM", Jpeg({{JPEG_APP0 + 1, test::Bytes(std::string_view("Exif\0\0XX*\0\x08\0\0\0", 14))}}), onlyBlock},
        {"no Exif", Jpeg({{JPEG_APP0 + 1, kXmp}}), Untouched()},
        {"Exif after the start of scan", afterScan, Untouched()},
        {"file cut inside the Exif marker", cut, Untouched()},
        {"no JPEG", test::Bytes("GIF89a"), Untouched()},
        {"empty file", {}, Untouched()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExifRecord r = Untouched();
        EXPECT_FALSE(Read(c.file, r)) << "no thumbnail in any of these";
        EXPECT_EQ(r, c.want);
    }
}

TEST(ReadJpegMetadata, GivesTheExifThumbnail) {
    JpegFixture small;
    small.width = 20;
    small.height = 10;
    const IfdWriter block = IfdWriter().Ascii(IfdWriter::kIfd0, 272, "KW-9").Thumbnail(test::EncodeJpeg(small));
    ExifRecord r;
    DibBufferPtr thumbnail = Read(Jpeg({{JPEG_APP0 + 1, kXmp}, {JPEG_APP0 + 1, ExifSegment(block)}}), r);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(DibBuffer::GetRect(thumbnail.get()).Width(), 20);
    EXPECT_EQ(DibBuffer::GetRect(thumbnail.get()).Height(), 10);
    EXPECT_EQ(r.model, "KW-9");

    test::TestRoot root;  // the same through the file
    test::WriteBytes(root.Path() / "bild.jpg", Jpeg({{JPEG_APP0 + 1, ExifSegment(block)}}));
    ExifRecord fromFile;
    EXPECT_TRUE(ReadJpegMetadata(root.Path() / "bild.jpg", fromFile));
    EXPECT_EQ(fromFile, r);
    EXPECT_FALSE(ReadJpegMetadata(root.Path() / "fehlt.jpg", fromFile));
}

/// An APP13 marker's data with one thumbnail resource of a w x h picture.
std::vector<uint8_t> App13(uint16_t id, int width, int height, uint8_t red = 240) {
    JpegFixture fixture;
    fixture.width = width;
    fixture.height = height;
    fixture.pixel = [red](int, int, uint8_t* c) { c[0] = red, c[1] = 0, c[2] = 0; };
    std::vector<uint8_t> data = test::Bytes(std::string_view("Photoshop 3.0\0", 14));
    const std::vector<uint8_t> resource =
        test::ResourceBuilder().Add(id, "", test::ThumbnailData(test::EncodeJpeg(fixture), uint32_t(width), uint32_t(height))).Bytes();
    data.insert(data.end(), resource.begin(), resource.end());
    return data;
}

TEST(ReadJpegMetadata, TakesThePhotoshopThumbnailWhenExifHasNone) {
    JpegFixture small;
    small.width = 20;
    small.height = 10;
    const IfdWriter withIfd1 = IfdWriter().Ascii(IfdWriter::kIfd0, 272, "KW-9").Thumbnail(test::EncodeJpeg(small));
    const IfdWriter withoutIfd1 = IfdWriter().Ascii(IfdWriter::kIfd0, 272, "KW-9");
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::vector<uint8_t>>> markers;
        int width;  // 0: no thumbnail
        bool red;
        const char* model;
    };
    const std::vector<Case> cases = {
        {"APP13 before APP1", {{JPEG_APP0 + 13, App13(1036, 8, 6)}, {JPEG_APP0 + 1, ExifSegment(withoutIfd1)}}, 8, true, "KW-9"},
        {"APP13 after APP1", {{JPEG_APP0 + 1, ExifSegment(withoutIfd1)}, {JPEG_APP0 + 13, App13(1036, 8, 6)}}, 8, true, "KW-9"},
        {"Exif IFD1 first", {{JPEG_APP0 + 13, App13(1036, 8, 6)}, {JPEG_APP0 + 1, ExifSegment(withIfd1)}}, 20, false, "KW-9"},
        {"1033 comes back with red and blue swapped", {{JPEG_APP0 + 13, App13(1033, 8, 6)}}, 8, false, ""},
        {"only the first APP13", {{JPEG_APP0 + 13, test::Bytes("Adobe_CM")}, {JPEG_APP0 + 13, App13(1036, 8, 6)}}, 0, false, ""},
        {"no thumbnail anywhere", {{JPEG_APP0 + 13, test::Bytes(std::string_view("Photoshop 3.0\0", 14))}, {JPEG_APP0 + 1, ExifSegment(withoutIfd1)}}, 0, false, "KW-9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExifRecord r;
        DibBufferPtr thumbnail = Read(Jpeg(c.markers), r);
        EXPECT_EQ(r.model, c.model);
        ASSERT_EQ(bool(thumbnail), c.width != 0);
        if (!thumbnail) continue;
        EXPECT_EQ(DibBuffer::GetRect(thumbnail.get()).Width(), c.width);
        if (c.width == 20) continue;  // the grey Exif one
        const auto px = test::PixelAt(thumbnail.get(), 4, 3);
        EXPECT_GT(c.red ? px[2] : px[0], 200);
        EXPECT_LT(c.red ? px[0] : px[2], 50);
    }
}

TEST(ReadJpegMetadata, ReadsHeaderSegmentsOnly) {
    JpegFixture fixture;
    fixture.width = 2400;
    fixture.height = 1600;
    fixture.pixel = [](int x, int y, uint8_t* c) {  // noise, so that the scan is large
        const uint32_t h = (uint32_t(x) * 2654435761u) ^ (uint32_t(y) * 40503u);
        c[0] = uint8_t(h >> 24), c[1] = uint8_t(h >> 16), c[2] = uint8_t(h >> 8);
    };
    JpegFixture thumb;
    thumb.width = 160;
    thumb.height = 120;
    const std::vector<uint8_t> exif = ExifSegment(
        IfdWriter().Ascii(IfdWriter::kIfd0, 271, "Kamerawerk").Short(IfdWriter::kExif, 0x9209, 1).Thumbnail(test::EncodeJpeg(thumb)));
    fixture.markers = {{JPEG_APP0 + 1, exif}, {JPEG_APP0 + 1, kXmp}, {JPEG_APP0 + 2, std::vector<uint8_t>(60000, 1)}};
    test::TestRoot root;
    const auto path = root.Path() / "gross.jpg";
    test::WriteBytes(path, test::EncodeJpeg(fixture));
    ASSERT_GT(std::filesystem::file_size(path), 2'000'000u);

    FileByteSource file;
    ASSERT_TRUE(file.Open(path));
    ExifRecord r;
    EXPECT_TRUE(ReadJpegMetadata(file, r));
    int width = 0, height = 0, components = 0;
    EXPECT_TRUE(ReadJpegFrameHeader(file, width, height, components));
    EXPECT_EQ(width, 2400);
    EXPECT_LE(file.BytesRead(), 128u * 1024u + exif.size());
}

struct FrameCase {
    const char* what;
    std::vector<uint8_t> file;
    bool ok;
    int width, height, components;
};

std::vector<uint8_t> Coded(J_COLOR_SPACE space, bool progressive, int width = 33, int height = 17) {
    JpegFixture fixture;
    fixture.space = space;
    fixture.progressive = progressive;
    fixture.width = width;
    fixture.height = height;
    return test::EncodeJpeg(fixture);
}

TEST(ReadJpegFrameHeader, ReadsTheFirstFrameHeaderBeforeTheScan) {
    std::vector<uint8_t> extended = Coded(JCS_RGB, false);
    extended[FindMarker(extended, 0xC0) + 1] = 0xC1;
    std::vector<uint8_t> lossless = Coded(JCS_RGB, false);
    lossless[FindMarker(lossless, 0xC0) + 1] = 0xC3;
    std::vector<uint8_t> twoComponents = Coded(JCS_RGB, false);
    twoComponents[FindMarker(twoComponents, 0xC0) + 9] = 2;
    const std::vector<uint8_t> plain = Coded(JCS_GRAYSCALE, false);
    const size_t sof = FindMarker(plain, 0xC0);
    const std::vector<uint8_t> scanFirst =
        Insert(plain, FindMarker(plain, 0xDB), std::vector<uint8_t>(plain.begin() + std::ptrdiff_t(FindMarker(plain, 0xDA)), plain.end()));
    const std::vector<FrameCase> cases = {
        {"baseline grey", Coded(JCS_GRAYSCALE, false), true, 33, 17, 1},
        {"baseline RGB", Coded(JCS_RGB, false, 300, 260), true, 300, 260, 3},
        {"baseline CMYK", Coded(JCS_CMYK, false), true, 33, 17, 4},
        {"progressive grey", Coded(JCS_GRAYSCALE, true), true, 33, 17, 1},
        {"progressive RGB", Coded(JCS_RGB, true), true, 33, 17, 3},
        {"progressive CMYK", Coded(JCS_CMYK, true), true, 33, 17, 4},
        {"extended sequential", extended, true, 33, 17, 3},
        {"fill bytes before markers", Insert(Insert(plain, sof, {0xFF, 0xFF, 0xFF}), 2, {0xFF, 0xFF}), true, 33, 17, 1},
        {"restart and reserved markers have no length", Insert(plain, sof, {0xFF, 0xD3, 0xFF, 0x01}), true, 33, 17, 1},
        {"DNL and DRI are skipped by their length", Insert(plain, sof, {0xFF, 0xDD, 0x00, 0x04, 0x00, 0x10}), true, 33, 17, 1},
        {"lossless is not read", lossless, false, 0, 0, 0},
        {"two components", twoComponents, false, 0, 0, 0},
        {"start of scan before the frame", scanFirst, false, 0, 0, 0},
        {"file cut in the frame header", std::vector<uint8_t>(plain.begin(), plain.begin() + std::ptrdiff_t(sof + 7)), false, 0, 0, 0},
        {"no start of image", std::vector<uint8_t>(plain.begin() + 2, plain.end()), false, 0, 0, 0},
        {"garbage between markers", Insert(plain, sof, {0x00}), false, 0, 0, 0},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryByteSource source(c.file.data(), c.file.size());
        int width = 0, height = 0, components = 0;
        EXPECT_EQ(ReadJpegFrameHeader(source, width, height, components), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(components, c.components);
    }
}

}  // namespace
}  // namespace vx
