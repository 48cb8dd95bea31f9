#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "imaging/DibBuffer.h"
#include "imaging/Rect16.h"
#include "model/ImageOpenHooks.h"

namespace vx {

class CImageObj;

/// Whether an imported picture keeps the alpha its reader decoded: only with importers
/// of version 0x600 or later, for items of depth 32 whose codec is "png " or "8BPS".
/// Every other picture is made opaque.
bool KeepsImportedAlpha(int32_t version, int colorDepth, uint32_t codec);

/// The importers' answer for a file: PNG by its signature, Photoshop by "8BPS" version 1,
/// PICT by its version opcode (at 522, or at 10 without the file header). Nothing for
/// another file, one that does not describe, or while the importers are not started.
std::optional<ImportedImageInfo> DescribeImportedFile(const std::filesystem::path& path);

/// The profile embedded in a PNG ('PNGf') or PICT file; empty when there is none.
std::vector<uint8_t> ReadImportedProfile(const std::filesystem::path& path, uint32_t fileType);

/// The item's picture through its importer, at the target's size, or without a target
/// at its own size reduced in proportion to at most 10000 pixels a side. "EFF " JPEGs go
/// to the JPEG decoder. Null with messageId: 10417 unreadable or damaged, 10526
/// unsupported or importers not started, 10413 too large or out of memory.
DibBufferPtr ImportPictureWithQuickTime(CImageObj& item, const Rect16* target, int& messageId);

/// Binds the importers into opening image files, picture loading and the embedded
/// profile reader; called at start-up.
void InstallImporters();

}  // namespace vx
