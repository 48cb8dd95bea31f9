#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace vx {

/// The controls that show a printer's options, in the order FillOptionCombos takes them.
enum class OptionControl : size_t {
    Printer, PaperSource, PaperSize, Media,
    Orientation1, Orientation2,                  // radio buttons: orientation 1, other
    AreaStandard, AreaMaximum, AreaCentred,      // printable area
    InkColour, InkBlack, InkMonoPhoto, InkPicture,
    ModeQuality, ModeFast, ModeUltrafine,
    HighSpeed,
};
inline constexpr size_t kOptionControlCount = 17;

/// Icons of the ink picture (64 x 64).
inline constexpr int kIconInkColour = 308;
inline constexpr int kIconInkBlack = 382;

struct ComboItem {
    std::string text;
    int32_t data = 0;
    bool operator==(const ComboItem&) const = default;
};

/// One control: whether the caller has it, and what the window side applies to it.
struct OptionControlState {
    bool present = false;         // in
    bool filled = false;          // combos: items and selection replace the old ones
    std::vector<ComboItem> items;
    int selection = -1;           // index into items, -1 none
    std::optional<bool> enabled;  // unset: leave the control as it is
    std::optional<bool> checked;
    int icon = 0;                 // the ink picture; 0 leaves it
};

/// The states of the 17 controls.
struct OptionControls {
    std::array<OptionControlState, kOptionControlCount> states;

    OptionControlState& operator[](OptionControl c) { return states.at(static_cast<size_t>(c)); }
    const OptionControlState& operator[](OptionControl c) const { return states.at(static_cast<size_t>(c)); }
    /// Whether all of the controls are present.
    bool Has(std::initializer_list<OptionControl> controls) const {
        for (OptionControl c : controls)
            if (!(*this)[c].present) return false;
        return true;
    }
    /// Every control present.
    static OptionControls All() {
        OptionControls c;
        for (OptionControlState& s : c.states) s.present = true;
        return c;
    }
};

}  // namespace vx
