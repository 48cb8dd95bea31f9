#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "LayoutFixture.h"
#include "host/HostService.h"
#include "model/CTextObj.h"
#include "model/FreeTextItem.h"
#include "model/FreeTextLines.h"
#include "platform/gfx/TextMeasurer.h"

namespace vx {
namespace {

using gfx::TextMeasurer;
using test::TestLayout;

// 30 units per code point at size 50, in proportion to the size; bold 10 % more.
struct FakeMeasurer : TextMeasurer {
    bool noFont = false;
    struct Call {
        std::string line, face;
        double size;
        int style;
        bool vertical;
    };
    std::vector<Call> calls;

    std::optional<double> MeasureLine(std::string_view line, std::string_view face, double size, int style,
                                      bool vertical) override {
        calls.push_back({std::string(line), std::string(face), size, style, vertical});
        if (noFont) return std::nullopt;
        const auto codePoints = std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; });
        const double extent = double(codePoints) * 30 * size / 50;
        return style & kBold ? extent * 11 / 10 : extent;
    }
};

struct Corners {
    int64_t minX, minY, maxX, maxY;
};

// The turned box's corners on the page.
Corners CornersOnPage(const CTextObj& item) {
    const LayoutPoint p = item.GetPosition();
    Corners c{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
    for (int i : {0, 2, 4, 6}) {
        const int64_t x = int64_t(p.x) + item.GetBoxPoints()[i].x, y = int64_t(p.y) + item.GetBoxPoints()[i].y;
        c = {std::min(c.minX, x), std::min(c.minY, y), std::max(c.maxX, x), std::max(c.maxY, y)};
    }
    return c;
}

void ExpectPositionAndSizeBoundTheBox(const CTextObj& item) {
    const Corners c = CornersOnPage(item);
    EXPECT_EQ(item.GetPosition(), (LayoutPoint{int32_t(c.minX), int32_t(c.minY)}));
    EXPECT_EQ(item.GetSize(), (LayoutPoint{int32_t(c.maxX - c.minX), int32_t(c.maxY - c.minY)}));
}

LayoutPoint TopLeftOnPage(const CTextObj& item) {
    return {item.GetPosition().x + item.GetBoxPoints()[0].x, item.GetPosition().y + item.GetBoxPoints()[0].y};
}

TEST(SplitFreeTextLines, EveryBreakFormEndsALineAndATrailingBreakLeavesAnEmptyOne) {
    struct Case {
        const char* text;
        std::vector<std::string_view> lines;
    };
    for (const Case& c : {Case{"A\r\nBB", {"A", "BB"}}, Case{"A\nBB", {"A", "BB"}}, Case{"A\rBB", {"A", "BB"}},
                          Case{"A\r\nBB\r\n", {"A", "BB", ""}}, Case{"", {""}}, Case{"\r\r\n\n", {"", "", "", ""}},
                          Case{"\n\rx", {"", "", "x"}}, Case{"Größe", {"Größe"}}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitFreeTextLines(c.text), c.lines);
    }
}

TEST(CreateTextObject, GivesTheDefaultsAndAppends) {
    TestLayout t;
    CTextObj* first = CreateTextObject(&t.layout, t.layout.ItemListHead());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(t.layout.GetFirstItem(), first);
    EXPECT_EQ(first->GetOwner(), &t.layout);
    EXPECT_NE(first->GetObjectId(), 0u);
    EXPECT_EQ(first->GetName(), "");
    EXPECT_EQ(first->GetSelected(), 0);
    EXPECT_EQ(first->GetChanged(), 1);
    EXPECT_EQ(first->GetFont(), (FontSpec{"DejaVu Sans", 0, 50, 0}));
    EXPECT_EQ(first->GetBackgroundColorValue(), 0x00FFFFFFu);
    EXPECT_EQ(first->GetBackgroundColor(), 0);
    EXPECT_EQ(first->GetTextLineHeight(), 75);
    EXPECT_EQ(first->GetTextJustify(), 1);
    EXPECT_EQ(first->GetColumnarWriting(), 0);
    EXPECT_EQ(first->GetAngle(), 0);

    CTextObj* second = CreateTextObject(&t.layout, t.layout.ItemListHead());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->NextItem(), second);
    EXPECT_NE(second->GetObjectId(), first->GetObjectId());
    EXPECT_EQ(CreateTextObject(&t.layout, nullptr), nullptr);
}

