#include "dialogs/NumEditRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestFolders.h"

namespace vx::dialogs {
namespace {

NumEditRules Rules(double min, double max, bool whole = false, int16_t code = 1, bool checkOnLeave = false) {
    NumEditRules r;
    r.SetParams(min, max, whole, code, 9, checkOnLeave);
    return r;
}

struct ValidCase {
    const char* text;
    double min, max;
    bool whole;
    int16_t code;
    bool valid;
};

void CheckValidTable() {
    const std::vector<ValidCase> cases = {
        {"", 0, 100, false, 1, true},         {" 12", 0, 100, false, 1, true},
        {"1 2", 0, 100, false, 1, false},     {"-5", 0, 100, false, 1, false},
        {"-5", -180, 180, false, 1, true},    {"5-", -180, 180, false, 1, false},
        {"1.2.3", 0, 100, false, 1, false},   {"+5", 0, 100, false, 1, false},
        {".", 0, 100, true, 1, false},        {".", 0, 100, false, 1, true},
        {"1.25", 0, 100, false, 1, true},     {"1.25", 0, 100, false, 5, false},
        {"1.2", 0, 100, false, 5, true},      {"1.255", 0, 100, false, 2, true},
        {"1.255", 0, 100, false, 1, false},   {"1.2555", 0, 100, false, 7, true},
        {"100.5", 0, 100, false, 1, false},   {"100", 0, 100, false, 1, true},
        {"12a", 0, 100, false, 1, false},
    };
    for (const ValidCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " code " + std::to_string(c.code));
        EXPECT_EQ(Rules(c.min, c.max, c.whole, c.code).IsValidText(c.text), c.valid);
    }
}

TEST(NumEditRules, ValidTextsFollowFormatSignAndRange) { CheckValidTable(); }

TEST(NumEditRules, ValidTextsIgnoreTheProcessLocale) {
    test::ScopedLocale german("de_DE.UTF-8");
    if (!german.Active()) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    CheckValidTable();
    EXPECT_EQ(Rules(0, 812.8).LimitText(812.8), "812.80");
}

TEST(NumEditRules, LimitTextsFollowTheFormatCode) {
    EXPECT_EQ(Rules(0, 812.8, false, 1).LimitText(812.8), "812.80");
    EXPECT_EQ(Rules(0, 812.8, false, 2).LimitText(812.8), "812.800");
    EXPECT_EQ(Rules(0, 812.8, false, 5).LimitText(812.8), "812.8");
    EXPECT_EQ(Rules(0, 812.8, false, 7).LimitText(812.8), "812");
    EXPECT_EQ(Rules(0, 812.8, true, 1).LimitText(812.8), "812");
    EXPECT_EQ(Rules(-180, 180, true, 1).LimitText(-180.9), "-180");
}

struct KeyCase {
    const char* label;
    NumEditRules rules;
    const char* text;
    long from, to;
    char32_t key;  // 0x7F: Delete
    bool accept;
    const char* replace;  // nullptr: none
    const char* wouldBe;
};

TEST(NumEditRules, KeysGiveTheTextTheFieldShows) {
    const std::vector<KeyCase> cases = {
        {"above the maximum gives the maximum", Rules(0, 100), "50", 2, 2, '0', false, "100.00", "500"},
        {"a third decimal is dropped", Rules(0, 100), "1.25", 4, 4, '3', false, nullptr, "1.253"},
        {"Backspace removes before the caret", Rules(-180, 180, true), "12", 2, 2, '\b', true, nullptr, "1"},
        {"Backspace at the start changes nothing", Rules(0, 100), "12", 0, 0, '\b', true, nullptr, "12"},
        {"a selection is replaced", Rules(0, 100), "12", 0, 1, '9', true, nullptr, "92"},
        {"Delete at the end changes nothing", Rules(0, 100), "12", 2, 2, 0x7F, true, nullptr, "12"},
        {"deleting everything leaves empty", Rules(10, 100), "12", 0, 2, 0x7F, true, nullptr, ""},
        {"Backspace on a selection", Rules(10, 100), "12", 0, 2, '\b', true, nullptr, ""},
        {"a positive minimum lets typing start", Rules(10, 100), "", 0, 0, '5', true, nullptr, "5"},
        {"below a negative minimum gives it", Rules(-180, 180, true), "-18", 3, 3, '1', false, "-180", "-181"},
        {"a letter is dropped", Rules(0, 100), "1", 1, 1, 'a', false, nullptr, "1a"},
        {"a control character is dropped", Rules(0, 100), "1", 1, 1, 0x16, false, nullptr, "1"},
        {"minus at minimum 0 is dropped", Rules(0, 100), "", 0, 0, '-', false, nullptr, "-"},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.label);
        const NumEditKeyResult r =
            c.key == 0x7F ? c.rules.OnDelete(c.text, c.from, c.to) : c.rules.OnChar(c.text, c.from, c.to, c.key);
        EXPECT_EQ(r.accept, c.accept);
        EXPECT_EQ(r.replace.value_or("<none>"), c.replace ? c.replace : "<none>");
        if (c.key == 0x7F) {
            EXPECT_EQ(TextAfterDelete(c.text, c.from, c.to), c.wouldBe);
        } else if (c.key != 0x16) {
            EXPECT_EQ(TextAfterChar(c.text, c.from, c.to, c.key), c.wouldBe);
        }
    }
}

TEST(NumEditRules, LeavingChecksTheRangeOnlyWhenAsked) {
    const NumEditRules checking = Rules(10, 100, false, 1, true);
    EXPECT_EQ(checking.OnLeave("5").value_or("<none>"), "10.00");
    EXPECT_EQ(checking.OnLeave("500").value_or("<none>"), "100.00");
    EXPECT_FALSE(checking.OnLeave("50").has_value());
    EXPECT_FALSE(checking.OnLeave("").has_value());
    EXPECT_FALSE(Rules(10, 100).OnLeave("5").has_value());
}

TEST(NumEditRules, FieldMayHoldOnlyTextAKeyCouldHaveMade) {
    const NumEditRules r = Rules(10, 100);
    EXPECT_TRUE(r.MayHold("5"));
    EXPECT_TRUE(r.MayHold(""));
    EXPECT_FALSE(r.MayHold("999"));
    EXPECT_FALSE(r.MayHold("abc"));
    EXPECT_FALSE(Rules(-180, 180).MayHold("-999"));
}

TEST(NumEditRules, SelectionsOutsideTheTextAreClamped) {
    EXPECT_EQ(TextAfterChar("12", 5, -3, '7'), "7");
    EXPECT_EQ(TextAfterDelete("12", 9, 9), "12");
}

}  // namespace
}  // namespace vx::dialogs
