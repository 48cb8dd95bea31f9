#include <gtest/gtest.h>

#include <functional>

#include "../imaging/JpegFixtures.h"
#include "../imaging/TestBuffers.h"
#include "CatalogueFolders.h"
#include "colourmanagement/PictureColourTransforms.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "imaging/ImageFileType.h"
#include "model/CImageInfoFormatter.h"
#include "model/ProfileDescriptions.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageInfoReaders.h"
#include "model/PictureLoader.h"
#include "platform/colour/ProgramProfiles.h"
#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using Pixels = std::vector<uint8_t>;  // B,G,R,A

const char* const kPrinterFile = "TEVRA Proof 44 Proofpapier Halbmatt.icc";
const char* const kPrinterDescription = "TEVRA Proof 44 Proofpapier Halbmatt";

DibBufferPtr BufferOf(const Pixels& pixels) {
    DibBufferPtr b = test::MakeBuffer(int(pixels.size() / 4), 1);
    std::copy(pixels.begin(), pixels.end(), DibBuffer::GetBits(b.get()));
    return b;
}

// What the colour layer itself makes of the pixels through a chain.
Pixels Through(const std::vector<const ColourProfile*>& profiles, int intent, TransformQuality quality,
               Pixels pixels) {
    std::vector<ChainEntry> chain;
    for (const ColourProfile* p : profiles) chain.push_back({p, intent});
    ColourTransform t = ColourTransform::ForPixels(chain, quality);
    EXPECT_TRUE(t);
    if (t) t.ApplyToPixels(pixels.data(), uint32_t(pixels.size() / 4), 1, pixels.size());
    return pixels;
}

double Lightness(const Pixels& p, size_t i = 0) { return test::SrgbToLab(p[i * 4 + 2], p[i * 4 + 1], p[i * 4]).L; }

class PictureColourTest : public testing::Test {
protected:
    void SetUp() override {
        folders.AddDefaults();
        folders.Write(1, "AdobeRGB1998.icc", adobeBytes);
        folders.CopyData(1, fs::path("icc") / kPrinterFile);
        item.SetOwner(&layout);
        item.SetColorSpace(kSpaceRgb);
        item.SetSourceProfile(test::kSrgbDescription);
        item.SetProfileIntent(1);
        layout.SetRecommend(0);
        layout.Texts().printerProfile = kPrinterDescription;
    }
    // Colour-manages pixels as one row; nullopt when ColorManageImage fails.
    std::optional<Pixels> Manage(const Pixels& pixels, int mode) {
        DibBufferPtr b = BufferOf(pixels);
        if (!ColorManageImage(b.get(), item, mode)) {
            EXPECT_EQ(test::AllPixels(b.get()), pixels) << "a failed transform leaves the picture";
            return std::nullopt;
        }
        return test::AllPixels(b.get());
    }

    test::CatalogueFolders folders;
    const std::vector<uint8_t> adobeBytes = test::MakeAdobeLikeProfile();
    ColourProfile adobe = ColourProfile::OpenMemory(adobeBytes);
    ColourProfile srgb = test::OpenDataProfile("icc/sRGB Color Space Profile.ICM");
    ColourProfile printer = test::OpenDataProfile(fs::path("icc") / kPrinterFile);
    ColourProfile print = OpenProgramProfile(kPhotoPrintProfileResource);
    CLayoutSetting layout{true};
    CImageObj item{true, "StdImage"};
};

TEST_F(PictureColourTest, SrgbToSrgbKeepsColoursAndAlpha) {
    Pixels grid;
    auto level = [](int i) { return uint8_t(std::min(255, i * 16)); };
    for (int r = 0; r < 17; ++r)
        for (int g = 0; g < 17; ++g)
            for (int b = 0; b < 17; ++b) grid.insert(grid.end(), {level(b), level(g), level(r), uint8_t(r + g * 7 + b * 13)});
    for (int mode : {0, 1, 2, 3}) {
        SCOPED_TRACE(mode);
        layout.SetColorMatchPrinter(1);  // printing ends in sRGB too
        const std::optional<Pixels> out = Manage(grid, mode);
        ASSERT_TRUE(out);
        int worst = 0;
        for (size_t i = 0; i < grid.size(); ++i) {
            if (i % 4 == 3) ASSERT_EQ((*out)[i], grid[i]) << "alpha of pixel " << i / 4;
            else worst = std::max(worst, std::abs(int((*out)[i]) - int(grid[i])));
        }
        EXPECT_LE(worst, 1);
    }
}

