#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "platform/system/Format.h"
#include "platform/system/Numbers.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

struct ParseCase { const char* text; bool ok; double value; size_t used; };

const ParseCase kParseCases[] = {
    {"1.50", true, 1.5, 4},   {"  -2.25xyz", true, -2.25, 7}, {"+3", true, 3, 2},
    {".5", true, 0.5, 2},     {"1e3", true, 1000, 3},          {"12,5", true, 12, 2},
    {"abc", false, 0, 0},     {"", false, 0, 0},               {"-", false, 0, 0},
    {"nan", false, 0, 0},     {"inf", false, 0, 0},            {"0x10", true, 0, 1},
    {"1e999", true, HUGE_VAL, 5},
};

// Every case runs under the C and the German locale: GTK sets the process locale.
class NumbersUnderLocale : public testing::TestWithParam<const char*> {};

TEST_P(NumbersUnderLocale, ParseDoubleReadsDotDecimalsOnly) {
    test::ScopedLocale loc(GetParam());
    ASSERT_TRUE(loc.Active()) << GetParam() << " is not installed (scripts/setup generates it)";
    for (const ParseCase& c : kParseCases) {
        SCOPED_TRACE(c.text);
        size_t used = 99;
        auto r = ParseDouble(c.text, &used);
        ASSERT_EQ(r.has_value(), c.ok);
        if (c.ok) {
            EXPECT_EQ(*r, c.value);
            EXPECT_EQ(used, c.used);
        }
        EXPECT_EQ(AtoF(c.text), c.ok ? c.value : 0.0);
    }
}

TEST_P(NumbersUnderLocale, FormattingKeepsTheDot) {
    test::ScopedLocale loc(GetParam());
    ASSERT_TRUE(loc.Active());
    EXPECT_EQ(FormatFixed(1.5, 2), "1.50");
    EXPECT_EQ(FormatC("%.2f mm", 812.8), "812.80 mm");
    EXPECT_EQ(FormatFixed(-0.125, 1), "-0.1");
    EXPECT_EQ(FormatC("%.3f %s", 32.0, "Zoll"), "32.000 Zoll");
    EXPECT_EQ(*ParseDouble(FormatFixed(1.5, 2)), 1.5);
    EXPECT_EQ(FormatTemplate("%.1f %% - %d", {10.0, 400LL}), "10.0 % - 400");
}

INSTANTIATE_TEST_SUITE_P(Locales, NumbersUnderLocale, testing::Values("C", "de_DE.UTF-8"));

TEST(ParseLong, ReadsLeadingDigitsAndSaturates) {
    struct Case { const char* text; bool ok; long long value; };
    for (const Case& c : {Case{"42", true, 42}, Case{" -7x", true, -7}, Case{"x1", false, 0},
                          Case{"99999999999999999999", true, LLONG_MAX},
                          Case{"-99999999999999999999", true, LLONG_MIN},
                          Case{"-9223372036854775808", true, LLONG_MIN}}) {
        SCOPED_TRACE(c.text);
        auto r = ParseLong(c.text);
        ASSERT_EQ(r.has_value(), c.ok);
        if (c.ok) {
            EXPECT_EQ(*r, c.value);
        }
    }
}

TEST(Int32Conversion, TruncatesRoundsAndSaturates) {
    EXPECT_EQ(TruncToInt32(10.9), 10);
    EXPECT_EQ(TruncToInt32(-3.7), -3);
    EXPECT_EQ(TruncToInt32(1e12), INT32_MAX);
    EXPECT_EQ(TruncToInt32(-1e12), INT32_MIN);
    EXPECT_EQ(TruncToInt32(std::nan("")), 0);
    EXPECT_EQ(RoundToInt32(141.73), 142);
    EXPECT_EQ(RoundToInt32(-141.73), -142);
    EXPECT_EQ(RoundToInt32(2.5), 3);
    EXPECT_EQ(RoundToInt32(-2.5), -3);
    EXPECT_EQ(RoundToInt32(1e12), INT32_MAX);
}

}  // namespace
}  // namespace vx
