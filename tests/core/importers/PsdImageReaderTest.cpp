#include <gtest/gtest.h>

#include <array>

#include "ImporterFixtures.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "colourmanagement/ImageProfiles.h"
#include "imaging/MemoryByteSource.h"
#include "importers/PictureImport.h"
#include "importers/PsdImageReader.h"
#include "importers/QtmlStartCount.h"
#include "model/CImageObj.h"
#include "model/ImageGeometry.h"
#include "model/ImageAdding.h"
#include "model/PictureLoader.h"
#include "platform/system/FourCC.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using Bgra = std::array<uint8_t, 4>;

constexpr int kW = 11;
constexpr int kH = 5;

struct PsdCase {
    const char* name;
    int mode;
    int bits;
    int channels;
    int compression;
    int16_t layerCount;
};

size_t RowBytes(int bits) { return bits == 1 ? (kW + 7) / 8 : size_t(kW) * size_t(bits / 8); }

test::PsdContent MakeContent(const PsdCase& c) {
    test::PsdContent s;
    s.width = kW;
    s.height = kH;
    s.mode = c.mode;
    s.bits = c.bits;
    s.compression = c.compression;
    s.layerCount = c.layerCount;
    for (int ch = 0; ch < c.channels; ++ch) {
        std::vector<uint8_t> plane = test::PatternBytes(RowBytes(c.bits) * kH, uint32_t(10 + ch));
        // Long runs too, so that PackBits writes repeat runs.
        for (size_t i = 0; i < RowBytes(c.bits); ++i) plane[i] = uint8_t(ch * 40);
        s.planes.push_back(plane);
    }
    if (c.mode == 2) s.colourModeData = test::PatternBytes(768, 99);
    if (c.mode == 8) s.colourModeData = test::PatternBytes(40, 98);
    return s;
}

