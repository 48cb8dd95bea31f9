#include "imaging/DibDrawing.h"

#include <cstring>

#include "imaging/PackedDib.h"

namespace vx {
namespace {

gfx::RectD ToRect(const PixelRect& r) {
    return {double(r.left), double(r.top), double(r.right - r.left), double(r.bottom - r.top)};
}

// Scales a masked field to 8 bits.
uint8_t Field(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const uint32_t max = mask >> shift;
    return uint8_t(((value & mask) >> shift) * 255u / max);
}

}  // namespace

std::optional<DecodedDib> DecodePackedDib(const uint8_t* dib, size_t size) {
    const std::optional<PackedDibHeader> h = ReadPackedDibHeader(dib, size);
    if (!h || size < uint64_t(h->headerSize) + (h->compression == PackedDibHeader::kBitFields ? 12 : 0) ||
        h->width < 1 || h->height < 1 || h->width > 65535 || h->height > 65535) return std::nullopt;
    const bool fields = h->compression == PackedDibHeader::kBitFields;
    if (h->compression != PackedDibHeader::kRgb && !(fields && (h->bitCount == 16 || h->bitCount == 32)))
        return std::nullopt;
    switch (h->bitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: return std::nullopt;
    }
    const uint64_t rowBytes = h->RowBytes();
    if (h->PixelOffset() > size || rowBytes * uint64_t(h->height) > size - h->PixelOffset()) return std::nullopt;

    const uint8_t* table = dib + h->headerSize;
    const uint64_t entryBytes = h->core ? 3 : 4;
    const uint64_t entries = h->bitCount <= 8 ? std::min<uint64_t>(h->colourEntries, 256) : 0;
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    uint32_t alphaMask = 0;
    if (fields) {
        std::memcpy(masks, h->masks, sizeof masks);
        alphaMask = h->alphaMask;
    } else if (h->bitCount == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0xFF00;
        masks[2] = 0xFF;
    }

    DecodedDib out;
    out.width = h->width;
    out.height = h->height;
    out.pixels.assign(size_t(h->width) * size_t(h->height) * 4, 0);
    for (int y = 0; y < h->height; ++y) {
        const int storedRow = h->topDown ? y : h->height - 1 - y;
        const uint8_t* row = dib + h->PixelOffset() + uint64_t(storedRow) * rowBytes;
        uint8_t* o = &out.pixels[size_t(y) * size_t(h->width) * 4];
        for (int x = 0; x < h->width; ++x, o += 4) {
            o[3] = 255;
            if (h->bitCount <= 8) {
                const int bits = h->bitCount;
                const uint32_t bitPos = uint32_t(x) * uint32_t(bits);
                const uint32_t index = (row[bitPos / 8] >> (8 - bits - bitPos % 8)) & ((1u << bits) - 1);
                if (index < entries) std::memcpy(o, table + index * entryBytes, 3);
            } else if (h->bitCount == 24) {
                std::memcpy(o, row + size_t(x) * 3, 3);
            } else {
                const uint32_t v = h->bitCount == 16 ? uint32_t(row[x * 2] | (row[x * 2 + 1] << 8))
                                                     : uint32_t(row[x * 4]) | (uint32_t(row[x * 4 + 1]) << 8) |
                                                           (uint32_t(row[x * 4 + 2]) << 16) |
                                                           (uint32_t(row[x * 4 + 3]) << 24);
                o[0] = Field(v, masks[2]);
                o[1] = Field(v, masks[1]);
                o[2] = Field(v, masks[0]);
                if (alphaMask) {
                    o[3] = Field(v, alphaMask);
                    if (o[3] != 255) out.opaque = false;
                }
            }
        }
    }
    return out;
}

int DrawDibScaled(gfx::Canvas& canvas, const PixelRect& source, const PixelRect& destination,
                  const BitmapInfoHeader* header, gfx::Filter filter, gfx::Opacity opacity) {
    if (!header || header->bitCount != 32 || header->width < 1 || header->height == 0) return 0;
    const int width = header->width;
    const int height = header->height < 0 ? -header->height : header->height;
    const auto* pixels = reinterpret_cast<const uint8_t*>(header) + header->size;
    gfx::Picture picture(pixels, width, height, width * 4, opacity);
    if (!picture.Valid()) return 0;
    canvas.DrawPicture(picture, ToRect(source), ToRect(destination), filter);
    return canvas.Ok() ? 1 : 0;
}

int DrawDibGdiplus(gfx::Canvas& canvas, const PixelRect& source, const PixelRect& destination, const uint8_t* dib,
                   size_t size, gfx::Filter filter) {
    std::optional<DecodedDib> decoded = DecodePackedDib(dib, size);
    if (!decoded) return 0;
    gfx::Picture picture(decoded->pixels.data(), decoded->width, decoded->height, decoded->width * 4,
                         decoded->opaque ? gfx::Opacity::Opaque : gfx::Opacity::Transparent);
    if (!picture.Valid()) return 0;
    canvas.DrawPicture(picture, ToRect(source), ToRect(destination), filter);
    return canvas.Ok() ? 1 : 0;
}

int DrawImageBufferGdiplus(gfx::Canvas& canvas, const PixelRect& source, const PixelRect& destination,
                           const DibBuffer* buffer, gfx::Filter filter, gfx::Opacity opacity) {
    const BitmapInfoHeader* header = DibBuffer::GetHeader(buffer);
    if (!header) return 0;
    return DrawDibScaled(canvas, source, destination, header, filter, opacity);
}

int DrawImageBufferGdiplus(const DibBuffer* buffer, gfx::Canvas& canvas, const PixelRect& destination,
                           gfx::Filter filter) {
    const RectL r = DibBuffer::GetRectL(buffer);
    return DrawImageBufferGdiplus(canvas, {0, 0, r.right - r.left, r.bottom - r.top}, destination, buffer, filter);
}

int DrawRotatedDib(gfx::Canvas& canvas, const PixelRect& item, const PixelRect& clip, double degrees,
                   const BitmapInfoHeader* header, const uint8_t* pixels, gfx::Filter filter, bool* failed,
                   gfx::Opacity opacity) {
    if (!header || !pixels || header->bitCount != 32 || header->width < 1 || header->height == 0) return 1;
    const int width = header->width;
    const int height = header->height < 0 ? -header->height : header->height;
    gfx::Picture picture(pixels, width, height, width * 4, opacity);
    canvas.Save();
    canvas.ClipRect(ToRect(clip));
    canvas.RotateAbout(clip.left + (clip.right - clip.left) / 2, clip.top + (clip.bottom - clip.top) / 2, degrees);
    canvas.DrawPicture(picture, {0, 0, double(width), double(height)}, ToRect(item), filter);
    canvas.Restore();
    if (failed && (!picture.Valid() || !canvas.Ok())) *failed = true;
    return 1;
}

}  // namespace vx
