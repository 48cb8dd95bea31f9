#include "imaging/TiffReader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "imaging/DecodeTarget.h"
#include "imaging/TiffMemoryStream.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

/// The tags ReadTiffPixels works from, checked against the kinds it decodes.
struct TiffFormat {
    uint32_t width = 0;
    uint32_t length = 0;
    uint16_t photometric = 0;
    uint16_t samples = 0;
    uint16_t bits = 0;
    uint32_t rowsPerStrip = 0;
    uint64_t rowBytes = 0;
    const uint16_t* red = nullptr;  // colour map of palette pictures, 2^bits entries each
    const uint16_t* green = nullptr;
    const uint16_t* blue = nullptr;
};

/// 0 for a kind decoded here; else why not: 10526 for another kind, 10417 for a
/// directory without the size or the photometric interpretation.
int ReadFormat(TIFF* tiff, TiffFormat& f) {
    if (!tiff) return IDS_FILE_NOT_READABLE;
    if (TIFFIsTiled(tiff)) return IDS_IMAGE_FORMAT_UNSUPPORTED;
    uint16_t compression = 0;
    uint16_t planar = 0;
    uint16_t sampleFormat = 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
    if (compression != COMPRESSION_NONE || planar != PLANARCONFIG_CONTIG || sampleFormat != SAMPLEFORMAT_UINT)
        return IDS_IMAGE_FORMAT_UNSUPPORTED;
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &f.width) || !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &f.length) ||
        !TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &f.photometric))
        return IDS_FILE_NOT_READABLE;
    if (f.width < 1 || f.length < 1 || f.width > uint32_t(DibBuffer::kMaxSide) ||
        f.length > uint32_t(DibBuffer::kMaxSide))
        return IDS_IMAGE_FORMAT_UNSUPPORTED;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &f.samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &f.bits);
    const bool wholeBytes = f.bits == 8 || f.bits == 16;
    bool known = false;
    switch (f.photometric) {
        case PHOTOMETRIC_MINISWHITE:
        case PHOTOMETRIC_MINISBLACK:
            known = (f.bits == 1 && f.samples == 1) || (wholeBytes && (f.samples == 1 || f.samples == 2));
            break;
        case PHOTOMETRIC_RGB: known = wholeBytes && (f.samples == 3 || f.samples == 4); break;
        case PHOTOMETRIC_PALETTE:
            known = f.samples == 1 && (f.bits == 1 || f.bits == 4 || f.bits == 8) &&
                    TIFFGetField(tiff, TIFFTAG_COLORMAP, &f.red, &f.green, &f.blue) && f.red && f.green && f.blue;
            break;
        case PHOTOMETRIC_SEPARATED: known = wholeBytes && f.samples == 4; break;
        case PHOTOMETRIC_YCBCR: {
            uint16_t horizontal = 0;
            uint16_t vertical = 0;
            TIFFGetFieldDefaulted(tiff, TIFFTAG_YCBCRSUBSAMPLING, &horizontal, &vertical);
            known = wholeBytes && f.samples == 3 && horizontal == 1 && vertical == 1;
            break;
        }
        default: break;
    }
    if (!known) return IDS_IMAGE_FORMAT_UNSUPPORTED;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &f.rowsPerStrip);
    f.rowsPerStrip = std::clamp<uint32_t>(f.rowsPerStrip, 1, f.length);
    f.rowBytes = (uint64_t(f.width) * f.samples * f.bits + 7) / 8;
    return TIFFScanlineSize64(tiff) == f.rowBytes ? 0 : IDS_IMAGE_FORMAT_UNSUPPORTED;
}

/// Sample i of a row of 8- or 16-bit samples as a byte (the high byte of 16 bits; libtiff
/// has put them in host order).
template <int Bits>
uint8_t Sample(const uint8_t* row, size_t i) {
    if constexpr (Bits == 8) {
        return row[i];
    } else {
        uint16_t v;
        std::memcpy(&v, row + 2 * i, 2);
        return uint8_t(v >> 8);
    }
}

uint8_t ClampTruncated(double v) { return v <= 0 ? 0 : v >= 255 ? 255 : uint8_t(v); }

