#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "imaging/DibBuffer.h"
#include "imaging/ImageDescription.h"

namespace vx {

/// The seven numbers of an EPS "%ImageData:" line, in their order.
enum EpsImageDataField {
    kEpsColumns, kEpsRows, kEpsDepth, kEpsMode, kEpsPadChannels, kEpsBlockSize, kEpsFormat
};
using EpsImageData = std::array<int16_t, 7>;

/// The picture of a photo editor's EPS file: "%!PS-Adobe-3.0 EPSF-3.0", then
/// "%ImageData:" with depth 8, mode 1 (grey), 3 (RGB) or 4 (CMYK), columns and rows 1 to
/// 32767, block size (bytes of one channel of one row) at least the columns, format 1
/// (binary), 2 (hexadecimal) or 3 to 6 (JPEG). False for anything else.
bool ReadEpsImageData(const std::filesystem::path& path, EpsImageData& values);

/// The resolution of resource 1005 of the "%BeginPhotoshop:" block (whole pixels per
/// inch); false when there is none.
bool ReadEpsResolution(const std::filesystem::path& path, uint32_t& horizontal, uint32_t& vertical);

/// Describes an EPS file: codec "raw ", columns x rows, depth 8 x mode, resolution (72
/// without resource 1005), the seven numbers, and whether it carries an ICC profile.
/// False, `description` untouched, when ReadEpsImageData refuses the file; `messageId`,
/// when given, then says why, as for DecodeEpsImage.
bool ReadEpsInfo(const std::filesystem::path& path, ImageDescription& description,
                 bool& hasIccProfile, int* messageId = nullptr);

/// Decodes the pixels after "%%BeginBinary:". Grey and RGB pictures get the clipping
/// path as alpha (255 inside), or full alpha without a usable path; CMYK pictures keep
/// C,M,Y,K in bytes 0 to 3. Scaled to the target when one is given. Null with messageId
/// 10417 when the file cannot be opened, is no PostScript, or is cut or damaged (a DOS
/// header out of bounds among them); 10526 for PostScript without picture data of this
/// kind (no EPSF-3.0 header or "%ImageData:" line) or with values refused there; 10413
/// out of memory.
DibBufferPtr DecodeEpsImage(const std::filesystem::path& path, const Rect16* target,
                            int& messageId);

/// The preview: a DOS EPS file's TIFF, else the JPEG of resource 1036. Null when there
/// is none, it cannot be decoded, or it is larger than kMaxThumbnailSide on a side.
DibBufferPtr ReadEpsThumbnail(const std::filesystem::path& path);

/// The profile of the "%%BeginICCProfile:" block; false, profile empty, without one.
bool LoadEpsIccProfile(const std::filesystem::path& path, std::vector<uint8_t>& profile);

/// Every byte of every pixel becomes 255 minus itself (inverted CMYK from JPEG data).
void InvertPixelBytes(DibBuffer* buffer);

}  // namespace vx
