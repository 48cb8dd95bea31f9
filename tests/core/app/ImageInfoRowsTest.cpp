#include <gtest/gtest.h>

#include <set>

#include "app/ImageInfoRows.h"
#include "imaging/ExifRecord.h"
#include "model/CImageObj.h"
#include "model/CTextObj.h"

namespace vx {
namespace {

constexpr uint32_t kRgb = 0x52474220;   // 'RGB '
constexpr uint32_t kGray = 0x47524159;  // 'GRAY'

/// An image whose every field has a text, with the Exif presence bits given.
std::unique_ptr<CImageObj> FilledImage(uint32_t presence, uint32_t space = kRgb) {
    auto item = std::make_unique<CImageObj>(true);
    item->SetFilePath("/tmp/bild.jpg");
    item->SetLabelNumber(3);
    ImageDescription d;
    d.codecType = 0x6A706567;
    d.width = 600;
    d.height = 400;
    d.hRes = d.vRes = 300;
    d.depth = 24;
    item->SetDescription(d);
    item->SetFileType(0x4A504547);
    item->SetColorSpace(space);
    item->SetSourceProfile("Quelle");
    item->SetColorProof(1);
    item->SetSimulationProfile("Simulation");
    ExifRecord exif;
    exif.presence = presence;
    exif.maker = "Hersteller";
    exif.model = "Modell";
    exif.exifVersion = {'0', '2', '2', '0'};
    exif.dateTimeOriginal = "2024:01:02 03:04:05";
    exif.dateTimeDigitized = "2024:01:02 03:04:06";
    exif.lightSource = 1;
    exif.exposureTimeNumerator = 1;
    exif.exposureTimeDenominator = 125;
    exif.fNumber = 5.6;
    exif.isoSpeedRatings = 200;
    exif.colorSpace = 1;
    exif.flash = 0x19;
    item->SetExif(exif);
    return item;
}

std::set<int> FilledRows(const ImageInfoTable& rows) {
    std::set<int> filled;
    for (int i = 0; i < kImageInfoRowCount; ++i)
        if (!rows[size_t(i)].value.empty()) filled.insert(i);
    return filled;
}

TEST(ImageInfoRows, LabelsAndSeparatorsWithoutValues) {
    const ImageInfoTable rows = ImageInfoLabelRows();
    EXPECT_EQ(rows[0].label, "Nummer");
    EXPECT_EQ(rows[8].label, "Quellprofil");
    EXPECT_EQ(rows[10].label, "Hersteller");
    EXPECT_EQ(rows[24].label, "Blitz");
    EXPECT_EQ(rows[24].labelId, 33765);
    for (int i = 0; i < 25; ++i) EXPECT_EQ(rows[size_t(i)].separator, ":") << i;
    EXPECT_TRUE(rows[25].label.empty());
    EXPECT_TRUE(rows[25].separator.empty());
    EXPECT_TRUE(FilledRows(rows).empty());
}

TEST(ImageInfoRows, ColourImageWithFullExifFillsEveryRow) {
    const auto item = FilledImage(0x1FFF);
    const ImageInfoTable rows = ImageInfoRowsFor(*item);
    EXPECT_EQ(FilledRows(rows).size(), 26u);
    EXPECT_EQ(rows[1].value, "bild.jpg");
    EXPECT_EQ(rows[10].value, "Hersteller");
    EXPECT_EQ(rows[0].label, "Nummer");
}

TEST(ImageInfoRows, GreyImageLeavesBothProfilesEmpty) {
    const auto item = FilledImage(0x1FFF, kGray);
    const std::set<int> filled = FilledRows(ImageInfoRowsFor(*item));
    EXPECT_FALSE(filled.count(8));
    EXPECT_FALSE(filled.count(9));
    EXPECT_TRUE(filled.count(7));
    EXPECT_TRUE(filled.count(10));
}

TEST(ImageInfoRows, NoExifDataLeavesTheExifRowsEmpty) {
    const auto item = FilledImage(0);
    const std::set<int> filled = FilledRows(ImageInfoRowsFor(*item));
    EXPECT_EQ(filled, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(ImageInfoRows, EachPresenceFlagOpensItsOwnRows) {
    const std::set<int> always{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14};
    const struct {
        uint32_t flag;
        std::set<int> rows;
    } gates[] = {
        {0x4, {12}},   {0x10, {15}},  {0x200, {16}}, {0x800, {17}}, {0x1000, {18}}, {0x400, {19}},
        {0x20, {20}},  {0x40, {21}},  {0x80, {22}},  {0x100, {23}}, {0x8, {24, 25}},
    };
    for (const auto& gate : gates) {
        SCOPED_TRACE(gate.flag);
        const auto item = FilledImage(ExifRecord::kExifIfd | gate.flag);
        std::set<int> expected = always;
        expected.insert(gate.rows.begin(), gate.rows.end());
        EXPECT_EQ(FilledRows(ImageInfoRowsFor(*item)), expected);
    }
}

TEST(ImageInfoRows, FreeTextGivesTheLabelsOnly) {
    CTextObj text(true);
    EXPECT_EQ(ImageInfoRowsFor(text), ImageInfoLabelRows());
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

TEST(ImageInfoWindowGeometry, ColumnsShareTheRoomInsideTheEdges) {
    const ImageInfoColumns c = ImageInfoColumnWidths(400, 2, 16);
    EXPECT_EQ(c.label, 380 / 3);
    EXPECT_EQ(c.separator, 20);
    EXPECT_EQ(c.value, 2 * 380 / 3 - 20);
}

TEST(ImageInfoWindowGeometry, OriginIsMovedBackIntoTheWorkArea) {
    const struct {
        int x, y, wantX, wantY;
    } cases[] = {{5000, 5000, 1280 - 340, 1024 - 330}, {-50, -20, 0, 0}, {100, 60, 100, 60}};
    for (const auto& c : cases) {
        int x = c.x, y = c.y;
        ClampToolWindowOrigin(0, 0, 1280, 1024, 340, 330, x, y);
        EXPECT_EQ(x, c.wantX);
        EXPECT_EQ(y, c.wantY);
    }
}

}  // namespace
}  // namespace vx