template <int Bits>
void ConvertWholeSamples(const TiffFormat& f, const uint8_t* in, uint8_t* out) {
    const size_t n = f.samples;
    const size_t width = f.width;
    switch (f.photometric) {
        case PHOTOMETRIC_MINISWHITE:
        case PHOTOMETRIC_MINISBLACK: {
            const uint8_t flip = f.photometric == PHOTOMETRIC_MINISWHITE ? 255 : 0;
            for (size_t x = 0; x < width; ++x, out += 4) {
                const uint8_t g = uint8_t(Sample<Bits>(in, x * n) ^ flip);
                out[0] = out[1] = out[2] = g;
                out[3] = n == 2 ? Sample<Bits>(in, x * n + 1) : 255;
            }
            break;
        }
        case PHOTOMETRIC_RGB:
            if (n == 3) {
                for (size_t x = 0; x < width; ++x, out += 4) {
                    out[0] = Sample<Bits>(in, x * 3 + 2);
                    out[1] = Sample<Bits>(in, x * 3 + 1);
                    out[2] = Sample<Bits>(in, x * 3);
                    out[3] = 255;
                }
            } else {
                for (size_t x = 0; x < width; ++x, out += 4) {
                    out[0] = Sample<Bits>(in, x * 4 + 2);
                    out[1] = Sample<Bits>(in, x * 4 + 1);
                    out[2] = Sample<Bits>(in, x * 4);
                    out[3] = Sample<Bits>(in, x * 4 + 3);
                }
            }
            break;
        case PHOTOMETRIC_SEPARATED:  // C,M,Y,K as stored; colour management knows them
            for (size_t x = 0; x < width * 4; ++x) out[x] = Sample<Bits>(in, x);
            break;
        case PHOTOMETRIC_YCBCR:
            for (size_t x = 0; x < width; ++x, out += 4) {
                const double y = Sample<Bits>(in, x * 3);
                const double cb = Sample<Bits>(in, x * 3 + 1) - 128.0;
                const double cr = Sample<Bits>(in, x * 3 + 2) - 128.0;
                // Green from the unclamped blue and red; everything is clamped last.
                const double blue = y + 1.772 * cb;
                const double red = y + 1.402 * cr;
                const double green = (y - 0.114 * blue - 0.299 * red) * 1.7035775127768313;
                out[0] = ClampTruncated(blue);
                out[1] = ClampTruncated(green);
                out[2] = ClampTruncated(red);
                out[3] = 255;
            }
            break;
        case PHOTOMETRIC_PALETTE:
            for (size_t x = 0; x < width; ++x, out += 4) {
                const uint8_t i = in[x];
                out[0] = uint8_t(f.blue[i] >> 8);
                out[1] = uint8_t(f.green[i] >> 8);
                out[2] = uint8_t(f.red[i] >> 8);
                out[3] = 255;
            }
            break;
        default: break;
    }
}

/// Rows of 1-bit (grey or palette) and 4-bit (palette) pixels, most significant first.
void ConvertPackedSamples(const TiffFormat& f, const uint8_t* in, uint8_t* out) {
    const int bits = f.bits;
    const unsigned mask = (1u << bits) - 1;
    for (uint32_t x = 0; x < f.width; ++x, out += 4) {
        const uint32_t bit = x * uint32_t(bits);
        const unsigned v = (in[bit / 8] >> (8 - bits - bit % 8)) & mask;
        if (f.photometric == PHOTOMETRIC_PALETTE) {
            out[0] = uint8_t(f.blue[v] >> 8);
            out[1] = uint8_t(f.green[v] >> 8);
            out[2] = uint8_t(f.red[v] >> 8);
        } else {
            // Bilevel: 0 is white for photometric 0 and black for photometric 1.
            const uint8_t g = (v != 0) == (f.photometric == PHOTOMETRIC_MINISBLACK) ? 255 : 0;
            out[0] = out[1] = out[2] = g;
        }
        out[3] = 255;
    }
}

void ConvertRow(const TiffFormat& f, const uint8_t* in, uint8_t* out) {
    if (f.bits == 8) ConvertWholeSamples<8>(f, in, out);
    else if (f.bits == 16) ConvertWholeSamples<16>(f, in, out);
    else ConvertPackedSamples(f, in, out);
}

struct FreeDeleter {
    void operator()(void* p) const noexcept { std::free(p); }
};

}  // namespace

bool DescribeTiff(TIFF* tiff, ImageDescription& description, bool& hasIccProfile, int* messageId) {
    TiffFormat f;
    if (const int refused = ReadFormat(tiff, f)) {
        if (messageId) *messageId = refused;
        return false;
    }
    uint16_t unit = 0;
    float x = 0;
    float y = 0;
    uint32_t hRes = 0;
    uint32_t vRes = 0;
    // Not the defaulted value: a file without a unit gets 72.
    if (TIFFGetField(tiff, TIFFTAG_RESOLUTIONUNIT, &unit) && (unit == RESUNIT_INCH || unit == RESUNIT_CENTIMETER) &&
        TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x) && TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y)) {
        const double factor = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
        auto whole = [](double v) { return v >= 1 && v < 2147483648.0 ? uint32_t(v) : 0u; };
        hRes = whole(double(x) * factor);
        vRes = whole(double(y) * factor);
    }
    if (hRes == 0 || vRes == 0) hRes = vRes = 72;

    uint32_t count = 0;
    void* profile = nullptr;
    hasIccProfile = TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &count, &profile) != 0;
    description = ImageDescription{};
    description.codecType = FourCC("tiff");
    description.width = int16_t(f.width);
    description.height = int16_t(f.length);
    description.hRes = hRes;
    description.vRes = vRes;
    description.depth = uint16_t(f.bits * f.samples);
    return true;
}

