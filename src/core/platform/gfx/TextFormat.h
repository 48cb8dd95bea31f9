#pragma once
#include <string>

namespace vx::gfx {

/// A font in device pixels. A family that is not installed draws as "DejaVu Sans".
struct Font {
    std::string family = "DejaVu Sans";
    double size = 12.0;  // em size in pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

enum class TextAlign { Near, Centre, Far };
enum class Trimming { None, Word, Ellipsis };

/// How a string is laid out in its box. Horizontal text: align is across, lineAlign
/// down. Vertical text runs downward (Latin turned a quarter clockwise, CJK upright),
/// its columns following each other to the left; align is then along the column.
struct TextFormat {
    TextAlign align = TextAlign::Near;
    TextAlign lineAlign = TextAlign::Near;
    bool wrap = false;       // at words; a word longer than the box breaks at characters
    Trimming trimming = Trimming::None;
    bool lineLimit = false;  // only whole lines are shown
    bool vertical = false;
};

/// The logical extent of laid-out text in pixels: width along the lines (the column's
/// length for vertical text), height across them.
struct TextExtent {
    double width = 0;
    double height = 0;
    int lines = 0;
};

}  // namespace vx::gfx
