#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "TestProfiles.h"
#include "platform/colour/ColourProfile.h"
#include "platform/colour/ColourTransform.h"
#include "platform/colour/ProgramProfiles.h"

namespace vx {
namespace {

using test::OpenDataProfile;

const char* const kSrgbFile = "icc/sRGB Color Space Profile.ICM";
const char* const kCmykFile = "icc/Marlo_CMYK.icc";

struct Pixel {
    uint8_t b, g, r, a;
};

Pixel Transform(const ColourTransform& t, Pixel p) {
    t.ApplyToPixels(&p.b, 1, 1, 4);
    return p;
}

double Chroma(const cmsCIELab& lab) { return std::hypot(lab.a, lab.b); }

cmsCIELab LabOf(Pixel p) { return test::SrgbToLab(p.r, p.g, p.b); }

// [source, simulation, source] handed to LittleCMS as it stands, each profile once.
bool EachProfileOnce(const ColourProfile& source, const ColourProfile& simulation,
                     cmsUInt32Number intent) {
    cmsHPROFILE once[] = {source.Handle(), simulation.Handle(), source.Handle()};
    cmsUInt32Number intents[] = {intent, intent, intent};
    cmsBool bpc[] = {FALSE, FALSE, FALSE};
    cmsFloat64Number adaptation[] = {1, 1, 1};
    test::CmsTransform t(cmsCreateExtendedTransform(nullptr, 3, once, bpc, intents, adaptation,
                                                    nullptr, 0, TYPE_BGRA_8, TYPE_BGRA_8, 0));
    return t != nullptr;
}

class ColourTransformTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(srgb) << "the build's data folder lacks the generated profiles";
        ASSERT_TRUE(cmyk);
    }
    ColourProfile srgb = OpenDataProfile(kSrgbFile);
    ColourProfile cmyk = OpenDataProfile(kCmykFile);
};

TEST_F(ColourTransformTest, SrgbToSrgbKeepsEveryColourAndAlpha) {
    for (TransformQuality quality : {TransformQuality::Proof, TransformQuality::Best}) {
        const ChainEntry chain[] = {{&srgb, kIntentPerceptual}, {&srgb, kIntentPerceptual}};
        ColourTransform t = ColourTransform::ForPixels(chain, quality);
        ASSERT_TRUE(t);
        std::vector<Pixel> grid;
        auto level = [](int i) { return uint8_t(std::min(255, i * 16)); };
        for (int r = 0; r < 17; ++r)
            for (int g = 0; g < 17; ++g)
                for (int b = 0; b < 17; ++b)
                    grid.push_back({level(b), level(g), level(r), uint8_t(r * 17 + g + b * 3)});
        std::vector<Pixel> out = grid;
        t.ApplyToPixels(&out[0].b, uint32_t(out.size()), 1, out.size() * 4);
        int worst = 0;
        for (size_t i = 0; i < grid.size(); ++i) {
            worst = std::max({worst, std::abs(out[i].r - grid[i].r), std::abs(out[i].g - grid[i].g),
                              std::abs(out[i].b - grid[i].b)});
            ASSERT_EQ(out[i].a, grid[i].a) << i;
        }
        EXPECT_LE(worst, 1);
    }
}

