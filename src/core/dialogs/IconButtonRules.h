#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vx::dialogs {

/// Turns pixels stored B, G, R, A into their grey: trunc(0.299 R + 0.587 G + 0.114 B);
/// black pixels and every alpha stay as they are.
void MakeGreyIcon(std::span<uint8_t> bgra);

/// The six state colours of the icon button: 0 background hovered or pressed, 1 its
/// text, 2 background idle, 3 its text, 4 background focused, 5 its text.
class IconButtonColours {
public:
    using Colour = uint32_t;  // 0x00BBGGRR

    IconButtonColours(Colour face, Colour text) { Reset(face, text); }
    void Reset(Colour face, Colour text);
    /// 0, or 3 for an index above 5 (nothing changes).
    int Set(unsigned index, Colour colour);
    Colour Get(unsigned index) const { return mColours.at(index); }

private:
    std::array<Colour, 6> mColours{};
};

/// The check a check-box-mode button takes for a set-check state: 1 and 2 check it, 0
/// and anything above 2 clear it.
bool CheckFromState(unsigned state);

/// What the button shows and how: the rules of its drawing that do not need a window.
struct IconButtonLook {
    bool pressed = false, hovered = false, focused = false;
    bool raisedBorder = false, sunkenBorder = false;
    bool normalIcon = true;  ///< else the idle icon
    int background = 2;      ///< colour index
    int text = 3;
};

struct IconButtonState {
    bool passive = false, checkBoxMode = false, checked = false;
    bool pressed = false, hovered = false, focused = false;
    bool hasText = false, hasIdleIcon = false, borderFlag = true;
};

IconButtonLook IconButtonLookFor(const IconButtonState& s);

}  // namespace vx::dialogs
