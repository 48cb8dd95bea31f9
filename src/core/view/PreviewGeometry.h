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
/// paper's longer side gets 128 pixels. Page index 1, band (0, 0, 128, 128), the
/// layout area from the layout margins. nullopt when the page has no size.
inline std::optional<ViewGeometry> PreviewViewGeometry(CLayoutSetting& layout, double xPixelsPerUnit,
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
    const bool byHeight = paper.x < paper.y;
    const double zoom = byHeight ? 128.0 / (h * yPixelsPerUnit) : 128.0 / (w * xPixelsPerUnit);
    const double sx = zoom * xPixelsPerUnit;
    const double sy = zoom * yPixelsPerUnit;
    // The side the zoom was taken from is 128 exactly: the product can come out as
    // 127.99999 and truncate to 127.
    const double pw = byHeight ? (128.0 * w * xPixelsPerUnit) / (h * yPixelsPerUnit) : 128.0;
    const double ph = byHeight ? 128.0 : (128.0 * h * yPixelsPerUnit) / (w * xPixelsPerUnit);
    // Far outside a picture's size the page is no page (a damaged paper size).
    if (!(pw >= 1 && ph >= 1 && pw < 32768 && ph < 32768)) return std::nullopt;
    ViewGeometry g;
    g.layout = &layout;
    g.zoom = zoom;
    g.pageIndex = g.lastPageIndex = 1;
    g.page = {0, 0, int32_t(pw), int32_t(ph)};
    g.band = {0, 0, 128, 128};
    const LayoutRect m = layout.GetLayoutAreaMargin();
    g.layoutArea = {int32_t(m.left * sx), int32_t(m.top * sy), int32_t((w - m.right) * sx),
                    int32_t((h - m.bottom) * sy)};
    return g;
}

}  // namespace vx
