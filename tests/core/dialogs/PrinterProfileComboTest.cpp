#include <gtest/gtest.h>

#include "DialogFixtures.h"
#include "dialogs/PrinterProfileCombo.h"
#include "model/CLayoutSetting.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

std::vector<std::string> Files(const ProfileListModel& list) {
    std::vector<std::string> names;
    for (const ProfileEntry& e : list.Entries()) names.push_back(e.fileName);
    return names;
}

class PrinterProfileCombo : public testing::Test {
protected:
    test::ProfileFolder folder;
};

TEST_F(PrinterProfileCombo, RecommendedAndDefaultLeadThenRgbPrinterAndMonitorProfiles) {
    const ProfileListModel list = BuildPrinterProfileList("Drucker.icm");
    ASSERT_TRUE(list.IsPrinterClass());
    // ".icm" files before ".icc" files; CMYK, broken files and the default's twin left out.
    EXPECT_EQ(Files(list), (std::vector<std::string>{"Drucker.icm", "sRGB Color Space Profile.ICM", "Drucker.icm",
                                                     "Anzeige.icc", "Zwei-A.icc", "Zwei-B.icc"}));
    EXPECT_EQ(list.At(0).description, LoadString(IDS_RECOMMENDED_PROFILE));
    EXPECT_EQ(list.At(1).description, test::kSrgbDescription);
    EXPECT_EQ(list.At(2).description, "Drucker RGB");
}

TEST_F(PrinterProfileCombo, TheLayoutsChoiceIsSelectedOrTheRecommendedOne) {
    const ProfileListModel list = BuildPrinterProfileList("sRGB Color Space Profile.ICM");
    struct Case {
        const char* what;
        int match, recommend;
        std::string profile;
        int index;
        bool enabled;
        std::string stored;
        int recommendAfter;
    };
    const Case cases[] = {
        {"own choice", 0, 0, "Anzeige RGB", 3, true, "Anzeige RGB", 0},
        {"own choice not listed", 0, 0, "Offset CMYK", 0, true, test::kSrgbDescription, 1},
        {"recommended", 0, 1, "Anzeige RGB", 0, true, test::kSrgbDescription, 1},
        {"no profile", 0, 0, "", 0, true, test::kSrgbDescription, 1},
        {"printer matches", 1, 0, "Anzeige RGB", 0, false, test::kSrgbDescription, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CLayoutSetting layout(true);
        layout.SetColorMatchPrinter(int16_t(c.match));
        layout.SetRecommend(c.recommend);
        layout.Texts().printerProfile = c.profile;
        const PrinterProfileSelection s = SelectLayoutPrinterProfile(layout, list);
        EXPECT_EQ(s.index, c.index);
        EXPECT_EQ(s.enabled, c.enabled);
        EXPECT_EQ(layout.Texts().printerProfile, c.stored);
        EXPECT_EQ(layout.GetRecommend(), c.recommendAfter);
        EXPECT_EQ(layout.GetDirty(), 0) << "showing the choice changes nothing the user did";
    }
}

TEST_F(PrinterProfileCombo, ChoosingAProfileStoresItsDescriptionAndDirtiesTheLayout) {
    const ProfileListModel list = BuildPrinterProfileList("Drucker.icm");
    CLayoutSetting layout(true);
    ApplyPrinterProfileChoice(layout, list, 3);
    EXPECT_EQ(layout.Texts().printerProfile, "Anzeige RGB");
    EXPECT_EQ(layout.GetRecommend(), 0);
    EXPECT_EQ(layout.GetDirty(), 1);
    ApplyPrinterProfileChoice(layout, list, 0);
    EXPECT_EQ(layout.Texts().printerProfile, "Drucker RGB") << "entry 0 stands for the recommended file";
    EXPECT_EQ(layout.GetRecommend(), 1);
    layout.SetDirty(0);
    ApplyPrinterProfileChoice(layout, list, 99);
    EXPECT_EQ(layout.GetDirty(), 0);
}

}  // namespace
}  // namespace vx
