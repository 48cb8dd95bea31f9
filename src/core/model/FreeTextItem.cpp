#include "model/FreeTextItem.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>

#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/FreeTextLines.h"
#include "model/ObjectList.h"
#include "platform/gfx/TextMeasurer.h"
#include "platform/system/Numbers.h"

namespace vx {
namespace {

// Radians per degree with pi as 3.14159: stored positions and box offsets were made
// with it, so a turned text keeps its place when it is measured again.
constexpr double kRadiansPerDegree = 0.01745327777777778;

constexpr ColorRef kWhite = 0x00FFFFFF;

// v + 0.5 truncated toward zero, as the stored boxes were rounded (also for negatives).
int32_t Nearest(double v) { return TruncToInt32(v + 0.5); }

LayoutPoint Add(LayoutPoint a, LayoutPoint b) {
    return {ClampToInt32(int64_t(a.x) + b.x), ClampToInt32(int64_t(a.y) + b.y)};
}

LayoutPoint Sub(LayoutPoint a, LayoutPoint b) {
    return {ClampToInt32(int64_t(a.x) - b.x), ClampToInt32(int64_t(a.y) - b.y)};
}

LayoutPoint HalfAxis(double angle, double radius) {
    return {Nearest(std::cos(angle) * radius), Nearest(std::sin(angle) * radius)};
}

// The box's first corner on the page.
LayoutPoint TopLeftOnPage(const CTextObj& item) { return Add(item.GetPosition(), item.GetBoxPoints()[0]); }

// A measured extent raised to the next whole unit; anything not above 0 is 0.
int64_t WholeExtent(double extent) {
    if (!(extent > 0)) return 0;
    return TruncToInt32(std::ceil(extent));
}

}  // namespace

CTextObj* CreateTextObject(CLayoutSetting* layout, CLayoutObj** listHead) {
    if (!listHead) return nullptr;
    try {
        auto item = std::make_unique<CTextObj>(true);
        item->SetOwner(layout);
        item->SetSelected(0);
        item->SetChanged(1);
        item->SetDblClickSelected(0);
        item->SetFont(FontSpec{std::string(kDefaultImageFontFace), 0, 50, 0});
        item->SetBackgroundColorValue(kWhite);
        item->SetTextLineHeight(75);
        item->SetTextJustify(1);
        item->SetColumnarWriting(0);
        item->SetAngle(0);
        item->SetBackgroundColor(0);
        item->SetOffsetOrgPos({0, 0});
        CTextObj* raw = item.get();
        return AppendObject(listHead, item) ? raw : nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool MeasureFreeText(CTextObj& item) {
    if (item.GetText().empty()) return false;
    gfx::TextMeasurer* measurer = HostService<gfx::TextMeasurer>();
    if (!measurer) return false;

    // Everything is measured before anything changes, so that a missing font leaves
    // the item as it was.
    const FontSpec& font = item.GetFont();
    const bool vertical = item.GetColumnarWriting() != 0;
    const std::vector<std::string_view> lines = SplitFreeTextLines(item.GetText());
    int64_t longest = 0;
    for (std::string_view line : lines) {
        if (line.empty()) continue;
        const std::optional<double> extent = measurer->MeasureLine(line, font.face, font.size, font.style, vertical);
        if (!extent) return false;
        longest = std::max(longest, WholeExtent(*extent));
    }

    const LayoutPoint oldSize = item.GetOrgSize();
    const bool measuredBefore = oldSize.x != 0 && oldSize.y != 0;
    LayoutPoint oldCorner;
    if (measuredBefore) {
        ComputeRotatedTextBox(item);
        oldCorner = TopLeftOnPage(item);
    }

    const int32_t across = ClampToInt32(int64_t(item.GetTextLineHeight()) * int64_t(lines.size()));
    const int32_t along = ClampToInt32(longest);
    item.SetOrgSize(vertical ? LayoutPoint{across, along} : LayoutPoint{along, across});
    ComputeRotatedTextBox(item);

    // Moving the position moves the whole box (its points and `mOffsetOrgPos` are
    // relative to it), so the position and size still bound the box.
    if (measuredBefore) {
        const LayoutPoint d = Sub(oldCorner, TopLeftOnPage(item));
        const LayoutPoint p = Add(item.GetPosition(), d);
        item.SetPosition(p.x, p.y);
    }
    return along != 0;
}

void ComputeRotatedTextBox(CTextObj& item) {
    const double a = item.GetAngle();
    const double a1 = (a + 180) * kRadiansPerDegree;
    const double a2 = (a + 270) * kRadiansPerDegree;
    const double a3 = a * kRadiansPerDegree;
    const double a4 = (a + 90) * kRadiansPerDegree;

    const LayoutPoint origin = item.GetOffsetOrgPos();
    const LayoutPoint size = item.GetOrgSize();
    const LayoutPoint m{Nearest(double(int64_t(origin.x) + size.x / 2)),
                        Nearest(double(int64_t(origin.y) + size.y / 2))};
    const double rw = size.x / 2 + 0.5;
    const double rh = size.y / 2 + 0.5;
    const LayoutPoint l = HalfAxis(a1, rw), t = HalfAxis(a2, rh), r = HalfAxis(a3, rw), b = HalfAxis(a4, rh);

    CTextObj::BoxPoints box{Add(Add(m, l), t), Add(m, t), Add(Add(m, r), t), Add(m, r),
                            Add(Add(m, r), b), Add(m, b), Add(Add(m, l), b), Add(m, l)};

    const LayoutPoint p = item.GetPosition();
    int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
    for (size_t i = 0; i < box.size(); i += 2) {
        const int64_t x = int64_t(p.x) + box[i].x, y = int64_t(p.y) + box[i].y;
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    const LayoutPoint d{ClampToInt32(p.x - minX), ClampToInt32(p.y - minY)};
    const int64_t width = maxX - minX, height = maxY - minY;

    // Clamped once with the true width, so that the size stays the box's extent.
    int64_t x = minX;
    if (const CLayoutSetting* layout = item.GetOwner(); layout && item.GetAngle() > 90) {
        const int64_t right = layout->GetPage().right;
        if (x + width > right) x = right - width;
    }
    item.SetPosition(ClampToInt32(x), ClampToInt32(minY));
    item.SetSize(ClampToInt32(width), ClampToInt32(height));

    item.SetOffsetOrgPos(Add(origin, d));
    for (LayoutPoint& point : box) point = Add(point, d);
    item.SetBoxPoints(box);
}

}  // namespace vx