TEST_F(ColourTransformTest, AdobeLikeGreensLandWhereThePrimariesPutThem) {
    const std::vector<uint8_t> adobeBytes = test::MakeAdobeLikeProfile();
    ColourProfile adobe = ColourProfile::OpenMemory(adobeBytes);
    ASSERT_TRUE(adobe && adobe.IsValid());
    EXPECT_EQ(adobe.Description(), "Adobe RGB(1998)");
    const ChainEntry chain[] = {{&adobe, kIntentRelativeColorimetric},
                                {&srgb, kIntentRelativeColorimetric}};
    ColourTransform t = ColourTransform::ForPixels(chain, TransformQuality::Best);
    ASSERT_TRUE(t);
    const std::vector<std::array<int, 3>> colours = {
        {0, 255, 0}, {0, 128, 0}, {60, 180, 70}, {120, 200, 90}, {128, 128, 128}, {200, 220, 40}};
    for (const auto& c : colours) {
        SCOPED_TRACE(testing::Message() << c[0] << "," << c[1] << "," << c[2]);
        const Pixel out = Transform(t, {uint8_t(c[2]), uint8_t(c[1]), uint8_t(c[0]), 77});
        const std::array<double, 3> want = test::AdobeToSrgb(c);
        EXPECT_NEAR(out.r, want[0], 2);
        EXPECT_NEAR(out.g, want[1], 2);
        EXPECT_NEAR(out.b, want[2], 2);
        EXPECT_EQ(out.a, 77);
    }
}

TEST_F(ColourTransformTest, TintProfilesGoInOnceEach) {
    struct Case {
        std::vector<const char*> tints;
        double lightnessShift;
    };
    const std::vector<Case> cases = {
        {{"VirIza/Bright+1"}, 4},
        {{"VirIza/Bright-1"}, -4},
        {{"VirIza/Bright+1", "VirIza/Bright+2"}, 12},
        {{"VirIza/GrayStable"}, 0},
    };
    const Pixel grey{119, 119, 119, 200};
    const double before = test::SrgbGreyLightness(119);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tints.front());
        std::vector<ColourProfile> tints;
        std::vector<ChainEntry> chain = {{&srgb, kIntentPerceptual}};
        for (const char* name : c.tints) tints.push_back(OpenDataProfile(name));
        for (const ColourProfile& p : tints) chain.push_back({&p, kOwnIntent});
        chain.push_back({&srgb, kIntentPerceptual});
        ColourTransform t = ColourTransform::ForPixels(chain, TransformQuality::Proof);
        ASSERT_TRUE(t);
        const Pixel out = Transform(t, grey);
        EXPECT_NEAR(LabOf(out).L - before, c.lightnessShift, 1.0);
        EXPECT_LT(Chroma(LabOf(out)), 1.5);
        EXPECT_EQ(out.a, 200);
    }
}

TEST_F(ColourTransformTest, CmykProofWorksThroughTheDoubledSimulationProfile) {
    const ChainEntry chain[] = {{&srgb, kIntentRelativeColorimetric},
                                {&cmyk, kIntentRelativeColorimetric},
                                {&srgb, kIntentRelativeColorimetric}};
    ColourTransform t = ColourTransform::ForPixels(chain, TransformQuality::Proof);
    ASSERT_TRUE(t);

    // White becomes the paper, greys stay grey, a pure blue loses what the inks lack.
    const Pixel paper = Transform(t, {255, 255, 255, 9});
    EXPECT_NEAR(LabOf(paper).L, 96, 1.5);
    EXPECT_EQ(paper.a, 9);
    const Pixel grey = Transform(t, {128, 128, 128, 255});
    EXPECT_NEAR(LabOf(grey).L, test::SrgbGreyLightness(128), 3);
    EXPECT_LT(Chroma(LabOf(grey)), 4);
    const Pixel blue = Transform(t, {255, 0, 0, 255});
    EXPECT_LT(Chroma(LabOf(blue)), Chroma(test::SrgbToLab(0, 0, 255)) - 20);

    // Handed to LittleCMS once, the CMYK profile leaves the chain in CMYK before the
    // monitor profile, which then reads as an input profile: no transform.
    EXPECT_FALSE(EachProfileOnce(srgb, cmyk, INTENT_RELATIVE_COLORIMETRIC));
}