TEST_F(PictureColourTest, AdobeGreensLandWhereThePrimariesPutThem) {
    item.SetSourceProfile("Adobe RGB(1998)");
    item.SetProfileIntent(3);
    const std::vector<std::array<int, 3>> colours = {{0, 255, 0}, {0, 128, 0}, {60, 180, 70}, {128, 128, 128}};
    Pixels in;
    for (const auto& c : colours) in.insert(in.end(), {uint8_t(c[2]), uint8_t(c[1]), uint8_t(c[0]), 40});
    const std::optional<Pixels> out = Manage(in, 1);
    ASSERT_TRUE(out);
    for (size_t i = 0; i < colours.size(); ++i) {
        const std::array<double, 3> want = test::AdobeToSrgb(colours[i]);
        EXPECT_NEAR((*out)[i * 4 + 2], want[0], 2) << i;
        EXPECT_NEAR((*out)[i * 4 + 1], want[1], 2) << i;
        EXPECT_NEAR((*out)[i * 4 + 0], want[2], 2) << i;
        EXPECT_EQ((*out)[i * 4 + 3], 40);
    }
}

TEST_F(PictureColourTest, TintAppliesWithCustomTintFromModeTwo) {
    struct Case {
        const char* name;
        int mode;
        int16_t tuneMode, bright;
        std::optional<double> lightnessShift;  // nullopt: the load fails
    };
    const std::vector<Case> cases = {
        {"screen with tint", 2, 2, 1, 4},      {"printing", 3, 2, -1, -4},   {"screen without tint", 1, 2, 1, 0},
        {"preview", 0, 2, 3, 0},               {"other tint mode", 2, 1, 1, 0}, {"level without profile", 2, 2, 4, std::nullopt},
    };
    const Pixels grey = {119, 119, 119, 200};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        layout.SetColorMatchPrinter(1);
        item.SetTuneMode(c.tuneMode);
        item.SetTuneBright(c.bright);
        const std::optional<Pixels> out = Manage(grey, c.mode);
        ASSERT_EQ(out.has_value(), c.lightnessShift.has_value());
        if (!out) continue;
        EXPECT_NEAR(Lightness(*out) - test::SrgbGreyLightness(119), *c.lightnessShift, 1.0);
        EXPECT_EQ((*out)[3], 200);
    }
}

TEST_F(PictureColourTest, NoticesAChangedProfileFile) {
    item.SetSourceProfile("Adobe RGB(1998)");
    const Pixels in = {30, 200, 40, 255};
    const std::optional<Pixels> adobeOut = Manage(in, 1);
    ASSERT_TRUE(adobeOut);
    EXPECT_EQ(Manage(in, 1), adobeOut) << "the kept transform gives the same";
    // Another profile under the same name and description: the kept transform is stale.
    folders.Write(1, "AdobeRGB1998.icc", test::DescribedSrgb("Adobe RGB(1998)"));
    const std::optional<Pixels> srgbOut = Manage(in, 1);
    ASSERT_TRUE(srgbOut);
    EXPECT_NE(srgbOut, adobeOut);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR((*srgbOut)[i], in[i], 1);
}

TEST_F(PictureColourTest, PicturesOfOtherSpacesStayAsTheyAre) {
    const Pixels pixels = {10, 20, 30, 40, 250, 128, 0, 7};
    for (uint32_t space : {kSpaceGray, kSpaceLab, uint32_t(0)}) {
        item.SetColorSpace(space);
        EXPECT_EQ(Manage(pixels, 1), pixels) << FourCCText(space);
    }
    EXPECT_FALSE(ColorManageImage(nullptr, item, 1));
}

TEST_F(PictureColourTest, CmykProofShowsThePaperOnScreen) {
    item.SetColorProof(1);
    item.SetSimulationProfile("Marlo CMYK");
    item.SetColorIntentSimulation(3);
    const std::optional<Pixels> out = Manage({255, 255, 255, 9, 128, 128, 128, 255}, 1);
    ASSERT_TRUE(out);
    EXPECT_NEAR(Lightness(*out, 0), 96, 1.5);
    EXPECT_NEAR(Lightness(*out, 1), test::SrgbGreyLightness(128), 3);
    EXPECT_EQ((*out)[3], 9);
}

