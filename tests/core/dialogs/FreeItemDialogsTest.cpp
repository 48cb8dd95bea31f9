#include <gtest/gtest.h>

#include "dialogs/FreeLineController.h"
#include "dialogs/FreeLineSample.h"
#include "dialogs/FreeTextController.h"
#include "model/CLayoutSetting.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "support/RecordingPorts.h"
#include "support/TestFolders.h"

namespace vx {
namespace {

class FreeTextDialogTest : public testing::Test {
protected:
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    FreeTextController dialog{{"Arial", "DejaVu Sans", "DejaVu Serif"}};
    CTextObj item{true};

    void SetUp() override {
        item.SetFont({"Fehlt", 0x400, 250, 0x0000FF});
        item.SetText("Zeile 1\r\nZeile 2");
        item.SetTextLineHeight(70);
        item.SetAngle(15);
    }
};

TEST_F(FreeTextDialogTest, LoadsTheItemAndFallsBackToTheStandInFace) {
    item.SetFont({"Fehlt", 0x400, 50, 0});
    dialog.SetTextSettings(item);
    const FreeTextController::Values& v = dialog.GetValues();
    EXPECT_EQ(v.face, "DejaVu Sans");
    EXPECT_EQ(v.sizeText, "10");
    EXPECT_EQ(dialog.LineHeightTexts()[size_t(v.lineHeightEntry)], "150 %");
    EXPECT_EQ(v.text, "Zeile 1\nZeile 2");
    EXPECT_TRUE(v.underline);
    ASSERT_TRUE(dialog.Apply());
    CTextObj out(true);
    dialog.GetTextSettings(out);
    EXPECT_EQ(out.GetFont().face, "DejaVu Sans");
    EXPECT_EQ(out.GetTextLineHeight(), 75);
    EXPECT_EQ(out.GetText(), "Zeile 1\r\nZeile 2");
    EXPECT_EQ(out.GetAngle(), 15);
}

TEST_F(FreeTextDialogTest, SizeMustLieWithinFourAndFourThousandSixHundredEightPoints) {
    dialog.SetTextSettings(item);
    struct Case { const char* text; bool ok; int stored; };
    for (const Case& c : {Case{"3", false, 0}, Case{"4", true, 20}, Case{"4608", true, 23040}, Case{"4609", false, 0},
                          Case{"7000", false, 0}, Case{"", false, 0}}) {
        SCOPED_TRACE(c.text);
        messages.shown.clear();
        dialog.GetValues().sizeText = c.text;
        const DialogCheck check = dialog.Apply();
        EXPECT_EQ(bool(check), c.ok);
        if (c.ok) {
            EXPECT_EQ(dialog.Item().GetFont().size, c.stored);
        } else {
            EXPECT_EQ(check.controlId, FreeTextController::kIdSize);
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text,
                      "Der eingegebene Wert ist außerhalb des gültigen Bereiches.\nGültiger Bereich: 4 Punkt - 4608 Punkt");
        }
    }
}

TEST_F(FreeTextDialogTest, VerticalTextDropsUnderlineAndEmptyTextDisablesOk) {
    dialog.SetTextSettings(item);
    dialog.GetValues().vertical = true;
    EXPECT_FALSE(dialog.UnderlineEnabled());
    ASSERT_TRUE(dialog.Apply());
    EXPECT_EQ(dialog.Item().GetFont().style & 0x400, 0);
    EXPECT_EQ(dialog.Item().GetColumnarWriting(), 1);
    dialog.GetValues().text.clear();
    EXPECT_FALSE(dialog.OkEnabled());
}

TEST_F(FreeTextDialogTest, CountsCodePointsNotBytes) {
    dialog.SetTextSettings(item);
    std::string text;
    for (int i = 0; i < 50; ++i) text += "Größe";
    dialog.GetValues().text = text + "\n";
    EXPECT_TRUE(dialog.Apply());  // 250 characters; the line feed does not count
    dialog.GetValues().text = text + "ß";
    messages.shown.clear();
    EXPECT_EQ(dialog.Apply().controlId, FreeTextController::kIdText);
    ASSERT_EQ(messages.Ids(), (std::vector<int>{59429}));
    EXPECT_EQ(messages.shown[0].text, "Die eingegebenen Zeichen sind zu lang.\nZulässige Anzahl Zeichen: 250");
}

class FreeLineDialogTest : public testing::Test {
protected:
    test::RecordingMessagePort messages;
    test::ScopedPorts ports{&messages};
    CLayoutSetting layout{true};
    CLineObj line{true};
    FreeLineController dialog;

