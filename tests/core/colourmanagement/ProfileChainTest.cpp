#include <gtest/gtest.h>

#include <array>
#include <set>

#include "colourmanagement/ProfileChain.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "platform/colour/ProgramProfiles.h"
#include "platform/system/FourCC.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

// Answers every description with a file named after it and the class code asked for
// ("Src@RGB ", "@mntr" for the monitor default), except the names in `missing`.
class FakeSource : public ChainProfileSource {
public:
    std::set<std::string> missing;
    std::vector<uint8_t> embedded = {1, 2, 3};
    int adjustmentQuestions = 0;

    std::optional<fs::path> FileFor(std::string_view description, uint32_t classCode) override {
        std::string name = std::string(description) + "@" + FourCCText(classCode);
        if (missing.count(name)) return std::nullopt;
        return fs::path("/fake") / name;
    }
    std::optional<fs::path> AdjustmentFile(int kind, int level) override {
        ++adjustmentQuestions;
        std::string name = "tint" + std::to_string(kind) + (level > 0 ? "+" : "") + std::to_string(level);
        if (missing.count(name)) return std::nullopt;
        return fs::path("/fake") / name;
    }
    std::vector<uint8_t> EmbeddedProfile(const CImageObj&) override { return embedded; }
};

using Entries = std::vector<std::pair<std::string, int>>;

Entries Describe(const ProfileChainPlan& plan) {
    Entries out;
    for (const ChainProfile& p : plan) {
        switch (p.from) {
            case ChainProfile::From::File: out.emplace_back(p.file.filename().string(), p.intent); break;
            case ChainProfile::From::Program: out.emplace_back("program " + std::to_string(p.resource), p.intent); break;
            case ChainProfile::From::Memory: out.emplace_back("embedded", p.intent); break;
        }
    }
    return out;
}

TEST(ProfileChain, MapsIntentSettings) {
    const std::vector<std::pair<int, int>> cases = {
        {1, kIntentPerceptual}, {2, kIntentSaturation},  {3, kIntentRelativeColorimetric},
        {4, kIntentAbsoluteColorimetric}, {5, kOwnIntent}, {0, kOwnIntent}, {-1, kOwnIntent},
    };
    for (const auto& [setting, intent] : cases) EXPECT_EQ(IntentFromSetting(setting), intent) << setting;
}

struct ItemSetup {
    int mode = 1;
    uint32_t space = kSpaceRgb;
    std::string source = "Src";
    int16_t useZel = 0;
    bool embedded = false;
    bool useEmbed = false;
    int16_t intent = 3;  // relative colorimetric
    int16_t proof = 0;
    int16_t simulationIntent = 4;  // absolute colorimetric
    int16_t tuneMode = 0;
    std::array<int16_t, 3> tints{};
    int16_t matchPrinter = 0;
    bool recommend = false;
    std::vector<std::string> missing{};
};

struct ChainCase {
    const char* name;
    ItemSetup setup;
    std::optional<Entries> chain;
};

constexpr int R = kIntentRelativeColorimetric, A = kIntentAbsoluteColorimetric, P = kIntentPerceptual,
              S = kIntentSaturation, O = kOwnIntent;

