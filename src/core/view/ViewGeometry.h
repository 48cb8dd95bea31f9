#pragma once
#include "host/LayoutView.h"

namespace vx {

/// The page geometry of one draw pass in device pixels: the page rectangle and the
/// page's offset in the client area. The view builds it for a device and a drawing mode
/// (1 screen, 2 printing, 3 preview, 4 template preview without images).
struct ViewGeometry {
    PixelRect page;
    PixelPoint offset;
};

}  // namespace vx
