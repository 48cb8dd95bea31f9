#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vx {

/// The Exif facts of an image, as the image information window and the automatic
/// rotation use them. Texts are cut to the capacities below.
struct ExifRecord {
    /// Bits of `presence`: which Exif IFD tags were found.
    static constexpr uint32_t kExifIfd = 0x1;  // an Exif block was parsed at all
    static constexpr uint32_t kExifVersion = 0x4;
    static constexpr uint32_t kFlash = 0x8;
    static constexpr uint32_t kLightSource = 0x10;
    static constexpr uint32_t kWhiteBalance = 0x20;
    static constexpr uint32_t kColorSpace = 0x40;
    static constexpr uint32_t kContrast = 0x80;
    static constexpr uint32_t kSaturation = 0x100;
    static constexpr uint32_t kExposureTime = 0x200;
    static constexpr uint32_t kIsoSpeedRatings = 0x400;
    static constexpr uint32_t kExposureBiasValue = 0x800;
    static constexpr uint32_t kFNumber = 0x1000;

    static constexpr size_t kMakerCapacity = 255;  // characters, without a terminator
    static constexpr size_t kDateCapacity = 63;

    uint32_t presence = 0;
    /// IFD0 resolution: a rational as numerator / denominator (0 for a zero
    /// denominator); unit 2 inch, 3 centimetre, 0 when the tag is missing.
    uint16_t xResolution = 0;
    uint16_t yResolution = 0;
    uint16_t resolutionUnit = 0;
    std::array<uint8_t, 4> exifVersion{};
    uint16_t flash = 0;
    uint16_t lightSource = 0;
    uint16_t whiteBalance = 0;
    uint16_t contrast = 0;
    uint16_t saturation = 0;
    uint32_t exposureTimeNumerator = 0;
    uint32_t exposureTimeDenominator = 0;
    uint16_t isoSpeedRatings = 0;
    double exposureBiasValue = 0;
    double fNumber = 0;
    uint32_t colorSpace = 0;  // 1 sRGB, 65535 uncalibrated
    uint16_t orientation = 0;  // IFD0 orientation 1-8; 0 when missing
    std::string maker;
    std::string model;
    std::string dateTimeOriginal;
    std::string dateTimeDigitized;

    friend bool operator==(const ExifRecord&, const ExifRecord&) = default;
};

}  // namespace vx
