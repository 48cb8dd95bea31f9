#include <gtest/gtest.h>

#include <png.h>

#include <array>
#include <functional>

#include "ImporterFixtures.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "colourmanagement/ImageProfiles.h"
#include "imaging/MemoryByteSource.h"
#include "importers/PictureImport.h"
#include "importers/PngReader.h"
#include "importers/QtmlStartCount.h"
#include "model/CImageObj.h"
#include "model/ImageAdding.h"
#include "model/PictureLoader.h"
#include "platform/system/FourCC.h"

namespace vx {
namespace {

using Bgra = std::array<uint8_t, 4>;

/// Importers started and installed for one test.
class ImportersOn : public test::ImportingTest {
protected:

    void ExpectPixels(const DibBuffer* picture, int width, int height, const std::function<Bgra(int, int)>& expected) {
        ASSERT_NE(picture, nullptr);
        const Rect16 rect = DibBuffer::GetRect(picture);
        ASSERT_EQ(rect.Width(), width);
        ASSERT_EQ(rect.Height(), height);
        const uint8_t* bits = DibBuffer::GetBits(picture);
        const int32_t stride = DibBuffer::GetRowBytes(picture);
        int wrong = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = bits + y * stride + x * 4;
                const Bgra want = expected(x, y);
                if (Bgra{p[0], p[1], p[2], p[3]} != want && ++wrong < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << int(p[0]) << " " << int(p[1]) << " "
                                  << int(p[2]) << " " << int(p[3]) << " instead of " << int(want[0]) << " "
                                  << int(want[1]) << " " << int(want[2]) << " " << int(want[3]);
            }
    }

};

TEST_F(ImportersOn, PngRgba16InterlacedKeepsHighBytesAndAlpha) {
    test::PngContent content;
    content.width = 13;
    content.height = 9;
    content.colourType = PNG_COLOR_TYPE_RGBA;
    content.bitDepth = 16;
    content.interlaced = true;
    content.samples = test::PatternBytes(size_t(13 * 9 * 8), 1);
    std::unique_ptr<CImageObj> item;
    DibBufferPtr picture = Load(test::WritePng(content), item);
    EXPECT_EQ(item->GetDescription()->codecType, FourCC("png "));
    EXPECT_EQ(item->GetDescription()->depth, 32);
    EXPECT_EQ(item->GetFileType(), FourCC("PNGf"));
    ExpectPixels(picture.get(), 13, 9, [&](int x, int y) {
        const uint8_t* s = content.samples.data() + (y * 13 + x) * 8;
        return Bgra{s[4], s[2], s[0], s[6]};
    });
}

TEST_F(ImportersOn, PngPaletteWithTransparencyAndOneBitGrey) {
    test::PngContent palette;
    palette.width = 5;
    palette.height = 2;
    palette.colourType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    palette.trns = {0, 128};  // the third entry stays opaque
    palette.samples = {0, 1, 2, 1, 0, 2, 2, 1, 0, 0};
    std::unique_ptr<CImageObj> item;
    DibBufferPtr picture = Load(test::WritePng(palette), item);
    EXPECT_EQ(item->GetDescription()->depth, 32);
    const std::array<Bgra, 3> colours = {Bgra{30, 20, 10, 0}, Bgra{60, 50, 40, 128}, Bgra{90, 80, 70, 255}};
    ExpectPixels(picture.get(), 5, 2, [&](int x, int y) { return colours[palette.samples[size_t(y * 5 + x)]]; });

    test::PngContent grey;
    grey.width = 10;
    grey.height = 2;
    grey.colourType = PNG_COLOR_TYPE_GRAY;
    grey.bitDepth = 1;
    grey.samples = {0b10110010, 0b01000000, 0b00001111, 0b11000000};
    picture = Load(test::WritePng(grey), item);
    EXPECT_EQ(item->GetDescription()->depth, 1);
    ExpectPixels(picture.get(), 10, 2, [&](int x, int y) {
        const bool white = (grey.samples[size_t(y * 2 + x / 8)] >> (7 - x % 8)) & 1;
        const uint8_t v = white ? 255 : 0;
        return Bgra{v, v, v, 255};
    });
}

TEST(PngReader, DescribesResolutionAndDepth) {
    struct Case { int colourType; int bits; bool trns; std::optional<uint32_t> phys; int unit; uint32_t ppi; uint16_t depth; };
    const std::vector<Case> cases = {
        {PNG_COLOR_TYPE_RGB, 8, false, 11811, 1, 300, 24},
        {PNG_COLOR_TYPE_RGB, 8, true, 2835, 1, 72, 32},
        {PNG_COLOR_TYPE_RGB, 16, false, 11811, 0, 72, 24},  // unit 0: an aspect ratio only
        {PNG_COLOR_TYPE_GRAY, 16, false, std::nullopt, 1, 72, 8},
        {PNG_COLOR_TYPE_GRAY, 4, false, 3937, 1, 100, 4},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, std::nullopt, 1, 72, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.colourType << "/" << c.bits << " " << c.unit);
        test::PngContent content;
        content.width = 3;
        content.height = 2;
        content.colourType = c.colourType;
        content.bitDepth = c.bits;
        content.phys = c.phys;
        content.physUnit = c.unit;
        if (c.trns) content.trns = {0, 1, 0, 2, 0, 3};
        content.samples = test::PatternBytes(64, 3);
        const std::vector<uint8_t> bytes = test::WritePng(content);
        MemoryByteSource source(bytes.data(), bytes.size());
        const std::optional<ImportedImageInfo> info = PngReader::Describe(source);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->description.hRes, c.ppi);
        EXPECT_EQ(info->description.vRes, c.ppi);
        EXPECT_EQ(info->description.depth, c.depth);
        EXPECT_EQ(info->description.width, 3);
        EXPECT_FALSE(info->hasEmbeddedProfile);
    }
}

