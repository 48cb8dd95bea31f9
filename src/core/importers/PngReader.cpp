#include "importers/PngReader.h"

#include <png.h>

#include <cstring>
#include <memory>
#include <new>

#include "imaging/ByteSource.h"
#include "imaging/DecodeTarget.h"
#include "imaging/ImageResources.h"
#include "importers/ImporterLimits.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr png_alloc_size_t kChunkMemoryLimit = 16u << 20;
constexpr png_uint_32 kChunkCacheLimit = 1000;

// libpng reports through these; the error jumps back to the step that set the point.
[[noreturn]] void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarning(png_structp, png_const_charp) {}

/// One libpng read over a byte source.
struct PngSession {
    ByteSource& file;
    uint64_t offset = 0;
    png_structp png = nullptr;
    png_infop info = nullptr;

    explicit PngSession(ByteSource& source) : file(source) {}
    ~PngSession() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
    PngSession(const PngSession&) = delete;
    PngSession& operator=(const PngSession&) = delete;
};

void ReadData(png_structp png, png_bytep out, size_t length) {
    auto* session = static_cast<PngSession*>(png_get_io_ptr(png));
    if (!session->file.Read(session->offset, out, length)) png_error(png, "short data");
    session->offset += length;
}

// The size the IHDR claims, read before libpng so that a picture beyond the limits is
// told apart from a damaged one.
bool ClaimedSize(ByteSource& file, uint32_t& width, uint32_t& height) {
    uint8_t h[16];
    if (!file.Read(8, h, sizeof h) || std::memcmp(h + 4, "IHDR", 4) != 0) return false;
    width = BigEndianValue(h + 8, 4);
    height = BigEndianValue(h + 12, 4);
    return true;
}

// Each step below sets its own jump point and has only trivial locals.

bool Start(PngSession& s) {
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!s.png) return false;
    s.info = png_create_info_struct(s.png);
    if (!s.info) return false;
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_set_read_fn(s.png, &s, ReadData);
    png_set_user_limits(s.png, png_uint_32(kMaxImportSide), png_uint_32(kMaxImportSide));
    png_set_chunk_malloc_max(s.png, kChunkMemoryLimit);
    png_set_chunk_cache_max(s.png, kChunkCacheLimit);
    png_read_info(s.png, s.info);
    return true;
}

bool PrepareBgra(PngSession& s) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_set_expand(s.png);
    png_set_strip_16(s.png);
    png_set_gray_to_rgb(s.png);
    png_set_bgr(s.png);
    png_set_filler(s.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(s.png);
    png_read_update_info(s.png, s.info);
    return png_get_rowbytes(s.png, s.info) == size_t(png_get_image_width(s.png, s.info)) * 4;
}

bool ReadRows(PngSession& s, png_bytepp rows) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_read_image(s.png, rows);
    return true;
}

bool ReadProfile(PngSession& s, png_bytep* data, png_uint_32* length) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_charp name = nullptr;
    int compression = 0;
    return png_get_iCCP(s.png, s.info, &name, &compression, data, length) != 0;
}

uint32_t Resolution(png_uint_32 perUnit, int unit) {
    const uint32_t ppi = unit == PNG_RESOLUTION_METER ? PpiFromPixelsPerMetre(perUnit) : 0;
    return ppi ? ppi : 72;
}

}  // namespace

bool PngReader::Probe(ByteSource& file) {
    uint8_t b[8];
    return file.Read(0, b, sizeof b) && std::memcmp(b, kSignature, sizeof b) == 0;
}

std::optional<ImportedImageInfo> PngReader::Describe(ByteSource& file) {
    uint32_t width = 0, height = 0;
    if (!Probe(file) || !ClaimedSize(file, width, height) || !ImportSizeAllowed(width, height))
        return std::nullopt;
    PngSession s(file);
    if (!Start(s)) return std::nullopt;
    const int colourType = png_get_color_type(s.png, s.info);
    const int bits = png_get_bit_depth(s.png, s.info);
    const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(s.png, s.info, PNG_INFO_tRNS);
    ImportedImageInfo answer;
    answer.fileType = FourCC("PNGf");
    ImageDescription& d = answer.description;
    d.codecType = FourCC("png ");
    d.width = int16_t(png_get_image_width(s.png, s.info));
    d.height = int16_t(png_get_image_height(s.png, s.info));
    d.depth = alpha ? 32 : (colourType & PNG_COLOR_MASK_COLOR) ? 24 : uint16_t(bits > 8 ? 8 : bits);
    png_uint_32 x = 0, y = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
    if (!png_get_pHYs(s.png, s.info, &x, &y, &unit)) x = y = 0;
    d.hRes = Resolution(x, unit);
    d.vRes = Resolution(y, unit);
    answer.hasEmbeddedProfile = png_get_valid(s.png, s.info, PNG_INFO_iCCP) != 0;
    return answer;
}

DibBufferPtr PngReader::Decode(ByteSource& file, int& messageId) {
    messageId = IDS_FILE_NOT_READABLE;
    uint32_t width = 0, height = 0;
    if (!Probe(file) || !ClaimedSize(file, width, height) || width == 0 || height == 0) return nullptr;
    if (!ImportSizeAllowed(width, height)) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    PngSession s(file);
    if (!Start(s) || !PrepareBgra(s)) return nullptr;
    DibBufferPtr picture = NewDibBuffer(int(width), int(height));
    std::unique_ptr<png_bytep[]> rows(new (std::nothrow) png_bytep[height]);
    if (!picture || !rows) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    uint8_t* bits = DibBuffer::GetBits(picture.get());
    const size_t stride = size_t(DibBuffer::GetRowBytes(picture.get()));
    for (uint32_t r = 0; r < height; ++r) rows[r] = bits + r * stride;
    if (!ReadRows(s, rows.get())) return nullptr;
    return picture;
}

std::vector<uint8_t> PngReader::EmbeddedProfile(ByteSource& file) {
    std::vector<uint8_t> profile;
    PngSession s(file);
    png_bytep data = nullptr;
    png_uint_32 length = 0;
    if (Probe(file) && Start(s) && ReadProfile(s, &data, &length) && data) profile.assign(data, data + length);
    return profile;
}

}  // namespace vx