struct MeasureFreeTextTest : testing::Test {
    FakeMeasurer measurer;
    ScopedHostService<TextMeasurer> install{&measurer};
    TestLayout t;
    CTextObj* item = CreateTextObject(&t.layout, t.layout.ItemListHead());

    void SetUp() override { item->SetPosition(1000, 1000); }
};

TEST_F(MeasureFreeTextTest, BoxIsTheWidestLineByLinePitchTimesLines) {
    struct Case {
        const char* text;
        bool vertical;
        int16_t style, size;
        LayoutPoint orgSize;
        bool result;
    };
    for (const Case& c : {
             Case{"A\r\nBB", false, 0, 50, {60, 150}, true},
             Case{"A\nBB", false, 0, 50, {60, 150}, true},
             Case{"A\rBB", false, 0, 50, {60, 150}, true},
             Case{"A\r\nBB\r\n", false, 0, 50, {60, 225}, true},  // the empty last line counts
             Case{"A\r\nBB", true, 0, 50, {150, 60}, true},
             Case{"Größe", false, 0, 50, {150, 75}, true},
             Case{"BB", false, TextMeasurer::kBold, 50, {66, 75}, true},
             Case{"AB", false, 0, 100, {120, 75}, true},
             Case{"A", false, 0, 51, {31, 75}, true},  // 30.6 raised to the next unit
             Case{"\r\n", false, 0, 50, {0, 150}, false},
             Case{"\r\n", true, 0, 50, {150, 0}, false},
         }) {
        SCOPED_TRACE(c.text);
        item->SetText(c.text);
        item->SetColumnarWriting(c.vertical);
        item->SetFont({"Serif", c.style, c.size, 0});
        item->SetOrgSize({0, 0});
        item->SetOffsetOrgPos({0, 0});
        EXPECT_EQ(MeasureFreeText(*item), c.result);
        EXPECT_EQ(item->GetOrgSize(), c.orgSize);
        ExpectPositionAndSizeBoundTheBox(*item);
    }
}

TEST_F(MeasureFreeTextTest, MeasuresEachNonEmptyLineOnceWithTheItemsFont) {
    item->SetText("Zeile\r\n\r\nzwei");
    item->SetFont({"Liberation Serif", 0x300, 60, 0x123456});
    item->SetColumnarWriting(1);
    ASSERT_TRUE(MeasureFreeText(*item));
    ASSERT_EQ(measurer.calls.size(), 2u);
    EXPECT_EQ(measurer.calls[0].line, "Zeile");
    EXPECT_EQ(measurer.calls[1].line, "zwei");
    for (const FakeMeasurer::Call& call : measurer.calls) {
        EXPECT_EQ(call.face, "Liberation Serif");
        EXPECT_EQ(call.size, 60);
        EXPECT_EQ(call.style, 0x300);
        EXPECT_TRUE(call.vertical);
    }
    EXPECT_EQ(item->GetText(), "Zeile\r\n\r\nzwei");  // nothing appended, not even for a moment
}

TEST_F(MeasureFreeTextTest, FailureLeavesTheItemUnchanged) {
    struct Case {
        const char* what;
        const char* text;
        bool installed, noFont;
    };
    for (const Case& c : {Case{"empty text", "", true, false}, Case{"no measurer", "Text", false, false},
                          Case{"no font", "A\r\nBB", true, true}}) {
        SCOPED_TRACE(c.what);
        item->SetText(c.text);
        item->SetOrgSize({100, 50});
        item->SetAngle(30);
        measurer.noFont = c.noFont;
        ScopedHostService<TextMeasurer> replace(c.installed ? &measurer : nullptr);
        const std::string before = test::DescribeByName(t.layout);
        const CTextObj::BoxPoints box = item->GetBoxPoints();
        EXPECT_FALSE(MeasureFreeText(*item));
        EXPECT_EQ(test::DescribeByName(t.layout), before);
        EXPECT_EQ(item->GetBoxPoints(), box);
    }
}

