#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace vx {

class ColourProfile;

/// Rendering intents as ICC numbers them; kOwnIntent takes the profile header's intent
/// (perceptual when that lies outside 0..3). Any other value counts as perceptual.
inline constexpr int kIntentPerceptual = 0;
inline constexpr int kIntentRelativeColorimetric = 1;
inline constexpr int kIntentSaturation = 2;
inline constexpr int kIntentAbsoluteColorimetric = 3;
inline constexpr int kOwnIntent = -1;

/// One profile of a chain with the intent it is used with. The profile must outlive
/// the creation of the transform only.
struct ChainEntry {
    const ColourProfile* profile = nullptr;
    int intent = kIntentPerceptual;
};

enum class TransformQuality {
    Proof,  // the library's default precalculation
    Best,   // high-resolution precalculation, for printing
};

/// A multi-profile transform. Each device profile between the first and the last is
/// used twice, as output and then as input, so that a simulation profile converts
/// into and back out of its device space; abstract profiles are used once. Chains that
/// would not end in an RGB device space are refused. Empty when refused or when the
/// library fails (both logged). One thread at a time may apply a transform.
class ColourTransform {
public:
    ColourTransform() = default;

    /// For 32-bit pixels transformed in place. With an RGB first profile pixels are
    /// B,G,R,A and alpha is kept; with a CMYK first profile bytes 0 to 3 are C,M,Y,K and
    /// alpha becomes 255. The last profile must be RGB.
    static ColourTransform ForPixels(std::span<const ChainEntry> chain, TransformQuality quality);

    /// For single 16-bit R,G,B colours; first and last profile must be RGB.
    static ColourTransform ForColours(std::span<const ChainEntry> chain,
                                      TransformQuality quality);

    explicit operator bool() const { return mHandle != nullptr; }

    /// Rows of `width` pixels, `stride` bytes apart (at least 4 x width).
    void ApplyToPixels(uint8_t* pixels, uint32_t width, uint32_t height, size_t stride) const;

    std::array<uint16_t, 3> ApplyToColour(const std::array<uint16_t, 3>& rgb) const;

private:
    enum class Kind { Pixels, Colours };
    struct Deleter {
        void operator()(void* handle) const noexcept;
    };
    static ColourTransform Create(std::span<const ChainEntry> chain, TransformQuality quality,
                                  Kind kind);

    std::unique_ptr<void, Deleter> mHandle;
    Kind mKind = Kind::Pixels;
    bool mAlphaOpaque = false;  // CMYK input: byte 3 held K, so alpha is set afterwards
};

}  // namespace vx
