#include <gtest/gtest.h>

#include <algorithm>

#include "GfxTestSupport.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Fonts.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/gfx/PangoTextMeasurer.h"

namespace vx::gfx {
namespace {
using namespace vx::gfx::test;

struct InkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

InkBox FindInk(const ImageSurface& s) {
    InkBox b;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (IsInk(s, x, y)) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

TEST(FontFamilies, ListsTheInstalledFamiliesSortedWithoutGenericNames) {
    const auto& families = FontFamilies();
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
    EXPECT_NE(std::find(families.begin(), families.end(), "DejaVu Sans"), families.end());
    for (const char* generic : {"sans-serif", "serif", "monospace", "Sans"})
        EXPECT_EQ(std::find(families.begin(), families.end(), generic), families.end()) << generic;
}

TEST(FontFamilies, ResolveIgnoresCaseAndFallsBackToDejaVuSans) {
    EXPECT_EQ(ResolveFamily("dejavu SANS"), "DejaVu Sans");
    EXPECT_EQ(ResolveFamily("tahoma"), IsFamilyInstalled("Tahoma") ? "Tahoma" : "DejaVu Sans");
    EXPECT_EQ(ResolveFamily("No Such Face 42"), "DejaVu Sans");
    EXPECT_EQ(ResolveFamily(""), "DejaVu Sans");
}

TEST(PangoTextMeasurer, WidthsScaleLinearlyWithTheSize) {
    PangoTextMeasurer measurer;
    for (const char* text : {"IMG_0042.JPG  2026-12-10", "Wiii lllll WWWW", "Ägypten 1:100"}) {
        for (int style : {0, TextMeasurer::kBold, TextMeasurer::kItalic}) {
            SCOPED_TRACE(testing::Message() << text << " style " << style);
            auto big = measurer.MeasureLine(text, "Tahoma", 50, style, false);
            auto small = measurer.MeasureLine(text, "Tahoma", 12.5, style, false);
            ASSERT_TRUE(big && small);
            EXPECT_NEAR(*big * 0.25, *small, 1.0);
        }
    }
    EXPECT_EQ(measurer.MeasureLine("", "Tahoma", 50, 0, false), 0.0);
}

TEST(PangoTextMeasurer, VerticalExtentIsTheColumnLength) {
    PangoTextMeasurer measurer;
    auto across = measurer.MeasureLine("Vertikal", "DejaVu Sans", 40, 0, false);
    auto down = measurer.MeasureLine("Vertikal", "DejaVu Sans", 40, 0, true);
    ASSERT_TRUE(across && down);
    EXPECT_NEAR(*across, *down, 1.0);
}

TEST(PangoTextMeasurer, MeasuredWidthCoversTheInk) {
    PangoTextMeasurer measurer;
    for (int style : {0, TextMeasurer::kItalic | TextMeasurer::kBold}) {
        SCOPED_TRACE(style);
        const char* text = "Wolff fjord";
        auto width = measurer.MeasureLine(text, "DejaVu Sans", 50, style, false);
        ASSERT_TRUE(width);
        ImageSurface s(600, 100);
        Canvas c(s.Native(), kScreenPixelsPerInch);
        c.Clear(kWhite);
        Font f{"DejaVu Sans", 50, bool(style & TextMeasurer::kBold), bool(style & TextMeasurer::kItalic)};
        c.DrawText(text, f, {}, {20, 10, 0, 0}, kBlack);
        const InkBox ink = FindInk(s);
        ASSERT_FALSE(ink.Empty());
        EXPECT_GE(ink.left, 20);
        EXPECT_LE(ink.right, 20 + *width);
        EXPECT_GT(ink.right, 20 + *width - 10);
    }
}

TEST(CanvasText, EllipsisTrimmingFitsTheBox) {
    ImageSurface s(300, 40);
    Canvas c(s.Native(), kScreenPixelsPerInch);
    c.Clear(kWhite);
    TextFormat format;
    format.trimming = Trimming::Ellipsis;
    const RectD box{10, 5, 120, 30};
    const char* text = "Drucker:TEVRA Proof 44  Tinte:Farbe  Druckmedium:Glossy";
    const TextExtent e = c.MeasureText(text, Font{"DejaVu Sans", 14}, format, box);
    EXPECT_LE(e.width, box.w);
    EXPECT_EQ(e.lines, 1);
    TextFormat none;
    EXPECT_GT(c.MeasureText(text, Font{"DejaVu Sans", 14}, none, box).width, box.w);
    c.DrawText(text, Font{"DejaVu Sans", 14}, format, box, kBlack);
    const InkBox ink = FindInk(s);
    EXPECT_GT(ink.right, 100);  // the box is used, not left empty
    EXPECT_LT(ink.right, 130);
}

TEST(CanvasText, LineLimitDropsAPartialLine) {
    const Font font{"DejaVu Sans", 20};
    ImageSurface s(200, 100);
    Canvas c(s.Native(), kScreenPixelsPerInch);
    const double line = c.LineSpacing(font);
    EXPECT_GT(line, 20);
    EXPECT_LT(line, 30);
    const RectD box{0, 0, 90, line * 1.6};
    TextFormat wrapped;
    wrapped.wrap = true;
    const char* text = "eins zwei drei vier";
    EXPECT_GE(c.MeasureText(text, font, wrapped, box).lines, 3);
    TextFormat limited = wrapped;
    limited.lineLimit = true;
    const TextExtent e = c.MeasureText(text, font, limited, box);
    EXPECT_EQ(e.lines, 1);
    EXPECT_LE(e.height, line + 1);
    c.Clear(kWhite);
    c.DrawText(text, font, limited, box, kBlack);
    const InkBox ink = FindInk(s);
    ASSERT_FALSE(ink.Empty());
    EXPECT_LT(ink.bottom, line + 1);
}

TEST(CanvasText, VerticalTextRunsDownward) {
    ImageSurface s(100, 300);
    Canvas c(s.Native(), kScreenPixelsPerInch);
    c.Clear(kWhite);
    TextFormat v;
    v.vertical = true;
    c.DrawText("Senkrecht", Font{"DejaVu Sans", 24}, v, {0, 0, 100, 300}, kBlack);
    const InkBox ink = FindInk(s);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GT(ink.bottom - ink.top, 3 * (ink.right - ink.left));
    EXPECT_GT(ink.left, 60);  // the first column stands at the right edge
}

TEST(CanvasText, AlignmentPlacesTheLineInItsBox) {
    struct Case {
        TextAlign align;
        int inkCentre;
    };
    for (Case k : {Case{TextAlign::Near, 30}, Case{TextAlign::Centre, 150}, Case{TextAlign::Far, 270}}) {
        ImageSurface s(300, 40);
        Canvas c(s.Native(), kScreenPixelsPerInch);
        c.Clear(kWhite);
        TextFormat f;
        f.align = k.align;
        f.lineAlign = TextAlign::Centre;
        c.DrawText("MMMM", Font{"DejaVu Sans", 16}, f, {0, 0, 300, 40}, kBlack);
        const InkBox ink = FindInk(s);
        SCOPED_TRACE(int(k.align));
        EXPECT_NEAR((ink.left + ink.right) / 2, k.inkCentre, 12);
        EXPECT_NEAR((ink.top + ink.bottom) / 2, 20, 4);
    }
}

TEST(CanvasText, RepaintsOnOneCanvasMatchAFreshCanvasWhateverTheTurns) {
    // Strings turned different ways in turn, one cut to its line limit: a canvas that
    // keeps layouts from the first paint draws the second exactly as a new canvas does.
    const auto paint = [](Canvas& c) {
        c.Clear(kWhite);
        TextFormat limited;
        limited.wrap = true;
        limited.lineLimit = true;
        limited.align = TextAlign::Centre;
        TextFormat vertical;
        vertical.vertical = true;
        struct Item {
            const char* text;
            double turn;
            const TextFormat& format;
            RectD box;
        } items[] = {{"Bild 10", 0, limited, {20, 20, 40, 20}},
                     {"Nr. 11", -90, TextFormat{}, {60, 100, 120, 20}},
                     {"Freier Text", 30, TextFormat{}, {40, 160, 150, 0}},
                     {"Bild 10", 0, limited, {20, 60, 40, 20}},
                     {"Senkrecht", 0, vertical, {160, 10, 30, 120}},
                     {"Nr. 11", -90, TextFormat{}, {100, 100, 120, 20}}};
        for (const Item& i : items) {
            c.Save();
            c.RotateAbout(i.box.x + i.box.w / 2, i.box.y + i.box.h / 2, i.turn);
            c.DrawText(i.text, Font{"DejaVu Sans", 12}, i.format, i.box, kBlack);
            c.Restore();
        }
    };
    ImageSurface kept(200, 240), fresh(200, 240);
    Canvas keeping(kept.Native(), kScreenPixelsPerInch);
    paint(keeping);
    paint(keeping);
    Canvas once(fresh.Native(), kScreenPixelsPerInch);
    paint(once);
    int ink = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 200; ++x) {
            ASSERT_EQ(At(kept, x, y), At(fresh, x, y)) << x << "," << y;
            ink += IsInk(kept, x, y);
        }
    EXPECT_GT(ink, 200);
}

}  // namespace
}  // namespace vx::gfx
