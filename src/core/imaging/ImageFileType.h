#pragma once
#include <cstdint>
#include <filesystem>

#include "platform/system/FourCC.h"

namespace vx {

inline constexpr uint32_t kFileTypeEps = FourCC("EPSF");
inline constexpr uint32_t kFileTypeEff = FourCC("EFF ");
inline constexpr uint32_t kFileTypeBmp = FourCC("BMPf");
inline constexpr uint32_t kFileTypeTiff = FourCC("TIFF");
inline constexpr uint32_t kFileTypeJpeg = FourCC("JPEG");

/// The type of an image file: EPS and EFF files by their extension alone (any case,
/// without opening them), bitmaps the own library reads, TIFF and JPEG by their first
/// bytes. 0 with `code` set, or -1 with `code` 0 when nothing matched or the file is
/// missing or too short to tell.
int DetectImageFileType(const std::filesystem::path& path, uint32_t& code);

}  // namespace vx
