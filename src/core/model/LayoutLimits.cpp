#include "model/LayoutLimits.h"

#include <algorithm>
#include <climits>

#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ObjectList.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr int64_t kMaxImagePixels = 64'000'000;
constexpr int64_t kMinImageSide = 250;
constexpr int64_t kMaxImageSide = 25'000;

// Paper area times pages (in the printer's paper units) up to which pages print at 360
// and at 120 pixels per inch.
constexpr int64_t kFullResolutionArea = 176'644'100;
constexpr int64_t kMediumResolutionArea = 529'932'300;

// a * b, saturated to the int64 range.
int64_t SaturatingProduct(int64_t a, int64_t b) {
    int64_t r;
    if (!__builtin_mul_overflow(a, b, &r)) return r;
    return (a < 0) != (b < 0) ? INT64_MIN : INT64_MAX;
}

}  // namespace

bool CanAddObjects(const CLayoutSetting& layout, bool adding) {
    return CountObjects(layout.ItemListHead()) + (adding ? 1 : 0) <= kMaxLayoutObjects;
}

void ShowObjectLimitMessage() {
    Messages().Show(IDS_OBJECT_LIMIT, {(long long)kMaxLayoutObjects}, Icon::Error, Buttons::Ok);
}

bool IsImageSizeSupported(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
    return width * height <= kMaxImagePixels && std::min(width, height) >= kMinImageSide;
}

bool IsImageSizeSupported(const CLayoutObj& item) {
    if (item.GetKind() != kKindImage) return true;
    const std::optional<ImageDescription>& d = static_cast<const CImageObj&>(item).GetDescription();
    return d && IsImageSizeSupported(d->width, d->height);
}

int32_t ChooseInputResolution(const CLayoutSetting& layout, int32_t extraPages) {
    const int64_t pages = int64_t(layout.GetBanner() ? layout.GetPageNum() : layout.GetPageNumber()) + extraPages;
    const int64_t area = SaturatingProduct(int64_t(layout.GetPaperWidth()) * layout.GetPaperLength(), pages);
    if (area <= kFullResolutionArea) return 360;
    return area <= kMediumResolutionArea ? 120 : 90;
}

}  // namespace vx
