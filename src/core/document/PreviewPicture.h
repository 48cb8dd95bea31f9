#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imaging/DibBuffer.h"

namespace vx {

class CLayoutSetting;
struct ViewGeometry;

inline constexpr int kPreviewSide = 128;

/// Where the page lands in the preview picture, and for a banner the strip beside it
/// that shows the rest of the roll.
struct PreviewPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PreviewPlacement&, const PreviewPlacement&) = default;
};

/// Scales a page of pageWidth x pageHeight pixels into the picture: by the side along
/// the orientation (portrait: the height; a banner leaves room for its roll mark), at
/// 0.7 of that when the page is not longer along it, centred across. nullopt for a page
/// without size.
std::optional<PreviewPlacement> PlacePreviewPage(int pageWidth, int pageHeight, bool portrait, bool banner);

/// Page 1 as the preview shows it: drawn by the layout's view in drawing mode (3, or 4
/// for a template without images) when one is open, else by DrawPlainPreviewPage. Null
/// when drawing fails.
DibBufferPtr DrawPreviewPage(CLayoutSetting& layout, const ViewGeometry& geometry, int mode);

/// The page filled with the paper colour (its grey unless the layout prints in colour),
/// for layouts without a view.
DibBufferPtr DrawPlainPreviewPage(const CLayoutSetting& layout, const ViewGeometry& geometry);

/// The 128 x 128 preview picture of page 1 on grey 0xAAAAAA: R, G, B and one unused
/// byte a pixel, top row first. nullopt when anything fails.
std::optional<std::vector<uint8_t>> ComposePreviewPicture(CLayoutSetting& layout);

/// The Preview element's value: the picture as base64 JPEG; empty when any step fails,
/// so that a failed picture never costs the layout.
std::string MakePreviewText(CLayoutSetting& layout);

}  // namespace vx