    void SetUp() override {
        layout.SetUnit(1);
        line.SetOwner(&layout);
        line.SetThickness(100);
        line.SetLength(1417);
        line.SetArrowMark(0);
        line.SetArrowAngle(90);
        line.SetArrowFill(0);
        line.SetArrowSize(2);
    }
};

TEST_F(FreeLineDialogTest, ThicknessLengthAndAngleAreChecked) {
    dialog.SetLine(line);
    EXPECT_EQ(dialog.GetValues().lengthText, "99.98");
    struct Case { const char* thickness; const char* length; const char* angle; int control; const char* text; };
    const Case cases[] = {
        {"0", "100", "0", FreeLineController::kIdThickness,
         "Der eingegebene Wert ist außerhalb des gültigen Bereiches.\nGültiger Bereich: 1 Punkt - 1000 Punkt"},
        {"1001", "100", "0", FreeLineController::kIdThickness,
         "Die Breite einer freien Linie kann maximal 64 Zoll betragen."},
        {"1000", "9.9", "0", FreeLineController::kIdLength,
         "Der eingegebene Wert ist außerhalb des gültigen Bereiches.\nGültiger Bereich: 10.00 mm - 15000.00 mm"},
        {"1000", "15000.1", "0", FreeLineController::kIdLength,
         "Der eingegebene Wert ist außerhalb des gültigen Bereiches.\nGültiger Bereich: 10.00 mm - 15000.00 mm"},
        {"1", "10.0", "181", FreeLineController::kIdAngle,
         "Der eingegebene Wert ist außerhalb des gültigen Bereiches.\nGültiger Bereich: -180  - 180 "},
        {"1", "10.0", "-180", 0, ""},
        {"1000", "15000", "180", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.thickness) + "/" + c.length + "/" + c.angle);
        messages.shown.clear();
        dialog.GetValues().thicknessText = c.thickness;
        dialog.GetValues().lengthText = c.length;
        dialog.GetValues().angleText = c.angle;
        EXPECT_EQ(dialog.Apply().controlId, c.control);
        if (c.control) {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].text, c.text);
        } else {
            EXPECT_TRUE(messages.shown.empty());
        }
    }
}

TEST_F(FreeLineDialogTest, InchUnitParsesAndShowsInInch) {
    layout.SetUnit(3);  // anything but mm is inch
    dialog.SetLine(line);
    EXPECT_EQ(dialog.GetValues().unit, 2);
    EXPECT_EQ(dialog.GetValues().lengthText, "3.936");
    dialog.SetUnit(1);
    EXPECT_EQ(dialog.GetValues().lengthText, "99.98");
    dialog.SetUnit(2);
    dialog.GetValues().lengthText = "0.3";
    EXPECT_EQ(dialog.Apply().controlId, FreeLineController::kIdLength);
    EXPECT_EQ(messages.shown.back().text,
              "Der eingegebene Wert ist außerhalb des gültigen Bereiches.\nGültiger Bereich: 0.394 Zoll - 590.551 Zoll");
}

TEST_F(FreeLineDialogTest, EndPointsOfNewAndPlacedLines) {
    dialog.SetLine(line);
    ASSERT_TRUE(dialog.Apply());
    // The geometry keeps the ends relative to the line's new position.
    const auto onPage = [](const CLineObj& l, LayoutPoint p) {
        return LayoutPoint{l.GetPosition().x + p.x, l.GetPosition().y + p.y};
    };
    EXPECT_EQ(onPage(dialog.Line(), dialog.Line().GetOffsetStart()), (LayoutPoint{0, 0}));
    EXPECT_EQ(onPage(dialog.Line(), dialog.Line().GetOffsetEnd()), (LayoutPoint{1416, 0}));
    EXPECT_EQ(dialog.Line().GetThickness(), 100);

    CLineObj placed(true);
    dialog.GetLine(placed);
    placed.SetOwner(&layout);
    placed.SetPosition(0, 0);
    placed.SetSize(10, 10);
    placed.SetOffsetOrgPos({1000, 500});
    FreeLineController edit;
    edit.SetLine(placed);
    LayoutPoint oldStart, oldEnd;
    FreeLineEnds({1000, 500}, 1417, 90, oldStart, oldEnd);
    edit.GetValues().angleText = "90";
    edit.GetValues().lengthText = "200";
    ASSERT_TRUE(edit.Apply());
    EXPECT_EQ(onPage(edit.Line(), edit.Line().GetOffsetStart()), oldStart);
    EXPECT_EQ(edit.Line().GetLength(), 2835);
}

TEST_F(FreeLineDialogTest, ArrowChoicesStayWhileTheyAreOff) {
    dialog.SetLine(line);
    EXPECT_FALSE(dialog.ArrowControlsEnabled());
    EXPECT_EQ(dialog.GetValues().arrowType, FreeLineController::ArrowType::WideOpen);
    ASSERT_TRUE(dialog.Apply());
    EXPECT_EQ(dialog.Line().GetArrowMark(), 0);
    EXPECT_EQ(dialog.Line().GetArrowAngle(), 90);
    EXPECT_EQ(dialog.Line().GetArrowFill(), 0);
    EXPECT_EQ(dialog.Line().GetArrowSize(), 2);
}

TEST(FreeLineSample, OneEndDrawsAHeadAtTheLeftEndOnly) {
    auto headPixels = [](int mark) {
        gfx::ImageSurface surface(200, 40, true);
        gfx::Canvas canvas(surface.Native(), 96);
        DrawFreeLineSample(canvas, 200, 40, {0x000000, false, mark, true, true, 3});
        // Above the 5-pixel line, only a head is dark.
        auto dark = [&](int x) { return (surface.Pixel(x, 12) & 0xFFFFFF) < 0x808080; };
        return std::pair{dark(30), dark(170)};
    };
    EXPECT_EQ(headPixels(0), (std::pair{false, false}));
    EXPECT_EQ(headPixels(1), (std::pair{true, false}));
    EXPECT_EQ(headPixels(2), (std::pair{true, true}));
}

}  // namespace
}  // namespace vx
