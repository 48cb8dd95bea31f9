#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/DibBuffer.h"
#include "model/ImageOpenHooks.h"

namespace vx {

class ByteSource;

/// PNG pictures through libpng, for the importers: type 'PNGf', codec "png ".
class PngReader {
public:
    /// Whether the file starts with the PNG signature.
    static bool Probe(ByteSource& file);
    /// Size, resolution (pHYs in pixels per metre, rounded to whole ppi; 72 without it),
    /// depth (32 with any alpha, tRNS included; 24 in colour; grey its bit depth up to 8)
    /// and whether an iCCP chunk is present. Nothing when the header does not read or
    /// the picture is beyond the import limits.
    static std::optional<ImportedImageInfo> Describe(ByteSource& file);
    /// The whole picture as 8-bit B,G,R,A: palettes and grey expanded, tRNS as alpha,
    /// 16-bit samples by their high byte, 255 where there is no alpha; gamma chunks are
    /// not applied. Null with messageId 10417 for damaged or short data, 10413 beyond the
    /// limits or out of memory.
    static DibBufferPtr Decode(ByteSource& file, int& messageId);
    /// The iCCP profile, decompressed; empty when there is none or it does not read.
    static std::vector<uint8_t> EmbeddedProfile(ByteSource& file);
};

}  // namespace vx
