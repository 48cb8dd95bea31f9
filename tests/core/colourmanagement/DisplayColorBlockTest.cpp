#include <gtest/gtest.h>

#include "colourmanagement/DeviceProfiles.h"
#include "colourmanagement/DisplayColorBlock.h"

namespace vx {
namespace {

/// Puts every provider back when a test ends.
struct Providers {
    ~Providers() {
        SetMonitorNameProvider(nullptr);
        SetPrinterProfileProvider(nullptr);
        SetMonitorProfilePreference(nullptr);
        SetDefaultPrinterProvider(nullptr);
    }
};

TEST(FillDisplayColorBlock, WithoutPreferencesGivesSrgbAndNoPrinter) {
    Providers restore;
    auto block = CreateDisplayColorBlock();
    ASSERT_TRUE(block);
    EXPECT_EQ(block->monitorName, "");
    EXPECT_EQ(block->monitorProfile, "sRGB Color Space Profile.ICM");
    EXPECT_EQ(block->printerName, "");
    EXPECT_EQ(block->printerProfile, "");
    EXPECT_EQ(block->printerProfileCopy, "");
}

TEST(FillDisplayColorBlock, TakesMonitorAndTheDefaultPrintersMediumProfile) {
    Providers restore;
    SetMonitorNameProvider([] { return std::string("Xvfb 24 Bit"); });
    SetMonitorProfilePreference([] { return std::string("Studio Monitor.icc"); });
    SetDefaultPrinterProvider([] { return std::string("TEVRA_Proof_44"); });
    std::string asked;
    SetPrinterProfileProvider([&](const std::string& printer) -> std::optional<std::filesystem::path> {
        asked = printer;
        return std::filesystem::path("/usr/share/vellicorex/profiles/TEVRA44 Glossy.icc");
    });
    DisplayColorBlock block;
    block.printerProfile = "stale.icc";
    ASSERT_TRUE(FillDisplayColorBlock(block));
    EXPECT_EQ(block.monitorName, "Xvfb 24 Bit");
    EXPECT_EQ(block.monitorProfile, "Studio Monitor.icc");
    EXPECT_EQ(asked, "TEVRA_Proof_44");
    EXPECT_EQ(block.printerName, "TEVRA_Proof_44");
    EXPECT_EQ(block.printerProfile, "TEVRA44 Glossy.icc");
    EXPECT_EQ(block.printerProfileCopy, "TEVRA44 Glossy.icc");

    // A printer for which no device can be made keeps its name, without a profile.
    SetPrinterProfileProvider([](const std::string&) { return std::optional<std::filesystem::path>(); });
    ASSERT_TRUE(FillDisplayColorBlock(block));
    EXPECT_EQ(block.printerName, "TEVRA_Proof_44");
    EXPECT_EQ(block.printerProfile, "");
    // No default queue: the printer fields are emptied.
    SetDefaultPrinterProvider([] { return std::string(); });
    ASSERT_TRUE(FillDisplayColorBlock(block));
    EXPECT_EQ(block.printerName, "");
    EXPECT_EQ(block.printerProfileCopy, "");
}

}  // namespace
}  // namespace vx
