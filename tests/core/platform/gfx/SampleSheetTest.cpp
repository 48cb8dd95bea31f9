#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "GfxTestSupport.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Geom.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/gfx/Picture.h"

namespace vx::gfx {
namespace {
using namespace vx::gfx::test;

// One sheet with everything the page drawers ask of the canvas, left in the test
// output for people to look at, and probed where each element must have drawn.
TEST(SampleSheet, DrawsEveryKindOfElement) {
    ImageSurface s(640, 400);
    Canvas c(s.Native(), kScreenPixelsPerInch);
    c.Clear(kWhite);
    const Rgba blue{0.1, 0.2, 0.8, 1};

    // Outlines: anti-aliased and not.
    c.StrokeRect({20, 20, 120, 80}, Pen{kBlack, 1});
    c.SetAntialias(false);
    c.StrokeRect({30, 30, 100, 60}, Pen{blue, 3});
    c.SetAntialias(true);

    // A dashed line and a free line with both arrow heads (filled at the end, open at
    // the start).
    c.DrawLine(20, 130, 300, 130, Pen{kBlack, 2, true});
    const double a = 0;  // pointing right
    const Pen line{kRed, 4};
    c.DrawLine(40, 170, 280, 170, line);
    c.FillPolygon(geom::ArrowHeadPolygon({300, 170}, a, 2, 4, true, line.width), kRed);
    const geom::Polygon open = geom::ArrowHeadPolygon({20, 170}, a + std::numbers::pi, 2, 4, false, line.width);
    Path chevron;
    chevron.MoveTo(open.points[1].x, open.points[1].y).LineTo(open.points[0].x, open.points[0].y)
        .LineTo(open.points[2].x, open.points[2].y);
    c.StrokePath(chevron, line);

    // Text turned by 30° about its anchor, and vertical text.
    c.Save();
    c.RotateAbout(180, 230, 30);
    c.DrawText("Gedreht um 30°", Font{"DejaVu Sans", 22}, {}, {180, 230, 0, 0}, kBlack);
    c.Restore();
    TextFormat vertical;
    vertical.vertical = true;
    c.DrawText("Senkrecht", Font{"DejaVu Sans", 22}, vertical, {580, 20, 40, 300}, blue);

    // A 50 %-transparent red picture over a black bar, and a frame band.
    c.FillRect({340, 40, 200, 20}, kBlack);
    std::vector<uint8_t> px = Pixels(100, 60, 0, 0, 255, 128);
    Picture picture(px.data(), 100, 60, 400, Opacity::Scan);
    c.DrawPicture(picture, {0, 0, 100, 60}, {340, 20, 200, 120}, Filter::Nearest);
    c.FillXorBand({340, 200, 200, 150}, {360, 220, 160, 110}, Rgba::FromColorRef(0x00808080));
    ASSERT_TRUE(c.Ok());
    EXPECT_TRUE(s.WritePng(OutputFolder() / "gfx-sample-sheet.png"));

    EXPECT_EQ(At(s, 20, 60), (Rgb{0, 0, 0}));           // outline column
    EXPECT_TRUE(Near(At(s, 31, 60), {26, 51, 204}));    // 3-px pen, no anti-aliasing
    EXPECT_TRUE(IsInk(s, 22, 130));                     // dash
    EXPECT_FALSE(IsInk(s, 27, 130));                    // gap after 6 pixels
    EXPECT_EQ(At(s, 295, 170), (Rgb{255, 0, 0}));       // filled head beyond the line
    EXPECT_TRUE(IsInk(s, 298, 170));                    // near its tip
    EXPECT_TRUE(Near(At(s, 400, 100), {255, 128, 128})); // half red over white
    EXPECT_TRUE(Near(At(s, 400, 50), {128, 0, 0}));     // half red over black
    EXPECT_EQ(At(s, 345, 210), (Rgb{128, 128, 128}));   // band
    EXPECT_EQ(At(s, 440, 270), (Rgb{255, 255, 255}));   // inside the band untouched
    int turned = 0, columnInk = 0;
    for (int y = 230; y < 330; ++y)
        for (int x = 180; x < 340; ++x) turned += IsInk(s, x, y);
    for (int y = 20; y < 320; ++y)
        for (int x = 580; x < 620; ++x) columnInk += IsInk(s, x, y);
    EXPECT_GT(turned, 200);
    EXPECT_GT(columnInk, 200);
}

}  // namespace
}  // namespace vx::gfx