// The value of channel ch at (x, y) as 8 bits, by the stored bytes.
uint8_t Value(const test::PsdContent& s, int ch, int x, int y) {
    const uint8_t* row = s.planes[size_t(ch)].data() + RowBytes(s.bits) * size_t(y);
    if (s.bits == 1) return (row[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255;
    return s.bits == 16 ? row[2 * x] : row[x];
}

Bgra Expected(const test::PsdContent& s, const PsdCase& c, int x, int y) {
    const bool alpha = c.layerCount < 0 && c.channels > (c.mode == 3 ? 3 : c.mode == 4 ? 4 : 1);
    Bgra p{};
    switch (c.mode) {
        case 3: p = {Value(s, 2, x, y), Value(s, 1, x, y), Value(s, 0, x, y), 255}; break;
        case 4:
            p = {uint8_t(255 - Value(s, 0, x, y)), uint8_t(255 - Value(s, 1, x, y)), uint8_t(255 - Value(s, 2, x, y)),
                 uint8_t(255 - Value(s, 3, x, y))};
            return p;
        case 2: {
            const uint8_t i = Value(s, 0, x, y);
            p = {s.colourModeData[512 + i], s.colourModeData[256 + i], s.colourModeData[i], 255};
            break;
        }
        default: {
            const uint8_t g = Value(s, 0, x, y);
            p = {g, g, g, 255};
        }
    }
    if (alpha) p[3] = Value(s, c.mode == 3 ? 3 : 1, x, y);
    return p;
}

void ExpectPicture(const DibBuffer* picture, const test::PsdContent& s, const PsdCase& c, bool opaque = false) {
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(DibBuffer::GetRect(picture).Width(), kW);
    ASSERT_EQ(DibBuffer::GetRect(picture).Height(), kH);
    const uint8_t* bits = DibBuffer::GetBits(picture);
    int wrong = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const uint8_t* p = bits + y * DibBuffer::GetRowBytes(picture) + 4 * x;
            Bgra want = Expected(s, c, x, y);
            if (opaque) want[3] = 255;
            if (Bgra{p[0], p[1], p[2], p[3]} != want && ++wrong < 4)
                ADD_FAILURE() << x << "," << y << ": " << int(p[0]) << " " << int(p[1]) << " " << int(p[2]) << " "
                              << int(p[3]) << " instead of " << int(want[0]) << " " << int(want[1]) << " "
                              << int(want[2]) << " " << int(want[3]);
        }
}

class PsdImport : public test::ImportingTest {
protected:
    DibBufferPtr Load(const std::vector<uint8_t>& bytes, std::unique_ptr<CImageObj>& item, int& opened) {
        return ImportingTest::Load(bytes, item, "picture.psd", &opened);
    }

};

TEST_F(PsdImport, ModesDepthsAndCompressionsDecodeExactly) {
    const std::vector<PsdCase> cases = {
        {"rgb8 raw", 3, 8, 3, 0, 0},          {"rgb8 packbits", 3, 8, 3, 1, 0},
        {"rgb16 raw", 3, 16, 3, 0, 0},        {"rgb16 packbits", 3, 16, 3, 1, 0},
        {"grey8 raw", 1, 8, 1, 0, 0},         {"grey16 packbits", 1, 16, 1, 1, 0},
        {"bitmap raw", 0, 1, 1, 0, 0},        {"bitmap packbits", 0, 1, 1, 1, 0},
        {"indexed raw", 2, 8, 1, 0, 0},       {"indexed packbits", 2, 8, 1, 1, 0},
        {"duotone", 8, 8, 1, 0, 0},           {"rgb8 merged alpha", 3, 8, 4, 1, -1},
        {"rgb8 extra channel", 3, 8, 4, 0, 1}, {"grey merged alpha", 1, 8, 2, 0, -2},
    };
    for (const PsdCase& c : cases) {
        SCOPED_TRACE(c.name);
        const test::PsdContent content = MakeContent(c);
        std::unique_ptr<CImageObj> item;
        int opened = 0;
        DibBufferPtr picture = Load(test::WritePsd(content), item, opened);
        ASSERT_NE(opened, 0);
        EXPECT_EQ(item->GetFileType(), FourCC("8BPS"));
        EXPECT_EQ(item->GetDescription()->codecType, FourCC("8BPS"));
        // Loading keeps the alpha of 32-bit pictures only.
        ExpectPicture(picture.get(), content, c, item->GetColorDepth() != 32);
        const std::vector<uint8_t> bytes = test::WritePsd(content);
        MemoryByteSource source(bytes.data(), bytes.size());
        int messageId = 0;
        DibBufferPtr decoded = PsdImageReader::Decode(source, messageId);
        ExpectPicture(decoded.get(), content, c);
    }
    EXPECT_TRUE(mMessages.shown.empty());
}

TEST(PsdImageReader, CmykKeepsInkBytes) {
    const PsdCase c{"cmyk", 4, 8, 4, 1, 0};
    const test::PsdContent content = MakeContent(c);
    const std::vector<uint8_t> bytes = test::WritePsd(content);
    MemoryByteSource source(bytes.data(), bytes.size());
    int messageId = 0;
    DibBufferPtr picture = PsdImageReader::Decode(source, messageId);
    ExpectPicture(picture.get(), content, c);
}

TEST(PsdImageReader, DescribesResolutionDepthAndProfile) {
    test::PsdContent s = MakeContent({"rgb", 3, 8, 3, 0, 0});
    s.resolution = uint32_t(300 << 16);
    s.resolutionUnit = 2;  // shown in centimetres, stored per inch
    s.icc = test::SmallIccProfile();
    std::vector<uint8_t> bytes = test::WritePsd(s);
    MemoryByteSource source(bytes.data(), bytes.size());
    std::optional<ImportedImageInfo> info = PsdImageReader::Describe(source);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->fileType, FourCC("8BPS"));
    EXPECT_EQ(info->description.hRes, 300u);
    EXPECT_EQ(info->description.vRes, 300u);
    EXPECT_EQ(info->description.depth, 24);
    EXPECT_TRUE(info->hasEmbeddedProfile);

    s.resolution = uint32_t(240 << 16);
    s.resolutionUnit = 1;
    s.icc.clear();
    bytes = test::WritePsd(s);
    MemoryByteSource plain(bytes.data(), bytes.size());
    info = PsdImageReader::Describe(plain);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->description.hRes, 240u);
    EXPECT_FALSE(info->hasEmbeddedProfile);
}

