#pragma once
#include <array>

namespace vx {

class CImageObj;
class CLayoutSetting;

/// The tint dialog's logic ("Farbtönung", 304): off, automatic or custom with
/// brightness, contrast and saturation sliders (positions 0..6, value = position - 3),
/// shown from the current image and written into every selected image on OK.
class TintController {
public:
    enum Choice { kNone = -1, kOff = 0, kAutomatic = 1, kCustom = 2 };
    enum Slider { kBrightness = 0, kContrast = 1, kSaturation = 2 };
    static constexpr int kSliderMax = 6;
    static constexpr int kSliderMiddle = 3;

    explicit TintController(CLayoutSetting& layout);

    /// The set-up before the dialog shows: false after 10408 (a greyscale image is
    /// selected) or 10400 (an image that cannot be tinted); the dialog then closes.
    bool Init();
    Choice Checked() const { return mChoice; }
    /// A radio button clicked.
    void Check(Choice choice) { mChoice = choice; }
    /// The nine labels and three sliders are enabled only for a custom tint.
    bool SlidersEnabled() const { return mChoice == kCustom; }
    int Position(Slider slider) const { return mPositions[slider]; }
    void SetPosition(Slider slider, int position);
    /// OK: takes one undo step, writes the choice into every selected image, marks the
    /// layout changed and redraws it. False after 10413 when no undo step could be
    /// taken: nothing is written and the dialog stays.
    bool Ok();

private:
    CLayoutSetting& mLayout;
    Choice mChoice = kOff;
    std::array<int, 3> mPositions{kSliderMiddle, kSliderMiddle, kSliderMiddle};
};

}  // namespace vx
