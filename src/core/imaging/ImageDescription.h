#pragma once
#include <array>
#include <cstdint>
#include <optional>

namespace vx {

/// What the image readers know of a picture: the facts an image item carries from the
/// moment its file is opened. Only the fields some reader fills are kept.
struct ImageDescription {
    /// Codec of the data: FourCC("raw ") EPS, "jpeg", "EFF ", "tiff", "WRLE" bitmap files
    /// of the own library, or what an importer reports.
    uint32_t codecType = 0;
    int16_t width = 0;   // pixels
    int16_t height = 0;
    uint32_t hRes = 0;   // pixels per inch, 72 when the file names none
    uint32_t vRes = 0;
    uint16_t depth = 0;  // bits per pixel
    /// The seven numbers of an EPS "%ImageData:" line; present only in the EPS form.
    std::optional<std::array<int16_t, 7>> epsImageData;

    friend bool operator==(const ImageDescription&, const ImageDescription&) = default;
};

}  // namespace vx
