#include "platform/gfx/PangoTextMeasurer.h"

#include "platform/gfx/Fonts.h"

namespace vx::gfx {

PangoTextMeasurer::PangoTextMeasurer() : mSurface(1, 1), mCanvas(mSurface.Native(), kScreenPixelsPerInch) {}

std::optional<double> PangoTextMeasurer::MeasureLine(std::string_view line, std::string_view face, double size,
                                                     int style, bool vertical) {
    if (!mCanvas.Ok() || FontFamilies().empty()) return std::nullopt;
    if (line.empty()) return 0.0;
    Font font;
    font.family = std::string(face);
    font.size = size;
    font.bold = style & kBold;
    font.italic = style & kItalic;
    font.underline = style & kUnderline;
    TextFormat format;
    format.vertical = vertical;
    return mCanvas.MeasureText(line, font, format).width;
}

}  // namespace vx::gfx