TEST_F(ColourTransformTest, RgbPrintSimulationShowsThePaper) {
    ColourProfile print = OpenProgramProfile(kPhotoPrintProfileResource);
    ASSERT_TRUE(print);
    const ChainEntry chain[] = {{&srgb, kIntentPerceptual}, {&print, kIntentPerceptual},
                                {&srgb, kIntentPerceptual}};
    ColourTransform t = ColourTransform::ForPixels(chain, TransformQuality::Best);
    ASSERT_TRUE(t);
    EXPECT_NEAR(LabOf(Transform(t, {255, 255, 255, 255})).L, 96, 1);
    EXPECT_NEAR(LabOf(Transform(t, {0, 0, 0, 255})).L, 8, 1);

    // Handed over once, the simulation profile would be read back as an input profile
    // and the chain would end in the connection space.
    EXPECT_FALSE(EachProfileOnce(srgb, print, INTENT_PERCEPTUAL));
}

TEST_F(ColourTransformTest, CmykPicturesReadFourInksAndBecomeOpaque) {
    const ChainEntry chain[] = {{&cmyk, kIntentPerceptual}, {&srgb, kIntentPerceptual}};
    ColourTransform t = ColourTransform::ForPixels(chain, TransformQuality::Proof);
    ASSERT_TRUE(t);
    struct Case {
        std::array<uint8_t, 4> cmykBytes;
        double lightness;
    };
    // Bytes 0..3 hold C, M, Y, K; the result is B, G, R, A. Lightness from the ink model:
    // black at half coverage prints 57.5 % with dot gain, density 0.83, L* 44.
    for (const Case& c : {Case{{0, 0, 0, 0}, 96}, Case{{0, 0, 0, 255}, 23}, Case{{0, 0, 0, 128}, 44}}) {
        SCOPED_TRACE(int(c.cmykBytes[3]));
        std::array<uint8_t, 4> px = c.cmykBytes;
        t.ApplyToPixels(px.data(), 1, 1, 4);
        EXPECT_NEAR(test::SrgbToLab(px[2], px[1], px[0]).L, c.lightness, 1.5);
        EXPECT_EQ(px[3], 255);
    }
    std::array<uint8_t, 4> cyan = {255, 0, 0, 0};
    t.ApplyToPixels(cyan.data(), 1, 1, 4);
    EXPECT_GT(cyan[0], cyan[2] + 100);  // blue well above red
}