TEST_F(PictureColourTest, CmykPicturesReadFourInksAndBecomeOpaque) {
    item.SetColorSpace(kSpaceCmyk);
    item.SetSourceProfile("");  // the CMYK default
    const std::optional<Pixels> out = Manage({0, 0, 0, 0, 0, 0, 0, 255}, 1);
    ASSERT_TRUE(out);
    EXPECT_NEAR(Lightness(*out, 0), 96, 1.5);
    EXPECT_NEAR(Lightness(*out, 1), 23, 1.5);
    EXPECT_EQ((*out)[3], 255);
    EXPECT_EQ((*out)[7], 255);
}

TEST_F(PictureColourTest, RefusesChainsThatMakeNoSense) {
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"no output profile", [&] { layout.SetColorMatchPrinter(3); }},
        {"CMYK profile for RGB pixels", [&] { item.SetSourceProfile("Marlo CMYK"); }},
        {"RGB profile for CMYK pixels", [&] { item.SetColorSpace(kSpaceCmyk); }},
        {"embedded profile that is not there",
         [&] {
             item.SetFileEmbedded(1);
             item.SetProfileUseEmbed(1);
         }},
        {"simulation without a profile",
         [&] {
             fs::remove(folders.Dir(0) / "Marlo_CMYK.icc");
             item.SetColorProof(1);
         }},
    };
    for (const auto& [name, change] : cases) {
        SCOPED_TRACE(name);
        change();
        EXPECT_FALSE(Manage({1, 2, 3, 4}, 3));
        folders.AddDefaults();
        layout.SetColorMatchPrinter(0);
        item.SetSourceProfile(test::kSrgbDescription);
        item.SetColorSpace(kSpaceRgb);
        item.SetFileEmbedded(0);
        item.SetColorProof(0);
        EXPECT_TRUE(Manage({1, 2, 3, 4}, 3)) << "the next case starts sound";
    }
}

struct MatchCase {
    const char* name;
    int16_t useZel, useEmbed;
    uint32_t exifSpace;
    bool adobePresent;
    enum Source { Srgb, Working } source;  // where the first pass starts
};

TEST_F(PictureColourTest, PrinterMatchingTwoGoesThroughThePrintProfile) {
    const std::vector<MatchCase> cases = {
        {"described source", 0, 0, 65535, true, MatchCase::Srgb},
        // Converted pixels are in the Zel working space, whatever the Exif space was.
        {"Zel mode, uncalibrated Exif", 2, 0, 65535, true, MatchCase::Working},
        {"Zel mode, uncalibrated Exif, no Adobe profile", 2, 0, 65535, false, MatchCase::Working},
        {"Zel mode, sRGB Exif", 2, 0, 1, true, MatchCase::Working},
        {"Zel block mode", 4, 0, 1, true, MatchCase::Working},
    };
    const ColourProfile working = OpenProgramProfile(kZelMonitorProfileResource);
    layout.SetColorMatchPrinter(2);
    const Pixels in = {40, 200, 30, 77, 250, 250, 250, 255};
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.adobePresent) fs::remove(folders.Dir(1) / "AdobeRGB1998.icc");
        item.SetUseZelFile(c.useZel);
        item.SetProfileUseEmbed(c.useEmbed);
        ExifRecord exif;
        exif.colorSpace = c.exifSpace;
        item.SetExif(exif);
        item.SetSourceProfile(test::kSrgbDescription);
        item.SetTuneMode(2);
        item.SetTuneBright(3);
        item.SetColorProof(1);
        item.SetSimulationProfile("Marlo CMYK");

        const std::optional<Pixels> out = Manage(in, 3);
        ASSERT_TRUE(out);
        // No tint, no proof: the source to sRGB, then the print process to the printer.
        const ColourProfile& source = c.source == MatchCase::Working ? working : srgb;
        const Pixels first = Through({&source, &srgb}, kIntentPerceptual, TransformQuality::Best, in);
        EXPECT_EQ(*out, Through({&print, &printer}, kIntentPerceptual, TransformQuality::Best, first));

        EXPECT_EQ(item.GetUseZelFile(), c.useZel);
        EXPECT_EQ(item.GetTuneMode(), 2);
        EXPECT_EQ(item.GetColorProof(), 1);
        EXPECT_EQ(item.GetSourceProfile(), test::kSrgbDescription);
        folders.Write(1, "AdobeRGB1998.icc", adobeBytes);
    }
}

