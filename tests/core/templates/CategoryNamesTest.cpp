#include "templates/CategoryNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system/AtomicFile.h"
#include "platform/system/StringTable.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

using Outcome = CategoryNameCheck::Outcome;

std::string Repeat(const std::string& unit, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += unit;
    return text;
}

TEST(CheckCategoryName, RunsTheChecksInTheirOrder) {
    struct Case {
        std::string typed;
        Outcome outcome;
        int message;
        std::string accepted;
    };
    const std::vector<std::string> users{"MyTemp", "Kunden", "Ärger"};
    const std::vector<Case> cases{
        {"Zwei Wörter", Outcome::Accept, 0, "Zwei Wörter"},
        {"  Partner ", Outcome::Accept, 0, "Partner"},
        {"", Outcome::FocusName, 0, ""},
        {"   ", Outcome::Refuse, IDS_CATEGORY_NAME_CHARS, ""},
        {".x", Outcome::Refuse, IDS_CATEGORY_NAME_CHARS, ""},
        {" .x", Outcome::Refuse, IDS_CATEGORY_NAME_CHARS, ""},
        {"a:b", Outcome::Refuse, IDS_CATEGORY_NAME_CHARS, ""},
        {"a%b", Outcome::Refuse, IDS_CATEGORY_NAME_CHARS, ""},
        {"a\tb", Outcome::Refuse, IDS_CATEGORY_NAME_CHARS, ""},
        {"a\nb", Outcome::Refuse, IDS_CATEGORY_NAME_CHARS, ""},
        {Repeat("x", 64), Outcome::Accept, 0, Repeat("x", 64)},
        {Repeat("ä", 64), Outcome::Accept, 0, Repeat("ä", 64)},
        {Repeat("x", 65), Outcome::Refuse, IDS_TOO_MANY_CHARS, ""},
        // 64 characters of four bytes do not fit one directory entry.
        {Repeat("\xF0\x9D\x84\x9E", 64), Outcome::Refuse, IDS_TOO_MANY_CHARS, ""},
        {"bildmaske", Outcome::Refuse, IDS_USER_CATEGORY_EXISTS, ""},
        {"Allgemein", Outcome::Refuse, IDS_USER_CATEGORY_EXISTS, ""},
        {"MYTEMPLATE", Outcome::Refuse, IDS_USER_CATEGORY_EXISTS, ""},
        {"freie form", Outcome::Refuse, IDS_USER_CATEGORY_EXISTS, ""},
        {"myTemp", Outcome::Refuse, IDS_USER_CATEGORY_EXISTS, ""},
        {" kunden", Outcome::Refuse, IDS_USER_CATEGORY_EXISTS, ""},
        {"ärger", Outcome::Refuse, IDS_USER_CATEGORY_EXISTS, ""},
        // Keys are not reserved, only what the tree shows.
        {"General", Outcome::Accept, 0, "General"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const CategoryNameCheck check = CheckCategoryName(c.typed, users);
        EXPECT_EQ(check.outcome, c.outcome);
        EXPECT_EQ(check.message.stringId, c.message);
        EXPECT_EQ(check.name, c.accepted);
    }
}

TEST(CheckCategoryName, NamesTheForbiddenCharactersAndTheLimit) {
    const CategoryNameCheck chars = CheckCategoryName("a?b", {});
    ASSERT_EQ(chars.message.args.size(), 1u);
    EXPECT_EQ(std::get<std::string>(chars.message.args[0]), "\\ / : , ; * ? < > | \" %");
    const CategoryNameCheck tooLong = CheckCategoryName(std::string(65, 'k'), {});
    ASSERT_EQ(tooLong.message.args.size(), 1u);
    EXPECT_EQ(std::get<long long>(tooLong.message.args[0]), 64);
}

TEST(WriteUserCategoryFile, ReplacesTheListAndKeepsTheRestOfTheFile) {
    test::TestRoot root;
    const auto file = root.Path() / "VellicorEX_TemplatePref.ini";
    test::WriteFileBytes(file, "[Other]\nKey=1\n[USR_TEMPLATE_FOLDER]\nUsrTemplate0=\"A\"\nUsrTemplate1=\"B\"\n"
                               "UsrTemplate2=\"C\"\n");
    ASSERT_TRUE(WriteUserCategoryFile({"Kunden", "MyTemp"}, file).ok());
    EXPECT_EQ(test::ReadFileBytes(file),
              "[Other]\nKey=1\n[USR_TEMPLATE_FOLDER]\nUsrTemplate0=\"Kunden\"\nUsrTemplate1=\"MyTemp\"\n");

    const std::string before = test::ReadFileBytes(file);
    FailAtomicWriteStepForTests(AtomicWriteStep::Rename);
    const Status failed = WriteUserCategoryFile({"Partner"}, file);
    FailAtomicWriteStepForTests(AtomicWriteStep::None);
    EXPECT_EQ(failed.stringId, IDS_SAVE_FAILED);
    EXPECT_EQ(test::ReadFileBytes(file), before);
}

}  // namespace
}  // namespace vx
