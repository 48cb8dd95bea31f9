#pragma once
#include <array>
#include <string>

namespace vx {

class CLayoutObj;

/// One row of the image information window: its label, the ":" between, the value.
struct ImageInfoRow {
    int labelId = 0;  // 0 for the last row, which has no label
    std::string label;
    std::string separator;
    std::string value;
    bool operator==(const ImageInfoRow&) const = default;
};

inline constexpr int kImageInfoRowCount = 26;
using ImageInfoTable = std::array<ImageInfoRow, kImageInfoRowCount>;

/// The rows with their labels and separators and no values.
ImageInfoTable ImageInfoLabelRows();

/// The rows filled for item: the file and picture facts always, the two profiles
/// unless the picture is grey, and the Exif fields the item's Exif record carries.
/// Any item other than an image gives the labels only.
ImageInfoTable ImageInfoRowsFor(const CLayoutObj& item);

/// Widths of the three columns of a list listWidth pixels wide: a third of the room
/// inside its edges and vertical scroll bar for the label, 20 for the separator, the
/// rest for the value.
struct ImageInfoColumns {
    int label = 0;
    int separator = 0;
    int value = 0;
};
ImageInfoColumns ImageInfoColumnWidths(int listWidth, int edge, int verticalScrollBar);

/// The origin of a window of width x height wished at (x, y), moved into the work area
/// (left, top, width, height) so that it lies wholly inside where it fits.
void ClampToolWindowOrigin(int workLeft, int workTop, int workWidth, int workHeight, int width, int height, int& x,
                           int& y);

}  // namespace vx
