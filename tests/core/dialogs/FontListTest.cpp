#include "dialogs/FontList.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vx::dialogs {
namespace {

const std::vector<FontFamilyInfo> kFamilies = {
    {"DejaVu Sans", true}, {"Fixed", false}, {"A Name Far Too Long For A Layout File", true}};

TEST(FontList, ListsOutlineFamiliesOnly) {
    FontList list;
    list.Fill(kFamilies, true);
    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Entries()[0].faceName, "DejaVu Sans");
    EXPECT_EQ(list.Entries()[0].kind, kFontKindOutline);
    EXPECT_EQ(list.Combo().Selection(), 0);  // the first entry when nothing was chosen
}

TEST(FontList, RefillKeepsAListedChoiceAndTheTextOfAnUnlistedOne) {
    FontList list;
    list.Fill({{"Liberation Serif", true}, {"DejaVu Sans", true}});
    EXPECT_EQ(list.Combo().Texts().front(), "DejaVu Sans");  // sorted
    list.Combo().SelectByText("Liberation Serif", true);
    list.Fill(kFamilies);
    EXPECT_EQ(list.Combo().Selection(), -1);
    EXPECT_EQ(list.Combo().CurText(), "Liberation Serif");
    list.Fill({{"Liberation Serif", true}, {"DejaVu Sans", true}});
    EXPECT_EQ(list.Combo().CurText(), "Liberation Serif");
    EXPECT_EQ(list.Combo().Selection(), 1);
}

TEST(ComboEntries, SelectsByTextExactOrPrefixIgnoringCase) {
    ComboEntries c;
    c.Assign({"DejaVu Sans", "DejaVu Sans Mono", "Liberation Serif"});
    EXPECT_EQ(c.SelectByText("dejavu s", false), 0);
    EXPECT_EQ(c.SelectByText("dejavu sans mono", true), 1);
    EXPECT_EQ(c.SelectByText("dejavu s", true), -1);
    EXPECT_EQ(c.Selection(), -1);
    EXPECT_EQ(c.CurText(), "dejavu s");
}

TEST(FontList, EntryHeightIsAtLeastFifteen) {
    EXPECT_EQ(FontListEntryHeight(), 15);
    FontListItemHeight = 19;
    EXPECT_EQ(FontListEntryHeight(), 19);
    FontListItemHeight = 0;
}

TEST(FontList, TheMachinesFontsIncludeDejaVuSans) {
    const auto families = InstalledFontFamilies();
    const auto it = std::find_if(families.begin(), families.end(),
                                 [](const FontFamilyInfo& f) { return f.name == "DejaVu Sans"; });
    ASSERT_NE(it, families.end());
    EXPECT_TRUE(it->outline);
    FontList list;
    list.Fill(families);
    EXPECT_GE(list.Combo().Find("DejaVu Sans", true), 0);
}

}  // namespace
}  // namespace vx::dialogs
