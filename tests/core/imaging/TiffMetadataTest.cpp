#include <gtest/gtest.h>
#include <tiffio.h>

#include <string>
#include <vector>

#include "IfdWriter.h"
#include "imaging/MemoryByteSource.h"
#include "imaging/TiffMetadata.h"
#include "JpegFixtures.h"
#include "PsdWriter.h"
#include "platform/system/FourCC.h"
#include "support/TestFolders.h"
#include "TestBuffers.h"
#include "TiffFixtures.h"

namespace vx {
namespace {

using test::IfdWriter;

/// An RGB TIFF with IFD0 camera tags and an Exif IFD, written by libtiff.
bool WriteExifTiff(const std::filesystem::path& path) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return false;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 4);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, 2);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_MAKE, "Kamerawerk");
    TIFFSetField(t, TIFFTAG_MODEL, "KW-9");
    TIFFSetField(t, TIFFTAG_ORIENTATION, 8);
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, 118.0);
    TIFFSetField(t, TIFFTAG_YRESOLUTION, 118.0);
    TIFFSetField(t, TIFFTAG_EXIFIFD, uint64_t(0));
    const std::vector<uint8_t> row(12, 128);
    bool ok = true;
    for (uint32_t y = 0; y < 2; ++y) ok = ok && TIFFWriteScanline(t, const_cast<uint8_t*>(row.data()), y, 0) == 1;
    ok = ok && TIFFWriteDirectory(t);
    uint64_t exifAt = 0;
    const uint16_t iso[1] = {400};
    ok = ok && TIFFCreateEXIFDirectory(t) == 0;
    TIFFSetField(t, EXIFTAG_FNUMBER, 5.6);
    TIFFSetField(t, EXIFTAG_EXPOSURETIME, 1.0 / 250);
    TIFFSetField(t, EXIFTAG_ISOSPEEDRATINGS, 1, iso);
    TIFFSetField(t, EXIFTAG_FLASH, 0x19);
    TIFFSetField(t, EXIFTAG_COLORSPACE, 1);
    TIFFSetField(t, EXIFTAG_DATETIMEORIGINAL, "2023:07:14 10:11:12");
    TIFFSetField(t, EXIFTAG_EXIFVERSION, "0231");
    TIFFSetField(t, EXIFTAG_EXPOSUREBIASVALUE, -0.5);
    TIFFSetField(t, EXIFTAG_WHITEBALANCE, 1);
    ok = ok && TIFFWriteCustomDirectory(t, &exifAt);
    ok = ok && TIFFSetDirectory(t, 0);
    TIFFSetField(t, TIFFTAG_EXIFIFD, exifAt);
    ok = ok && TIFFRewriteDirectory(t);
    TIFFClose(t);
    return ok;
}

TEST(ReadTiffMetadata, FillsTheRecordFromALibtiffFile) {
    test::TestRoot root;
    const auto path = root.Path() / "kamera.tif";
    ASSERT_TRUE(WriteExifTiff(path));
    ExifRecord r;
    r.model = "vorher";
    r.contrast = 2;  // cleared: the record is the file's alone
    DibBufferPtr thumbnail;
    ASSERT_TRUE(ReadTiffMetadata(path, r, &thumbnail));
    EXPECT_FALSE(thumbnail);
    ExifRecord want;
    want.presence = ExifRecord::kExifIfd | ExifRecord::kExifVersion | ExifRecord::kFlash |
                    ExifRecord::kWhiteBalance | ExifRecord::kColorSpace | ExifRecord::kExposureTime |
                    ExifRecord::kIsoSpeedRatings | ExifRecord::kExposureBiasValue | ExifRecord::kFNumber;
    want.xResolution = 118;
    want.yResolution = 118;
    want.resolutionUnit = 3;
    want.exifVersion = {'0', '2', '3', '1'};
    want.flash = 0x19;
    want.whiteBalance = 1;
    want.colorSpace = 1;
    want.isoSpeedRatings = 400;
    want.orientation = 8;
    want.maker = "Kamerawerk";
    want.model = "KW-9";
    want.dateTimeOriginal = "2023:07:14 10:11:12";
    // libtiff picks its own fractions; the quotients are what counts.
    want.exposureTimeNumerator = r.exposureTimeNumerator;
    want.exposureTimeDenominator = r.exposureTimeDenominator;
    EXPECT_NEAR(double(r.exposureTimeNumerator) / r.exposureTimeDenominator, 1.0 / 250, 1e-6);
    want.exposureBiasValue = r.exposureBiasValue;
    EXPECT_NEAR(r.exposureBiasValue, -0.5, 1e-6);
    want.fNumber = r.fNumber;
    EXPECT_NEAR(r.fNumber, 5.6, 1e-6);
    EXPECT_EQ(r, want);

    // libtiff writes its IFDs last: cut short, the file has none to read.
    const auto cut = root.Path() / "kurz.tif";
    std::filesystem::copy_file(path, cut);
    std::filesystem::resize_file(cut, std::filesystem::file_size(path) / 2);
    EXPECT_FALSE(ReadTiffMetadata(cut, r, &thumbnail));
    EXPECT_EQ(r, ExifRecord{});
    EXPECT_FALSE(thumbnail);
}

