#pragma once
#include <filesystem>

#include "imaging/DibBuffer.h"
#include "imaging/ImageDescription.h"

namespace vx {

/// Describes a bitmap file of the own library: codec "WRLE", size, bit count as depth,
/// resolution (72 where the file gives none). False, `description` untouched, when the
/// library cannot read the file; `messageId`, when given, then says why, as for
/// DecodeBitmapFile.
bool ReadBmpInfo(const std::filesystem::path& path, ImageDescription& description,
                 int* messageId = nullptr);

/// Decodes a bitmap file, scaled to the target when one is given. Null on failure, with
/// messageId 10417 when it cannot be opened, is no bitmap, or is cut or damaged; 10526
/// for a kind of bitmap not read here (compressions other than none, RLE8 and RLE4,
/// planes other than 1, header sizes other than 12 and 40 or more, bit counts other than
/// 1, 4, 8, 16, 24 and 32, a side of 0 or above 32767); 10413 when memory is short.
DibBufferPtr DecodeBitmapFile(const std::filesystem::path& path, const Rect16* target,
                              int& messageId);

}  // namespace vx
