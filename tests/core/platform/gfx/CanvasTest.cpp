#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "GfxTestSupport.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/gfx/Picture.h"

namespace vx::gfx {
namespace {
using namespace vx::gfx::test;

struct Sheet {
    ImageSurface surface;
    Canvas canvas;
    Sheet(int w, int h, bool antialias = true) : surface(w, h), canvas(surface.Native(), kScreenPixelsPerInch) {
        canvas.SetAntialias(antialias);
        canvas.Clear(kWhite);
    }
};

TEST(Canvas, FillRectCoversExactlyItsPixels) {
    Sheet s(12, 12);
    s.canvas.FillRect({2, 3, 4, 5}, kRed);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
            EXPECT_EQ(At(s.surface, x, y), inside ? (Rgb{255, 0, 0}) : (Rgb{255, 255, 255}));
        }
}

TEST(Canvas, StrokeRectCoversBothEdgeColumnsAndRows) {
    Sheet s(12, 12, false);
    s.canvas.StrokeRect({2, 2, 5, 4}, Pen{kBlack, 1});
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            const bool onEdge = ((x == 2 || x == 7) && y >= 2 && y <= 6) || ((y == 2 || y == 6) && x >= 2 && x <= 7);
            EXPECT_EQ(IsInk(s.surface, x, y), onEdge);
        }
}

TEST(Canvas, DashedPenLeavesGapsOfOnePenWidth) {
    Sheet s(40, 10, false);
    s.canvas.DrawLine(0, 4, 40, 4, Pen{kBlack, 2, true});
    // 3 widths on, 1 off: 6 pixels ink, 2 pixels gap.
    for (int x = 0; x < 32; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(IsInk(s.surface, x, 4), x % 8 < 6);
    }
}

TEST(Canvas, ThinPenStillMarksItsPixel) {
    Sheet s(20, 10);
    s.canvas.DrawLine(2, 5, 18, 5, Pen{kBlack, 0.3});
    EXPECT_EQ(At(s.surface, 10, 5), (Rgb{0, 0, 0}));
    EXPECT_FALSE(IsInk(s.surface, 10, 4));
    EXPECT_FALSE(IsInk(s.surface, 10, 6));
}

TEST(Canvas, StrokesReachingIntoTheClipFromOutsideAreDrawnWhole) {
    // Figures that lie outside a 40 x 40 sheet: a thick line whose half width reaches
    // in, a sharp V whose mitre tip reaches in, one far away; and one inside. Each
    // turn must give the pixels cairo gives for the whole path.
    Path path;
    path.MoveTo(-20, -4).LineTo(60, -4);                   // 12 wide: 2 rows in
    path.MoveTo(14, -35).LineTo(20, -12).LineTo(26, -35);  // corner at -12, mitre tip near 12
    path.MoveTo(5000, 5000).LineTo(6000, 5000);
    path.MoveTo(5, 30).LineTo(35, 30);
    const Pen pen{kBlack, 12};
    struct Turn {
        double scale, degrees;
    } turns[] = {{1, 0}, {0.5, 0}, {1, 30}};
    for (const Turn& t : turns) {
        SCOPED_TRACE(testing::Message() << t.scale << " " << t.degrees);
        Sheet drawn(40, 40), whole(40, 40);
        drawn.canvas.Scale(t.scale, t.scale);
        drawn.canvas.RotateAbout(20, 20, t.degrees);
        drawn.canvas.StrokePath(path, pen);

        // The same stroke by cairo alone: half a pixel right and down, as the canvas places it.
        cairo_t* cr = whole.canvas.Native();
        cairo_translate(cr, 0.5, 0.5);
        cairo_scale(cr, t.scale, t.scale);
        cairo_translate(cr, 20, 20);
        cairo_rotate(cr, t.degrees * M_PI / 180);
        cairo_translate(cr, -20, -20);
        for (const Path::Step& step : path.Steps())
            step.op == Path::Op::Move ? cairo_move_to(cr, step.p.x, step.p.y) : cairo_line_to(cr, step.p.x, step.p.y);
        cairo_set_line_width(cr, pen.width);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_stroke(cr);

        int edgeInk = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                ASSERT_EQ(At(drawn.surface, x, y), At(whole.surface, x, y)) << x << "," << y;
                if (y < 3) edgeInk += IsInk(drawn.surface, x, y);
            }
        EXPECT_GT(edgeInk, 0);
    }
    // The mitre tip alone, unturned: it is what reaches row 0 in the middle.
    Sheet tip(40, 40);
    tip.canvas.StrokePath(Path().MoveTo(14, -35).LineTo(20, -12).LineTo(26, -35), pen);
    EXPECT_TRUE(IsInk(tip.surface, 20, 0));
}

TEST(Canvas, XorBandLeavesTheInnerRectangleUntouched) {
    Sheet s(20, 20);
    s.canvas.FillXorBand({0, 0, 20, 20}, {5, 5, 10, 10}, kRed);
    EXPECT_EQ(At(s.surface, 10, 10), (Rgb{255, 255, 255}));
    EXPECT_EQ(At(s.surface, 5, 5), (Rgb{255, 255, 255}));
    EXPECT_EQ(At(s.surface, 4, 10), (Rgb{255, 0, 0}));
    EXPECT_EQ(At(s.surface, 15, 15), (Rgb{255, 0, 0}));
}

