#pragma once
#include <optional>

#include "view/ViewGeometry.h"

namespace vx {

struct DeviceCaps;
class CLayoutSetting;
class LayoutView;

/// Flags of a draw pass. The resolution class and kScaleToDevice are read by the
/// geometry; the pass bits matter when printing only.
enum DrawFlags : unsigned {
    kScaleToDevice = 0x01,  // printing: the page canvas is scaled to render pixels; the replay pass
    kSpoolPass = 0x02,      // printing: render every band and hand it to the spooler
    kMeasurePass = 0x04,    // printing: count bands and pixels, draw nothing
    kRender720 = 0x08,
    kRender360 = 0x10,
    kRender120 = 0x20,
    kRender90 = 0x40,
};

/// Pixels per inch of a resolution class (720, 360, 120, 90), 360 when none is set.
int RenderResolution(unsigned flags);

/// What a pass geometry is built from besides the layout.
struct GeometryInput {
    LayoutView* owner = nullptr;        // the view window; on screen it gives page and client rectangles
    int currentPage = 0;                // the page the view shows or prints
    PixelPoint pixelsPerInch{96, 96};   // of the target (screen, preview picture)
    const DeviceCaps* printer = nullptr; // printing: the device's resolution and physical page
};

/// A pass's geometry and the pixels per layout unit it draws with at zoom 1. They belong
/// to the pass: a print pass never changes what the screen uses.
struct PassGeometry {
    ViewGeometry geometry;
    double xPerUnit = 0;
    double yPerUnit = 0;
    double ratioX = 1;        // printing: device pixels per render pixel
    double ratioY = 1;
    PixelPoint physicalPage;  // printing: the device's whole page in render pixels
};

/// Builds the geometry of a pass in mode 1 (screen), 2 (printer), 3 and 4 (preview
/// picture) or 5 (preview pane: owner and layout only). nullopt when it cannot be drawn:
/// printing without device capabilities, a preview of a paper without size, a resolution
/// of 0.
std::optional<PassGeometry> BuildPassGeometry(const GeometryInput& input, CLayoutSetting& layout, int mode,
                                              unsigned flags);

}  // namespace vx
