#include <gtest/gtest.h>

#include "CatalogueFolders.h"
#include "colourmanagement/SingleColourTransforms.h"
#include "model/CLayoutSetting.h"
#include "platform/colour/ProgramProfiles.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

const char* const kPrinterFile = "TEVRA Proof 44 Proofpapier Halbmatt.icc";
const char* const kPrinterDescription = "TEVRA Proof 44 Proofpapier Halbmatt";

int Channel(ColorRef c, int shift) { return int((c >> shift) & 0xFF); }

void ExpectNear(ColorRef got, ColorRef want, int tolerance) {
    EXPECT_EQ(got >> 24, want >> 24);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(Channel(got, shift), Channel(want, shift), tolerance) << std::hex << got << " " << want;
}

TEST(TransformColor, KeepsTheTopByteAndDoesNothingForFlagZero) {
    ColourProfile srgb = test::OpenDataProfile("icc/sRGB Color Space Profile.ICM");
    ColourProfile cmyk = test::OpenDataProfile("icc/Marlo_CMYK.icc");
    const ChainEntry same[] = {{&srgb, kIntentRelativeColorimetric}, {&srgb, kIntentRelativeColorimetric}};
    for (ColorRef c : {0x00000000u, 0xAB123456u, 0x01FFFFFFu, 0xFF80FF00u}) {
        ColorRef out = c;
        EXPECT_TRUE(TransformColor(same, out, 1));
        ExpectNear(out, c, 1);
    }
    const ChainEntry toCmyk[] = {{&srgb, 0}, {&cmyk, 0}};
    ColorRef c = 0x12345678;
    EXPECT_TRUE(TransformColor(toCmyk, c, 0)) << "flag 0 asks for nothing";
    EXPECT_TRUE(TransformColor({}, c, 0));
    EXPECT_EQ(c, 0x12345678u);
    EXPECT_FALSE(TransformColor(toCmyk, c, 1)) << "a chain must end in RGB";
    EXPECT_EQ(c, 0x12345678u);
}

class ColourForView : public testing::Test {
protected:
    void SetUp() override {
        folders.AddDefaults();
        folders.CopyData(1, fs::path("icc") / kPrinterFile);
        layout.Texts().printerProfile = kPrinterDescription;
    }
    ColorRef Expected(std::vector<ChainEntry> chain, ColorRef c) {
        EXPECT_TRUE(TransformColor(chain, c, 1));
        return c;
    }

    test::CatalogueFolders folders;
    CLayoutSetting layout{true};
    ColourProfile srgb = test::OpenDataProfile("icc/sRGB Color Space Profile.ICM");
    ColourProfile printer = test::OpenDataProfile(fs::path("icc") / kPrinterFile);
    ColourProfile print = OpenProgramProfile(kPhotoPrintProfileResource);
};

TEST_F(ColourForView, GoesThroughTheLayoutsPrinterChain) {
    const ColorRef colour = 0x7F2080C0;
    struct Case {
        const char* name;
        int16_t matchPrinter;
        bool recommend;
        std::vector<ChainEntry> chain;  // empty: the colour stays
    };
    const std::vector<Case> cases = {
        {"printer profile", 0, false, {{&srgb, kOwnIntent}, {&printer, kIntentPerceptual}}},
        {"printer profile, recommended", 0, true, {{&srgb, kOwnIntent}, {&printer, kOwnIntent}}},
        {"through sRGB", 1, true, {{&srgb, kOwnIntent}, {&srgb, kIntentRelativeColorimetric}}},
        {"through the print profile", 2, true, {{&print, kIntentPerceptual}, {&printer, kIntentPerceptual}}},
        {"no output", 3, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        layout.SetColorMatchPrinter(c.matchPrinter);
        layout.SetRecommend(c.recommend);
        const ColorRef want = c.chain.empty() ? colour : Expected(c.chain, colour);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(TransformColorForView(&layout, 1, colour), want);
    }
    layout.SetColorMatchPrinter(0);
    EXPECT_NE(TransformColorForView(&layout, 1, colour), colour) << "the printer profile changes colours";
    EXPECT_EQ(TransformColorForView(&layout, 0, colour), colour);
    EXPECT_EQ(TransformColorForView(nullptr, 1, colour), colour);
}

TEST_F(ColourForView, NoticesAChangedProfileFile) {
    const ColorRef colour = 0x002080C0;
    const ColorRef printed = TransformColorForView(&layout, 1, colour);
    EXPECT_NE(printed, colour);
    // Another profile under the same name and description: the kept transform is stale.
    folders.Write(1, kPrinterFile, test::DescribedSrgb(kPrinterDescription));
    ExpectNear(TransformColorForView(&layout, 1, colour), colour, 1);
    fs::remove(folders.Dir(1) / kPrinterFile);
    fs::remove(folders.Dir(0) / "sRGB Color Space Profile.ICM");
    EXPECT_EQ(TransformColorForView(&layout, 1, colour), colour) << "no profile, no transform";
}

}  // namespace
}  // namespace vx
