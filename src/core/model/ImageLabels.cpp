#include "model/ImageLabels.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "imaging/ExifRecord.h"
#include "model/CImageInfoFormatter.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/RotationMap.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr int16_t kMinAutoFontSize = 20;   // 4 pt
constexpr int16_t kMaxAutoFontSize = 200;  // 40 pt
constexpr int kFlashBit = 24;

/// Caption of label field i (bit i of the selection), for fields 0 to 24.
int FieldCaption(int field) {
    static constexpr int kCaptions[] = {
        IDS_INFO_NUMBER, IDS_INFO_NAME, IDS_INFO_CREATED, IDS_INFO_MODIFIED, IDS_INFO_SIZE,
        IDS_INFO_IMAGE_TYPE, IDS_INFO_PIXELS, IDS_INFO_RESOLUTION, IDS_INFO_SOURCE_PROFILE,
        IDS_INFO_SIMULATION_PROFILE, IDS_INFO_MAKER, IDS_INFO_MODEL, IDS_INFO_EXIF_VERSION,
        IDS_INFO_DATE_TIME_ORIGINAL, IDS_INFO_DATE_TIME_DIGITIZED, IDS_INFO_LIGHT_SOURCE,
        IDS_INFO_EXPOSURE_TIME, IDS_INFO_EXPOSURE_BIAS, IDS_INFO_F_NUMBER, IDS_INFO_ISO_SPEED,
        IDS_INFO_WHITE_BALANCE, IDS_INFO_COLOR_SPACE, IDS_INFO_CONTRAST, IDS_INFO_SATURATION,
        IDS_INFO_FLASH,
    };
    static_assert(std::size(kCaptions) == 25);
    return kCaptions[field];
}

/// The Exif presence bit that Exif fields 12 and 15 to 23 need; 0 for the fields that
/// need only some Exif data (10, 11, 13, 14).
uint32_t ExifFlagOf(int field) {
    switch (field) {
        case 12: return ExifRecord::kExifVersion;
        case 15: return ExifRecord::kLightSource;
        case 16: return ExifRecord::kExposureTime;
        case 17: return ExifRecord::kExposureBiasValue;
        case 18: return ExifRecord::kFNumber;
        case 19: return ExifRecord::kIsoSpeedRatings;
        case 20: return ExifRecord::kWhiteBalance;
        case 21: return ExifRecord::kColorSpace;
        case 22: return ExifRecord::kContrast;
        case 23: return ExifRecord::kSaturation;
        default: return 0;
    }
}

/// Whether field (0 to 23) appears in the label; value is its formatted text.
bool IsFieldShown(const CImageObj& item, int field, const std::string& value) {
    const bool grey = item.GetColorSpace() == FourCC("GRAY");
    if (field <= 7) return true;
    if (field == 8) return !grey;
    if (field == 9) return !grey && item.GetColorProof() != 0;
    const uint32_t presence = item.GetExif().presence;
    const uint32_t needed = ExifFlagOf(field);
    const bool allowed = needed ? (presence & needed) != 0 : presence != 0;
    return allowed && !value.empty();
}

void Append(std::string& text, int caption, const std::string& value) {
    text += LoadString(caption);
    text += ": ";
    text += value;
}

}  // namespace

int16_t AutoFontSizeForSide(const CImageObj& item, int side, int16_t current) {
    const LayoutRect frame = item.GetFrame();
    int32_t size = current;
    switch (side) {
        case kSideTop: size = frame.top / 3; break;
        case kSideBottom: size = frame.bottom / 3; break;
        case kSideLeft: size = frame.left / 3; break;
        case kSideRight: size = frame.right / 3; break;
        default: break;
    }
    return int16_t(std::clamp<int32_t>(size, kMinAutoFontSize, kMaxAutoFontSize));
}

int MapLabelPosition(const CImageObj& item, int side) {
    const int r = item.GetFrameRotate();
    if (side < 0 || side > 3) return side;
    if (r & 1) side = MapRotation(1, side);
    if (r & 2) side = MapRotation(2, side);
    if (r & 4) side = MapRotation(4, side);
    if (!(r & 7) && (r & 8) && (side == kSideLeft || side == kSideRight))
        side = side == kSideLeft ? kSideRight : kSideLeft;
    return side;
}

void BuildImageLabelText(CImageObj& item) {
    const uint32_t selection = item.GetLabelSelection();
    if (selection == 0) return;
    const CImageInfoFormatter formatter(item);
    std::string text;
    for (int field = 0; field < kFlashBit; ++field) {
        if (!(selection & (1u << field))) continue;
        const std::string value = formatter.FormatField(field);
        if (!IsFieldShown(item, field, value)) continue;
        Append(text, FieldCaption(field), value);
        text += "  ";
    }
    if ((selection & (1u << kFlashBit)) && (item.GetExif().presence & ExifRecord::kFlash)) {
        const std::string fired = formatter.FormatField(24);
        const std::string mode = formatter.FormatField(25);
        if (!fired.empty()) Append(text, FieldCaption(kFlashBit), fired);
        if (!fired.empty() && !mode.empty()) text += ' ';
        text += mode;
    }
    item.SetLabelText(std::move(text));
    if (item.GetLabelFontSizeAuto())
        item.SetLabelFontSize(AutoFontSizeForSide(item, MapLabelPosition(item, item.GetLabelLocation()),
                                                  item.GetLabelFontSize()));
    item.SetChanged(1);
}

void RenumberImageItems(CLayoutSetting& layout) {
    const auto image = [](CLayoutObj* p) {
        return p->GetKind() == kKindImage ? static_cast<CImageObj*>(p) : nullptr;
    };
    if (layout.GetFree()) {
        int16_t highest = 0;
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem())
            if (CImageObj* item = image(p)) highest = std::max(highest, item->GetLabelNumber());
        for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
            CImageObj* item = image(p);
            if (!item || item->GetLabelNumber() != 0) continue;
            highest = int16_t(highest + 1);
            item->SetLabelNumber(highest);
            BuildImageLabelText(*item);
        }
        return;
    }
    int16_t n = 0;
    for (CLayoutObj* p = layout.GetFirstItem(); p; p = p->NextItem()) {
        CImageObj* item = image(p);
        if (!item) continue;
        n = int16_t(n + 1);
        if (item->GetLabelNumber() == n) continue;
        item->SetLabelNumber(n);
        BuildImageLabelText(*item);
    }
}

}  // namespace vx
