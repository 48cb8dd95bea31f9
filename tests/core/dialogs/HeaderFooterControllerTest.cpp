#include "dialogs/HeaderFooterController.h"
#include "dialogs/FrameTextRules.h"

#include <gtest/gtest.h>

#include "core/model/LayoutFixture.h"
#include "model/LengthUnits.h"
#include "support/RecordingPorts.h"

namespace vx::dialogs {
namespace {

using Area = HeaderFooterController::Area;
using Focus = HeaderFooterController::Focus;

const std::vector<std::string> kFaces = {"DejaVu Sans", "DejaVu Serif"};

// An A4 layout with a header and footer of 100 units, text printed in both.
struct HeaderExample {
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    CLayoutSetting layout{true};
    HeaderFooterController dialog{[] { return CalendarDate{2026, 12, 31}; }};

    explicit HeaderExample(int16_t unit = 1) {
        layout.SetPaper({2976, 4209});
        layout.SetUnit(unit);
        layout.SetHeaderOffset(100);
        layout.SetFooterOffset(100);
        layout.SetHeaderText(1);
        layout.SetFooterText(1);
        layout.HeaderFooterFont() = {"DejaVu Serif", 0x200, 50, 0x123456};
        layout.SetHeaderFooterLineHeight(75);
        layout.Texts().headerText = "Kopf\r\nZeile";
        dialog.SetSettings(layout);
        dialog.Init(kFaces);
    }
};

TEST(HeaderFooterController, LoadsTheCopyIntoTheControls) {
    HeaderExample e;
    EXPECT_EQ(e.dialog.HeightText(Area::Header), "7.06");
    EXPECT_EQ(e.dialog.AreaText(Area::Header), "Kopf\nZeile");
    EXPECT_EQ(e.dialog.FontIndex(), 1);
    EXPECT_EQ(FontSizeEntries()[size_t(e.dialog.SizeIndex())], "10");
    EXPECT_EQ(HeaderFooterController::LineHeightPercents()[size_t(e.dialog.LineHeightIndex())], 150);
    EXPECT_EQ(e.dialog.Settings().GetHeaderFooterLineHeightPercent(), 150);
    EXPECT_EQ(e.dialog.Style(), 0x200);
    EXPECT_EQ(e.dialog.Justify(), 0);
    EXPECT_FALSE(e.dialog.FixedDateEnabled(Area::Header));
    EXPECT_EQ(e.dialog.Range(Area::Header).maximum, 992 * 25.4 / 360);
    EXPECT_EQ(e.dialog.Range(Area::Header).decimals, 1);
}

TEST(HeaderFooterController, HeightsOutsideTheRangeAreRefused) {
    struct Case { int32_t header, footer; Focus focus; const char* text; };
    const std::vector<Case> cases = {
        {19, 100, Focus::HeaderHeight, "1.41 mm - 69.99 mm"},
        {993, 100, Focus::HeaderHeight, "1.41 mm - 69.99 mm"},
        {20, 19, Focus::FooterHeight, "1.41 mm - 69.99 mm"},
        {20, 992, Focus::None, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.header << ' ' << c.footer);
        HeaderExample e;
        e.dialog.SetHeightText(Area::Header, FormatLengthInUnit(c.header, 1, 360));
        e.dialog.SetHeightText(Area::Footer, FormatLengthInUnit(c.footer, 1, 360));
        EXPECT_EQ(e.dialog.OnOK(), c.text == nullptr);
        EXPECT_EQ(e.dialog.FocusAfterRefusal(), c.focus);
        if (c.text) {
            ASSERT_EQ(e.messages.Ids(), std::vector<int>{10410});
            EXPECT_NE(e.messages.shown[0].text.find(c.text), std::string::npos) << e.messages.shown[0].text;
        } else {
            EXPECT_EQ(e.dialog.Settings().GetHeaderOffset(), 20);
            EXPECT_EQ(e.dialog.Settings().GetFooterOffset(), 992);
        }
    }
}

TEST(HeaderFooterController, LongTextsAreRefusedOnlyWhilePrinted) {
    std::string text250;
    for (int i = 0; i < 125; ++i) text250 += "ä\n";
    text250 += std::string(125, 'x');
    struct Case { std::string text; bool printed; bool ok; };
    const std::vector<Case> cases = {
        {text250, true, true}, {text250 + "y", true, false}, {text250 + "y", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text.size() << " bytes, printed " << c.printed);
        HeaderExample e;
        e.dialog.TickText(Area::Footer, c.printed);
        e.dialog.SetAreaText(Area::Footer, c.text);
        EXPECT_EQ(e.dialog.OnOK(), c.ok);
        if (!c.ok) {
            EXPECT_EQ(e.dialog.FocusAfterRefusal(), Focus::FooterEdit);
            ASSERT_EQ(e.messages.shown.size(), 1u);
            EXPECT_NE(e.messages.shown[0].text.find("250"), std::string::npos);
        } else {
            EXPECT_EQ(e.dialog.Settings().GetFooterShow(), c.printed ? 1 : 0);
            EXPECT_EQ(e.dialog.Settings().Texts().footerText.substr(0, 4), "ä\r\n");
        }
    }
}

TEST(HeaderFooterController, UnitAndLineHeightRewriteTheirValues) {
    HeaderExample e;
    e.dialog.SetHeightText(Area::Header, "25.4");
    e.dialog.UnitChanged(Area::Header, 1);
    EXPECT_EQ(e.dialog.HeightText(Area::Header), "1.000");
    EXPECT_EQ(e.dialog.Unit(Area::Header), 2);
    EXPECT_EQ(e.dialog.Range(Area::Header).maximum, 992 / 360.0);
    EXPECT_EQ(e.dialog.Unit(Area::Footer), 1);

    e.dialog.SelectLineHeight(0);
    EXPECT_EQ(e.dialog.Settings().GetHeaderFooterLineHeight(), 55);  // 110 % of 50
    e.dialog.SelectLineHeight(2);
    EXPECT_EQ(e.dialog.Settings().GetHeaderFooterLineHeight(), 75);
    EXPECT_EQ(e.dialog.Settings().GetHeaderFooterLineHeightPercent(), 150);
    e.dialog.SelectSize(12);  // 20 points
    EXPECT_EQ(e.dialog.Settings().HeaderFooterFont().size, 100);
    EXPECT_EQ(e.dialog.Settings().GetHeaderFooterLineHeight(), 150);
    e.dialog.SelectSize(0);
    EXPECT_EQ(e.dialog.Settings().GetHeaderFooterFontSizeAuto(), 1);
    EXPECT_EQ(e.dialog.Settings().HeaderFooterFont().size, 100);
}

TEST(HeaderFooterController, ASizeOfZeroBecomesOneBeforeTheLineHeightDivides) {
    CLayoutSetting layout(true);
    layout.SetPaper({2976, 4209});
    layout.HeaderFooterFont().size = 0;
    layout.SetHeaderFooterLineHeight(2);
    HeaderFooterController dialog;
    dialog.SetSettings(layout);
    dialog.Init(kFaces);
    EXPECT_EQ(dialog.Settings().HeaderFooterFont().size, 1);
    EXPECT_EQ(dialog.Settings().GetHeaderFooterLineHeightPercent(), 200);  // (2 * 100 + 0) / 1
    EXPECT_EQ(dialog.Settings().HeaderFooterFont().face, "DejaVu Sans");  // empty face: the stand-in
}

TEST(HeaderFooterController, FixedDateIsTodaysLocalDate) {
    HeaderExample e;
    e.dialog.TickDatePage(Area::Header, true);
    EXPECT_TRUE(e.dialog.FixedDateEnabled(Area::Header));
    e.dialog.TickFixedDate(Area::Header, true);
    EXPECT_EQ(e.dialog.FixedDateLabel(Area::Header), ": 31.12.2026");
    EXPECT_EQ(e.dialog.Settings().GetHeaderFixedDate_Year(), 2026);
    EXPECT_EQ(e.dialog.Settings().GetHeaderFixedDate_Month(), 12);
    EXPECT_EQ(e.dialog.Settings().GetHeaderFixedDate_Day(), 31);
    e.dialog.TickFixedDate(Area::Header, false);
    EXPECT_EQ(e.dialog.FixedDateLabel(Area::Header), "");
    EXPECT_EQ(e.dialog.Settings().GetHeaderFixedDate_Year(), 0);

    const CalendarDate today = LocalToday();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ(today.day, local.tm_mday);
    EXPECT_EQ(FormatGermanDate({2027, 1, 5}), "05.01.2027");
}

TEST(HeaderFooterController, CancelLeavesTheLayoutAndOkWritesTheCopyBack) {
    HeaderExample e;
    const std::string before = test::DescribeByName(e.layout);
    const LayoutTexts textsBefore = e.layout.Texts();
    e.dialog.TickDatePage(Area::Footer, true);
    e.dialog.TickFixedDate(Area::Footer, true);
    e.dialog.SetColour(0xFF);
    e.dialog.SetStyleBit(0x100, true);
    e.dialog.SetJustify(-1);
    e.dialog.SetAreaText(Area::Header, "Neu\nText");
    ASSERT_TRUE(e.dialog.OnOK());
    EXPECT_EQ(test::DescribeByName(e.layout), before);  // nothing reached it: a Cancel drops the copy
    EXPECT_EQ(e.layout.Texts(), textsBefore);

    CLayoutSetting defaults(false);  // the application's default record: no document, no view
    e.dialog.GetSettings(defaults);
    EXPECT_EQ(defaults.GetFooterUseFixedDate(), 1);
    EXPECT_EQ(defaults.GetFooterShow(), 1);
    EXPECT_EQ(defaults.GetHeaderFooterJustify(), -1);
    EXPECT_EQ(defaults.HeaderFooterFont().style, 0x300);
    EXPECT_EQ(defaults.HeaderFooterFont().color, 0xFFu);
    EXPECT_EQ(defaults.Texts().headerText, "Neu\r\nText");
}

}  // namespace
}  // namespace vx::dialogs
