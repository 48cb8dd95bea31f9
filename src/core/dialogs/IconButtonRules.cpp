#include "dialogs/IconButtonRules.h"

namespace vx::dialogs {

void MakeGreyIcon(std::span<uint8_t> bgra) {
    for (size_t i = 0; i + 3 < bgra.size(); i += 4) {
        const uint8_t b = bgra[i], g = bgra[i + 1], r = bgra[i + 2];
        if (r == 0 && g == 0 && b == 0) continue;
        // Integer weights keep the truncation exact where the doubles would round.
        const auto grey = static_cast<uint8_t>((299u * r + 587u * g + 114u * b) / 1000u);
        bgra[i] = bgra[i + 1] = bgra[i + 2] = grey;
    }
}

void IconButtonColours::Reset(Colour face, Colour text) {
    mColours = {face, text, face, text, face, text};
}

int IconButtonColours::Set(unsigned index, Colour colour) {
    if (index > 5) return 3;
    mColours[index] = colour;
    return 0;
}

bool CheckFromState(unsigned state) { return state == 1 || state == 2; }

IconButtonLook IconButtonLookFor(const IconButtonState& s) {
    IconButtonLook look;
    if (s.passive) {
        look.pressed = false;
        look.hovered = look.focused = true;
    } else {
        look.pressed = s.pressed || (s.checkBoxMode && s.checked);
        look.hovered = s.hovered;
        look.focused = s.focused;
    }
    if (look.hovered || look.pressed) {
        look.background = 0;
        look.text = 1;
    } else if (look.focused) {
        look.background = 4;
        look.text = 3;
    }
    if (look.pressed)
        look.sunkenBorder = true;
    else
        look.raisedBorder = look.hovered && s.borderFlag && (!s.passive || s.hasText);
    const bool showNormal = s.checkBoxMode ? (s.checked || look.pressed) : (look.hovered || look.pressed);
    look.normalIcon = showNormal || !s.hasIdleIcon;
    return look;
}

}  // namespace vx::dialogs
