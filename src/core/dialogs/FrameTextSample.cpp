#include "dialogs/FrameTextSample.h"

#include "platform/gfx/Canvas.h"
#include "platform/system/StringTable.h"

namespace vx::dialogs {
namespace {

constexpr int kBand = 20;
constexpr double kTextPixels = 15;

PixelBox Shrink(const PixelBox& b, int by) { return {b.left + by, b.top + by, b.right - by, b.bottom - by}; }

}  // namespace

SampleGeometry FrameTextSampleGeometry(int width, int height, int side, bool upsideDown) {
    SampleGeometry g;
    g.frame = Shrink({0, 0, width, height}, kBand);
    g.image = Shrink(g.frame, kBand);
    const PixelBox& F = g.frame;
    const PixelBox& I = g.image;
    const auto set = [&g](double angle, std::optional<std::pair<int, int>> pivot, int x, int y, int length) {
        g.angle = angle;
        g.pivot = pivot;
        g.x = x;
        g.y = y;
        g.width = length;
    };
    using P = std::pair<int, int>;
    switch (side) {
        case 0:
            if (!upsideDown) set(180, P{I.right, F.top + 10}, I.right, F.top, I.Width());
            else set(0, std::nullopt, I.left, F.top, I.Width());
            break;
        case 1:
            if (!upsideDown) set(0, std::nullopt, I.left, I.bottom, I.Width());
            else set(180, P{I.right, I.bottom + 10}, I.right, I.bottom, I.Width());
            break;
        case 2:
            if (!upsideDown) set(90, P{I.left, I.top}, I.left, I.top, I.Height());
            else set(270, P{I.left, I.bottom}, I.left, I.bottom - kBand, I.Height());
            break;
        case 3:
            if (!upsideDown) set(270, P{I.right, I.bottom}, I.right, I.bottom, I.Height());
            else set(90, P{I.right, I.top}, I.right, F.top, I.Height());
            break;
        default:
            if (!upsideDown) set(0, std::nullopt, I.left, I.bottom, I.Width());
            else set(0, std::nullopt, I.left, F.top, I.Width());
            break;
    }
    return g;
}

void DrawFrameTextSample(gfx::Canvas& canvas, int width, int height, const SampleLook& look) {
    const SampleGeometry g = FrameTextSampleGeometry(width, height, look.side, look.upsideDown);
    const auto rect = [](const PixelBox& b) {
        return gfx::RectD{double(b.left), double(b.top), double(b.Width()), double(b.Height())};
    };
    const gfx::Rgba white{1, 1, 1, 1};
    canvas.FillRect({0, 0, double(width), double(height)}, white);
    canvas.FillRect(rect(g.frame), look.frameColour ? gfx::Rgba::FromColorRef(*look.frameColour) : white);
    canvas.StrokeRect(rect(g.frame), gfx::Pen{{0, 0, 0, 1}, 1.0});
    canvas.FillRect(rect(g.image), gfx::Rgba{128 / 255.0, 128 / 255.0, 128 / 255.0, 1});

    gfx::Font font;
    font.family = LoadString(IDS_SUBSTITUTE_FONT);  // drawn with its stand-in when missing
    font.size = kTextPixels;
    gfx::TextFormat format;
    format.align = look.align == 1 ? gfx::TextAlign::Centre : look.align == 2 ? gfx::TextAlign::Far : gfx::TextAlign::Near;
    format.lineAlign = gfx::TextAlign::Centre;
    canvas.Save();
    if (g.pivot) canvas.RotateAbout(g.pivot->first, g.pivot->second, g.angle);
    canvas.DrawText(look.text, font, format, {double(g.x), double(g.y), double(g.width), double(g.height)},
                    gfx::Rgba::FromColorRef(look.textColour));
    canvas.Restore();
}

gfx::ImageSurface RenderFrameTextSample(int width, int height, const SampleLook& look) {
    gfx::ImageSurface surface(width > 0 ? width : 1, height > 0 ? height : 1, true);
    if (!surface.Valid()) return surface;
    gfx::Canvas canvas(surface.Native(), 96);
    DrawFrameTextSample(canvas, width, height, look);
    cairo_surface_flush(surface.Native());
    return surface;
}

}  // namespace vx::dialogs
