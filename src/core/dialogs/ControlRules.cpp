#include "dialogs/ControlRules.h"

#include <algorithm>

namespace vx::dialogs {

int DropDownWidth(const std::vector<int>& entryWidths, int comboWidth, int scrollBarWidth, int comboLeft,
                  int screenRight) {
    int width = entryWidths.empty() ? 0 : *std::max_element(entryWidths.begin(), entryWidths.end());
    if (width < comboWidth - scrollBarWidth)
        width = comboWidth;
    else
        width += scrollBarWidth;
    if (comboLeft + width > screenRight) width = std::max(screenRight - comboLeft, 0);
    return width;
}

Rgb StripeColour(long k, const ListPalette& palette) { return k % 2 == 0 ? kStripeGrey : palette.window; }

RowColours ListRowStyle(long row, bool selected, bool dropHighlighted, bool listFocused, bool showSelAlways,
                        const ListPalette& palette) {
    if (dropHighlighted || (selected && (listFocused || showSelAlways)))
        return {palette.highlight, palette.highlightText, true};
    return {StripeColour(row, palette), palette.windowText, false};
}

}  // namespace vx::dialogs
