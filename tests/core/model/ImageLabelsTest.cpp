#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "LayoutFixture.h"
#include "model/CImageObj.h"
#include "model/CTextObj.h"
#include "model/ImageGeometry.h"
#include "model/ImageLabels.h"
#include "platform/system/FourCC.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

using test::TestLayout;

std::vector<int> NumbersOf(const std::vector<CImageObj*>& items) {
    std::vector<int> out;
    for (const CImageObj* p : items) out.push_back(p->GetLabelNumber());
    return out;
}

TEST(RenumberImageItems, FreeLayoutNumbersTheUnnumberedAboveTheHighest) {
    TestLayout t;
    t.layout.SetFree(1);
    std::vector<CImageObj*> images = t.AddImages(2);
    CTextObj* text = t.Add<CTextObj>(100, 100);
    images.push_back(t.Add(300, 200));
    images.push_back(t.Add(300, 200));
    for (size_t i = 0; i < images.size(); ++i) {
        images[i]->SetLabelNumber(int16_t(std::vector<int>{3, 0, 7, 0}[i]));
        images[i]->SetLabelSelection(1);  // the number
    }
    images[0]->SetLabelText("kept");

    RenumberImageItems(t.layout);
    EXPECT_EQ(NumbersOf(images), (std::vector<int>{3, 8, 7, 9}));
    EXPECT_EQ(images[0]->GetLabelText(), "kept") << "a numbered item keeps its label";
    EXPECT_EQ(images[1]->GetLabelText(), "Nummer: 8  ");
    EXPECT_EQ(images[3]->GetLabelText(), "Nummer: 9  ");
    EXPECT_EQ(text->GetChanged(), 0) << "free texts are no images";
}

TEST(RenumberImageItems, AutomaticLayoutNumbersInListOrderAndRebuildsOnlyChangedLabels) {
    TestLayout t;
    t.layout.SetFree(0);
    std::vector<CImageObj*> images{t.Add(300, 200)};
    t.Add<CTextObj>(100, 100);
    images.push_back(t.Add(300, 200));
    images.push_back(t.Add(300, 200));
    const int16_t numbers[] = {2, 2, 5};
    for (size_t i = 0; i < images.size(); ++i) {
        images[i]->SetLabelNumber(numbers[i]);
        images[i]->SetLabelSelection(1);
        images[i]->SetLabelText("marked");
    }

    RenumberImageItems(t.layout);
    EXPECT_EQ(NumbersOf(images), (std::vector<int>{1, 2, 3})) << "the free text does not count";
    EXPECT_EQ(images[0]->GetLabelText(), "Nummer: 1  ");
    EXPECT_EQ(images[1]->GetLabelText(), "marked") << "its number did not change";
    EXPECT_EQ(images[1]->GetChanged(), 0);
    EXPECT_EQ(images[2]->GetLabelText(), "Nummer: 3  ");
}

/// Label texts from the real formatter, in central European time.
class ImageLabelText : public testing::Test {
protected:
    void SetUp() override { tzset(); }
    void TearDown() override {
        mZone.reset();
        tzset();
    }

    std::unique_ptr<test::ScopedEnv> mZone = std::make_unique<test::ScopedEnv>("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    test::TestRoot mRoot;
};

struct LabelCase {
    const char* what;
    uint32_t selection;
    void (*set)(CImageObj&);
    const char* text;
};

constexpr uint32_t Bit(int i) { return 1u << i; }
constexpr uint32_t kExifFields = 0x01FFFC00;  // bits 10 to 24

void Rgb(CImageObj& item) {
    item.SetColorSpace(FourCC("RGB "));
    item.SetProfileUseEmbed(0);
    item.SetSourceProfile("Adobe RGB (1998)");
    item.SetSimulationProfile("ISO Coated v2");
}

TEST_F(ImageLabelText, JoinsTheShownFieldsAsCaptionColonValueAndTwoBlanks) {
    const std::vector<LabelCase> cases = {
        {"number and name", Bit(0) | Bit(1), [](CImageObj&) {}, "Nummer: 4  Name: a.jpg  "},
        {"the modification time", Bit(3), [](CImageObj&) {}, "Geändert: 05.03.2024 15:07  "},
        {"RGB source without proof", Bit(8) | Bit(9), Rgb, "Quellprofil: Adobe RGB (1998)  "},
        {"RGB with proof", Bit(8) | Bit(9),
         [](CImageObj& i) {
             Rgb(i);
             i.SetColorProof(1);
         },
         "Quellprofil: Adobe RGB (1998)  Simulationsprofil: ISO Coated v2  "},
        {"grey never shows profiles", Bit(8) | Bit(9),
         [](CImageObj& i) {
             Rgb(i);
             i.SetColorProof(1);
             i.SetColorSpace(FourCC("GRAY"));
         },
         ""},
        {"no Exif data, every Exif field selected", kExifFields,
         [](CImageObj& i) {
             ExifRecord exif;
             exif.maker = "Kamera AG";
             exif.flash = 1;
             i.SetExif(exif);
         },
         ""},
        {"maker and model need any Exif flag and a value", Bit(10) | Bit(11),
         [](CImageObj& i) {
             ExifRecord exif;
             exif.presence = ExifRecord::kExifIfd;
             exif.maker = "Kamera AG";
             i.SetExif(exif);
         },
         "Hersteller: Kamera AG  "},
        {"the Exif version needs its own flag", Bit(12),
         [](CImageObj& i) {
             ExifRecord exif;
             exif.presence = ExifRecord::kExifIfd | ExifRecord::kFlash;
             exif.exifVersion = {'0', '2', '2', '0'};
             i.SetExif(exif);
         },
         ""},
        {"the Exif version with its flag", Bit(12),
         [](CImageObj& i) {
             ExifRecord exif;
             exif.presence = ExifRecord::kExifVersion;
             exif.exifVersion = {'0', '2', '2', '0'};
             i.SetExif(exif);
         },
         "Exif-Version: 02.20  "},
        {"ISO with its flag, others without theirs", Bit(16) | Bit(19) | Bit(23),
         [](CImageObj& i) {
             ExifRecord exif;
             exif.presence = ExifRecord::kIsoSpeedRatings;
             exif.isoSpeedRatings = 200;
             i.SetExif(exif);
         },
         "ISO-Empfindlichkeit: 200  "},
        {"flash fired: both flash texts, no trailing blanks", Bit(0) | Bit(24),
         [](CImageObj& i) {
             ExifRecord exif;
             exif.presence = ExifRecord::kFlash;
             exif.flash = 0x01;
             i.SetExif(exif);
         },
         "Nummer: 4  Blitz: Blitz hat ausgelöst. Keine Reduzierung des Rote-Augen-Effekts. "
         "Obligatorischer Blitz unbekannt"},
        {"flash not fired", Bit(24),
         [](CImageObj& i) {
             ExifRecord exif;
             exif.presence = ExifRecord::kFlash;
             i.SetExif(exif);
         },
         "Blitz: Blitz hat nicht ausgelöst."},
        {"flash without its flag", Bit(24),
         [](CImageObj& i) {
             ExifRecord exif;
             exif.presence = ExifRecord::kExifIfd;
             exif.flash = 0x01;
             i.SetExif(exif);
         },
         ""},
    };
    const std::filesystem::path file = mRoot.Path() / "a.jpg";
    std::ofstream(file).close();
    const timespec times[2] = {{1709647679, 0}, {1709647679, 0}};  // 2024-03-05 14:07:59 UTC
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(c.what);
        CImageObj item(true);
        ASSERT_TRUE(item.TakeFileFacts(file));
        item.SetLabelNumber(4);
        item.SetLabelSelection(c.selection);
        c.set(item);
        BuildImageLabelText(item);
        EXPECT_EQ(item.GetLabelText(), c.text);
        EXPECT_EQ(item.GetChanged(), 1);
    }
}

