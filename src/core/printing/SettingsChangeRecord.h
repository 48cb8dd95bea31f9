#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace vx {

/// What a reconciliation of layout and driver had to change: one flag byte per setting,
/// zeroed by SyncLayoutAndDriver before it starts.
struct SettingsChangeRecord {
    enum Byte : size_t {
        kPrinter = 0,        // the printer had to be selected
        kSource = 1,         // the paper source was changed or could not be kept
        kPaperSize = 2,      // the paper size was changed or could not be kept
        kPrintableArea = 3,  // maximum area or centring changed or switched off
        kOrientation = 4,    // the orientation differed from the driver's
        kMedia = 6,          // the medium was changed or could not be kept
        kInk = 7,            // the ink had to be replaced by colour
        kHighSpeed = 9,      // high-speed printing differed from the driver's
        kGeometry = 10,      // page count, page maximum, paper, margins, layout area or page rewritten
    };
    static constexpr size_t kSize = 11;

    std::array<uint8_t, kSize> bytes{};

    uint8_t& operator[](size_t i) { return bytes.at(i); }
    uint8_t operator[](size_t i) const { return bytes.at(i); }
    void Clear() { bytes.fill(0); }
    bool operator==(const SettingsChangeRecord&) const = default;
};

}  // namespace vx