TEST(ReadTiffMetadata, GivesTheIfd1OrPhotoshopThumbnailAndRefusesWhatIsNoTiff) {
    test::TestRoot root;
    test::JpegFixture small;
    small.width = 12;
    small.height = 8;
    const auto withThumbnail = root.Path() / "vorschau.tif";
    test::WriteBytes(withThumbnail, IfdWriter(true).Ascii(IfdWriter::kIfd0, 271, "K").Thumbnail(test::EncodeJpeg(small)).Build());
    ExifRecord r;
    DibBufferPtr thumbnail;
    ASSERT_TRUE(ReadTiffMetadata(withThumbnail, r, &thumbnail));
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(DibBuffer::GetRect(thumbnail.get()).Width(), 12);
    EXPECT_EQ(r.maker, "K");
    EXPECT_EQ(r.presence, 0u) << "no Exif IFD";

    // Photoshop keeps its thumbnail in the image resources of tag 0x8649.
    test::JpegFixture red;
    red.width = 6;
    red.height = 4;
    red.pixel = [](int, int, uint8_t* c) { c[0] = 240, c[1] = 0, c[2] = 0; };
    const auto withResources = root.Path() / "photoshop.tif";
    test::WriteBytes(withResources,
                     IfdWriter().Undefined(IfdWriter::kIfd0, 0x8649,
                                           test::ResourceBuilder().Add(1036, "", test::ThumbnailData(test::EncodeJpeg(red), 6, 4)).Bytes())
                         .Build());
    ASSERT_TRUE(ReadTiffMetadata(withResources, r, &thumbnail));
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(DibBuffer::GetRect(thumbnail.get()).Width(), 6);
    EXPECT_GT(test::PixelAt(thumbnail.get(), 3, 2)[2], 200);

    const auto notTiff = root.Path() / "text.tif";
    test::WriteBytes(notTiff, test::Bytes("kein TIFF"));
    r.maker = "vorher";
    EXPECT_FALSE(ReadTiffMetadata(notTiff, r, &thumbnail));
    EXPECT_FALSE(thumbnail);
    EXPECT_FALSE(ReadTiffMetadata(root.Path() / "fehlt.tif", r));
    EXPECT_FALSE(ReadTiffMetadata(root.Path(), r)) << "a folder";
}

TEST(ReadTiffColorSpace, MapsThePhotometricInterpretation) {
    struct Case {
        uint16_t photometric;
        uint16_t samples;
        const char* code;  // null: false
    };
    const std::vector<Case> cases = {
        {PHOTOMETRIC_MINISWHITE, 1, "GRAY"}, {PHOTOMETRIC_MINISBLACK, 1, "GRAY"},
        {PHOTOMETRIC_RGB, 3, "RGB "},        {PHOTOMETRIC_PALETTE, 1, "RGB "},
        {PHOTOMETRIC_MASK, 1, nullptr},      {PHOTOMETRIC_SEPARATED, 4, "CMYK"},
        {PHOTOMETRIC_YCBCR, 3, "RGB "},      {PHOTOMETRIC_CIELAB, 3, "Lab "},
        {PHOTOMETRIC_ICCLAB, 3, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.photometric);
        test::TiffFixture fixture;
        fixture.photometric = c.photometric;
        fixture.samples = c.samples;
        if (c.photometric == PHOTOMETRIC_PALETTE) fixture.colourMap.assign(3 * 256, 0);
        const std::vector<uint8_t> file = test::EncodeTiff(fixture);
        MemoryByteSource source(file.data(), file.size());
        uint32_t code = 0;
        EXPECT_EQ(ReadTiffColorSpace(source, code), c.code != nullptr);
        if (c.code) {
            EXPECT_EQ(FourCCText(code), c.code);
        }
    }
    for (bool big : {false, true}) {
        const std::vector<uint8_t> noTag = IfdWriter(big).Short(IfdWriter::kIfd0, 259, 1).Build();
        const std::vector<uint8_t> asLong = IfdWriter(big).Long(IfdWriter::kIfd0, 262, 2).Build();
        const std::vector<uint8_t> bigEndianRgb = IfdWriter(big).Short(IfdWriter::kIfd0, 262, 2).Build();
        uint32_t code = 0;
        MemoryByteSource a(noTag.data(), noTag.size()), b(asLong.data(), asLong.size()),
            c(bigEndianRgb.data(), bigEndianRgb.size());
        EXPECT_FALSE(ReadTiffColorSpace(a, code)) << "no tag 262";
        EXPECT_FALSE(ReadTiffColorSpace(b, code)) << "262 as LONG";
        EXPECT_TRUE(ReadTiffColorSpace(c, code));
        EXPECT_EQ(code, FourCC("RGB "));
    }
}

}  // namespace
}  // namespace vx
