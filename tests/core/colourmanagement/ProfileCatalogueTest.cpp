#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "CatalogueFolders.h"
#include "colourmanagement/DeviceProfiles.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "platform/system/FourCC.h"
#include "support/RecordingPorts.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using test::DescribedSrgb;

const std::vector<uint8_t> kGarbage(300, 0x42);

TEST(ProfileCatalogue, FindsTheFileOfADescription) {
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    test::CatalogueFolders folders(3);
    folders.Write(0, "a.icc", DescribedSrgb("Both"));
    folders.Write(1, "b.icm", DescribedSrgb("Both"));  // ".icm" wins over an earlier ".icc"
    folders.Write(0, "Upper.ICM", DescribedSrgb("Capital Extension"));
    folders.Write(0, "z.icm", DescribedSrgb("Sorted"));
    folders.Write(1, "m.icm", DescribedSrgb("Sorted"));  // earlier directory first
    folders.Write(1, "n.icc", DescribedSrgb("Names"));
    folders.Write(1, "c.icc", DescribedSrgb("Names"));   // then names in order
    folders.Write(0, "same.icc", DescribedSrgb("First"));
    folders.Write(2, "same.icc", DescribedSrgb("Shadowed"));
    folders.Write(0, "broken.icm", kGarbage);
    folders.Write(1, "broken2.icm", DescribedSrgb("Behind Broken"));
    folders.Write(0, "v4.icc", DescribedSrgb("Version Four", 4.3));
    folders.Write(0, "other.txt", DescribedSrgb("Wrong Extension"));

    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"Both", "b.icm"},
        {"Capital Extension", "Upper.ICM"},
        {"cAPITAL eXTENSION", "Upper.ICM"},
        {"Sorted", "z.icm"},
        {"Names", "c.icc"},
        {"First", "same.icc"},
        {"Shadowed", std::nullopt},
        {"Behind Broken", "broken2.icm"},
        {"Version Four", "v4.icc"},
        {"Wrong Extension", std::nullopt},
        {"Nothing Like It", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [description, file] : cases) {
        SCOPED_TRACE(description);
        EXPECT_EQ(FindProfileFileByDescription(description), file);
        EXPECT_EQ(ProfileFileExists(description), file.has_value());
    }
    EXPECT_EQ(LocateProfileFile("same.icc"), folders.Dir(0) / "same.icc");
    EXPECT_TRUE(messages.shown.empty()) << "a scan shows no messages";
}

TEST(ProfileCatalogue, SeesFilesAddedRemovedAndReplaced) {
    test::CatalogueFolders folders;
    // Directories an hour old have settled: the catalogue trusts what it listed until
    // their time moves.
    auto settle = [&] {
        for (int i = 0; i < 2; ++i)
            fs::last_write_time(folders.Dir(i), fs::file_time_type::clock::now() - std::chrono::hours(1));
        (void)FindProfileFileByDescription("-");
    };
    settle();
    EXPECT_EQ(FindProfileFileByDescription("Late"), std::nullopt);
    folders.Write(1, "late.icc", DescribedSrgb("Late"));
    EXPECT_EQ(FindProfileFileByDescription("Late"), "late.icc");

    // An atomic replacement under the same name, as an installer does it.
    settle();
    folders.Write(1, "new.tmp", DescribedSrgb("Renamed"));
    fs::rename(folders.Dir(1) / "new.tmp", folders.Dir(1) / "late.icc");
    EXPECT_EQ(FindProfileFileByDescription("Late"), std::nullopt);
    EXPECT_EQ(FindProfileFileByDescription("Renamed"), "late.icc");

    settle();
    fs::remove(folders.Dir(1) / "late.icc");
    EXPECT_EQ(FindProfileFileByDescription("Renamed"), std::nullopt);
    EXPECT_EQ(LocateProfileFile("late.icc"), std::nullopt);
}