TEST_F(PictureColourTest, PrinterMatchingTwoPutsTheSettingsBackWhenItFails) {
    layout.SetColorMatchPrinter(2);
    item.SetUseZelFile(2);
    item.SetTuneMode(2);
    item.SetColorProof(2);
    item.SetSourceProfile("Chosen");
    fs::remove(folders.Dir(0) / std::string(kDefaultRgbProfileFile));
    EXPECT_FALSE(Manage({1, 2, 3, 4}, 3));
    EXPECT_EQ(item.GetUseZelFile(), 2);
    EXPECT_EQ(item.GetTuneMode(), 2);
    EXPECT_EQ(item.GetColorProof(), 2);
    EXPECT_EQ(item.GetSourceProfile(), "Chosen");
}

// Picture loading with colour management bound in, as the program runs it.
class ColourManagedLoading : public PictureColourTest {
protected:
    void SetUp() override {
        PictureColourTest::SetUp();
        saved = SetPictureLoaderHooks({});
        SetPictureLoaderHooks(saved);
        InstallColourManagement();
    }
    void TearDown() override {
        SetPictureLoaderHooks(saved);
        SetProfileDescriptions({});
    }

    void DescribeJpeg(const test::JpegFixture& fixture) {
        const fs::path path = root.Path() / "picture.jpg";
        test::WriteBytes(path, test::EncodeJpeg(fixture));
        item.SetFilePath(path);
        ASSERT_TRUE(ReadJpegInfo(item));
        item.SetFileType(kFileTypeJpeg);
    }
    Pixels Load(int mode) {
        Rect16 target;
        target.Set(0, 0, 4, 4);
        DibBufferPtr b = LoadPictureBuffer(item, mode, target);
        return b ? test::AllPixels(b.get()) : Pixels();
    }

    PictureLoaderHooks saved;
    test::TestRoot root;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
};

TEST_F(ColourManagedLoading, ModesOneToThreeGiveColourManagedPictures) {
    test::JpegFixture fixture;
    fixture.width = fixture.height = 4;
    fixture.pixel = [](int, int, uint8_t* c) { c[0] = 30, c[1] = 190, c[2] = 60; };
    DescribeJpeg(fixture);
    item.SetSourceProfile("Adobe RGB(1998)");
    item.SetProfileIntent(3);
    layout.SetColorMatchPrinter(1);
    const Pixels plain = Load(0);
    ASSERT_EQ(plain.size(), 4u * 4 * 4);
    const Pixels expected = Through({&adobe, &srgb}, kIntentRelativeColorimetric, TransformQuality::Proof, plain);
    EXPECT_NE(expected, plain);
    EXPECT_EQ(Load(1), expected);
    EXPECT_EQ(Load(2), expected);
    EXPECT_EQ(Load(3), Through({&adobe, &srgb}, kIntentRelativeColorimetric, TransformQuality::Best, plain));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ColourManagedLoading, ADamagedEmbeddedProfileFailsTheLoadAndKeepsThePicture) {
    std::vector<uint8_t> damaged = test::DescribedSrgb("Damaged");
    damaged.resize(damaged.size() / 2);
    test::JpegFixture fixture;
    fixture.markers = {{JPEG_APP0 + 2, test::IccChunk(1, 1, damaged)}};
    DescribeJpeg(fixture);
    ASSERT_EQ(item.GetFileEmbedded(), 1);
    item.SetProfileUseEmbed(1);
    ASSERT_TRUE(CreateTempFolder());
    ASSERT_TRUE(item.SetWorkingBitmap(test::MakeBuffer(2, 2)));

    EXPECT_TRUE(Load(1).empty());
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_UNKNOWN_ERROR});
    EXPECT_EQ(item.IsSaveFile(), 1);
    EXPECT_FALSE(Load(0).empty()) << "without colour management the picture still loads";
}

TEST_F(ColourManagedLoading, InformationTextNamesTheSourceProfile) {
    test::JpegFixture fixture;
    fixture.markers = {{JPEG_APP0 + 2, test::IccChunk(1, 1, test::DescribedSrgb("Camera Space"))}};
    DescribeJpeg(fixture);
    item.SetSourceProfile("Chosen Source");
    const std::vector<std::tuple<int16_t, int32_t, std::string>> cases = {
        {2, 1, "TEVRA Zel RGB"}, {3, 0, "TEVRA Zel RGB"}, {1, 1, "Camera Space"},
        {0, 1, "Camera Space"},  {0, 0, "Chosen Source"},
    };
    for (const auto& [useZel, useEmbed, text] : cases) {
        item.SetUseZelFile(useZel);
        item.SetProfileUseEmbed(useEmbed);
        EXPECT_EQ(CImageInfoFormatter(item).FormatField(8), text) << useZel << " " << useEmbed;
    }
}

}  // namespace
}  // namespace vx
