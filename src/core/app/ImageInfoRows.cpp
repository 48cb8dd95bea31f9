#include "app/ImageInfoRows.h"

#include <algorithm>
#include <cstdint>

#include "imaging/ExifRecord.h"
#include "model/CImageInfoFormatter.h"
#include "model/CImageObj.h"
#include "model/LayoutTypes.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr uint32_t kGrey = 0x47524159;  // 'GRAY'

enum class Gate { Always, Colour, Exif };

struct RowRule {
    int labelId;
    Gate gate;
    uint32_t exifFlag;  // besides the Exif data, this presence bit (0: none)
};

// Row order is field order: row i shows formatter field i.
constexpr std::array<RowRule, kImageInfoRowCount> kRows{{
    {33700, Gate::Always, 0},
    {33701, Gate::Always, 0},
    {33702, Gate::Always, 0},
    {33703, Gate::Always, 0},
    {33704, Gate::Always, 0},
    {33705, Gate::Always, 0},
    {33706, Gate::Always, 0},
    {33707, Gate::Always, 0},
    {33708, Gate::Colour, 0},
    {33709, Gate::Colour, 0},
    {33751, Gate::Exif, 0},
    {33752, Gate::Exif, 0},
    {33753, Gate::Exif, ExifRecord::kExifVersion},
    {33754, Gate::Exif, 0},
    {33755, Gate::Exif, 0},
    {33756, Gate::Exif, ExifRecord::kLightSource},
    {33757, Gate::Exif, ExifRecord::kExposureTime},
    {33758, Gate::Exif, ExifRecord::kExposureBiasValue},
    {33759, Gate::Exif, ExifRecord::kFNumber},
    {33760, Gate::Exif, ExifRecord::kIsoSpeedRatings},
    {33761, Gate::Exif, ExifRecord::kWhiteBalance},
    {33762, Gate::Exif, ExifRecord::kColorSpace},
    {33763, Gate::Exif, ExifRecord::kContrast},
    {33764, Gate::Exif, ExifRecord::kSaturation},
    {33765, Gate::Exif, ExifRecord::kFlash},
    {0, Gate::Exif, ExifRecord::kFlash},
}};

bool Shown(const RowRule& rule, const CImageObj& image) {
    switch (rule.gate) {
        case Gate::Always: return true;
        case Gate::Colour: return image.GetColorSpace() != kGrey;
        case Gate::Exif: {
            const uint32_t presence = image.GetExif().presence;
            return presence != 0 && (rule.exifFlag == 0 || (presence & rule.exifFlag) != 0);
        }
    }
    return false;
}

}  // namespace

ImageInfoTable ImageInfoLabelRows() {
    ImageInfoTable rows;
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].labelId = kRows[i].labelId;
        if (kRows[i].labelId) {
            rows[i].label = LoadString(kRows[i].labelId);
            rows[i].separator.assign(1, ':');
        }
    }
    return rows;
}

ImageInfoTable ImageInfoRowsFor(const CLayoutObj& item) {
    ImageInfoTable rows = ImageInfoLabelRows();
    if (item.GetKind() != kKindImage) return rows;
    const auto& image = static_cast<const CImageObj&>(item);
    const CImageInfoFormatter formatter(image);
    for (size_t i = 0; i < rows.size(); ++i)
        if (Shown(kRows[i], image)) rows[i].value = formatter.FormatField(int(i));
    return rows;
}

ImageInfoColumns ImageInfoColumnWidths(int listWidth, int edge, int verticalScrollBar) {
    const int room = listWidth - 2 * edge - verticalScrollBar;
    return {room / 3, 20, 2 * room / 3 - 20};
}

void ClampToolWindowOrigin(int workLeft, int workTop, int workWidth, int workHeight, int width, int height, int& x,
                           int& y) {
    x = std::max(std::min(x, workLeft + workWidth - width), workLeft);
    y = std::max(std::min(y, workTop + workHeight - height), workTop);
}

}  // namespace vx
