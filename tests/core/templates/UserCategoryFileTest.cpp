#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/system/AtomicFile.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"
#include "templates/TemplateInfo.h"
#include "templates/UserCategories.h"
#include "templates/UserCategoryFile.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using Names = std::vector<std::string>;

class UserCategoryFile : public testing::Test {
protected:
    void SetUp() override {
        TemplateCatalog().RemoveAll();
        UserCategoryList().clear();
    }
    void TearDown() override {
        TemplateCatalog().RemoveAll();
        UserCategoryList().clear();
        FailAtomicWriteStepForTests(AtomicWriteStep::None);
    }
    void AddTemplate(const std::string& path, const std::string& category, bool user = true) {
        TemplateInfo t;
        t.Path = path;
        t.Category = category;
        t.IsUserTemplate = user ? 1 : 0;
        TemplateCatalog().Add(t);
    }
    Names CatalogPaths() const {
        Names paths;
        for (const TemplateInfo& t : TemplateCatalog()) paths.push_back(t.Path);
        return paths;
    }
    void WriteFile(const Names& keys) {
        std::string text = "[USR_TEMPLATE_FOLDER]\r\n";
        for (const std::string& k : keys) text += k + "\r\n";
        test::WriteFileBytes(file, text);
    }

    test::TestRoot root;
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    fs::path file = UserCategoryFilePath(root.Path());
};

TEST_F(UserCategoryFile, AFirstStartWritesMyTemp) {
    EXPECT_EQ(file.filename(), "VellicorEX_TemplatePref.ini");
    EXPECT_EQ(LoadUserCategoryList(file), 1);
    EXPECT_EQ(UserCategoryList(), Names{"MyTemp"});
    EXPECT_EQ(BuiltinCategoryKeys(),
              (Names{"Business", "Commercial Photo", "Design", "Education", "General", "Personal Photo", "Shop"}));
    EXPECT_NE(test::ReadFileBytes(file).find("UsrTemplate0=MyTemp"), std::string::npos);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UserCategoryFile, AnEmptyExistingFileGetsMyTempInMemoryOnly) {
    WriteFile({});
    const std::string before = test::ReadFileBytes(file);
    LoadUserCategoryList(file);
    EXPECT_EQ(UserCategoryList(), Names{"MyTemp"});
    EXPECT_EQ(test::ReadFileBytes(file), before);
}

TEST_F(UserCategoryFile, AGapEndsTheList) {
    WriteFile({"UsrTemplate0=\"Hochzeit\"", "UsrTemplate2=\"Urlaub\""});
    LoadUserCategoryList(file);
    EXPECT_EQ(UserCategoryList(), Names{"Hochzeit"});
}

TEST_F(UserCategoryFile, ReadsWithTheProfileRules) {
    // Names ignore case, one pair of quotes goes, blanks inside the quotes stay.
    WriteFile({"usrtemplate0 = \"  Kunden A \"", "USRTEMPLATE1='Messe'", "UsrTemplate2=\"\"Zitat\"\""});
    LoadUserCategoryList(file);
    EXPECT_EQ(UserCategoryList(), (Names{"  Kunden A ", "Messe", "\"Zitat\""}));
}

