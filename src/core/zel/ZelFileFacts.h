#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace vx {

class ByteSource;

/// Three 256-entry tone curves, R, G, B.
using ZelCurves = std::array<std::array<uint8_t, 256>, 3>;

/// The Zel block: "VXZEL\0", a version byte (1), then the R, G and B curves, 256 bytes
/// each; exactly kZelBlockBytes. In a JPEG it is the data of an APP11 marker, in a TIFF
/// the value of private tag 65000 (UNDEFINED) of IFD0.
inline constexpr size_t kZelBlockBytes = 6 + 1 + 3 * 256;
inline constexpr uint16_t kZelTiffTag = 65000;

/// The curves of a block; nullopt when it does not parse (it then counts as absent).
std::optional<ZelCurves> ParseZelBlock(std::span<const uint8_t> block);

/// What the engine reads of a file when a session opens.
struct ZelFileFacts {
    bool jpeg = false;
    bool tiff = false;
    bool exifPrint = false;           // Exif version "0220" or later
    uint32_t exifColorSpace = 0;      // 1 sRGB, 65535 uncalibrated, 0 without
    std::optional<ZelCurves> curves;  // the Zel block
    /// 2 for Exif Print, 4 for the block, 6 for both, else 0.
    int16_t Level() const { return int16_t((exifPrint ? 2 : 0) | (curves ? 4 : 0)); }
};

/// Reads the facts of a JPEG or TIFF file (any other readable file has none); nullopt
/// when the file cannot be read.
std::optional<ZelFileFacts> ReadZelFileFacts(const std::filesystem::path& path);
/// The same over the bytes of a file.
ZelFileFacts ReadZelFileFacts(ByteSource& file);

}  // namespace vx
