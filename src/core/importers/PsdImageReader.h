#pragma once
#include <cstdint>
#include <optional>

#include "imaging/DibBuffer.h"
#include "model/ImageOpenHooks.h"

namespace vx {

class ByteSource;

/// The composite image of a Photoshop file (its image data section), for the importers:
/// type and codec "8BPS". Modes bitmap (1 is black), grey, indexed, RGB, duotone (its
/// first channel as grey) and CMYK (kept as C, M, Y, K ink bytes); 1, 8 and 16 bits
/// (the high byte); raw or PackBits. The first extra channel is the alpha only when the
/// layer section marks merged transparency (a negative layer count).
class PsdImageReader {
public:
    /// "8BPS" version 1 (large documents, version 2, are not taken).
    static bool Probe(ByteSource& file);
    /// Size, ReadPsdHeader's depth, resolution from resource 1005 (the integer part of
    /// its pixels per inch, whatever unit it is shown in; 72 without it) and whether
    /// resource 1039 holds a profile. Nothing for Lab and Multichannel documents, a
    /// damaged header or a picture beyond the import limits.
    static std::optional<ImportedImageInfo> Describe(ByteSource& file);
    /// The composite as B,G,R,A. Null with messageId: 10526 ZIP data, 32 bits, Lab or
    /// Multichannel; 10417 damaged or short data; 10413 beyond the limits or out of memory.
    static DibBufferPtr Decode(ByteSource& file, int& messageId);
};

}  // namespace vx
