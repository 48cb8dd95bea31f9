#pragma once
#include <cstdint>

#include "platform/driver/DriverItem.h"
#include "platform/driver/PrinterModel.h"

namespace vx {

/// The current settings of one open printer, as the data items report them.
struct PrinterSettings {
    int32_t orientation = 1;  // item 20
    int32_t source = 0;       // item 40
    int32_t paper = 0;        // items 30 and 203
    int32_t medium = 0;       // item 70's medium
    int32_t ink = kInkColour;
    int32_t modeWord = 0;
    int32_t quality = 1;
    SpecialModeRecord special;  // item 214
    int32_t layoutFlags = 0;    // item 204
    int32_t rollOptions = 0;    // item 205
    int32_t highSpeed = 0;      // item 212
    int32_t colourHandling = 0; // item 201
    int32_t centring = 0;       // item 80

    bool operator==(const PrinterSettings&) const = default;

    /// A fresh printer: the first source with its first paper and first medium, portrait,
    /// colour ink (else the medium's first), quality 1, everything else 0.
    static PrinterSettings Defaults(const PrinterModel& model);

    /// Why the model cannot take this state as a whole, each value checked against those
    /// it depends on; null when it can.
    static const char* Fault(const PrinterModel& model, const PrinterSettings& s);

    /// Moves to another source as the printer does: the paper and medium become the new
    /// source's first ones where it does not offer them, roll options go with a roll
    /// source, and what depended on a replaced medium falls back (ink to colour or the
    /// medium's first, quality to 1, "Ultrafine" off). The source itself is not checked.
    void ChangeSource(const PrinterModel& model, int32_t newSource);
};

}  // namespace vx
