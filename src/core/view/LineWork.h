#pragma once
#include <cstdint>
#include <vector>

#include "host/LayoutView.h"
#include "model/LayoutTypes.h"
#include "platform/gfx/Geom.h"

namespace vx {

class CLayoutSetting;
class CLineObj;

/// The cut lines a roll cutter follows between the images of an automatic layout, in
/// device pixels. Each segment is horizontal or vertical (top == bottom or left == right).
struct AutoCutPlan {
    int kind = 0;  // 0 nothing, 1 one image, 2 rows
    PixelRect box; // the images' bounding box grown by half the spacing
    std::vector<int32_t> rowCuts;                   // offsets from the box's top
    std::vector<std::vector<int32_t>> columnCuts;   // per row band, offsets from the box's left
    std::vector<PixelRect> segments;                // wide double lines
    std::vector<PixelRect> narrowSegments;          // extra segments: narrow double lines
};

/// Plans the automatic cut lines of the page's image rectangles at scale (device pixels
/// per layout unit); spaceX is the layout's x spacing in units.
AutoCutPlan PlanAutoCutLines(const std::vector<PixelRect>& images, double scale, int32_t spaceX);

/// The two parallel strokes a cut segment becomes: their centre lines (as degenerate
/// rectangles) and pen width. False when the segment is neither horizontal nor vertical.
struct CutSegmentStrokes {
    PixelRect first, second;
    int32_t width = 1;
};
bool CutSegmentGeometry(const PixelRect& segment, double scale, bool narrow, CutSegmentStrokes& out);

/// The twelve corner and edge-centre mark lines around an image's device rectangle;
/// empty when the reference rectangle is under 2 pixels wide or high.
struct MarkLine {
    double x1, y1, x2, y2;
};
std::vector<MarkLine> CornerMarkLines(const PixelRect& image, double xScale, double yScale, int32_t length,
                                      int32_t offset);

/// The outline of a free line as drawn, in device pixels: the stroked stretch and the
/// arrow heads (filled triangles, or open heads stroked tip-first from wing to wing).
struct FreeLineShape {
    gfx::geom::Point from, to;  // the stroked line
    double penWidth = 1;
    bool dashed = false;
    struct Head {
        gfx::geom::Polygon polygon;  // tip, wing, wing
        bool filled = false;
    };
    std::vector<Head> heads;
};
/// origin: the device point of the item's position (its page top taken off).
FreeLineShape ComputeFreeLineShape(const CLineObj& line, gfx::geom::Point origin, double xScale, double yScale);

/// The offset of handle n's 5 x 5 square from its point (the table's −3 or −2 pair).
PixelPoint HandleSquareOffset(int row);
/// The table row whose offsets a free text's handle n takes at angle.
int FreeTextHandleRow(int handle, int angle);

/// The template-preview slots of the "BaseImage" prototype in layout units; none unless
/// the layout is automatic and the prototype has a fixed size.
std::vector<LayoutRect> TemplatePlaceholderSlots(const CLayoutSetting& layout);

}  // namespace vx
