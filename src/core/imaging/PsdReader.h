#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "imaging/DibBuffer.h"

namespace vx {

class ByteSource;

/// Colour space and depth from the 26-byte header of a Photoshop file (big-endian
/// "8BPS", version, 6 reserved bytes, channels, height, width, bits per channel, colour
/// mode). Modes: 0 " B&W", 1 "GRAY", 2 and 3 "RGB ", 4 "CMYK", 7 "Mult", 8 " Duo",
/// 9 "Lab "; the depth is channels x bits for modes 1, 2, 3, 4 and 7, and 0 for the
/// others. False for another signature or mode, channels outside 1 to 56, bits other
/// than 1, 8, 16 or 32, or a short file.
bool ReadPsdHeader(ByteSource& file, uint32_t& code, uint16_t& depth);

/// The thumbnail in a Photoshop file's image resources (resource 1036, or 1033 with red
/// and blue swapped back); null when there is none or the file is damaged.
DibBufferPtr ReadPsdThumbnail(const std::filesystem::path& path);
DibBufferPtr ReadPsdThumbnail(ByteSource& file);

/// The data of image resource 1039 (the ICC profile) as it stands; false, profile
/// empty, when there is none or the file is damaged.
bool LoadPsdIccProfile(const std::filesystem::path& path, std::vector<uint8_t>& profile);
bool LoadPsdIccProfile(ByteSource& file, std::vector<uint8_t>& profile);

}  // namespace vx