TEST(ProfileChain, ChainsOfAnImageForEachMode) {
    const std::string zel = "program " + std::to_string(kZelMonitorProfileResource);
    const std::vector<ChainCase> cases = {
        {"screen", {}, Entries{{"Src@RGB ", R}, {"Monitor@mntr", R}}},
        {"preview", {.mode = 0}, Entries{{"Src@RGB ", R}, {"Monitor@mntr", R}}},
        {"CMYK picture", {.space = kSpaceCmyk}, Entries{{"Src@CMYK", R}, {"Monitor@mntr", R}}},
        {"Zel picture", {.useZel = 2, .intent = 5}, Entries{{zel, O}, {"Monitor@mntr", O}}},
        {"embedded profile", {.embedded = true, .useEmbed = true, .intent = 1},
         Entries{{"embedded", P}, {"Monitor@mntr", P}}},
        {"embedded profile not wanted", {.embedded = true}, Entries{{"Src@RGB ", R}, {"Monitor@mntr", R}}},
        {"Zel before embedded", {.useZel = 1, .embedded = true, .useEmbed = true},
         Entries{{zel, R}, {"Monitor@mntr", R}}},
        {"tint on the screen", {.mode = 2, .tuneMode = 2, .tints = {1, 0, -2}},
         Entries{{"Src@RGB ", R}, {"tint1+1", O}, {"tint3-2", O}, {"Monitor@mntr", R}}},
        {"no tint without custom tint", {.mode = 2, .tuneMode = 1, .tints = {1, 1, 1}},
         Entries{{"Src@RGB ", R}, {"Monitor@mntr", R}}},
        {"no tint in mode 1", {.tuneMode = 2, .tints = {3, 3, 3}}, Entries{{"Src@RGB ", R}, {"Monitor@mntr", R}}},
        {"CMYK proof", {.proof = 1}, Entries{{"Src@RGB ", R}, {"Sim@CMYK", A}, {"Monitor@mntr", A}}},
        {"RGB proof", {.proof = 2, .simulationIntent = 9},
         Entries{{"Src@RGB ", R}, {"Sim@RGB ", O}, {"Monitor@mntr", O}}},
        {"unresolved monitor", {.missing = {"Monitor@mntr"}}, std::nullopt},
        {"printer profile", {.mode = 3}, Entries{{"Src@RGB ", R}, {"Printer@prtr", R}}},
        {"printer profile, recommended intent", {.mode = 3, .recommend = true},
         Entries{{"Src@RGB ", R}, {"Printer@prtr", O}}},
        {"Zel picture, recommended intent", {.mode = 3, .useZel = 2, .recommend = true},
         Entries{{zel, R}, {"Printer@prtr", S}}},
        {"recommended intent over the simulation's", {.mode = 3, .proof = 1, .recommend = true},
         Entries{{"Src@RGB ", R}, {"Sim@CMYK", A}, {"Printer@prtr", O}}},
        {"printing through sRGB", {.mode = 3, .matchPrinter = 1}, Entries{{"Src@RGB ", R}, {"@RGB ", R}}},
        {"printing through the print profile", {.mode = 3, .matchPrinter = 2}, Entries{{"Src@RGB ", R}, {"@RGB ", R}}},
        {"the same profile twice", {.mode = 3, .source = "", .matchPrinter = 1},
         Entries{{"@RGB ", R}, {"@RGB ", R}}},
        {"no output profile", {.mode = 3, .matchPrinter = 3}, std::nullopt},
        {"printing applies the tint", {.mode = 3, .tuneMode = 2, .tints = {0, -1, 0}},
         Entries{{"Src@RGB ", R}, {"tint2-1", O}, {"Printer@prtr", R}}},
        {"everything", {.mode = 3, .proof = 1, .tuneMode = 2, .tints = {2, 3, 1}, .recommend = true},
         Entries{{"Src@RGB ", R}, {"tint1+2", O}, {"tint2+3", O}, {"tint3+1", O}, {"Sim@CMYK", A}, {"Printer@prtr", O}}},
        {"missing source", {.missing = {"Src@RGB "}}, std::nullopt},
        {"missing tint", {.mode = 2, .tuneMode = 2, .tints = {0, 2, 0}, .missing = {"tint2+2"}}, std::nullopt},
        {"missing simulation", {.proof = 1, .missing = {"Sim@CMYK"}}, std::nullopt},
        {"missing printer profile", {.mode = 3, .missing = {"Printer@prtr"}}, std::nullopt},
    };
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ItemSetup& s = c.setup;
        FakeSource source;
        source.missing.insert(s.missing.begin(), s.missing.end());
        CImageObj item(true, "StdImage");
        item.SetColorSpace(s.space);
        item.SetSourceProfile(s.source);
        item.SetSimulationProfile("Sim");
        item.SetUseZelFile(s.useZel);
        item.SetFileEmbedded(s.embedded);
        item.SetProfileUseEmbed(s.useEmbed);
        item.SetProfileIntent(s.intent);
        item.SetColorProof(s.proof);
        item.SetColorIntentSimulation(s.simulationIntent);
        item.SetTuneMode(s.tuneMode);
        item.SetTuneBright(s.tints[0]);
        item.SetTuneContrast(s.tints[1]);
        item.SetTuneVivid(s.tints[2]);
        OutputColourSettings output{"Monitor", "Printer", s.matchPrinter, s.recommend};

        std::optional<ProfileChainPlan> plan = BuildImageProfileChain(item, output, s.mode, source);
        ASSERT_EQ(plan.has_value(), c.chain.has_value());
        if (plan) {
            EXPECT_EQ(Describe(*plan), *c.chain);
        }
    }
}

