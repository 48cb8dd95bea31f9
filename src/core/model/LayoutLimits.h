#pragma once
#include <cstdint>

namespace vx {

class CLayoutObj;
class CLayoutSetting;

/// The most items one layout holds.
inline constexpr int kMaxLayoutObjects = 999;

/// Whether the layout's items, plus one when adding, stay within kMaxLayoutObjects.
bool CanAddObjects(const CLayoutSetting& layout, bool adding);

/// Shows "at most 999 items" with the error icon.
void ShowObjectLimitMessage();

/// Whether an image of width x height pixels can be placed: both above 0, at most
/// 64,000,000 pixels, the shorter side at least 250, the longer at most 25,000.
bool IsImageSizeSupported(int64_t width, int64_t height);
/// The same for an image item's described pixel size (false without a description);
/// items of other kinds are always supported.
bool IsImageSizeSupported(const CLayoutObj& item);

/// Pixels per inch for rendering pages to print, 360, 120 or 90, from the paper area
/// (`mPaperWidth` x `mPaperLength`) times the pages (`mPageNum` for a banner, else
/// `mPageNumber`) plus extraPages.
int32_t ChooseInputResolution(const CLayoutSetting& layout, int32_t extraPages);
/// The lowest of them: cut sheets print at it only past their page-area limit.
inline constexpr int32_t kLowestInputResolution = 90;

}  // namespace vx
