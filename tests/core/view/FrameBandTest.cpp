#include <gtest/gtest.h>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "view/FrameBand.h"
#include "view/RenderState.h"

namespace vx {
namespace {

TEST(FillFrameBand, MonochromeScreenGetsTheGreyPaperTheColour) {
    struct Case {
        int mode;
        int16_t colourMode;
        uint32_t expected;  // 0xRRGGBB in the surface
    };
    // Frame colour pure red: its grey is trunc(0.30 × 255) = 76 on every channel.
    for (Case c : {Case{kDrawScreen, 1, 0x4C4C4C}, Case{kDrawPreview, 0, 0x4C4C4C}, Case{kDrawPrinter, 1, 0xFF0000},
                   Case{kDrawScreen, 2, 0xFF0000}}) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " colour " << c.colourMode);
        CLayoutSetting layout(false);
        layout.SetColor(c.colourMode);
        CImageObj item(false);
        item.SetOwner(&layout);
        item.SetFrameColorValue(0x0000FF);
        gfx::ImageSurface surface(20, 20);
        gfx::Canvas canvas(surface.Native(), gfx::kScreenPixelsPerInch);
        canvas.Clear({1, 1, 1, 1});
        ViewGeometry g;
        RenderState pass;
        pass.Begin(&canvas, &g, &layout, 1, 1, c.mode);
        EXPECT_EQ(FillFrameBand(canvas, pass, item, {0, 0, 20, 20}, {4, 4, 16, 16}), 1);
        EXPECT_EQ(surface.Pixel(1, 10) & 0xFFFFFF, c.expected);
        EXPECT_EQ(surface.Pixel(10, 10) & 0xFFFFFF, 0xFFFFFFu);  // the picture inside stays
    }
}

}  // namespace
}  // namespace vx