TEST(ProfileChain, NoTintLevelsAskForNoAdjustmentProfile) {
    FakeSource source;
    CImageObj item(true, "StdImage");
    item.SetColorSpace(kSpaceRgb);
    item.SetTuneMode(2);
    ASSERT_TRUE(BuildImageProfileChain(item, {}, kColourModePrint, source));
    EXPECT_EQ(source.adjustmentQuestions, 0);
}

TEST(ProfileChain, AnUnreadableEmbeddedProfileFailsTheChain) {
    FakeSource source;
    source.embedded.clear();
    CImageObj item(true, "StdImage");
    item.SetColorSpace(kSpaceRgb);
    item.SetFileEmbedded(1);
    item.SetProfileUseEmbed(1);
    EXPECT_FALSE(BuildImageProfileChain(item, {}, 1, source));
}

TEST(ProfileChain, ChainsForSingleColours) {
    const std::string print = "program " + std::to_string(kPhotoPrintProfileResource);
    struct Case {
        const char* name;
        int flag;
        int16_t matchPrinter;
        bool recommend;
        std::optional<Entries> chain;
    };
    const std::vector<Case> cases = {
        {"printer profile", 1, 0, false, Entries{{"@RGB ", O}, {"Printer@prtr", P}}},
        {"printer profile, recommended", 1, 0, true, Entries{{"@RGB ", O}, {"Printer@prtr", O}}},
        {"through sRGB", 1, 1, true, Entries{{"@RGB ", O}, {"@RGB ", R}}},
        {"through the print profile", 1, 2, false, Entries{{print, P}, {"Printer@prtr", P}}},
        {"no output profile", 1, 3, false, std::nullopt},
        {"flag 0", 0, 0, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSource source;
        CLayoutSetting layout(true);
        layout.Texts().printerProfile = "Printer";
        layout.SetColorMatchPrinter(c.matchPrinter);
        layout.SetRecommend(c.recommend);
        std::optional<ProfileChainPlan> plan = BuildColorProfileChain(&layout, c.flag, source);
        ASSERT_EQ(plan.has_value(), c.chain.has_value());
        if (plan) {
            EXPECT_EQ(Describe(*plan), *c.chain);
        }
    }
    FakeSource source;
    EXPECT_FALSE(BuildColorProfileChain(nullptr, 1, source));
    source.missing = {"Printer@prtr"};
    CLayoutSetting layout(true);
    layout.Texts().printerProfile = "Printer";
    EXPECT_FALSE(BuildColorProfileChain(&layout, 1, source)) << "a chain that stops early is no chain";
    EXPECT_FALSE(BuildPrintProfileChain(OutputSettingsOf(&layout), source));
}

TEST(ProfileChain, OutputSettingsComeFromTheLayout) {
    const OutputColourSettings none = OutputSettingsOf(nullptr);
    EXPECT_EQ(none.colorMatchPrinter, 0);
    EXPECT_TRUE(none.recommend);
    CLayoutSetting layout(true);
    layout.Texts().monitorProfile = "Screen";
    layout.Texts().printerProfile = "Paper";
    layout.SetColorMatchPrinter(2);
    layout.SetRecommend(0);
    const OutputColourSettings s = OutputSettingsOf(&layout);
    EXPECT_EQ(s.monitorProfile, "Screen");
    EXPECT_EQ(s.printerProfile, "Paper");
    EXPECT_EQ(s.colorMatchPrinter, 2);
    EXPECT_FALSE(s.recommend);
}

}  // namespace
}  // namespace vx
