#pragma once
#include <cstdint>
#include <span>

#include "model/LayoutTypes.h"

namespace vx {

/// A paper of the printer driver's table: its driver paper id and its width and length
/// in 0.1 mm.
struct PaperSizeEntry {
    int32_t id;
    int32_t width;
    int32_t length;
};

/// The 21 papers the application knows by driver paper id, in search order.
std::span<const PaperSizeEntry> PaperSizeTable();

/// Width and length (0.1 mm) of the first paper with that id: true. False, with both
/// outputs untouched, for an id not in the table.
bool LookupPaperSize(int32_t id, int32_t& length, int32_t& width);

/// Two lengths converted into layout units.
struct PaperLengthAndWidth {
    int32_t length = 0;
    int32_t width = 0;
    friend bool operator==(const PaperLengthAndWidth&, const PaperLengthAndWidth&) = default;
};

/// Width and length in 0.1 mm as layout units, returned as (length, width). Each value
/// goes through its millimetre text ("%lf" of value × 0.1, read by ParseLengthInUnit),
/// so the result is what a user typing that millimetre value gets: A4 is 2976 × 4209.
PaperLengthAndWidth TenthsMmToLayoutUnits(int32_t width, int32_t length);

/// The paper of driver paper id in layout units as the layout's `mPaper` holds it
/// (x width, y length); orientation 2 (landscape) exchanges the two. When length or
/// width is 0 both come from the paper table (staying as given for an unknown id).
LayoutPoint TenthsMmToLayoutUnits(int32_t paperId, int orientation, int32_t length, int32_t width);

}  // namespace vx