TEST(Canvas, TraceRecordsFillsPicturesAndText) {
    Sheet s(20, 20);
    std::vector<std::string> trace;
    s.canvas.SetTrace(&trace);
    s.canvas.FillRect({1, 2, 3, 4}, kRed);
    std::vector<uint8_t> px = Pixels(2, 2, 0, 0, 0, 255);
    Picture picture(px.data(), 2, 2, 8, Opacity::Opaque);
    s.canvas.DrawPicture(picture, {0, 0, 2, 2}, {4, 4, 8, 8}, Filter::Nearest);
    s.canvas.DrawText("Abc", Font{}, {}, {0, 0, 20, 20}, kBlack);
    ASSERT_EQ(trace.size(), 3u);
    EXPECT_EQ(trace[0], "fill 1 2 3 4");
    EXPECT_EQ(trace[1], "picture 4 4 8 8 from 0 0 2 2");
    EXPECT_EQ(trace[2], "text Abc");
}

TEST(Picture, OpaquePixelsAreWrappedNotCopied) {
    std::vector<uint8_t> px = Pixels(8, 4, 10, 20, 30, 255);
    for (Opacity o : {Opacity::Opaque, Opacity::Scan}) {
        Picture picture(px.data(), 8, 4, 32, o);
        ASSERT_TRUE(picture.Valid());
        EXPECT_TRUE(picture.Wrapped());
        EXPECT_EQ(cairo_image_surface_get_data(picture.Native()), px.data());
    }
    px[4 * 5 + 3] = 254;
    Picture scanned(px.data(), 8, 4, 32, Opacity::Scan);
    EXPECT_FALSE(scanned.Wrapped());
    EXPECT_NE(cairo_image_surface_get_data(scanned.Native()), px.data());
}

TEST(Picture, HalfTransparentRedOverWhiteIsPink) {
    Sheet s(4, 4);
    std::vector<uint8_t> px = Pixels(4, 4, 0, 0, 255, 128);
    Picture picture(px.data(), 4, 4, 16, Opacity::Scan);
    ASSERT_FALSE(picture.Wrapped());
    s.canvas.DrawPicture(picture, {0, 0, 4, 4}, {0, 0, 4, 4}, Filter::Nearest);
    const Rgb c = At(s.surface, 2, 2);
    EXPECT_EQ(c.r, 255);
    EXPECT_NEAR(c.g, 128, 1);
    EXPECT_NEAR(c.b, 128, 1);
}

TEST(Picture, PremultiplyRoundsToNearestForEveryChannelAndAlpha) {
    std::vector<uint8_t> in, out;
    for (int a = 0; a < 256; ++a)
        for (int c = 0; c < 256; ++c) in.insert(in.end(), {uint8_t(c), uint8_t(255 - c), uint8_t(c ^ 0x55), uint8_t(a)});
    in.insert(in.end(), {200, 100, 50, 77});  // a tail past the groups of four
    out.resize(in.size());
    Premultiply(in.data(), out.data(), in.size() / 4);
    int wrong = 0;
    for (size_t i = 0; i < in.size(); i += 4) {
        const int a = in[i + 3];
        for (int k = 0; k < 3; ++k) wrong += out[i + size_t(k)] != int(in[i + size_t(k)] * a / 255.0 + 0.5);
        wrong += out[i + 3] != a;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(Picture, CheckerboardReducedFourToOneTurnsGreyOnlyWhenSmoothed) {
    std::vector<uint8_t> px(64 * 64 * 4);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t v = (x + y) % 2 ? 255 : 0;
            uint8_t* p = &px[(size_t(y) * 64 + size_t(x)) * 4];
            p[0] = p[1] = p[2] = v;
            p[3] = 255;
        }
    Picture picture(px.data(), 64, 64, 256, Opacity::Opaque);
    for (Filter f : {Filter::Good, Filter::Nearest}) {
        Sheet s(16, 16);
        s.canvas.DrawPicture(picture, {0, 0, 64, 64}, {0, 0, 16, 16}, f);
        const int g = At(s.surface, 8, 8).g;
        SCOPED_TRACE(f == Filter::Good ? "good" : "nearest");
        if (f == Filter::Good) EXPECT_NEAR(g, 128, 12);
        else EXPECT_TRUE(g == 0 || g == 255) << g;
    }
}

TEST(Picture, QuarterTurnMovesTheMarkedCornerToTheTopRight) {
    std::vector<uint8_t> px = Pixels(10, 10, 255, 255, 255, 255);
    px[0] = 0;
    px[1] = 0;  // top-left red
    Picture picture(px.data(), 10, 10, 40, Opacity::Opaque);
    Sheet s(10, 10, false);
    s.canvas.RotateAbout(5, 5, 90);
    s.canvas.DrawPicture(picture, {0, 0, 10, 10}, {0, 0, 10, 10}, Filter::Nearest);
    EXPECT_EQ(At(s.surface, 9, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(At(s.surface, 0, 0), (Rgb{255, 255, 255}));
}

}  // namespace
}  // namespace vx::gfx

namespace vx::gfx {
namespace {
using namespace vx::gfx::test;

TEST(Canvas, APageReducesSmoothlyToAPreviewPicture) {
    // A page of 1-pixel black and white lines reduced to 128 × 128 and read back.
    ImageSurface page(512, 700);
    Canvas pc(page.Native(), kScreenPixelsPerInch);
    pc.Clear(kWhite);
    pc.SetAntialias(false);
    for (int y = 0; y < 700; y += 2) pc.FillRect({0, double(y), 512, 1}, kBlack);
    ImageSurface preview(128, 128);
    Canvas c(preview.Native(), kScreenPixelsPerInch);
    c.Clear(Rgba::FromColorRef(0xAAAAAA));
    c.DrawSurface(page.Native(), {0, 0, 512, 700}, {17, 0, 93, 128}, Filter::Good);
    EXPECT_NEAR(At(preview, 60, 60).g, 128, 12);
    EXPECT_EQ(At(preview, 5, 60), (Rgb{170, 170, 170}));
}

}  // namespace
}  // namespace vx::gfx
