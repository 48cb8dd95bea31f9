#pragma once
#include <cstdint>

namespace vx {

class CLayoutSetting;

/// The per-layout view values that survive an undo restore: zoom, the two status-bar
/// values, the visible size and the untitled-layout number. Owned by its layout.
struct ViewStateBlock {
    CLayoutSetting* owner = nullptr;
    int32_t zoomNumerator = 0;
    int32_t zoomDenominator = 0;
    int32_t previousZoomNumerator = 0;
    int32_t previousZoomDenominator = 0;
    int32_t statusA = 0;  // cursor x, item width, or images loaded, by status code
    int32_t statusB = 0;  // cursor y, item height, or images to load
    int32_t visibleWidth = 0;   // layout units
    int32_t visibleHeight = 0;
    int16_t untitledNumber = 0;
};

/// Gives layout a fresh zero-filled block with zoom and previous zoom 1/1, replacing
/// the one it had; null, with the old block kept, when memory runs out.
ViewStateBlock* CreateViewStateBlock(CLayoutSetting& layout);
/// Frees the block its owner layout holds; nothing for null or a block no layout holds.
void FreeViewStateBlock(ViewStateBlock* block);

}  // namespace vx
