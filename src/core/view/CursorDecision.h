#pragma once
#include "host/LayoutView.h"

namespace vx {

class CLayoutSetting;
struct ViewMapping;

/// What the view does with the cursor over a point.
struct CursorChoice {
    enum class Kind {
        Default,  // the window's own cursor
        Keep,     // leave the cursor as it is
        Index,    // the application's cursor of index (0 to 8, the hit codes)
    };
    Kind kind = Kind::Default;
    int index = -1;
    friend bool operator==(const CursorChoice&, const CursorChoice&) = default;
};

/// The cursor over a client point: the first selected item in list order (bottom-up,
/// unlike a click) that the point hits decides by its hit code; a shown image counts
/// only on the shown page. A hit outside the page keeps the cursor as it is; nothing
/// selected or nothing hit gives the window's cursor; no layout keeps it.
CursorChoice DecideCursor(const CLayoutSetting* layout, const ViewMapping& mapping, PixelPoint client);

/// Whether a client point lies on the shown page's paper.
bool IsPointOnPage(const CLayoutSetting& layout, const ViewMapping& mapping, PixelPoint client);

}  // namespace vx