TEST_F(ImageLabelText, NoSelectionLeavesTextAndChangeMarkAlone) {
    CImageObj item(true);
    item.SetLabelText("old");
    item.SetLabelFontSizeAuto(1);
    item.SetLabelFontSize(77);
    BuildImageLabelText(item);
    EXPECT_EQ(item.GetLabelText(), "old");
    EXPECT_EQ(item.GetChanged(), 0);
    EXPECT_EQ(item.GetLabelFontSize(), 77);
}

TEST(AutomaticFontSize, IsAThirdOfTheFrameEdgeWithinFourToFortyPoints) {
    struct Case {
        int32_t edge;
        int16_t size;
    };
    for (const Case& c : {Case{45, 20}, Case{300, 100}, Case{900, 200}, Case{30, 20}, Case{-300, 20}}) {
        SCOPED_TRACE(c.edge);
        CImageObj item(true);
        item.SetFrame({0, 0, 0, c.edge});  // the bottom edge
        item.SetLabelSelection(1);
        item.SetLabelLocation(kSideBottom);
        item.SetLabelFontSizeAuto(1);
        item.SetCaptionLocation(kSideBottom);
        item.SetCaptionFontSizeAuto(1);
        BuildImageLabelText(item);
        UpdateAutoCaptionFontSize(item);
        EXPECT_EQ(item.GetLabelFontSize(), c.size);
        EXPECT_EQ(item.GetCaptionFontSize(), c.size);
    }
}

TEST(AutomaticFontSize, FollowsTheSideTheLabelTurnedTo) {
    CImageObj item(true);
    item.SetFrame({90, 240, 300, 600});  // left, top, right, bottom
    item.SetFrameRotate(1);
    item.SetLabelSelection(1);
    item.SetLabelLocation(kSideTop);
    item.SetLabelFontSizeAuto(1);
    item.SetCaptionLocation(kSideLeft);
    item.SetCaptionFontSize(50);
    BuildImageLabelText(item);
    UpdateAutoCaptionFontSize(item);
    EXPECT_EQ(item.GetLabelFontSize(), 100) << "a top label of a turned item takes the right edge";
    EXPECT_EQ(item.GetCaptionFontSize(), 50) << "without the automatic switch the size stays";
    item.SetCaptionFontSizeAuto(1);
    UpdateAutoCaptionFontSize(item);
    EXPECT_EQ(item.GetCaptionFontSize(), 80) << "left turns to top: 240 / 3";
}

TEST(MapLabelPosition, TurnsSidesWithTheAutomaticRotationAndMirrorsOnlyUnturned) {
    struct Case {
        int16_t code;
        int sides[4];  // where top, bottom, left, right end up
    };
    const Case cases[] = {
        {0, {0, 1, 2, 3}}, {1, {3, 2, 0, 1}}, {2, {1, 0, 3, 2}}, {4, {2, 3, 1, 0}},
        {8, {0, 1, 3, 2}}, {9, {3, 2, 0, 1}}, {10, {1, 0, 3, 2}}, {12, {2, 3, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        CImageObj item(true);
        item.SetFrameRotate(c.code);
        for (int side = 0; side < 4; ++side) EXPECT_EQ(MapLabelPosition(item, side), c.sides[side]) << side;
        EXPECT_EQ(MapLabelPosition(item, 5), 5);
        EXPECT_EQ(MapLabelPosition(item, -1), -1);
    }
}

}  // namespace
}  // namespace vx