TEST(ProfileCatalogue, AnUnmatchedDescriptionOpensTheClassDefault) {
    test::CatalogueFolders folders;
    folders.AddDefaults();
    const std::optional<std::string> file = FindProfileFileByDescription("Gone Profile");
    EXPECT_EQ(file, std::nullopt);
    ColourProfile p = OpenProfileOrDefault(file.value_or(""), kSpaceRgb);
    ASSERT_TRUE(p);
    EXPECT_EQ(p.Description(), test::kSrgbDescription);
    EXPECT_EQ(OpenProfileOrDefault("", kSpaceCmyk).Description(), "Marlo CMYK");
    EXPECT_FALSE(OpenProfileOrDefault("", kSpaceGray));
    EXPECT_FALSE(ProfileFileExists("Gone Profile"));
}

TEST(ProfileCatalogue, OpensOnlyValidProfiles) {
    test::CatalogueFolders folders;
    folders.Write(0, "good.icc", DescribedSrgb("Good"));
    folders.Write(0, "broken.icc", kGarbage);
    const fs::path elsewhere = folders.Write(1, "by path.icc", DescribedSrgb("By Path"));
    EXPECT_TRUE(OpenProfileByName("good.icc"));
    EXPECT_FALSE(OpenProfileByName("broken.icc"));
    EXPECT_FALSE(OpenProfileByName("missing.icc"));
    EXPECT_TRUE(OpenProfileByName(elsewhere.string()));

    std::vector<uint8_t> bytes = DescribedSrgb("Memory");
    EXPECT_TRUE(OpenProfileFromMemory(bytes));
    std::vector<uint8_t> truncated(bytes.begin(), bytes.end() - 1);
    EXPECT_FALSE(OpenProfileFromMemory(truncated));
    bytes[8] = 3;  // version 3: opens, but is no profile we use
    EXPECT_FALSE(OpenProfileFromMemory(bytes));
}

TEST(ProfileCatalogue, ReadsDescriptionsOfBothVersions) {
    std::string text = "old";
    EXPECT_TRUE(GetProfileDescription(ColourProfile(), text));
    EXPECT_EQ(text, "");
    for (double version : {2.1, 4.3}) {
        const std::vector<uint8_t> bytes = DescribedSrgb("Described Twice", version);
        EXPECT_TRUE(GetProfileDescription(ColourProfile::OpenMemory(bytes), text));
        EXPECT_EQ(text, "Described Twice");
    }
    test::CmsProfile bare(cmsCreate_sRGBProfile());
    cmsWriteTag(bare.get(), cmsSigProfileDescriptionTag, nullptr);
    const std::vector<uint8_t> bytes = test::SaveProfile(bare.get());
    text = "old";
    EXPECT_FALSE(GetProfileDescription(ColourProfile::OpenMemory(bytes), text));
    EXPECT_EQ(text, "");
}

