#include <gtest/gtest.h>

#include <filesystem>

#include "CatalogueFolders.h"
#include "colourmanagement/AdjustmentProfiles.h"
#include "platform/colour/ColourDirectories.h"
#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

TEST(AdjustmentProfiles, NameTheFileOfAKindAndLevel) {
    const fs::path folder = DataFolder() / "VirIza";
    EXPECT_EQ(AdjustmentProfileFolder(), folder);
    const std::vector<std::tuple<int, int, std::optional<std::string>>> cases = {
        {kTintBright, 2, "Bright+2"},     {kTintBright, -1, "Bright-1"},  {kTintContrast, 3, "Contrast+3"},
        {kTintVivid, -3, "Vivid-3"},      {kTintGrayStable, 0, "GrayStable"}, {kTintShadow, 5, "Shadow"},
        {kTintBright, 0, std::nullopt},   {kTintVivid, 0, std::nullopt},  {0, 1, std::nullopt},
        {6, 1, std::nullopt},
    };
    for (const auto& [kind, level, name] : cases) {
        SCOPED_TRACE(testing::Message() << kind << " " << level);
        std::optional<fs::path> path = AdjustmentProfilePath(kind, level);
        EXPECT_EQ(path, name ? std::optional(folder / *name) : std::nullopt);
        EXPECT_EQ(bool(OpenAdjustmentProfile(kind, level)), name.has_value());
    }
    EXPECT_FALSE(OpenAdjustmentProfile(kTintBright, 4)) << "levels stop at 3";
}

class ApplicationProfilesCheck : public testing::Test {
protected:
    void SetUp() override {
        // A data folder of our own holding a copy of the build's tint profiles.
        fs::copy(buildData / "VirIza", data.Path() / "VirIza");
        folders.AddDefaults();
    }
    const fs::path buildData = DataFolder();
    test::CatalogueFolders folders{1};
    test::TestRoot data;
    test::ScopedEnv dataDir{"VELLICOREX_DATA_DIR", data.Path().string()};
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
};

TEST_F(ApplicationProfilesCheck, PassesOnTheBuildsOwnProfiles) {
    SetColourDirectories(std::nullopt);
    test::ScopedEnv back("VELLICOREX_DATA_DIR", buildData.string());
    EXPECT_TRUE(CheckApplicationProfiles());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ApplicationProfilesCheck, RefusesWhenOneIsMissing) {
    const std::vector<std::pair<const char*, fs::path>> missing = {
        {"a tint level", data.Path() / "VirIza" / "Vivid-2"},
        {"the tint without level", data.Path() / "VirIza" / "Shadow"},
        {"the television profile", data.Path() / "VirIza" / "TV_sRGB"},
        {"the default CMYK profile", folders.Dir(0) / "Marlo_CMYK.icc"},
    };
    EXPECT_TRUE(CheckApplicationProfiles());
    for (const auto& [what, path] : missing) {
        SCOPED_TRACE(what);
        const fs::path aside = path.string() + ".aside";
        fs::rename(path, aside);
        messages.shown.clear();
        EXPECT_FALSE(CheckApplicationProfiles());
        ASSERT_EQ(messages.Ids(), std::vector<int>{IDS_APPLICATION_PROFILES_MISSING});
        EXPECT_EQ(messages.shown[0].text, "Anwendungsprofile fehlen.");
        EXPECT_EQ(messages.shown[0].icon, Icon::Error);
        fs::rename(aside, path);
    }
    EXPECT_TRUE(CheckApplicationProfiles());
}

}  // namespace
}  // namespace vx
