#include "templates/TemplateNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RecordingPorts.h"

namespace vx {
namespace {

TEST(TemplateHasCategory, MatchesWholeEntriesOnly) {
    TemplateInfo info;
    info.Category = "Family:Travel";
    EXPECT_TRUE(TemplateHasCategory("Family", info));
    EXPECT_TRUE(TemplateHasCategory("Travel", info));
    EXPECT_FALSE(TemplateHasCategory("Fam", info));
    EXPECT_FALSE(TemplateHasCategory("travel", info));
    EXPECT_FALSE(TemplateHasCategory("Family:Travel", info));
    info.Category = "Shop";
    EXPECT_TRUE(TemplateHasCategory("Shop", info));
    EXPECT_FALSE(TemplateHasCategory("", info));
    info.Category = "";
    EXPECT_TRUE(TemplateHasCategory("", info));
}

TEST(MapTemplateCategory, MapsKeysAndDisplayTextsOfTheChosenTables) {
    struct Case { const char* key; int table; const char* display; };
    const std::vector<Case> cases = {
        {"Business", 1, "Business"},
        {"Commercial Photo", 1, "Werbefoto"},
        {"Shop", 1, "Werkstatt"},
        {"Personal Photo", 0, "Privatfoto"},
        {"Banner Image", 2, "Bannerbild"},
        {"Non-Fixed Form", 0, "Freie Form"},
        {"Photo", 2, "Foto"},
        // A text of the other table, or of none, stays.
        {"Card", 1, "Card"},
        {"Design", 2, "Design"},
        {"Family", 0, "Family"},
        {"shop", 1, "shop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        std::string text = c.key;
        MapTemplateCategory(text, c.table, true);
        EXPECT_EQ(text, c.display);
        MapTemplateCategory(text, c.table, false);
        EXPECT_EQ(text, c.key);
    }
}

TEST(IsValidTemplateFileName, FollowsTheNameRule) {
    struct Case { const char* name; bool valid; };
    const std::vector<Case> cases = {
        {"Urlaub", true},
        {"  Urlaub 2024.kqt  ", true},
        {"Urlaub.*", true},
        {"Größe ä", true},
        {"a.b.kqt", true},
        {"", false},
        {"   ", false},
        {".kqt", false},
        {".KQT", false},
        {" .kqt ", false},
        {".hidden.kqt", false},
        {"..kqt", false},
        {"C:Urlaub", false},
        {"Ordner/Urlaub", false},
        {"Ordner\\Urlaub", false},
        {"Ur;laub", false},
        {"100%", false},
        {"a:b", false},
        {"a,b", false},
        {"a*b.kqt", false},
        {"a?b", false},
        {"a<b", false},
        {"a>b", false},
        {"a|b", false},
        {"a\"b", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsValidTemplateFileName(c.name), c.valid);
    }
}

class CheckTemplatePathLength : public testing::Test {
protected:
    test::RecordingMessagePort mMessages;
    test::ScopedPorts mPorts{&mMessages};
};

TEST_F(CheckTemplatePathLength, RefusesNamesOverSixtyFourCharacters) {
    const std::string folder = "/home/user/.config/vellicorex/Templates";
    EXPECT_TRUE(vx::CheckTemplatePathLength(folder, std::string(64, 'a'), true));
    EXPECT_TRUE(vx::CheckTemplatePathLength(folder, std::string(60, 'a'), false));
    // Characters, not bytes.
    std::string umlauts;
    for (int i = 0; i < 60; ++i) umlauts += "ä";
    EXPECT_TRUE(vx::CheckTemplatePathLength(folder, umlauts, false));
    EXPECT_TRUE(mMessages.shown.empty());

    EXPECT_FALSE(vx::CheckTemplatePathLength(folder, std::string(65, 'a'), true));
    EXPECT_FALSE(vx::CheckTemplatePathLength(folder, std::string(65, 'a'), false));
    EXPECT_FALSE(vx::CheckTemplatePathLength(folder, std::string(61, 'a'), false));
    ASSERT_EQ(mMessages.shown.size(), 3u);
    EXPECT_EQ(mMessages.shown[0].text, "Die eingegebenen Zeichen sind zu lang.\nZulässige Anzahl Zeichen: 64");
    EXPECT_EQ(mMessages.shown[1].text, "Die eingegebenen Zeichen sind zu lang.\nZulässige Anzahl Zeichen: 60");
    EXPECT_EQ(mMessages.shown[2].id, 59429);
    EXPECT_EQ(mMessages.shown[2].args, Args{60LL});
}

TEST_F(CheckTemplatePathLength, KeepsTheWholePathWithinTwoHundredFiftyFive) {
    // Folder of 200 characters: 200 + separator + name + ".kqt" may reach 255, so the
    // name may have 50 characters; with its extension written, 54.
    const std::string folder = "/" + std::string(199, 'f');
    EXPECT_TRUE(vx::CheckTemplatePathLength(folder, std::string(50, 'a'), false));
    EXPECT_TRUE(vx::CheckTemplatePathLength(folder, std::string(54, 'a'), true));
    EXPECT_TRUE(mMessages.shown.empty());
    EXPECT_FALSE(vx::CheckTemplatePathLength(folder, std::string(51, 'a'), false));
    EXPECT_FALSE(vx::CheckTemplatePathLength(folder, std::string(55, 'a'), true));
    ASSERT_EQ(mMessages.shown.size(), 2u);
    EXPECT_EQ(mMessages.shown[0].id, 59429);
    EXPECT_EQ(mMessages.shown[0].args, Args{50LL});
    EXPECT_EQ(mMessages.shown[1].args, Args{54LL});

    // A folder that leaves no room for one character cannot take a template at all.
    mMessages.shown.clear();
    EXPECT_TRUE(vx::CheckTemplatePathLength(std::string(249, 'f'), "a", false));
    EXPECT_FALSE(vx::CheckTemplatePathLength(std::string(250, 'f'), "a", false));
    EXPECT_FALSE(vx::CheckTemplatePathLength(std::string(254, 'f'), "a", true));
    ASSERT_EQ(mMessages.shown.size(), 2u);
    for (const auto& shown : mMessages.shown) {
        EXPECT_EQ(shown.id, 59425);
        EXPECT_EQ(shown.text, "Vorlage konnte nicht gespeichert werden.");
        EXPECT_EQ(shown.icon, Icon::Error);
    }
}

}  // namespace
}  // namespace vx
