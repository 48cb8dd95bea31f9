#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/gfx/ImageSurface.h"

namespace vx::gfx {
class Canvas;
}

namespace vx::dialogs {

/// A pixel rectangle: right and bottom exclusive.
struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

/// Where the sample of the caption and labels dialogs puts its text: the frame F (20
/// pixels inside the area), the image I (20 inside F), and the 20-pixel text rectangle
/// turned by angle degrees (clockwise on screen) about pivot.
struct SampleGeometry {
    PixelBox frame, image;
    double angle = 0;
    std::optional<std::pair<int, int>> pivot;
    int x = 0, y = 0, width = 0, height = 20;
};

/// The geometry for an area of width x height and side 0 top, 1 bottom, 2 left,
/// 3 right (any other: none chosen).
SampleGeometry FrameTextSampleGeometry(int width, int height, int side, bool upsideDown);

/// What the sample shows besides its geometry.
struct SampleLook {
    int side = 1;
    bool upsideDown = false;
    int align = 0;                     ///< 0 near, 1 centre, 2 far
    uint32_t textColour = 0;           ///< 0x00BBGGRR
    std::optional<uint32_t> frameColour;  ///< the item's frame colour when it has one
    std::string text;
};

/// Draws the sample into an area of width x height on canvas (not colour-managed).
void DrawFrameTextSample(gfx::Canvas& canvas, int width, int height, const SampleLook& look);
/// The sample as an opaque picture of width x height.
gfx::ImageSurface RenderFrameTextSample(int width, int height, const SampleLook& look);

}  // namespace vx::dialogs