bool ReadTiffInfo(const std::filesystem::path& path, ImageDescription& description, bool& hasIccProfile,
                  int* messageId) {
    TiffFile tiff = OpenTiffFile(path);
    if (!tiff) {
        if (messageId) *messageId = IDS_FILE_NOT_READABLE;
        return false;
    }
    return DescribeTiff(tiff.get(), description, hasIccProfile, messageId);
}

bool ReadTiffPixels(TIFF* tiff, DibBuffer* pixels, int& messageId) {
    TiffFormat f;
    if (const int refused = ReadFormat(tiff, f)) {
        messageId = refused;
        return false;
    }
    const Rect16 rect = DibBuffer::GetRect(pixels);
    if (rect.Width() != int(f.width) || rect.Height() != int(f.length)) {
        messageId = IDS_NOT_ENOUGH_MEMORY;  // a caller's buffer of another size
        return false;
    }
    // Every strip must hold all its rows, and lie in the file: a shorter strip, or one
    // that a damaged offset or count puts elsewhere, gives an unreadable file.
    const uint32_t strips = TIFFNumberOfStrips(tiff);
    const uint64_t fileSize = TIFFGetSizeProc(tiff)(TIFFClientdata(tiff));
    auto fits = [&](uint32_t index, uint64_t want) {
        const uint64_t offset = TIFFGetStrileOffset(tiff, index);
        return index < strips && TIFFGetStrileByteCount(tiff, index) >= want && offset <= fileSize &&
               want <= fileSize - offset;
    };
    // The first strip is the largest; checked before its buffer is made.
    const uint64_t stripBytes = uint64_t(f.rowsPerStrip) * f.rowBytes;
    if (!fits(0, stripBytes)) {
        messageId = IDS_FILE_NOT_READABLE;
        return false;
    }
    std::unique_ptr<uint8_t, FreeDeleter> strip(static_cast<uint8_t*>(std::malloc(size_t(stripBytes))));
    if (!strip) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return false;
    }
    uint8_t* out = DibBuffer::GetBits(pixels);
    const size_t outRow = size_t(DibBuffer::GetRowBytes(pixels));
    uint32_t index = 0;
    for (uint32_t row = 0; row < f.length; row += f.rowsPerStrip, ++index) {
        const uint32_t rows = std::min(f.rowsPerStrip, f.length - row);
        const tmsize_t want = tmsize_t(uint64_t(rows) * f.rowBytes);
        if (!fits(index, uint64_t(want)) || TIFFReadEncodedStrip(tiff, index, strip.get(), want) != want) {
            messageId = IDS_FILE_NOT_READABLE;
            return false;
        }
        for (uint32_t r = 0; r < rows; ++r)
            ConvertRow(f, strip.get() + r * f.rowBytes, out + (row + r) * outRow);
    }
    return true;
}

DibBufferPtr DecodeTiff(TIFF* tiff, int& messageId) {
    TiffFormat f;
    if (const int refused = ReadFormat(tiff, f)) {
        messageId = refused;
        return nullptr;
    }
    DibBufferPtr pixels = NewDibBuffer(int(f.width), int(f.length));
    if (!pixels) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    if (!ReadTiffPixels(tiff, pixels.get(), messageId)) return nullptr;
    return pixels;
}

DibBufferPtr DecodeTiffImage(const std::filesystem::path& path, const Rect16* target, int& messageId) {
    TiffFile tiff = OpenTiffFile(path);
    if (!tiff) {
        messageId = IDS_FILE_NOT_READABLE;
        return nullptr;
    }
    DibBufferPtr pixels = DecodeTiff(tiff.get(), messageId);
    tiff.reset();
    return ScaleToTarget(std::move(pixels), target, messageId);
}

DibBufferPtr DecodeTiffFromMemory(const uint8_t* data, size_t length) {
    TiffMemoryStream stream = TiffMemoryStream::ForReading(data, length);
    TiffFile tiff = OpenTiffFromMemory(stream);
    int messageId = 0;
    return tiff ? DecodeTiff(tiff.get(), messageId) : nullptr;
}

bool LoadTiffIccProfile(const std::filesystem::path& path, std::vector<uint8_t>& profile) {
    profile.clear();
    TiffFile tiff = OpenTiffFile(path);
    uint32_t count = 0;
    void* data = nullptr;
    if (!tiff || !TIFFGetField(tiff.get(), TIFFTAG_ICCPROFILE, &count, &data) || !data || count == 0) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    profile.assign(bytes, bytes + count);
    return true;
}

}  // namespace vx
