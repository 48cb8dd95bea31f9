#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/LayoutView.h"
#include "imaging/BitmapInfoHeader.h"
#include "imaging/DibBuffer.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Picture.h"

namespace vx {

/// A packed DIB turned into straight-alpha B,G,R,A pixels, top row first.
struct DecodedDib {
    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;
    bool opaque = true;
};

/// Decodes an uncompressed or bit-field packed DIB of 1, 4, 8, 16, 24 or 32 bits whose
/// size bytes are all readable; nullopt for run-length pictures, other formats, and
/// pixels or tables beyond size. Palette indices past the table give black.
std::optional<DecodedDib> DecodePackedDib(const uint8_t* dib, size_t size);

// The drawers below give 1 when they drew and 0 when they could not (no pixels, a
// format they do not draw, cairo in error); a caller in a draw pass raises the pass's
// failure flag on 0. Filter: nearest on screen, good when printing. Pictures larger
// than GDI+ took in one go are still drawn in one piece: halves leave a seam.

/// Draws the source rectangle of the 32-bit picture behind header (our 40-byte header,
/// pixels right behind it, top row first, rows of width × 4 bytes) into destination.
/// Opaque pictures are wrapped, not copied.
int DrawDibScaled(gfx::Canvas& canvas, const PixelRect& source, const PixelRect& destination,
                  const BitmapInfoHeader* header, gfx::Filter filter, gfx::Opacity opacity = gfx::Opacity::Scan);

/// The same for a packed DIB of any format DecodePackedDib reads, size bytes long.
int DrawDibGdiplus(gfx::Canvas& canvas, const PixelRect& source, const PixelRect& destination, const uint8_t* dib,
                   size_t size, gfx::Filter filter);

/// DrawDibScaled with the buffer's header; 0 for a buffer without one.
int DrawImageBufferGdiplus(gfx::Canvas& canvas, const PixelRect& source, const PixelRect& destination,
                           const DibBuffer* buffer, gfx::Filter filter, gfx::Opacity opacity = gfx::Opacity::Scan);
/// The whole buffer into destination.
int DrawImageBufferGdiplus(const DibBuffer* buffer, gfx::Canvas& canvas, const PixelRect& destination,
                           gfx::Filter filter);

/// Draws the whole picture (header and its 32-bit pixels, top row first) into item,
/// turned by degrees clockwise about the centre of clip and cut to clip, so a picture
/// cut on any side still shows its own part. Missing header or pixels draw nothing and
/// give 1, as a failure does; *failed is set when cairo failed.
int DrawRotatedDib(gfx::Canvas& canvas, const PixelRect& item, const PixelRect& clip, double degrees,
                   const BitmapInfoHeader* header, const uint8_t* pixels, gfx::Filter filter, bool* failed,
                   gfx::Opacity opacity = gfx::Opacity::Scan);

}  // namespace vx
