#pragma once
#include <cstdint>
#include <vector>

namespace vx::dialogs {

/// Width of a combo's opened list: wide enough for its widest entry (plus the scroll
/// bar when wider than the combo), never narrower than the combo and never past the
/// screen's right edge.
int DropDownWidth(const std::vector<int>& entryWidths, int comboWidth, int scrollBarWidth, int comboLeft,
                  int screenRight);

/// The extra width of SetComboDroppedWidth over DropDownWidth.
inline constexpr int kDroppedWidthExtra = 16;

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

/// Light grey of the even rows of report lists.
inline constexpr Rgb kStripeGrey{224, 224, 224};

/// Colours of one row of a report list.
struct RowColours {
    Rgb background;
    Rgb text;
    bool highlighted = false;
};

/// The system colours a row is drawn with.
struct ListPalette {
    Rgb window, windowText, highlight, highlightText;
};

/// The row's colours: highlighted when drop-highlighted, or selected while the list
/// has the focus or always shows its selection; otherwise even rows grey and odd rows
/// the window colour. Stripes below the last row follow the same parity.
RowColours ListRowStyle(long row, bool selected, bool dropHighlighted, bool listFocused, bool showSelAlways,
                        const ListPalette& palette);

/// The background of row position k (rows or empty stripes below them).
Rgb StripeColour(long k, const ListPalette& palette);

}  // namespace vx::dialogs
