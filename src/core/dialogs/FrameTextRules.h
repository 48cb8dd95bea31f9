#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx {
class CImageObj;
class CLayoutSetting;
}

namespace vx::dialogs {

/// The rules the caption, labels and header/footer dialogs share: font and size
/// choice, the side list and what their title shows.

/// Entry 0 "Automatisch", then the point sizes of the string table (4 to 40).
std::vector<std::string> FontSizeEntries();
/// The point size of size entry index (index 0 and unknown entries: 0).
int FontSizePoints(int index);
/// Entry 0 when automatic; else the listed size nearest to units / 5 points (the first
/// of equal distances), at its index + 1.
int FontSizeIndex(int32_t units, bool automatic);
/// The listed number nearest to value (the first of equal distances), as an index.
int NearestEntry(const std::vector<int>& numbers, int value);

/// Whether two face names are the same, ignoring ASCII case.
bool SameFaceName(std::string_view a, std::string_view b);
/// The font entry to show for face: the face itself (ASCII case ignored), else
/// "Tahoma", else its stand-in, else entry 0; -1 for an empty list.
int FontIndexFor(const std::vector<std::string>& faces, std::string_view face);

/// "Oben", "Unten", "Links", "Rechts": the sides 0 top, 1 bottom, 2 left, 3 right.
std::vector<std::string> SideEntries();

/// The side list entry the user lands on when choosing chosen after previous while
/// disabled is taken by the other text: past it in the direction of the move, within
/// the list of count entries.
int SkipDisabledSide(int chosen, int previous, int disabled, int count = 4);

/// What the settings dialogs of one image item work on.
struct EditedImage {
    CImageObj* item = nullptr;
    int16_t editMode = 0;  ///< 3 with several items selected, else the item's `mType`
};
/// Preset: "BaseImage"; otherwise the current item when it is an image, else
/// "BaseImage". Edit mode 3 when the layout has more than one selected image.
EditedImage ChooseEditedImage(CLayoutSetting& layout, bool preset);

/// The dialog's caption followed directly by "(Layout)" or "(Bild)".
std::string TitleWithSuffix(std::string_view caption, bool preset);

}  // namespace vx::dialogs
