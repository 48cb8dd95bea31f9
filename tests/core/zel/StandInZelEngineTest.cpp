#include <gtest/gtest.h>
#include <lcms2.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../imaging/IfdWriter.h"
#include "../imaging/JpegFixtures.h"
#include "../imaging/TiffFixtures.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "imaging/DecodeTarget.h"
#include "imaging/DibPixels.h"
#include "model/CImageObj.h"
#include "platform/colour/ProgramProfiles.h"
#include "platform/system/Folders.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"
#include "support/TestFolders.h"
#include "zel/StandInZelEngine.h"
#include "zel/ZelConversion.h"
#include "zel/ZelFileFacts.h"
#include "zel/ZelLines.h"

namespace vx {
namespace {

constexpr int kApp1 = JPEG_APP0 + 1;
constexpr int kApp11 = JPEG_APP0 + 11;

std::vector<uint8_t> ExifApp1(const char* version, std::optional<uint16_t> colorSpace = std::nullopt) {
    test::IfdWriter w;
    w.Undefined(test::IfdWriter::kExif, 0x9000, std::vector<uint8_t>(version, version + 4));
    if (colorSpace) w.Short(test::IfdWriter::kExif, 0xA001, *colorSpace);
    std::vector<uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
    const std::vector<uint8_t> tiff = w.Build();
    block.insert(block.end(), tiff.begin(), tiff.end());
    return block;
}

ZelCurves Inverting() {
    ZelCurves c;
    for (int i = 0; i < 256; ++i) {
        c[0][size_t(i)] = uint8_t(255 - i);
        c[1][size_t(i)] = uint8_t(i / 2);
        c[2][size_t(i)] = uint8_t(i);
    }
    return c;
}

std::vector<uint8_t> ZelBlock(const ZelCurves& curves, uint8_t version = 1) {
    std::vector<uint8_t> b = {'V', 'X', 'Z', 'E', 'L', 0, version};
    for (const auto& curve : curves) b.insert(b.end(), curve.begin(), curve.end());
    return b;
}

uint8_t Channel(int x, int y, int c) { return uint8_t(x * 13 + y * 7 + c * 70); }

// TIFF with the Zel block in tag 65000, written by libtiff.
std::vector<uint8_t> TiffWithBlock(const test::TiffFixture& fixture, const std::vector<uint8_t>& block) {
    std::FILE* file = std::tmpfile();
    TIFF* t = TIFFFdOpen(dup(fileno(file)), "zel.tif", "w");
    static const TIFFFieldInfo kField[] = {
        {kZelTiffTag, TIFF_VARIABLE2, TIFF_VARIABLE2, TIFF_UNDEFINED, FIELD_CUSTOM, 1, 1, const_cast<char*>("ZelBlock")}};
    TIFFMergeFieldInfo(t, kField, 1);
    if (!block.empty()) TIFFSetField(t, kZelTiffTag, uint32_t(block.size()), block.data());
    const bool written = test::detail::WriteTiff(t, fixture);
    TIFFClose(t);
    std::vector<uint8_t> bytes;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(uint8_t(c));
    std::fclose(file);
    EXPECT_TRUE(written);
    return bytes;
}

class StandInZel : public testing::Test {
protected:
    std::filesystem::path Jpeg(const std::string& name, std::vector<std::pair<int, std::vector<uint8_t>>> markers,
                               int width = 16, int height = 12) {
        test::JpegFixture f;
        f.width = width;
        f.height = height;
        f.quality = 95;
        f.markers = std::move(markers);
        f.pixel = [](int x, int y, uint8_t* p) {
            for (int c = 0; c < 3; ++c) p[c] = Channel(x, y, c);
        };
        const std::filesystem::path path = mRoot.Path() / name;
        test::WriteBytes(path, test::EncodeJpeg(f));
        return path;
    }
    std::unique_ptr<CImageObj> Item(const std::filesystem::path& path, uint32_t type, int16_t useZel) {
        auto item = std::make_unique<CImageObj>(true, "StdImage");
        item->SetFilePath(path);
        item->SetFileType(type);
        item->SetZelFile(QueryZelFile(mEngine, path));
        item->SetUseZelFile(useZel);
        return item;
    }
    // The decoded pixels as LittleCMS converts them from sRGB into the Zel working space.
    static std::vector<uint8_t> ExpectedInWorkingSpace(std::vector<uint8_t> rgb) {
        const std::optional<std::filesystem::path> srgb = LocateProfileFile(kDefaultRgbProfileFile);
        EXPECT_TRUE(srgb);
        const std::span<const uint8_t> working = ProgramProfileBytes(kZelMonitorProfileResource);
        cmsHPROFILE in = cmsOpenProfileFromFile(srgb->c_str(), "r");
        cmsHPROFILE out = cmsOpenProfileFromMem(working.data(), cmsUInt32Number(working.size()));
        cmsHTRANSFORM t = cmsCreateTransform(in, TYPE_RGB_8, out, TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC, 0);
        EXPECT_TRUE(t);
        if (t) cmsDoTransform(t, rgb.data(), rgb.data(), cmsUInt32Number(rgb.size() / 3));
        if (t) cmsDeleteTransform(t);
        cmsCloseProfile(in);
        cmsCloseProfile(out);
        return rgb;
    }
    // R,G,B of each pixel, top row first.
    static std::vector<uint8_t> Rgb(const DibBuffer* b) {
        const Rect16 r = DibBuffer::GetRect(b);
        std::vector<uint8_t> out;
        const uint8_t* p = DibBuffer::GetBits(b);
        for (int i = 0; i < r.Width() * r.Height(); ++i, p += 4) out.insert(out.end(), {p[2], p[1], p[0]});
        return out;
    }
    static std::vector<uint8_t> TopDown(const RgbRows& rows) {
        std::vector<uint8_t> out;
        const size_t line = size_t(rows.width) * 3;
        for (int y = rows.height - 1; y >= 0; --y)
            out.insert(out.end(), rows.bytes.get() + size_t(y) * line, rows.bytes.get() + size_t(y + 1) * line);
        return out;
    }
    static void ExpectWithinOne(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected) {
        ASSERT_EQ(actual.size(), expected.size());
        int worst = 0;
        for (size_t i = 0; i < actual.size(); ++i) worst = std::max(worst, std::abs(actual[i] - expected[i]));
        EXPECT_LE(worst, 1);
    }
    static Rect16 Size(int w, int h) {
        Rect16 r;
        r.Set(0, 0, int16_t(w), int16_t(h));
        return r;
    }

