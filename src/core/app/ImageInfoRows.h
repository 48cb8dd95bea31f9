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

}  // namespace vx