TEST(ProfileCatalogue, DescribesAFileOrFallsBackToTheDefault) {
    struct Case {
        const char* name;
        bool defaultPresent, defaultBroken;
        std::optional<std::string_view> file;
        uint32_t classCode;
        std::optional<std::string> result;
    };
    const std::vector<Case> cases = {
        {"named file", true, false, "mine.icc", kSpaceRgb, "Mine"},
        {"no name", true, false, std::nullopt, kSpaceRgb, test::kSrgbDescription},
        {"printer class", true, false, std::nullopt, kClassPrinter, test::kSrgbDescription},
        {"invalid file", true, false, "broken.icc", kSpaceRgb, test::kSrgbDescription},
        {"missing file", true, false, "missing.icc", kSpaceRgb, test::kSrgbDescription},
        {"broken default", true, true, "broken.icc", kSpaceRgb, "sRGB Color Space Profile"},
        {"missing default", false, false, "broken.icc", kSpaceRgb, std::nullopt},
        {"class without default", true, false, std::nullopt, kSpaceGray, std::nullopt},
        {"class without default, broken file", true, false, "broken.icc", kSpaceGray, "broken"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::CatalogueFolders folders;
        folders.Write(1, "mine.icc", DescribedSrgb("Mine"));
        folders.Write(1, "broken.icc", kGarbage);
        if (c.defaultPresent && c.defaultBroken)
            folders.Write(0, std::string(kDefaultRgbProfileFile), kGarbage);
        else if (c.defaultPresent)
            folders.CopyData(0, "icc/sRGB Color Space Profile.ICM");
        EXPECT_EQ(GetProfileDescriptionOrDefault(c.classCode, c.file), c.result);
    }
}

TEST(ProfileCatalogue, DefaultsByClassAndMode) {
    SetMonitorProfilePreference(nullptr);
    const std::string srgb(kDefaultRgbProfileFile);
    const std::vector<std::pair<uint32_t, std::optional<std::string>>> byClass = {
        {kSpaceRgb, srgb},      {kClassPrinter, srgb},          {kSpaceCmyk, "Marlo_CMYK.icc"},
        {kClassMonitor, srgb},  {kSpaceGray, std::nullopt},     {kSpaceLab, std::nullopt},
        {FourCC("scnr"), std::nullopt},
    };
    for (const auto& [code, name] : byClass) {
        SCOPED_TRACE(FourCCText(code));
        EXPECT_EQ(GetDefaultProfileName(code), name);
    }
    EXPECT_EQ(GetDefaultProfileNameForMode(kColourModeCmyk), "Marlo_CMYK.icc");
    EXPECT_EQ(GetDefaultProfileNameForMode(kColourModeRgb), srgb);
    EXPECT_EQ(GetDefaultProfileNameForMode(0), std::nullopt);
    EXPECT_EQ(GetDefaultProfileNameForMode(3), std::nullopt);

    SetMonitorProfilePreference([] { return std::string("Studio Monitor.icc"); });
    EXPECT_EQ(GetDefaultProfileName(kClassMonitor), "Studio Monitor.icc");
    SetMonitorProfilePreference([] { return std::string(); });
    EXPECT_EQ(GetMonitorProfileName(), srgb);
    SetMonitorProfilePreference(nullptr);
}

TEST(ProfileCatalogue, AsksForTheMediaTag) {
    test::CatalogueFolders folders;
    folders.Write(0, "plain.icc", DescribedSrgb("Plain"));
    const uint32_t mdea = FourCC("mdea");
    folders.Write(0, "small.icc", test::SrgbWithTag("Small Media", mdea, 100));
    folders.Write(0, "edge.icc", test::SrgbWithTag("Edge Media", mdea, 512));
    folders.Write(0, "large.icc", test::SrgbWithTag("Large Media", mdea, 600));
    const std::vector<std::pair<const char*, bool>> cases = {
        {"Plain", true}, {"Small Media", false}, {"Edge Media", false}, {"Large Media", true}, {"Nowhere", false},
    };
    for (const auto& [description, plain] : cases) {
        SCOPED_TRACE(description);
        EXPECT_EQ(IsProfileWithoutMdeaTag(description), plain);
    }
}

TEST(ProfileCatalogue, ListsUsableProfilesInSearchOrder) {
    test::CatalogueFolders folders;
    folders.Write(1, "b.icc", DescribedSrgb("B"));
    folders.Write(0, "c.icc", DescribedSrgb("C"));
    folders.Write(1, "a.icm", DescribedSrgb("A"));
    folders.Write(0, "broken.icm", kGarbage);
    folders.CopyData(1, "icc/Marlo_CMYK.icc");
    const std::vector<ProfileListing> expected = {
        {"a.icm", "A", kClassMonitor, kSpaceRgb},
        {"c.icc", "C", kClassMonitor, kSpaceRgb},
        {"Marlo_CMYK.icc", "Marlo CMYK", kClassPrinter, kSpaceCmyk},
        {"b.icc", "B", kClassMonitor, kSpaceRgb},
    };
    EXPECT_EQ(ListProfiles(), expected);
}

TEST(ProfileCatalogue, OpensTheProgramsOwnProfiles) {
    ColourProfile zel = OpenEmbeddedMonitorProfile();
    ColourProfile print = OpenEmbeddedPrintProfile();
    ASSERT_TRUE(zel && print);
    EXPECT_EQ(zel.Header().deviceClass, kClassMonitor);
    EXPECT_EQ(print.Header().deviceClass, kClassPrinter);
    EXPECT_EQ(GetEmbeddedProfileDescription(), "TEVRA Zel RGB");
    test::CatalogueFolders folders;
    EXPECT_EQ(FindProfileFileByDescription("TEVRA Zel RGB"), std::nullopt) << "never listed";
}

}  // namespace
}  // namespace vx
