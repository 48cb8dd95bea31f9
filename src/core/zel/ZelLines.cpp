#include "zel/ZelLines.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "imaging/JpegDecompressor.h"
#include "imaging/TiffHandle.h"
#include "zel/ZelEngine.h"

namespace vx {
namespace {

constexpr int kMaxSide = DibBuffer::kMaxSide;

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

RgbRows Allocate(int width, int height) {
    RgbRows rows;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return rows;
    rows.bytes.reset(new (std::nothrow) uint8_t[size_t(width) * size_t(height) * 3]);
    if (rows.bytes) {
        rows.width = width;
        rows.height = height;
    }
    return rows;
}

// The largest reduction whose output still covers the minimum size.
int DenominatorFor(uint32_t width, uint32_t height, int minWidth, int minHeight) {
    if (minWidth < 1 || minHeight < 1) return 1;
    for (int d : {8, 4, 2}) {
        const uint32_t w = (width + uint32_t(d) - 1) / uint32_t(d);
        const uint32_t h = (height + uint32_t(d) - 1) / uint32_t(d);
        if (w >= uint32_t(minWidth) && h >= uint32_t(minHeight)) return d;
    }
    return 1;
}

}  // namespace

RgbRows DecodeYccJpeg(const std::filesystem::path& path, int minWidth, int minHeight) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return {};
    JpegDecompressor d;
    if (!d.Open(file.get()) || !d.ReadHeader()) return {};
    const jpeg_decompress_struct& info = d.Info();
    if (info.image_width > uint32_t(kMaxSide) || info.image_height > uint32_t(kMaxSide)) return {};
    if (!d.PrepareOutput(DenominatorFor(info.image_width, info.image_height, minWidth, minHeight), JCS_RGB))
        return {};
    RgbRows rows = Allocate(int(info.output_width), int(info.output_height));
    if (!rows) return {};
    const ptrdiff_t stride = ptrdiff_t(rows.width) * 3;
    // The first decoded line is the bottom row of the block.
    if (!d.ReadRows(rows.bytes.get() + (rows.height - 1) * stride, -stride, 3)) return {};
    return rows;
}

RgbRows DecodeTiffLines(const std::filesystem::path& path, int& encoding, int& error) {
    error = 0;
    encoding = kZelEncodingDefault;
    TiffFile tiff = OpenTiffFile(path);
    if (!tiff) return {};
    TIFF* t = tiff.get();
    uint32_t width = 0, height = 0;
    uint16_t samples = 1, bits = 1, photometric = 0, planar = PLANARCONFIG_CONTIG;
    if (!TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(t, TIFFTAG_IMAGELENGTH, &height) ||
        !TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &photometric))
        return {};
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &planar);
    if (planar != PLANARCONFIG_CONTIG || TIFFIsTiled(t) || width > uint32_t(kMaxSide) ||
        height > uint32_t(kMaxSide))
        return {};
    int kind;
    if (photometric == PHOTOMETRIC_RGB && samples >= 3 && bits == 8)
        kind = kTiffLinesRgb8;
    else if (photometric == PHOTOMETRIC_RGB && samples >= 3 && bits == 16)
        kind = kTiffLinesRgb16;
    else if (photometric == PHOTOMETRIC_MINISBLACK && samples == 1 && bits == 8)
        kind = kTiffLinesGrey8;
    else
        return {};
    encoding = kind == kTiffLinesGrey8 ? kZelEncodingDefault : kZelEncodingTiff;

    const size_t sampleBytes = bits / 8;
    const size_t lineBytes = size_t(width) * samples * sampleBytes;
    if (TIFFScanlineSize64(t) != lineBytes) return {};
    RgbRows rows = Allocate(int(width), int(height));
    if (!rows) return {};
    std::vector<uint8_t> line;
    try {
        line.resize(lineBytes);
    } catch (const std::bad_alloc&) {
        return {};
    }
    const size_t rowBytes = size_t(width) * 3;
    for (uint32_t y = 0; y < height; ++y) {
        if (TIFFReadScanline(t, line.data(), y, 0) < 0) {
            error = -1;
            return {};
        }
        uint8_t* out = rows.bytes.get() + size_t(height - 1 - y) * rowBytes;
        if (kind == kTiffLinesRgb16) {
            // libtiff gives 16-bit samples in the machine's byte order: keep the high byte.
            const auto* in = reinterpret_cast<const uint16_t*>(line.data());
            for (uint32_t x = 0; x < width; ++x)
                for (size_t c = 0; c < 3; ++c) out[x * 3 + c] = uint8_t(in[x * samples + c] >> 8);
        } else if (kind == kTiffLinesGrey8) {
            for (uint32_t x = 0; x < width; ++x) out[x * 3] = out[x * 3 + 1] = out[x * 3 + 2] = line[x];
        } else {
            for (uint32_t x = 0; x < width; ++x)
                for (size_t c = 0; c < 3; ++c) out[x * 3 + c] = line[x * samples + c];
        }
    }
    return rows;
}

RgbRows ResampleRgbRows(const RgbRows& rows, int width, int height) {
    if (!rows) return {};
    RgbRows out = Allocate(width, height);
    if (!out) return {};
    const size_t inLine = size_t(rows.width) * 3;
    const size_t outLine = size_t(width) * 3;
    if (width == rows.width && height == rows.height) {
        std::memcpy(out.bytes.get(), rows.bytes.get(), inLine * size_t(height));
        return out;
    }
    // Nearest pixel by the centres, as CopyDib scales: every pixel is a copy of one.
    std::vector<size_t> column(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x)
        column[size_t(x)] = size_t((2 * int64_t(x) + 1) * rows.width / (2 * int64_t(width))) * 3;
    for (int y = 0; y < height; ++y) {
        const int64_t sourceRow = (2 * int64_t(y) + 1) * rows.height / (2 * int64_t(height));
        const uint8_t* in = rows.bytes.get() + size_t(sourceRow) * inLine;
        uint8_t* o = out.bytes.get() + size_t(y) * outLine;
        for (int x = 0; x < width; ++x, o += 3) {
            const uint8_t* p = in + column[size_t(x)];
            o[0] = p[0];
            o[1] = p[1];
            o[2] = p[2];
        }
    }
    return out;
}

}  // namespace vx
