#pragma once
#include <cstdint>
#include <optional>

#include "model/CLayoutSetting.h"
#include "model/PageGeometry.h"
#include "view/ViewGeometry.h"

namespace vx {

/// The page geometry of the 128 x 128 preview picture (drawing modes 3 and 4): the
/// page is the paper, or for a banner one page length of the roll (`mPageNum` pages:
/// the width shrinks for `mOrientation` 2, the height for 1); it is zoomed so that the
/// paper's longer side gets 128 pixels. nullopt when the page has no size.
inline std::optional<ViewGeometry> PreviewViewGeometry(const CLayoutSetting& layout, double xPixelsPerUnit,
                                                       double yPixelsPerUnit) {
    const LayoutPoint paper = GetPaperSize(layout);
    double w = paper.x;
    double h = paper.y;
    if (layout.GetBanner()) {
        const int32_t pages = layout.GetPageNum();
        if (pages <= 0) return std::nullopt;
        if (layout.GetOrientation() == 2) w = int64_t(w / pages + 0.5);
        else if (layout.GetOrientation() == 1) h = int64_t(h / pages + 0.5);
    }
    if (w <= 0 || h <= 0 || xPixelsPerUnit <= 0 || yPixelsPerUnit <= 0) return std::nullopt;
    const double zoom = paper.x < paper.y ? 128.0 / (h * yPixelsPerUnit) : 128.0 / (w * xPixelsPerUnit);
    const double pw = w * zoom * xPixelsPerUnit;
    const double ph = h * zoom * yPixelsPerUnit;
    // Far outside a picture's size the page is no page (a damaged paper size).
    if (!(pw >= 1 && ph >= 1 && pw < 32768 && ph < 32768)) return std::nullopt;
    ViewGeometry g;
    g.page = {0, 0, int32_t(pw), int32_t(ph)};
    return g;
}

}  // namespace vx
