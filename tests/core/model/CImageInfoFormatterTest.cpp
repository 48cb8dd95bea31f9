#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cctype>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/CImageInfoFormatter.h"
#include "model/CImageObj.h"
#include "platform/system/FourCC.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

/// "TT.MM.JJJJ HH:MM"
bool IsGermanDateTime(const std::string& text) {
    const std::string shape = "00.00.0000 00:00";
    if (text.size() != shape.size()) return false;
    for (size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == '0' ? !std::isdigit(uint8_t(text[i])) : text[i] != shape[i]) return false;
    return true;
}

/// Central European time, written out so that no time-zone database is needed.
constexpr const char* kGermanTime = "CET-1CEST,M3.5.0,M10.5.0/3";

// GTK sets the process locale: every case runs under C and German.
class ImageInfoText : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(mLocale.Active()) << GetParam() << " is not installed";
        tzset();
    }
    void TearDown() override {
        mZone.reset();
        tzset();
    }

    std::string Field(int field) const { return CImageInfoFormatter(mItem).FormatField(field); }
    std::string Field(const ExifRecord& exif, int field) {
        mItem.SetExif(exif);
        return Field(field);
    }

    /// A file of `size` bytes (sparse) last written at `utc` seconds, taken into the item.
    void TakeFile(uint64_t size, std::time_t utc = 0) {
        const fs::path path = mRoot.Path() / "Bild 1.jpg";
        std::ofstream(path).close();
        fs::resize_file(path, size);
        const timespec times[2] = {{utc, 0}, {utc, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        ASSERT_TRUE(mItem.TakeFileFacts(path));
    }

    test::ScopedLocale mLocale{GetParam()};
    std::unique_ptr<test::ScopedEnv> mZone = std::make_unique<test::ScopedEnv>("TZ", kGermanTime);
    test::TestRoot mRoot;
    CImageObj mItem{false};
};

TEST_P(ImageInfoText, FileFieldsAreNameDatesSizeTypePixelsAndResolution) {
    mItem.SetLabelNumber(7);
    EXPECT_EQ(Field(0), "7");
    EXPECT_EQ(Field(1), "") << "no path yet";
    EXPECT_EQ(Field(6), "") << "no description yet";

    TakeFile(1000, 1709647679);  // 2024-03-05 14:07:59 UTC, winter time
    EXPECT_EQ(Field(1), "Bild 1.jpg");
    EXPECT_EQ(Field(3), "05.03.2024 15:07");
    EXPECT_TRUE(IsGermanDateTime(Field(2))) << Field(2);
    TakeFile(1000, 1719828000);  // 2024-07-01 10:00 UTC, summer time
    EXPECT_EQ(Field(3), "01.07.2024 12:00");

    mItem.SetFileType(FourCC("JPEG"));
    EXPECT_EQ(Field(5), "JPEG");
    ImageDescription d;
    d.width = 6000;
    d.height = 4000;
    d.hRes = 300;
    d.vRes = 240;
    mItem.SetDescription(d);
    EXPECT_EQ(Field(6), "X6000/Y4000pix");
    EXPECT_EQ(Field(7), "300ppi");

    mItem.SetSimulationProfile("ISO Coated v2");
    EXPECT_EQ(Field(9), "") << "no proof simulation";
    mItem.SetColorProof(1);
    EXPECT_EQ(Field(9), "ISO Coated v2");
    for (int field : {26, 27, 100, -1}) EXPECT_EQ(Field(field), "") << field;
}

TEST_P(ImageInfoText, SizesInKilobytesBelowAMegabyteTruncated) {
    struct Case {
        uint64_t size;
        const char* text;
    };
    for (const Case& c : {Case{0, "0.0 KB"}, Case{1023, "0.9 KB"}, Case{1024, "1.0 KB"}, Case{1048575, "1023.9 KB"},
                          Case{1048576, "1.0 MB"}, Case{1154047, "1.0 MB"}, Case{1154048, "1.1 MB"},
                          Case{4294967297ULL, "4096.0 MB"}}) {
        SCOPED_TRACE(c.size);
        TakeFile(c.size);
        EXPECT_EQ(Field(4), c.text);
    }
}

struct ExifCase {
    int field;
    void (*set)(ExifRecord&);
    const char* text;
};

TEST_P(ImageInfoText, ExifValuesAsTheWindowShowsThem) {
    const std::vector<ExifCase> cases = {
        {10, [](ExifRecord& r) { r.maker = "Kamerawerk"; }, "Kamerawerk"},
        {11, [](ExifRecord& r) { r.model = "KW-9 Ä"; }, "KW-9 Ä"},
        {12, [](ExifRecord& r) { r.exifVersion = {'0', '2', '2', '0'}; }, "02.20"},
        {12, [](ExifRecord&) {}, ""},
        {13, [](ExifRecord& r) { r.dateTimeOriginal = "2023:07:14 10:11:12"; }, "2023:07:14 10:11:12"},
        {14, [](ExifRecord& r) { r.dateTimeDigitized = "2023:07:14 10:11:13"; }, "2023:07:14 10:11:13"},
        {16, [](ExifRecord& r) { r.exposureTimeNumerator = 0, r.exposureTimeDenominator = 1; }, "0sec"},
        {16, [](ExifRecord& r) { r.exposureTimeNumerator = 1, r.exposureTimeDenominator = 250; }, "1/250.0 sec"},
        {16, [](ExifRecord& r) { r.exposureTimeNumerator = 1, r.exposureTimeDenominator = 10; }, "1/10.0 sec"},
        {16, [](ExifRecord& r) { r.exposureTimeNumerator = 1, r.exposureTimeDenominator = 8; }, "1/8.00 sec"},
        {16, [](ExifRecord& r) { r.exposureTimeNumerator = 3, r.exposureTimeDenominator = 7; }, "1/2.33 sec"},
        {16, [](ExifRecord& r) { r.exposureTimeNumerator = 2, r.exposureTimeDenominator = 1; }, "2.0 sec"},
        {16, [](ExifRecord& r) { r.exposureTimeNumerator = 5, r.exposureTimeDenominator = 5; }, "1.0 sec"},
        {16, [](ExifRecord& r) { r.exposureTimeNumerator = 4000000000u, r.exposureTimeDenominator = 1; }, "4000000000.0 sec"},
        {16, [](ExifRecord& r) { r.exposureTimeNumerator = 10, r.exposureTimeDenominator = 0; }, ""},
        {17, [](ExifRecord& r) { r.exposureBiasValue = -2.0 / 3.0; }, "-0.67"},
        {18, [](ExifRecord& r) { r.fNumber = 5.6; }, "5.60"},
        {19, [](ExifRecord& r) { r.isoSpeedRatings = 65535; }, "65535"},
        {21, [](ExifRecord& r) { r.colorSpace = 1; }, "sRGB"},
        {21, [](ExifRecord& r) { r.colorSpace = 65535; }, "Anderer als sRGB"},
        {21, [](ExifRecord&) {}, "Anderer als sRGB"},
        {20, [](ExifRecord& r) { r.whiteBalance = 0; }, "Automatischer Weißabgleich"},
        {20, [](ExifRecord& r) { r.whiteBalance = 1; }, "Manueller Weißabgleich"},
        {20, [](ExifRecord& r) { r.whiteBalance = 2; }, "unbekannt"},
        {22, [](ExifRecord& r) { r.contrast = 0; }, "Normal"},
        {22, [](ExifRecord& r) { r.contrast = 1; }, "Weich"},
        {22, [](ExifRecord& r) { r.contrast = 2; }, "Hart"},
        {22, [](ExifRecord& r) { r.contrast = 3; }, "Normal"},
        {23, [](ExifRecord& r) { r.saturation = 0; }, "Normal"},
        {23, [](ExifRecord& r) { r.saturation = 1; }, "Niedrige Sättigung"},
        {23, [](ExifRecord& r) { r.saturation = 2; }, "Hohe Sättigung"},
        {23, [](ExifRecord& r) { r.saturation = 9; }, "Normal"},
    };
    for (const ExifCase& c : cases) {
        ExifRecord r;
        c.set(r);
        EXPECT_EQ(Field(r, c.field), c.text) << "field " << c.field << ", case " << (&c - cases.data());
    }
}

TEST_P(ImageInfoText, EveryLightSourceAndAnUnknownOne) {
    struct Case {
        uint16_t value;
        const char* text;
    };
    for (const Case& c : {Case{0, "unbekannt"}, Case{1, "Tageslicht"}, Case{2, "Fluoreszierend"},
                          Case{3, "Kunstlicht (Glühlampen)"}, Case{4, "Blitz"}, Case{5, "unbekannt"},
                          Case{9, "Schönes Wetter"}, Case{10, "Bewölkt"}, Case{11, "Schatten"},
                          Case{12, "Tageslicht fluoreszierend (D 5700_7100K)"},
                          Case{13, "Tag weiß fluoreszierend (N 4600_5400K)"},
                          Case{14, "Kühl weiß fluoreszierend (W 3900_4500K)"},
                          Case{15, "Weiß fluoreszierend (WW 3200_3700K)"}, Case{16, "unbekannt"},
                          Case{17, "Standardlicht A"}, Case{18, "Standardlicht B"}, Case{19, "Standardlicht C"},
                          Case{20, "D55"}, Case{21, "D65"}, Case{22, "D75"}, Case{23, "D50"},
                          Case{24, "ISO Studio-Kunstlicht"}, Case{255, "andere Lichtquellen"},
                          Case{256, "unbekannt"}}) {
        ExifRecord r;
        r.lightSource = c.value;
        EXPECT_EQ(Field(r, 15), c.text) << c.value;
    }
}

TEST_P(ImageInfoText, FlashGivesTwoTextsFromItsLowByte) {
    struct Case {
        uint16_t flash;
        const char* first;
        const char* second;
    };
    for (const Case& c :
         {Case{0x00, "Blitz hat nicht ausgelöst.", ""},
          Case{0x18, "Blitz hat nicht ausgelöst.", ""},
          Case{0x01, "Blitz hat ausgelöst. Keine Reduzierung des Rote-Augen-Effekts.", "Obligatorischer Blitz unbekannt"},
          Case{0x09, "Blitz hat ausgelöst. Keine Reduzierung des Rote-Augen-Effekts.", "Obligatorischer Blitz ausgelöst"},
          Case{0x11, "Blitz hat ausgelöst. Keine Reduzierung des Rote-Augen-Effekts.", "Obligatorischer Blitz unterdrückt"},
          Case{0x19, "Blitz hat ausgelöst. Keine Reduzierung des Rote-Augen-Effekts.", "Automatikmodus"},
          Case{0x41, "Blitz hat ausgelöst. Reduzierung des Rote-Augen-Effekts.", "Obligatorischer Blitz unbekannt"},
          Case{0x59, "Blitz hat ausgelöst. Reduzierung des Rote-Augen-Effekts.", "Automatikmodus"},
          Case{0x159, "Blitz hat ausgelöst. Reduzierung des Rote-Augen-Effekts.", "Automatikmodus"},
          Case{0x100, "Blitz hat nicht ausgelöst.", ""}}) {
        ExifRecord r;
        r.flash = c.flash;
        EXPECT_EQ(Field(r, 24), c.first) << std::hex << c.flash;
        EXPECT_EQ(Field(r, 25), c.second) << std::hex << c.flash;
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, ImageInfoText, testing::Values("C", "de_DE.UTF-8"));

}  // namespace
}  // namespace vx