// Resource 1005 holds pixels per inch in every display unit; ImageMagick stores 118 per
// centimetre as 299.72 with "cm" as the unit.
TEST_F(PsdImport, ResolutionIsTheIntegerPartInEveryDisplayUnit) {
    struct Case { const char* file; uint32_t ppi; };
    const fs::path folder = test::SourceFolder() / "tests" / "fixtures" / "psd";
    for (const Case& c : {Case{"ppcm-118.psd", 299}, Case{"ppi-299.72.psd", 299}, Case{"ppcm-118.11.psd", 300},
                          Case{"ppi-300.psd", 300}, Case{"ppi-72.psd", 72}, Case{"ppcm-28.35.psd", 72}}) {
        SCOPED_TRACE(c.file);
        const std::string bytes = test::ReadFileBytes(folder / c.file);
        ASSERT_FALSE(bytes.empty());
        std::unique_ptr<CImageObj> item;
        int opened = 0;
        ASSERT_NE(Load(std::vector<uint8_t>(bytes.begin(), bytes.end()), item, opened), nullptr);
        ASSERT_TRUE(item->GetDescription());
        EXPECT_EQ(item->GetDescription()->hRes, c.ppi);
        EXPECT_EQ(item->GetDescription()->vRes, c.ppi);
        // 150 x 75 pixels at that resolution, in 1/360 inch rounded up.
        const auto units = [&](int pixels) { return int32_t((pixels * 360 + c.ppi - 1) / c.ppi); };
        EXPECT_EQ(GetImagePrintSize(*item, true), (LayoutPoint{units(150), units(75)}));
    }
    // The fraction never rounds up, and a zero integer part is no resolution.
    test::PsdContent s = MakeContent({"rgb", 3, 8, 3, 0, 0});
    struct Fixed { uint32_t value; uint32_t ppi; };
    for (const Fixed& c : {Fixed{0x012CFFFF, 300}, Fixed{0x0000FFFF, 72}}) {
        SCOPED_TRACE(c.value);
        s.resolution = c.value;
        const std::vector<uint8_t> bytes = test::WritePsd(s);
        MemoryByteSource source(bytes.data(), bytes.size());
        std::optional<ImportedImageInfo> info = PsdImageReader::Describe(source);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->description.hRes, c.ppi);
    }
}

TEST_F(PsdImport, RefusesLabLargeDocumentsZipAnd32Bits) {
    std::unique_ptr<CImageObj> item;
    int opened = 0;
    test::PsdContent lab = MakeContent({"lab", 9, 8, 3, 0, 0});
    Load(test::WritePsd(lab), item, opened);
    EXPECT_EQ(opened, 0);
    test::PsdContent psb = MakeContent({"psb", 3, 8, 3, 0, 0});
    psb.version = 2;
    Load(test::WritePsd(psb), item, opened);
    EXPECT_EQ(opened, 0);

    struct Refused { PsdCase c; int messageId; };
    for (const Refused& r : {Refused{{"zip", 3, 8, 3, 2, 0}, 10526}, Refused{{"float", 3, 32, 3, 0, 0}, 10526}}) {
        SCOPED_TRACE(r.c.name);
        const std::vector<uint8_t> bytes = test::WritePsd(MakeContent(r.c));
        MemoryByteSource source(bytes.data(), bytes.size());
        int messageId = 0;
        EXPECT_EQ(PsdImageReader::Decode(source, messageId), nullptr);
        EXPECT_EQ(messageId, r.messageId);
    }
    // Through the load path the reason is shown.
    mMessages.shown.clear();
    DibBufferPtr picture = Load(test::WritePsd(MakeContent({"zip", 3, 8, 3, 2, 0})), item, opened);
    EXPECT_NE(opened, 0);
    EXPECT_EQ(picture, nullptr);
    EXPECT_EQ(mMessages.Ids(), std::vector<int>{10526});
}

TEST(PsdImageReader, ShortDataIsRefusedBeforeDecoding) {
    const test::PsdContent content = MakeContent({"rle", 3, 8, 3, 1, 0});
    const std::vector<uint8_t> whole = test::WritePsd(content);
    // Cut inside the row-count table, inside the rows, and a raw file short of a channel.
    const size_t tableAt = whole.size() - [&] {
        size_t packed = 0;
        for (const auto& plane : content.planes)
            for (int r = 0; r < kH; ++r) packed += test::PackRow(plane.data() + size_t(r) * kW, kW).size();
        return packed + size_t(3 * kH * 2);
    }();
    const std::vector<uint8_t> raw = test::WritePsd(MakeContent({"raw", 3, 8, 3, 0, 0}));
    const std::vector<std::vector<uint8_t>> damaged = {
        {whole.begin(), whole.begin() + long(tableAt + 7)},
        {whole.begin(), whole.end() - 3},
        {raw.begin(), raw.end() - 1},
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        MemoryByteSource source(damaged[i].data(), damaged[i].size());
        int messageId = 0;
        EXPECT_EQ(PsdImageReader::Decode(source, messageId), nullptr);
        EXPECT_EQ(messageId, 10417);
    }
    // A row count claiming more than the row holds.
    std::vector<uint8_t> bad = whole;
    bad[tableAt] = 0x7F;
    MemoryByteSource source(bad.data(), bad.size());
    int messageId = 0;
    EXPECT_EQ(PsdImageReader::Decode(source, messageId), nullptr);
    EXPECT_EQ(messageId, 10417);
}

}  // namespace
}  // namespace vx
