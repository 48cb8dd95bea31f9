#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "imaging/EmbeddedThumbnail.h"
#include "imaging/ExifIfd.h"
#include "imaging/MemoryByteSource.h"
#include "IfdWriter.h"
#include "JpegFixtures.h"
#include "TestBuffers.h"

namespace vx {
namespace {

TEST(ParseExifIfd, ReadsMakerModelAndResolutionInBothByteOrders) {
    for (bool big : {false, true}) {
        SCOPED_TRACE(big ? "MM" : "II");
        const std::vector<uint8_t> block = test::ExifBuilder(big)
                                               .Ascii(271, "Kamerawerk")
                                               .Ascii(272, "KW-9")
                                               .Rational(282, 600, 2)
                                               .Rational(283, 300, 1)
                                               .Short(296, 3)
                                               .Short(0x0112, 6)
                                               .Build();
        ExifRecord r;
        r.orientation = 0;
        ParseExifIfd(r, block.data(), block.size());
        EXPECT_EQ(r.presence, ExifRecord::kExifIfd);
        EXPECT_EQ(r.maker, "Kamerawerk");
        EXPECT_EQ(r.model, "KW-9");  // 4 bytes + NUL: held outside the entry
        EXPECT_EQ(r.xResolution, 300);
        EXPECT_EQ(r.yResolution, 300);
        EXPECT_EQ(r.resolutionUnit, 3);
        EXPECT_EQ(r.orientation, 0) << "IFD0 orientation is the full parser's";
    }
}

TEST(ParseExifIfd, KeepsToTheBlockAndToWhatItCanRead) {
    struct Case {
        const char* what;
        std::vector<uint8_t> block;
        uint16_t xResolution;
        std::string maker;
    };
    const std::vector<uint8_t> whole =
        test::ExifBuilder().Rational(282, 72, 1).Ascii(271, "Abgeschnitten").Build();
    const std::vector<uint8_t> cut(whole.begin(), whole.end() - 5);  // the maker text runs past the end
    const std::vector<Case> cases = {
        {"not a TIFF start", test::Bytes(std::string_view("XX*\0\x08\0\0\0", 8)), 0, ""},
        {"zero denominator", test::ExifBuilder().Rational(282, 300, 0).Build(), 0, ""},
        {"resolution beyond 16 bits", test::ExifBuilder().Rational(282, 70000, 1).Build(), 65535, ""},
        {"value outside the block", test::ExifBuilder().Raw(271, 2, 40, 0xFFFFFF00u).Build(), 0, ""},
        {"text cut by the block", cut, 72, ""},
        {"wrong type for a rational", test::ExifBuilder().Short(282, 300).Build(), 0, ""},
        {"only a header", test::Bytes(std::string_view("II*\0\x08\0\0\0", 8)), 0, ""},
        {"IFD beyond the end", test::Bytes(std::string_view("II*\0\xFF\0\0\0", 8)), 0, ""},
        {"three bytes", test::Bytes("II*"), 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExifRecord r;
        ParseExifIfd(r, c.block.data(), c.block.size());
        EXPECT_EQ(r.presence, ExifRecord::kExifIfd);
        EXPECT_EQ(r.xResolution, c.xResolution);
        EXPECT_EQ(r.maker, c.maker);
    }
}

TEST(ParseExifIfd, CutsTextsToTheRecordsCapacity) {
    const std::vector<uint8_t> block = test::ExifBuilder().Ascii(271, std::string(400, 'm')).Build();
    ExifRecord r;
    ParseExifIfd(r, block.data(), block.size());
    EXPECT_EQ(r.maker, std::string(ExifRecord::kMakerCapacity, 'm'));
}

using test::IfdWriter;

/// IFD0, Exif IFD and IFD1 as a camera writes them, with every value the record keeps.
IfdWriter CameraBlock(bool big) {
    IfdWriter w(big);
    w.Ascii(IfdWriter::kIfd0, 271, "Kamerawerk")
        .Ascii(IfdWriter::kIfd0, 272, "KW-9")
        .Short(IfdWriter::kIfd0, 0x0112, 6)
        .Rational(IfdWriter::kIfd0, 282, 300, 1)
        .Rational(IfdWriter::kIfd0, 283, 600, 2)
        .Short(IfdWriter::kIfd0, 296, 2)
        .Rational(IfdWriter::kExif, 0x829A, 1, 250)
        .Rational(IfdWriter::kExif, 0x829D, 56, 10)
        .Short(IfdWriter::kExif, 0x8827, 400)
        .Undefined(IfdWriter::kExif, 0x9000, {'0', '2', '3', '0'})
        .Ascii(IfdWriter::kExif, 0x9003, "2023:07:14 10:11:12")
        .Ascii(IfdWriter::kExif, 0x9004, "2023:07:14 10:11:13")
        .SRational(IfdWriter::kExif, 0x9204, -2, 3)
        .Short(IfdWriter::kExif, 0x9208, 10)
        .Short(IfdWriter::kExif, 0x9209, 0x59)
        .Short(IfdWriter::kExif, 0xA001, 65535)
        .Short(IfdWriter::kExif, 0xA403, 1)
        .Short(IfdWriter::kExif, 0xA408, 2)
        .Short(IfdWriter::kExif, 0xA409, 1);
    return w;
}

ExifRecord ReadBlock(const std::vector<uint8_t>& block, bool* ok = nullptr, DibBufferPtr* thumbnail = nullptr) {
    ExifRecord r;
    MemoryByteSource source(block.data(), block.size());
    const bool read = ReadExifIfdFromFile(r, source, thumbnail);
    if (ok) *ok = read;
    return r;
}

TEST(ReadExifIfdFromFile, FillsTheWholeRecordAlikeInBothByteOrders) {
    ExifRecord want;
    want.presence = 0x1 | 0x4 | 0x8 | 0x10 | 0x20 | 0x40 | 0x80 | 0x100 | 0x200 | 0x400 | 0x800 | 0x1000;
    want.xResolution = 300;
    want.yResolution = 300;
    want.resolutionUnit = 2;
    want.exifVersion = {'0', '2', '3', '0'};
    want.flash = 0x59;
    want.lightSource = 10;
    want.whiteBalance = 1;
    want.contrast = 2;
    want.saturation = 1;
    want.exposureTimeNumerator = 1;
    want.exposureTimeDenominator = 250;
    want.isoSpeedRatings = 400;
    want.exposureBiasValue = -2.0 / 3.0;
    want.fNumber = 5.6;
    want.colorSpace = 65535;
    want.orientation = 6;
    want.maker = "Kamerawerk";
    want.model = "KW-9";
    want.dateTimeOriginal = "2023:07:14 10:11:12";
    want.dateTimeDigitized = "2023:07:14 10:11:13";
    for (bool big : {false, true}) {
        SCOPED_TRACE(big ? "MM" : "II");
        bool ok = false;
        EXPECT_EQ(ReadBlock(CameraBlock(big).Build(), &ok), want);
        EXPECT_TRUE(ok);
    }
}

TEST(ReadExifIfdFromFile, ReadsValuesByTheirDeclaredType) {
    using W = IfdWriter;
    struct Case {
        const char* what;
        IfdWriter block;
        std::function<void(ExifRecord&)> want;  // applied to a record with only 0x1 set
    };
    const std::string latin1 = "Kamera\xE4";  // "Kameraä" in Latin-1
    const std::vector<Case> cases = {
        {"zero denominators give 0", W().Rational(W::kIfd0, 282, 300, 0).Rational(W::kExif, 0x829D, 28, 0)
                                           .SRational(W::kExif, 0x9204, -1, 0),
         [](ExifRecord& r) { r.presence |= 0x800 | 0x1000; }},
        {"a RATIONAL written as SHORT is skipped", W().Short(W::kExif, 0x829D, 4).Short(W::kIfd0, 282, 300),
         [](ExifRecord&) {}},
        {"a SHORT written as LONG is skipped", W().Long(W::kExif, 0x9209, 1).Long(W::kIfd0, 0x0112, 3),
         [](ExifRecord&) {}},
        {"ISO and the Exif IFD link may be LONG or SHORT", W().Long(W::kExif, 0x8827, 100000).ExifIfdOffsetAsShort(),
         [](ExifRecord& r) { r.presence |= 0x400; r.isoSpeedRatings = 65535; }},
        {"a count above 1 takes the first value", W().Raw(W::kExif, 0x8827, 3, 2, 0x00C80064u),
         [](ExifRecord& r) { r.presence |= 0x400; r.isoSpeedRatings = 100; }},
        {"a short version is skipped", W().Undefined(W::kExif, 0x9000, {'0', '2'}),
         [](ExifRecord&) {}},
        {"a 300-character maker is cut at 255", W().Ascii(W::kIfd0, 271, std::string(300, 'm')),
         [](ExifRecord& r) { r.maker = std::string(255, 'm'); }},
        {"dates are cut at 63", W().Ascii(W::kExif, 0x9003, std::string(80, '1')),
         [](ExifRecord& r) { r.dateTimeOriginal = std::string(63, '1'); }},
        {"Latin-1 becomes UTF-8", W().Ascii(W::kIfd0, 272, latin1),
         [](ExifRecord& r) { r.model = "Kamera\xC3\xA4"; }},
        {"UTF-8 stays and is cut by characters", W().Ascii(W::kIfd0, 271, std::string(300, 'a') + "\xC3\xA4"),
         [](ExifRecord& r) { r.maker = std::string(255, 'a'); }},
        {"trailing NULs are dropped", W().Raw(W::kIfd0, 272, 2, 4, 0x00004142u),
         [](ExifRecord& r) { r.model = "BA"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IfdWriter block = c.block;
        block.Short(IfdWriter::kExif, 0xA408, 0);  // every case enters an Exif IFD
        ExifRecord want;
        want.presence = ExifRecord::kExifIfd | ExifRecord::kContrast;
        c.want(want);
        EXPECT_EQ(ReadBlock(block.Build()), want);
    }
}

TEST(ReadExifIfdFromFile, StopsAtDamageAndKeepsWhatItRead) {
    using W = IfdWriter;
    // IFD0 holds one entry, Model "ok", right after the header.
    auto withCount = [](uint16_t count, size_t size) {
        std::vector<uint8_t> b = W().Ascii(W::kIfd0, 272, "ok").Build();
        b[8] = uint8_t(count);
        b[9] = uint8_t(count >> 8);
        b.resize(size, 0);
        return b;
    };
    auto withNextIfd = [](std::vector<uint8_t> b, uint32_t next) {  // IFD0 of one entry
        for (int i = 0; i < 4; ++i) b[8 + 2 + 12 + size_t(i)] = uint8_t(next >> (8 * i));
        return b;
    };
    const std::vector<uint8_t> okModel = W().Ascii(W::kIfd0, 272, "ok").Build();
    struct Case {
        const char* what;
        std::vector<uint8_t> block;
        bool ok;
        uint32_t presence;
        std::string model;
    };
    const std::vector<Case> cases = {
        {"IFD0 past the end", test::Bytes(std::string_view("II*\0\x00\x00\x01\x00", 8)), false, 0, ""},
        {"neither II nor MM", test::Bytes(std::string_view("XX*\0\x08\0\0\0", 8)), false, 0, ""},
        {"IFD1 is IFD0 again", withNextIfd(okModel, 8), true, 0, "ok"},
        {"IFD1 past the end", withNextIfd(okModel, 0xFFFFFFF0u), true, 0, "ok"},
        {"Exif IFD at IFD0", W().Ascii(W::kIfd0, 272, "ok").Raw(W::kIfd0, 0x8769, 4, 1, 8).Build(), true, 0, "ok"},
        {"Exif IFD past the end", W().Ascii(W::kIfd0, 272, "ok").Raw(W::kIfd0, 0x8769, 4, 1, 5000).Build(), true, 0, "ok"},
        {"65535 entries in 100 bytes", withCount(65535, 100), true, 0, "ok"},
        {"value offset and count wrap", W().Raw(W::kIfd0, 271, 2, 0x20, 0xFFFFFFF0u).Ascii(W::kIfd0, 272, "ok").Build(),
         true, 0, "ok"},
        {"count times size beyond 32 bits", W().Raw(W::kIfd0, 271, 5, 0x40000000u, 8).Ascii(W::kIfd0, 272, "ok").Build(),
         true, 0, "ok"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool ok = !c.ok;
        DibBufferPtr thumbnail;
        const ExifRecord r = ReadBlock(c.block, &ok, &thumbnail);
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(r.presence, c.presence);
        EXPECT_EQ(r.model, c.model);
        EXPECT_EQ(r.maker, "");
        EXPECT_FALSE(thumbnail);
    }
}

TEST(ReadExifIfdFromFile, DecodesTheIfd1ThumbnailWithinTheBlock) {
    test::JpegFixture fixture;
    fixture.width = 16;
    fixture.height = 12;
    fixture.pixel = [](int, int, uint8_t* c) { c[0] = 250, c[1] = 10, c[2] = 10; };
    const std::vector<uint8_t> jpeg = test::EncodeJpeg(fixture);

    DibBufferPtr thumbnail;
    ExifRecord r = ReadBlock(CameraBlock(true).Thumbnail(jpeg).Build(), nullptr, &thumbnail);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(DibBuffer::GetRect(thumbnail.get()).Width(), 16);
    EXPECT_EQ(DibBuffer::GetRect(thumbnail.get()).Height(), 12);
    const auto px = test::PixelAt(thumbnail.get(), 8, 6);
    EXPECT_GT(px[2], 200) << "red";
    EXPECT_LT(px[0], 50) << "blue";
    EXPECT_EQ(r.maker, "Kamerawerk");

    // A length that runs past the block is cut at its end.
    std::vector<uint8_t> block = IfdWriter().Thumbnail(jpeg).Build();
    const size_t lengthField = 8 + 6 + 2 + 2 * 12 + 8;  // IFD0 of no entry, IFD1's third entry
    for (int i = 0; i < 4; ++i) block[lengthField + size_t(i)] = 0xF0;
    ReadBlock(block, nullptr, &thumbnail);
    EXPECT_TRUE(thumbnail);

    // A thumbnail that is no thumbnail by its size is left to the caller.
    test::JpegFixture huge;
    huge.width = kMaxThumbnailSide + 1;
    huge.height = 4;
    ReadBlock(IfdWriter().Thumbnail(test::EncodeJpeg(huge)).Build(), nullptr, &thumbnail);
    EXPECT_FALSE(thumbnail);

    // An uncompressed thumbnail gives none.
    block = IfdWriter().Short(IfdWriter::kIfd1, 0x0103, 1).Long(IfdWriter::kIfd1, 0x0201, 8).Build();
    ReadBlock(block, nullptr, &thumbnail);
    EXPECT_FALSE(thumbnail);
}

}  // namespace
}  // namespace vx