    test::TestRoot mRoot;
    StandInZelEngine mEngine;
};

TEST_F(StandInZel, LevelsComeFromExifPrintAndTheBlock) {
    std::vector<uint8_t> broken = ZelBlock(Inverting());
    broken.pop_back();
    struct Case { const char* name; std::vector<std::pair<int, std::vector<uint8_t>>> markers; int16_t level; };
    const std::vector<Case> cases = {
        {"none", {}, 0},
        {"0210", {{kApp1, ExifApp1("0210")}}, 0},
        {"0220", {{kApp1, ExifApp1("0220")}}, 2},
        {"0230", {{kApp1, ExifApp1("0230")}}, 2},
        {"block", {{kApp11, ZelBlock(Inverting())}}, 4},
        {"both", {{kApp1, ExifApp1("0221")}, {kApp11, ZelBlock(Inverting())}}, 6},
        {"0220 and a short block", {{kApp1, ExifApp1("0220")}, {kApp11, broken}}, 2},
        {"0220 and a version 2 block", {{kApp1, ExifApp1("0220")}, {kApp11, ZelBlock(Inverting(), 2)}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(QueryZelFile(mEngine, Jpeg("level.jpg", c.markers)), c.level);
    }
    EXPECT_EQ(QueryZelFile(mEngine, mRoot.Path() / "missing.jpg"), 0);
}

TEST_F(StandInZel, TiffBlockInTag65000) {
    test::TiffFixture f;
    const std::filesystem::path with = mRoot.Path() / "with.tif";
    test::WriteBytes(with, TiffWithBlock(f, ZelBlock(Inverting())));
    EXPECT_EQ(QueryZelFile(mEngine, with), 4);
    const std::filesystem::path without = mRoot.Path() / "without.tif";
    test::WriteBytes(without, TiffWithBlock(f, {1, 2, 3}));
    EXPECT_EQ(QueryZelFile(mEngine, without), 0);
}

TEST_F(StandInZel, ModesMustLieInTheLevel) {
    const std::filesystem::path exifOnly = Jpeg("exif.jpg", {{kApp1, ExifApp1("0220")}});
    struct Case { int16_t mode; bool ok; };
    for (const Case& c : std::vector<Case>{{2, true}, {4, false}, {6, false}, {3, false}, {0, false}}) {
        SCOPED_TRACE(c.mode);
        ZelHandle h = 0;
        ASSERT_EQ(mEngine.Open(exifOnly, h), 0);
        EXPECT_EQ(mEngine.SetMode(h, c.mode) >= 0, c.ok);
        EXPECT_EQ(mEngine.Close(h), 0);
    }
    auto item = Item(exifOnly, FourCC("JPEG"), 6);
    int messageId = 0;
    const Rect16 target = Size(16, 12);
    EXPECT_TRUE(ZelConvertImage(mEngine, *item, &target, messageId));
    EXPECT_EQ(item->GetUseZelFile(), 2) << "a refused mode becomes the file's level";
}

TEST_F(StandInZel, ModeTwoConvertsSrgbIntoTheWorkingSpace) {
    const std::filesystem::path path = Jpeg("exif.jpg", {{kApp1, ExifApp1("0220", 1)}});
    auto item = Item(path, FourCC("JPEG"), 2);
    int messageId = 0;
    const Rect16 target = Size(16, 12);
    DibBufferPtr converted = ZelConvertImage(mEngine, *item, &target, messageId);
    ASSERT_TRUE(converted);
    const RgbRows decoded = DecodeYccJpeg(path);
    ASSERT_TRUE(decoded);
    const std::vector<uint8_t> input = TopDown(decoded);
    const std::vector<uint8_t> expected = ExpectedInWorkingSpace(input);
    EXPECT_NE(expected, input) << "the working space differs from sRGB";
    ExpectWithinOne(Rgb(converted.get()), expected);
}

TEST_F(StandInZel, ModeFourAppliesTheCurvesFirst) {
    const std::filesystem::path path = Jpeg("both.jpg", {{kApp1, ExifApp1("0220")}, {kApp11, ZelBlock(Inverting())}});
    const ZelCurves curves = Inverting();
    std::vector<uint8_t> input = TopDown(DecodeYccJpeg(path));
    for (size_t i = 0; i < input.size(); ++i) input[i] = curves[i % 3][input[i]];
    const std::vector<uint8_t> expected = ExpectedInWorkingSpace(input);
    for (int16_t mode : {4, 6}) {
        SCOPED_TRACE(mode);
        auto item = Item(path, FourCC("JPEG"), mode);
        int messageId = 0;
        const Rect16 target = Size(16, 12);
        DibBufferPtr converted = ZelConvertImage(mEngine, *item, &target, messageId);
        ASSERT_TRUE(converted);
        ExpectWithinOne(Rgb(converted.get()), expected);
    }
}

TEST_F(StandInZel, SixteenBitTiffConvertsFromItsHighBytes) {
    test::TiffFixture f;
    f.width = 6;
    f.length = 4;
    f.bits = 16;
    f.sample = [](int x, int y, int c) { return uint16_t(Channel(x, y, c) << 8 | 0xFF); };
    const std::filesystem::path path = mRoot.Path() / "deep.tif";
    test::WriteBytes(path, TiffWithBlock(f, ZelBlock(Inverting())));
    auto item = Item(path, FourCC("TIFF"), 4);
    EXPECT_EQ(item->GetZelFile(), 4);
    std::vector<uint8_t> input;
    const ZelCurves curves = Inverting();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            for (int c = 0; c < 3; ++c) input.push_back(curves[size_t(c)][Channel(x, y, c)]);
    int messageId = 0;
    const Rect16 target = Size(6, 4);
    DibBufferPtr converted = ZelConvertImage(mEngine, *item, &target, messageId);
    ASSERT_TRUE(converted);
    ExpectWithinOne(Rgb(converted.get()), ExpectedInWorkingSpace(input));
}

TEST_F(StandInZel, OutputHasTheTargetSize) {
    const std::filesystem::path path = Jpeg("big.jpg", {{kApp1, ExifApp1("0220")}}, 64, 48);
    auto item = Item(path, FourCC("JPEG"), 2);
    int messageId = 0;
    for (const Rect16& target : {Size(5, 3), Size(64, 48), Size(20, 15)}) {
        DibBufferPtr converted = ZelConvertImage(mEngine, *item, &target, messageId);
        ASSERT_TRUE(converted);
        EXPECT_EQ(DibBuffer::GetRect(converted.get()).Width(), target.Width());
        EXPECT_EQ(DibBuffer::GetRect(converted.get()).Height(), target.Height());
    }
}

TEST_F(StandInZel, JpegLinesMayComeAtAReducedScale) {
    const std::filesystem::path path = Jpeg("big.jpg", {}, 64, 48);
    struct Case { int minW, minH, w, h; };
    for (const Case& c : std::vector<Case>{{0, 0, 64, 48}, {8, 6, 8, 6}, {9, 6, 16, 12}, {20, 20, 32, 24}, {64, 1, 64, 48}}) {
        const RgbRows rows = DecodeYccJpeg(path, c.minW, c.minH);
        ASSERT_TRUE(rows);
        EXPECT_EQ(rows.width, c.w);
        EXPECT_EQ(rows.height, c.h);
    }
}

TEST_F(StandInZel, TiffLinesKeepTheHighByteBottomRowFirst) {
    for (uint16_t bits : {uint16_t(8), uint16_t(16)}) {
        SCOPED_TRACE(bits);
        test::TiffFixture f;
        f.width = 5;
        f.length = 3;
        f.bits = bits;
        f.samples = 4;
        f.extraSamples = {EXTRASAMPLE_UNASSALPHA};
        f.sample = [bits](int x, int y, int c) {
            const uint8_t high = Channel(x, y, c);
            return bits == 16 ? uint16_t(high << 8 | (255 - high)) : uint16_t(high);
        };
        const std::filesystem::path path = mRoot.Path() / "lines.tif";
        test::WriteBytes(path, test::EncodeTiff(f));
        int encoding = 0, error = 0;
        const RgbRows rows = DecodeTiffLines(path, encoding, error);
        ASSERT_TRUE(rows);
        EXPECT_EQ(encoding, kZelEncodingTiff);
        EXPECT_EQ(error, 0);
        const std::vector<uint8_t> top = TopDown(rows);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                for (int c = 0; c < 3; ++c) EXPECT_EQ(top[size_t((y * 5 + x) * 3 + c)], Channel(x, y, c));
    }
    test::TiffFixture grey;
    grey.photometric = PHOTOMETRIC_MINISBLACK;
    grey.samples = 1;
    grey.sample = [](int x, int, int) { return uint16_t(x * 50); };
    const std::filesystem::path greyPath = mRoot.Path() / "grey.tif";
    test::WriteBytes(greyPath, test::EncodeTiff(grey));
    int encoding = 0, error = 0;
    const RgbRows rows = DecodeTiffLines(greyPath, encoding, error);
    ASSERT_TRUE(rows);
    EXPECT_EQ(encoding, kZelEncodingDefault);
    EXPECT_EQ(rows.bytes[3 * 3 + 1], 150);
}

TEST_F(StandInZel, DamagedTiffLinesReportTheError) {
    test::TiffFixture f;
    f.width = 4;
    f.length = 4;
    f.compression = COMPRESSION_LZW;
    f.rowsPerStrip = 4;
    f.rawStrips = std::vector<std::vector<uint8_t>>{{0xFF, 0xFF, 0xFF}};
    const std::filesystem::path path = mRoot.Path() / "damaged.tif";
    test::WriteBytes(path, test::EncodeTiff(f));
    int encoding = 0, error = 0;
    EXPECT_FALSE(DecodeTiffLines(path, encoding, error));
    EXPECT_NE(error, 0);
}

TEST_F(StandInZel, BlocksParseOnlyWhole) {
    const std::vector<uint8_t> good = ZelBlock(Inverting());
    ASSERT_TRUE(ParseZelBlock(good));
    EXPECT_EQ(*ParseZelBlock(good), Inverting());
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    std::vector<uint8_t> renamed = good;
    renamed[0] = 'W';
    for (const std::vector<uint8_t>& bad : {longer, renamed, ZelBlock(Inverting(), 0), std::vector<uint8_t>{}})
        EXPECT_FALSE(ParseZelBlock(bad));
}

class StandInTunePass : public StandInZel {
protected:
    std::filesystem::path Reference(const std::function<uint8_t(int i, int c)>& value, uint32_t width = 256) {
        test::TiffFixture f;
        f.width = width;
        f.length = 1;
        f.rowsPerStrip = 1;
        f.sample = [value](int x, int, int c) { return uint16_t(value(x, c)); };
        const std::filesystem::path path = mRoot.Path() / "01.tif";
        test::WriteBytes(path, test::EncodeTiff(f));
        return path;
    }
    DibBufferPtr Picture() {
        DibBufferPtr b = NewDibBuffer(7, 5);
        uint8_t* p = DibBuffer::GetBits(b.get());
        for (int i = 0; i < 35 * 4; ++i) p[i] = uint8_t(i * 7);
        return b;
    }
    CImageObj mItem{true, "StdImage"};
};

TEST_F(StandInTunePass, IdentityReferenceChangesNothing) {
    const std::filesystem::path reference = Reference([](int i, int) { return uint8_t(i); });
    DibBufferPtr picture = Picture();
    int messageId = 0;
    DibBufferPtr tuned = ZelTunePass(mEngine, picture.get(), mItem, reference, messageId);
    ASSERT_TRUE(tuned);
    EXPECT_EQ(DibBuffer::GetRect(tuned.get()).Width(), 7);
    EXPECT_EQ(DibBuffer::GetRect(tuned.get()).Height(), 5);
    EXPECT_EQ(std::memcmp(DibBuffer::GetBits(tuned.get()), DibBuffer::GetBits(picture.get()), 35 * 4), 0)
        << "colours and alpha as they were";
}

TEST_F(StandInTunePass, CurvesApplyPerChannel) {
    const std::filesystem::path reference = Reference([](int i, int c) { return uint8_t(c == 0 ? 255 - i : c == 1 ? i / 2 : i); });
    DibBufferPtr picture = Picture();
    int messageId = 0;
    DibBufferPtr tuned = ZelTunePass(mEngine, picture.get(), mItem, reference, messageId);
    ASSERT_TRUE(tuned);
    const uint8_t* in = DibBuffer::GetBits(picture.get());
    const uint8_t* out = DibBuffer::GetBits(tuned.get());
    for (int i = 0; i < 35; ++i) {
        EXPECT_EQ(out[i * 4 + 2], 255 - in[i * 4 + 2]);
        EXPECT_EQ(out[i * 4 + 1], in[i * 4 + 1] / 2);
        EXPECT_EQ(out[i * 4 + 0], in[i * 4 + 0]);
        EXPECT_EQ(out[i * 4 + 3], in[i * 4 + 3]);
    }
}

TEST_F(StandInTunePass, MissingOrDamagedReferenceIsUnreadable) {
    DibBufferPtr picture = Picture();
    int messageId = 0;
    EXPECT_FALSE(ZelTunePass(mEngine, picture.get(), mItem, mRoot.Path() / "01.tif", messageId));
    EXPECT_EQ(messageId, IDS_FILE_NOT_READABLE);
    const std::filesystem::path narrow = Reference([](int i, int) { return uint8_t(i); }, 128);
    messageId = 0;
    EXPECT_FALSE(ZelTunePass(mEngine, picture.get(), mItem, narrow, messageId));
    EXPECT_EQ(messageId, IDS_FILE_NOT_READABLE);
    test::WriteBytes(narrow, {'I', 'I', 42, 0, 8, 0});
    messageId = 0;
    EXPECT_FALSE(ZelTunePass(mEngine, picture.get(), mItem, narrow, messageId));
    EXPECT_EQ(messageId, IDS_FILE_NOT_READABLE);
}

TEST_F(StandInTunePass, TheProgramsReferenceIsAMildSCurve) {
    ASSERT_TRUE(std::filesystem::exists(ZelReferencePath())) << ZelReferencePath();
    DibBufferPtr picture = NewDibBuffer(3, 1);
    uint8_t* p = DibBuffer::GetBits(picture.get());
    const uint8_t grey[3] = {64, 128, 192};
    for (int i = 0; i < 3; ++i) p[i * 4] = p[i * 4 + 1] = p[i * 4 + 2] = grey[i], p[i * 4 + 3] = 99;
    int messageId = 0;
    DibBufferPtr tuned = ZelTunePass(mEngine, picture.get(), mItem, ZelReferencePath(), messageId);
    ASSERT_TRUE(tuned);
    const uint8_t* out = DibBuffer::GetBits(tuned.get());
    EXPECT_LT(out[0], 64);
    EXPECT_GT(out[0], 40);
    EXPECT_NEAR(out[4], 128, 1);
    EXPECT_GT(out[8], 192);
    EXPECT_LT(out[8], 216);
    EXPECT_EQ(out[3], 99);
}

}  // namespace
}  // namespace vx