TEST_F(ColourTransformTest, RefusesChainsThatDoNotEndInRgb) {
    ColourProfile tint = OpenDataProfile("VirIza/Bright+1");
    ColourProfile closed;
    ASSERT_TRUE(tint);
    struct Case {
        const char* name;
        std::vector<ChainEntry> chain;
    };
    const std::vector<Case> cases = {
        {"nothing", {}},
        {"one profile", {{&srgb, 0}}},
        {"ends in CMYK", {{&srgb, 0}, {&cmyk, 0}}},
        {"ends at an abstract profile", {{&srgb, 0}, {&tint, 0}}},
        {"starts at an abstract profile", {{&tint, 0}, {&srgb, 0}}},
        {"a profile that is not open", {{&srgb, 0}, {&closed, 0}}},
        {"no profile", {{&srgb, 0}, {nullptr, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ColourTransform::ForPixels(c.chain, TransformQuality::Proof));
        EXPECT_FALSE(ColourTransform::ForColours(c.chain, TransformQuality::Best));
    }
    const ChainEntry cmykFirst[] = {{&cmyk, 0}, {&srgb, 0}};
    EXPECT_FALSE(ColourTransform::ForColours(cmykFirst, TransformQuality::Best));
}

TEST_F(ColourTransformTest, RowsKeepTheirPadding) {
    const ChainEntry chain[] = {{&srgb, 0}, {&cmyk, 0}, {&srgb, 0}};
    ColourTransform t = ColourTransform::ForPixels(chain, TransformQuality::Proof);
    ASSERT_TRUE(t);
    std::vector<uint8_t> rows(2 * 16, 0xEE);  // two rows of three pixels, 4 bytes padding
    for (int y = 0; y < 2; ++y)
        for (int i = 0; i < 12; ++i) rows[size_t(y) * 16 + size_t(i)] = 255;
    t.ApplyToPixels(rows.data(), 3, 2, 16);
    for (int y = 0; y < 2; ++y) {
        for (int i = 12; i < 16; ++i) EXPECT_EQ(rows[size_t(y) * 16 + size_t(i)], 0xEE);
        EXPECT_LT(rows[size_t(y) * 16 + 8], 252);  // the paper is darker than white
    }
    EXPECT_THROW(t.ApplyToPixels(rows.data(), 5, 1, 16), std::invalid_argument);
}

TEST_F(ColourTransformTest, SingleColoursUseSixteenBits) {
    const ChainEntry same[] = {{&srgb, kIntentRelativeColorimetric}, {&srgb, kIntentRelativeColorimetric}};
    ColourTransform t = ColourTransform::ForColours(same, TransformQuality::Best);
    ASSERT_TRUE(t);
    for (std::array<uint16_t, 3> c : {std::array<uint16_t, 3>{0, 0, 0}, {0xFFFF, 0x8080, 0x1234},
                                      {0x4040, 0xC0C0, 0xFFFF}}) {
        const std::array<uint16_t, 3> out = t.ApplyToColour(c);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(out[i], c[i], 0x80);
    }
    EXPECT_THROW(t.ApplyToPixels(nullptr, 1, 1, 4), std::logic_error);
    const ChainEntry pixels[] = {{&srgb, 0}, {&srgb, 0}};
    EXPECT_THROW(ColourTransform::ForPixels(pixels, TransformQuality::Proof).ApplyToColour({}),
                 std::logic_error);
}

// sRGB profiles with a given header intent; a "dim paper" one is a printer profile
// whose paper reflects 80 % of the light. Only the absolute intent, which the later
// profile of a pair decides in LittleCMS, shows the dim paper.
std::vector<uint8_t> SrgbWithHeaderIntent(cmsUInt32Number headerIntent, bool dimPaper) {
    test::CmsProfile p(cmsCreate_sRGBProfile());
    cmsSetProfileVersion(p.get(), 2.1);
    if (dimPaper) {
        cmsSetDeviceClass(p.get(), cmsSigOutputClass);
        const cmsCIEXYZ* d50 = cmsD50_XYZ();
        const cmsCIEXYZ dim{d50->X * 0.8, d50->Y * 0.8, d50->Z * 0.8};
        cmsWriteTag(p.get(), cmsSigMediaWhitePointTag, &dim);
    }
    cmsSetHeaderRenderingIntent(p.get(), headerIntent);
    return test::SaveProfile(p.get());
}

TEST_F(ColourTransformTest, IntentsComeFromTheEntryOrTheProfileHeader) {
    struct Case {
        const char* name;
        cmsUInt32Number headerIntent;
        int intent;
        bool dim;
    };
    const std::vector<Case> cases = {
        {"relative", 0, kIntentRelativeColorimetric, false},
        {"absolute", 0, kIntentAbsoluteColorimetric, true},
        {"own intent, header absolute", 3, kOwnIntent, true},
        {"own intent, header relative", 1, kOwnIntent, false},
        {"own intent, header out of range", 9, kOwnIntent, false},
        {"entry out of range", 3, 7, false},
        {"entry negative", 3, -2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> paperBytes = SrgbWithHeaderIntent(c.headerIntent, true);
        const std::vector<uint8_t> monitorBytes = SrgbWithHeaderIntent(c.headerIntent, false);
        ColourProfile paper = ColourProfile::OpenMemory(paperBytes);
        ColourProfile monitor = ColourProfile::OpenMemory(monitorBytes);
        ASSERT_TRUE(paper && monitor);
        const ChainEntry chain[] = {{&paper, c.intent}, {&monitor, c.intent}};
        ColourTransform t = ColourTransform::ForPixels(chain, TransformQuality::Proof);
        ASSERT_TRUE(t);
        const Pixel white = Transform(t, {255, 255, 255, 255});
        if (c.dim) EXPECT_LT(white.g, 240);
        else EXPECT_GE(white.g, 254);
    }
}

}  // namespace
}  // namespace vx
