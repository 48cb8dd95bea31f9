#pragma once
#include <cstdint>
#include <optional>

#include "imaging/DibBuffer.h"
#include "model/ImageOpenHooks.h"

namespace vx {

class ByteSource;

/// Pixel pictures in version 2 PICT files, for the importers: type and codec "PICT".
/// Drawn are BitsRect/Rgn, PackBitsRect/Rgn (1 to 8 bits with a colour table of at most
/// 256 entries), DirectBitsRect/Rgn (16-bit 5-5-5 and 32-bit, pack types 1 to 4) and
/// the compressed-picture opcode 0x8200 with JPEG data, each at its destination
/// rectangle in the frame (regions by their bounds); everything else is skipped by its
/// length. Files carry no profile.
class PictReader {
public:
    /// The version opcode 0x0011 0x02FF at 522 (after the 512-byte file header) or at 10.
    static bool Probe(ByteSource& file);
    /// Frame size, resolution of an extended version 2 header (else 72) and depth (the
    /// deepest pixel opcode, at most 24). Nothing when the frame is empty, the opcodes
    /// do not walk, or the picture is beyond the import limits.
    static std::optional<ImportedImageInfo> Describe(ByteSource& file);
    /// The frame as B,G,R,A on white. Null with messageId: 10526 without a pixel
    /// opcode or with another pixel format; 10417 damaged or short data; 10413 beyond
    /// the limits or out of memory.
    static DibBufferPtr Decode(ByteSource& file, int& messageId);
};

}  // namespace vx