TEST_F(UserCategoryFile, TemplatesComeFirstAndEachNameOnce) {
    AddTemplate("a.kqt", "Messe");
    AddTemplate("b.kqt", "Business", false);  // a built-in category is no candidate
    AddTemplate("c.kqt", "Kunden:Messe");
    WriteFile({"UsrTemplate0=\"Kunden\"", "UsrTemplate1=\"Hochzeit\""});
    LoadUserCategoryList(file);
    EXPECT_EQ(UserCategoryList(), (Names{"Messe", "Kunden", "Hochzeit"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UserCategoryFile, ElevenNamesKeepTenAndDropTheEleventhsTemplates) {
    for (int i = 0; i < 9; ++i) AddTemplate("k" + std::to_string(i) + ".kqt", "K" + std::to_string(i));
    AddTemplate("elf.kqt", "Elf");
    AddTemplate("elf-builtin.kqt", "Elf", false);  // not a user template: stays
    AddTemplate("both.kqt", "K4:Elf");             // also in a kept category: stays
    WriteFile({"UsrTemplate0=\"K2\"", "UsrTemplate1=\"Zehn\"", "UsrTemplate2=\"Elf\""});

    LoadUserCategoryList(file);
    EXPECT_EQ(UserCategoryList(), (Names{"K0", "K1", "K2", "K3", "K4", "K5", "K6", "K7", "K8", "Elf"}));
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_USER_CATEGORY_LIMIT});
    EXPECT_EQ(messages.shown[0].text, "Maximal 10 Benutzerkategorien.");
    EXPECT_EQ(messages.shown[0].icon, Icon::Warning);
    EXPECT_EQ(CatalogPaths().size(), 12u);  // "Zehn" has no templates

    // Now the eleventh is a template category.
    TemplateCatalog().RemoveAll();
    messages.shown.clear();
    for (int i = 0; i < 10; ++i) AddTemplate("k" + std::to_string(i) + ".kqt", "K" + std::to_string(i));
    AddTemplate("elf.kqt", "Elf");
    AddTemplate("elf-builtin.kqt", "Elf", false);
    AddTemplate("both.kqt", "K4:Elf");
    WriteFile({});
    LoadUserCategoryList(file);
    EXPECT_EQ(UserCategoryList().size(), 10u);
    EXPECT_EQ(UserCategoryList().back(), "K9");
    EXPECT_EQ(messages.Ids(), std::vector<int>{IDS_USER_CATEGORY_LIMIT});
    Names paths = CatalogPaths();
    EXPECT_EQ(std::count(paths.begin(), paths.end(), "elf.kqt"), 0);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), "elf-builtin.kqt"), 1);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), "both.kqt"), 1);
    EXPECT_EQ(paths.size(), 12u);
}

TEST_F(UserCategoryFile, SavingThreeOverFiveDropsKeysThreeAndFour) {
    WriteFile({"UsrTemplate0=\"A\"", "UsrTemplate1=\"B\"", "UsrTemplate2=\"C\"", "UsrTemplate3=\"D\"",
               "UsrTemplate4=\"E\"", "UsrTemplate6=\"G\""});
    UserCategoryList() = {" X ", "Y", "Z"};
    EXPECT_EQ(SaveUserCategoryList(file), 1);
    const std::string text = test::ReadFileBytes(file);
    EXPECT_NE(text.find("UsrTemplate0=\" X \""), std::string::npos);
    EXPECT_NE(text.find("UsrTemplate2=\"Z\""), std::string::npos);
    EXPECT_EQ(text.find("UsrTemplate3"), std::string::npos);
    EXPECT_EQ(text.find("UsrTemplate4"), std::string::npos);
    EXPECT_NE(text.find("UsrTemplate6"), std::string::npos);  // past the gap: not ours to touch

    UserCategoryList().clear();
    LoadUserCategoryList(file);
    EXPECT_EQ(UserCategoryList(), (Names{" X ", "Y", "Z"}));
}

TEST_F(UserCategoryFile, ANameWithALineBreakIsNotWritten) {
    AddTemplate("fremd.kqt", "Messe\nUsrTemplate5=Eingeschleust");
    WriteFile({"UsrTemplate0=\"A\""});
    LoadUserCategoryList(file);
    ASSERT_EQ(UserCategoryList().size(), 2u);
    SaveUserCategoryList(file);
    TemplateCatalog().RemoveAll();
    UserCategoryList().clear();
    LoadUserCategoryList(file);
    EXPECT_EQ(UserCategoryList(), Names{"A"});
}

TEST_F(UserCategoryFile, AFileThatCannotBeWrittenStaysAsItWas) {
    WriteFile({"UsrTemplate0=\"A\""});
    const std::string before = test::ReadFileBytes(file);
    UserCategoryList() = {"B"};
    FailAtomicWriteStepForTests(AtomicWriteStep::Rename);
    EXPECT_EQ(SaveUserCategoryList(file), 1);
    EXPECT_EQ(test::ReadFileBytes(file), before);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace vx
