#include "templates/SaveTemplateAsController.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OrganizerFolder.h"
#include "platform/system/StringTable.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

using Field = SaveTemplateAsController::Field;

struct SaveTemplateAs : ::testing::Test {
    test::OrganizerFolder folder;
    SaveTemplateAsFields fields;

    SaveTemplateAsController Controller(std::string documentPath = {}) {
        return SaveTemplateAsController(fields, TemplateCatalog(), {"Kunden", "MyTemp"}, std::move(documentPath),
                                        folder.templates);
    }
};

TEST_F(SaveTemplateAs, ChecksInTheirOrder) {
    struct Case {
        const char* name;
        std::string note;
        bool close;
        Field focus;
        std::vector<int> messages;
        const char* saved;
    };
    const std::string note250 = std::string(250, 'n') + "\r\n\r\n";
    const std::vector<Case> cases{
        {"", std::string(251, 'n'), false, Field::Note, {IDS_TOO_MANY_CHARS}, ""},
        {"Plan", note250, true, Field::None, {}, "Plan.kqt"},
        {"", "", false, Field::Name, {}, ""},
        {"   ", "", false, Field::Name, {IDS_TEMPLATE_NAME_CHARS}, ""},
        {"Plan.KQT", "", true, Field::None, {}, "Plan.KQT"},
        {"Plan.kqf", "", true, Field::None, {}, "Plan.kqf.kqt"},
        {" Plan.kqt ", "", true, Field::None, {}, "Plan.kqt"},
        {"../x", "", false, Field::Name, {IDS_TEMPLATE_NAME_CHARS}, ""},
        {".kqt", "", false, Field::Name, {IDS_TEMPLATE_NAME_CHARS}, ""},
        {"a;b", "", false, Field::Name, {IDS_TEMPLATE_NAME_CHARS}, ""},
        {"a\tb", "", false, Field::Name, {IDS_TEMPLATE_NAME_CHARS}, ""},
        {"Foto", "", false, Field::Name, {IDS_STANDARD_TEMPLATE_NOT_REPLACED}, ""},
        {"Foto.kqt", "", false, Field::Name, {IDS_STANDARD_TEMPLATE_NOT_REPLACED}, ""},
        {"12345678901234567890123456789012345678901234567890123456789012345", "", false, Field::Name,
         {IDS_TOO_MANY_CHARS}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.messages.shown.clear();
        fields = {};
        SaveTemplateAsController ctl = Controller();
        const auto result = ctl.Ok(c.name, 0, c.note, true);
        EXPECT_EQ(result.close, c.close);
        EXPECT_EQ(result.focus, c.focus);
        EXPECT_EQ(folder.messages.Ids(), c.messages);
        EXPECT_EQ(fields.name, c.saved);
        if (c.close) {
            EXPECT_EQ(fields.category, "Kunden");
            EXPECT_EQ(fields.saveWithImages, 1);
        }
    }
    const auto before = folder.Snapshot();
    EXPECT_TRUE(fs::exists(folder.templates / "Foto.kqt"));
    EXPECT_EQ(folder.Snapshot(), before);
}

TEST_F(SaveTemplateAs, ForbiddenCharactersAndLimitsAreNamed) {
    SaveTemplateAsController ctl = Controller();
    ctl.Ok("a|b", 0, "", false);
    ctl.Ok("", 0, std::string(251, 'x'), false);
    ctl.Ok(std::string(61, 'x'), 0, "", false);
    ASSERT_EQ(folder.messages.shown.size(), 3u);
    EXPECT_EQ(std::get<std::string>(folder.messages.shown[0].args.at(0)), "\\ / : , ; * ? < > | \" %");
    EXPECT_EQ(std::get<long long>(folder.messages.shown[1].args.at(0)), 250);
    EXPECT_EQ(folder.messages.shown[1].icon, Icon::Error);
    // Typed without ".kqt": the extension's characters are not the user's.
    EXPECT_EQ(std::get<long long>(folder.messages.shown[2].args.at(0)), 60);
}

TEST_F(SaveTemplateAs, ReplacingAUserTemplateIsAskedAndDeletesNothing) {
    const auto before = folder.Snapshot();
    folder.messages.answer = kIdNo;
    SaveTemplateAsController ctl = Controller();
    EXPECT_FALSE(ctl.Ok("Reise", 1, "Notiz", false).close);
    EXPECT_EQ(folder.messages.Ids(), std::vector<int>{IDS_TEMPLATE_REPLACE_QUESTION});
    EXPECT_EQ(folder.messages.shown[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(fields.name.empty());

    folder.messages.answer = kIdYes;
    const auto yes = ctl.Ok("Reise", 1, "Notiz", false);
    EXPECT_TRUE(yes.close);
    EXPECT_EQ(fields.name, "Reise.kqt");
    EXPECT_EQ(fields.category, "MyTemp");
    EXPECT_EQ(fields.note, "Notiz");
    EXPECT_EQ(fields.saveWithImages, 0);
    EXPECT_EQ(folder.Snapshot(), before);
}

TEST_F(SaveTemplateAs, ATargetThatCannotBeProbedIsReported) {
    // The template folder is a file: neither made nor probed.
    test::WriteFileBytes(folder.Root() / "blocked", "x");
    SaveTemplateAsController ctl(fields, TemplateCatalog(), {}, {}, folder.Root() / "blocked");
    EXPECT_FALSE(ctl.Ok("Plan", -1, "", false).close);
    EXPECT_EQ(folder.messages.Ids(), std::vector<int>{IDS_TEMPLATE_NOT_SAVED});
}

TEST_F(SaveTemplateAs, CreatesTheMissingTemplateFolder) {
    SaveTemplateAsController ctl(fields, TemplateCatalog(), {}, {}, folder.Root() / "neu" / "Templates");
    EXPECT_TRUE(ctl.Ok("Plan", -1, "", false).close);
    EXPECT_TRUE(fs::is_directory(folder.Root() / "neu" / "Templates"));
    EXPECT_EQ(fields.category, "");
}

TEST_F(SaveTemplateAs, ProposesAFreeNameForAStandardTemplate) {
    const std::string foto = (folder.templates / "Foto.kqt").string();
    EXPECT_EQ(Controller(foto).InitialName(), "Foto(0).kqt");
    TemplateInfo taken;
    taken.Path = (folder.templates / "Foto(0).kqt").string();
    TemplateCatalog().Add(taken);
    EXPECT_EQ(Controller(foto).InitialName(), "Foto(1).kqt");
    EXPECT_EQ(Controller((folder.templates / "Reise.kqt").string()).InitialName(), "Reise.kqt");
    EXPECT_EQ(Controller("/home/u/Plan.kqf").InitialName(), "Plan.kqt");
    EXPECT_EQ(Controller("").InitialName(), "");
    fields.name = "Vorgabe.kqt";
    EXPECT_EQ(Controller(foto).InitialName(), "Vorgabe.kqt");
}

TEST(MakeUniqueTemplatePath, GivesTheLastNumberWhenAllAreTaken) {
    CTemplateInfoArray catalog;
    TemplateInfo info;
    info.Path = "/t/Foto.kqt";
    catalog.Add(info);
    for (int n = 0; n < 100; ++n) {
        info.Path = "/t/Foto(" + std::to_string(n) + ").kqt";
        catalog.Add(info);
    }
    EXPECT_EQ(MakeUniqueTemplatePath("/t/Foto.kqt", catalog), fs::path("/t/Foto(99).kqt"));
    catalog.RemoveAt(50);
    EXPECT_EQ(MakeUniqueTemplatePath("/t/Foto.kqf", catalog), fs::path("/t/Foto(49).kqt"));
}

TEST(SaveTemplateAsCategory, SelectsTheFirstMyTempEntryElseTheFirst) {
    SaveTemplateAsFields fields;
    fields.category = "Kunden";  // the preset does not select
    CTemplateInfoArray catalog;
    const auto first = [&](std::vector<std::string> names) {
        return SaveTemplateAsController(fields, catalog, std::move(names), {}, "/t").InitialCategory();
    };
    EXPECT_EQ(first({"Kunden", "mytemp2", "MyTemp"}), 1);
    EXPECT_EQ(first({"Kunden", "Partner"}), 0);
    EXPECT_EQ(first({}), -1);
}

}  // namespace
}  // namespace vx