TEST_F(ImportersOn, PngProfileReachesTheProfileReader) {
    test::PngContent content;
    content.width = 2;
    content.height = 2;
    content.icc = test::SmallIccProfile();
    content.samples = test::PatternBytes(12, 4);
    std::unique_ptr<CImageObj> item;
    DibBufferPtr picture = Load(test::WritePng(content), item);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(item->GetFileEmbedded(), 1);
    EXPECT_EQ(LoadImageEmbeddedProfile(*item), content.icc);
}

TEST(PngReader, RefusesAHugeHeaderAndCutData) {
    const std::vector<uint8_t> huge = test::PngHeaderOnly(30000, 30000);
    MemoryByteSource source(huge.data(), huge.size());
    EXPECT_FALSE(PngReader::Describe(source));
    int messageId = 0;
    EXPECT_EQ(PngReader::Decode(source, messageId), nullptr);
    EXPECT_EQ(messageId, 10413);

    test::PngContent content;
    content.width = 64;
    content.height = 64;
    content.samples = test::PatternBytes(64 * 64 * 3, 5);
    std::vector<uint8_t> bytes = test::WritePng(content);
    bytes.resize(bytes.size() / 2);
    MemoryByteSource cut(bytes.data(), bytes.size());
    EXPECT_TRUE(PngReader::Describe(cut));
    EXPECT_EQ(PngReader::Decode(cut, messageId), nullptr);
    EXPECT_EQ(messageId, 10417);

    bytes = test::WritePng(content);
    bytes[29] ^= 0x40;  // the IHDR's CRC no longer matches
    MemoryByteSource damaged(bytes.data(), bytes.size());
    EXPECT_EQ(PngReader::Decode(damaged, messageId), nullptr);
    EXPECT_EQ(messageId, 10417);
}

TEST_F(ImportersOn, WithoutATargetAWidePictureShrinksInProportion) {
    test::PngContent content;
    content.width = 12000;
    content.height = 30;
    content.samples = test::PatternBytes(size_t(12000 * 30 * 3), 6);
    const auto path = mRoot.Path() / "wide.png";
    test::WriteBytes(path, test::WritePng(content));
    std::unique_ptr<CImageObj> item(CreateImageObj(nullptr, nullptr, "StdImage"));
    ImageDescription d;
    d.codecType = FourCC("png ");
    item->SetDescription(d);
    item->SetFilePath(path);
    int messageId = 0;
    DibBufferPtr picture = ImportPictureWithQuickTime(*item, nullptr, messageId);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(DibBuffer::GetRect(picture.get()).Width(), 10000);
    EXPECT_EQ(DibBuffer::GetRect(picture.get()).Height(), 25);
}

}  // namespace
}  // namespace vx
