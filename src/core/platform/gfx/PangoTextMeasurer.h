#pragma once
#include <optional>
#include <string_view>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/gfx/TextMeasurer.h"

namespace vx::gfx {

/// TextMeasurer with the canvas's own text engine at one pixel per layout unit: the
/// extent is the one a canvas draws at any scale, since text is laid out unhinted.
class PangoTextMeasurer : public TextMeasurer {
public:
    PangoTextMeasurer();
    std::optional<double> MeasureLine(std::string_view line, std::string_view face, double size, int style,
                                      bool vertical) override;

private:
    ImageSurface mSurface;
    Canvas mCanvas;
};

}  // namespace vx::gfx
