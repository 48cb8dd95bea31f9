#pragma once
#include <string>

namespace vx {

class CImageObj;

/// Turns one piece of information about an image item into display text, for the image
/// information window (fields 0 to 25) and the label text: 0 number, 1 file name, 2 and
/// 3 creation and modification time, 4 file size, 5 file type, 6 pixels, 7 resolution,
/// 8 source profile, 9 simulation profile, 10 to 23 the Exif values, 24 and 25 the two
/// flash texts. The presence flags of the Exif record are the caller's to check.
class CImageInfoFormatter {
public:
    /// The item must outlive the formatter.
    explicit CImageInfoFormatter(const CImageObj& item) : mItem(item) {}
    virtual ~CImageInfoFormatter() = default;

    /// The text of one field; empty for fields outside 0 to 25.
    std::string FormatField(int field) const;

private:
    const CImageObj& mItem;
};

}  // namespace vx
