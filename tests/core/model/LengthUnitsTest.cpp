#include <gtest/gtest.h>

#include <string>

#include "model/LengthUnits.h"
#include "platform/system/StringTable.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

// GTK sets the process locale: every case runs under C and German.
class LengthUnits : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override { ASSERT_TRUE(mLocale.Active()) << GetParam() << " is not installed"; }
    test::ScopedLocale mLocale{GetParam()};
};

TEST_P(LengthUnits, ParseReadsTheLeadingNumberAndRoundsHalfAwayFromZero) {
    struct Case { const char* text; int unit; int32_t units; };
    for (const Case& c : {Case{"10", 1, 142}, Case{" 10.5", 1, 149}, Case{"-10", 1, -142}, Case{"1", 2, 360},
                          Case{"-0.5", 2, -180}, Case{"25.4mm", 4, 360}, Case{"12,5", 1, 170},
                          Case{"7.5", 0, 8}, Case{"-7.5", 3, -8}, Case{"abc", 1, 0}, Case{"nan", 1, 0},
                          Case{"inf", 2, 0}, Case{"0x10", 1, 0}, Case{"", 2, 0}, Case{"1e12", 1, INT32_MAX},
                          Case{"-1e12", 2, INT32_MIN}, Case{"1e999", 1, INT32_MAX}}) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" unit " << c.unit);
        EXPECT_EQ(ParseLengthInUnit(c.text, c.unit), c.units);
    }
}

TEST_P(LengthUnits, FormatWritesDotDecimalsOrTheWholeNumber) {
    struct Case { int32_t value; int unit; const char* text; };
    for (const Case& c : {Case{360, 1, "25.40"}, Case{360, 4, "25.40"}, Case{360, -4, "25.40"},
                          Case{360, 2, "1.000"}, Case{360, -1, "25.4"}, Case{360, -2, "1.00"},
                          Case{-3, 0, "-3"}, Case{-3, 3, "-3"}, Case{7, 99, "7"}, Case{-142, 1, "-10.02"}}) {
        SCOPED_TRACE(testing::Message() << c.value << " unit " << c.unit);
        EXPECT_EQ(FormatLengthInUnit(c.value, c.unit, 360), c.text);
    }
}

TEST_P(LengthUnits, EveryLengthSurvivesARoundTripThroughItsText) {
    for (int unit : {1, 2}) {
        int failures = 0;
        for (int32_t v = -100000; v <= 100000 && failures < 5; ++v) {
            if (ParseLengthInUnit(FormatLengthInUnit(v, unit, 360), unit) != v) {
                ADD_FAILURE() << v << " in unit " << unit << " reads back as "
                              << ParseLengthInUnit(FormatLengthInUnit(v, unit, 360), unit);
                ++failures;
            }
        }
    }
}

TEST_P(LengthUnits, RangeMessagesShowTheLimitsInTheUnit) {
    const std::string prefix = "Der eingegebene Wert ist außerhalb des gültigen Bereiches.\nGültiger Bereich: ";
    struct Case { int code; double lo, hi; int id; std::string rest; };
    for (const Case& c : {Case{1, 0, 11520, 10410, "0.00 mm - 812.80 mm"},
                          Case{2, 0, 11520, 10429, "0.000 Zoll - 32.000 Zoll"},
                          Case{0, 1, 30000.7, 10523, "1 Pixel - 30000 Pixel"},
                          Case{3, 1, 99.9, 10523, "1 Seite - 99 Seite"},
                          Case{4, 5, 720, 10523, "5 Punkt - 720 Punkt"},
                          Case{5, 10, 400, 10524, "10.0 % - 400.0 %"},
                          Case{7, -2.5, 8.9, 10523, "-2  - 8 "}}) {
        SCOPED_TRACE(c.code);
        test::RecordingMessagePort messages;
        test::ScopedPorts ports(&messages);
        ShowValueRangeError(c.code, c.lo, c.hi);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].id, c.id);
        EXPECT_EQ(messages.shown[0].text, prefix + c.rest);
        EXPECT_EQ(messages.shown[0].icon, Icon::Error);
        EXPECT_EQ(messages.shown[0].buttons, Buttons::Ok);
    }
    test::RecordingMessagePort messages;
    test::ScopedPorts ports(&messages);
    ShowValueRangeError(9, 0, 32);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].id, 59429);
    EXPECT_EQ(messages.shown[0].text, "Die eingegebenen Zeichen sind zu lang.\nZulässige Anzahl Zeichen: 32");
}

INSTANTIATE_TEST_SUITE_P(Locales, LengthUnits, testing::Values("C", "de_DE.UTF-8"));

TEST(LengthUnitNames, ComeFromTheStringTable) {
    EXPECT_EQ(LoadString(IDS_UNIT_PIXEL), "Pixel");
    EXPECT_EQ(LoadString(IDS_UNIT_MM), "mm");
    EXPECT_EQ(LoadString(IDS_UNIT_INCH), "Zoll");
    EXPECT_EQ(LoadString(IDS_UNIT_POINT), "Punkt");
    EXPECT_EQ(LoadString(IDS_UNIT_PERCENT), "%");
    EXPECT_EQ(LoadString(IDS_UNIT_PAGE), "Seite");
}

}  // namespace
}  // namespace vx