TEST_F(MeasureFreeTextTest, RemeasuringKeepsTheTopLeftCornerAndTheBoundingBox) {
    struct Case {
        int16_t angle;
        const char* text;
        int16_t newSize;
    };
    // At 90 degrees the last row grows 100 x 50 into 100 x 100 (two lines).
    for (const Case& c : {Case{0, "AB", 100}, Case{90, "AB", 100}, Case{90, "A\r\nBB", 50}, Case{135, "AB", 25},
                          Case{-60, "ABC", 150}}) {
        SCOPED_TRACE(c.angle);
        item->SetText("AB");
        item->SetFont({"Sans", 0, 83, 0});  // 100 wide, one line of 50
        item->SetTextLineHeight(50);
        item->SetAngle(c.angle);
        item->SetOrgSize({0, 0});
        item->SetOffsetOrgPos({0, 0});
        item->SetPosition(3000, 3000);
        ASSERT_TRUE(MeasureFreeText(*item));
        ASSERT_EQ(item->GetOrgSize(), (LayoutPoint{100, 50}));
        const LayoutPoint corner = TopLeftOnPage(*item);

        item->SetText(c.text);
        item->SetFont({"Sans", 0, c.newSize, 0});
        ASSERT_TRUE(MeasureFreeText(*item));
        EXPECT_NE(item->GetOrgSize(), (LayoutPoint{100, 50}));
        EXPECT_EQ(TopLeftOnPage(*item), corner);
        ExpectPositionAndSizeBoundTheBox(*item);
    }
}

struct ComputeRotatedTextBoxTest : testing::Test {
    TestLayout t;
    CTextObj* item = t.Add<CTextObj>(0, 0, 1000, 1000);

    void Turn(int16_t angle, LayoutPoint position = {1000, 1000}) {
        item->SetAngle(angle);
        item->SetOrgSize({100, 50});
        item->SetOffsetOrgPos({0, 0});
        item->SetPosition(position.x, position.y);
        ComputeRotatedTextBox(*item);
    }
};

TEST_F(ComputeRotatedTextBoxTest, UnturnedBoxKeepsTheStoredRounding) {
    Turn(0);
    EXPECT_EQ(item->GetPosition(), (LayoutPoint{1001, 1001}));
    EXPECT_EQ(item->GetSize(), (LayoutPoint{100, 49}));
    EXPECT_EQ(item->GetOffsetOrgPos(), (LayoutPoint{-1, -1}));
    const CTextObj::BoxPoints expected{LayoutPoint{0, 0}, {49, 0},  {100, 0}, {100, 24},
                                       {100, 49},         {49, 49}, {0, 49},  {0, 24}};
    EXPECT_EQ(item->GetBoxPoints(), expected);
    EXPECT_EQ(item->GetOrigin(), (LayoutPoint{1001, 1001}));

    // Turning again leaves it where it is.
    ComputeRotatedTextBox(*item);
    EXPECT_EQ(item->GetPosition(), (LayoutPoint{1001, 1001}));
    EXPECT_EQ(item->GetBoxPoints(), expected);
}

TEST_F(ComputeRotatedTextBoxTest, PositionAndSizeAreTheTurnedBoxesBounds) {
    struct Case {
        int16_t angle;
        LayoutPoint size;
    };
    for (const Case& c : {Case{90, {49, 99}}, Case{45, {106, 106}}, Case{180, {99, 49}}, Case{270, {49, 99}},
                          Case{-45, {106, 106}}, Case{30, {112, 92}}}) {
        SCOPED_TRACE(c.angle);
        Turn(c.angle);
        EXPECT_EQ(item->GetSize(), c.size);
        ExpectPositionAndSizeBoundTheBox(*item);
    }
}

TEST_F(ComputeRotatedTextBoxTest, TextTurnedPast90EndsOnThePagesRightEdge) {
    t.layout.SetPage({0, 0, 1000, 1000});
    struct Case {
        const char* what;
        int16_t angle;
        int32_t x;
        bool owned;
        int32_t expectedX;
    };
    // Unclamped, the box's left edge lies 2 left of x at 135 degrees and 26 right of it at 90.
    for (const Case& c : {Case{"135 over the edge", 135, 950, true, 894}, Case{"135 inside", 135, 800, true, 798},
                          Case{"90 over the edge", 90, 970, true, 996}, Case{"without owner", 135, 950, false, 948}}) {
        SCOPED_TRACE(c.what);
        item->SetOwner(c.owned ? &t.layout : nullptr);
        Turn(c.angle, {c.x, 1000});
        EXPECT_EQ(item->GetPosition().x, c.expectedX);
        // The size is the box's extent, wherever the box ends up.
        const Corners corners = CornersOnPage(*item);
        EXPECT_EQ(item->GetSize().x, corners.maxX - corners.minX);
        EXPECT_EQ(item->GetPosition().x, corners.minX);
    }
    item->SetOwner(&t.layout);
    Turn(135, {950, 1000});
    EXPECT_EQ(item->GetSize().x, 106);
    EXPECT_EQ(item->GetPosition().x + item->GetSize().x, 1000);
}

}  // namespace
}  // namespace vx
