#pragma once
#include <filesystem>

#include "imaging/DibBuffer.h"
#include "imaging/ImageDescription.h"

namespace vx {

/// Describes a bitmap file of the own library: codec "WRLE", size, bit count as depth,
/// resolution (72 where the file gives none). False, `description` untouched, when the
/// library cannot read the file.
bool ReadBmpInfo(const std::filesystem::path& path, ImageDescription& description);

/// Decodes a bitmap file, scaled to the target when one is given. Null on failure, with
/// messageId 10417 unreadable or damaged, 10526 a kind of bitmap not read here, 10413
/// out of memory.
DibBufferPtr DecodeBitmapFile(const std::filesystem::path& path, const Rect16* target,
                              int& messageId);

}  // namespace vx
