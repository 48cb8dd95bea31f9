#pragma once
#include "host/LayoutView.h"

namespace vx {

class CLayoutSetting;

/// The page geometry of one draw pass in device pixels. The view builds it for a device
/// and a drawing mode (1 screen, 2 printing, 3 preview, 4 template preview without
/// images, 5 preview pane).
struct ViewGeometry {
    LayoutView* owner = nullptr;        // null for the preview pane
    CLayoutSetting* layout = nullptr;
    double zoom = 1.0;                  // screen: the view state's zoom; printing: 1
    int pageIndex = 0;
    int lastPageIndex = 0;
    PixelRect page;
    PixelRect band;                     // screen: the client area; printing: the page's band on the strip
    PixelRect shadow;                   // screen: the page moved 5 right and 5 down
    PixelRect layoutArea;               // the page less the layout-area margins
    PixelRect margin;                   // screen: the page less the print margins
    PixelPoint offset;                  // screen: the page's top-left in the client area
    PixelPoint printerOffset;           // printing: the printer's non-printable margin
};

}  // namespace vx
