#pragma once
#include <optional>
#include <string_view>

namespace vx::gfx {

/// Measures one line of text for the layout model with the same engine and font options
/// the drawing layer draws with (PangoTextMeasurer). The program installs one as
/// HostService<gfx::TextMeasurer>; without one every line counts as "no font".
class TextMeasurer {
public:
    /// Style bits as the layout stores them (FontSpec::style).
    static constexpr int kBold = 0x100;
    static constexpr int kItalic = 0x200;
    static constexpr int kUnderline = 0x400;

    virtual ~TextMeasurer() = default;

    /// The extent of line (UTF-8, no line breaks) along its writing direction, in layout
    /// units, with size as the em size in units (one unit is one pixel); for vertical
    /// writing the column's length. An empty line gives 0. A face that is not installed
    /// falls back to "DejaVu Sans" silently; nullopt when no font can be made at all.
    /// Extents scale linearly with size (no hinted metrics), and repeated calls are cheap.
    virtual std::optional<double> MeasureLine(std::string_view line, std::string_view face,
                                              double size, int style, bool vertical) = 0;
};

}  // namespace vx::gfx
