#pragma once
// TIFF files written by libtiff itself for the tests.
#include <gtest/gtest.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

namespace vx::test {

struct TiffFixture {
    uint32_t width = 4;
    uint32_t length = 3;
    uint16_t photometric = PHOTOMETRIC_RGB;
    uint16_t samples = 3;
    uint16_t bits = 8;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint32_t rowsPerStrip = 2;
    bool tiled = false;
    std::array<uint16_t, 2> subsampling{1, 1};  // YCbCr only
    std::optional<uint16_t> resolutionUnit;
    float xResolution = 72;
    float yResolution = 72;
    std::vector<uint8_t> icc;
    std::vector<uint16_t> colourMap;  // red, green, blue entries one after the other
    std::vector<uint16_t> extraSamples;
    /// Sample s of pixel (x, y), y from the top. Default 0.
    std::function<uint16_t(int x, int y, int s)> sample;
    /// Strips written raw as they stand, in place of the packed samples.
    std::optional<std::vector<std::vector<uint8_t>>> rawStrips;
};

namespace detail {

/// One row of samples, packed as the file stores them (16 bits in host order).
inline std::vector<uint8_t> PackRow(const TiffFixture& s, int y) {
    const size_t count = size_t(s.width) * s.samples;
    std::vector<uint8_t> row((count * s.bits + 7) / 8, 0);
    for (size_t i = 0; i < count; ++i) {
        const uint16_t v = s.sample ? s.sample(int(i / s.samples), y, int(i % s.samples)) : 0;
        if (s.bits == 16) {
            std::memcpy(row.data() + 2 * i, &v, 2);
        } else if (s.bits == 8) {
            row[i] = uint8_t(v);
        } else {
            const size_t bit = i * s.bits;
            row[bit / 8] |= uint8_t(v << (8 - s.bits - bit % 8));
        }
    }
    return row;
}

inline bool WriteTiff(TIFF* t, const TiffFixture& s) {
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, s.width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, s.length);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, s.photometric);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, s.samples);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, s.bits);
    TIFFSetField(t, TIFFTAG_COMPRESSION, s.compression);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, s.planar);
    if (s.photometric == PHOTOMETRIC_YCBCR)
        TIFFSetField(t, TIFFTAG_YCBCRSUBSAMPLING, s.subsampling[0], s.subsampling[1]);
    if (s.resolutionUnit) TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, *s.resolutionUnit);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, s.xResolution);
    TIFFSetField(t, TIFFTAG_YRESOLUTION, s.yResolution);
    if (!s.icc.empty()) TIFFSetField(t, TIFFTAG_ICCPROFILE, uint32_t(s.icc.size()), s.icc.data());
    if (!s.colourMap.empty()) {
        const size_t n = s.colourMap.size() / 3;
        TIFFSetField(t, TIFFTAG_COLORMAP, s.colourMap.data(), s.colourMap.data() + n, s.colourMap.data() + 2 * n);
    }
    if (!s.extraSamples.empty())
        TIFFSetField(t, TIFFTAG_EXTRASAMPLES, uint16_t(s.extraSamples.size()), s.extraSamples.data());
    if (s.tiled) {
        TIFFSetField(t, TIFFTAG_TILEWIDTH, 16);
        TIFFSetField(t, TIFFTAG_TILELENGTH, 16);
        std::vector<uint8_t> tile(size_t(TIFFTileSize(t)), 0);
        return TIFFWriteEncodedTile(t, 0, tile.data(), tmsize_t(tile.size())) >= 0;
    }
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, s.rowsPerStrip);
    if (s.rawStrips) {
        for (size_t i = 0; i < s.rawStrips->size(); ++i) {
            const std::vector<uint8_t>& raw = (*s.rawStrips)[i];
            if (TIFFWriteRawStrip(t, uint32_t(i), const_cast<uint8_t*>(raw.data()), tmsize_t(raw.size())) < 0)
                return false;
        }
        return true;
    }
    const bool packed = s.planar == PLANARCONFIG_CONTIG &&
                        !(s.photometric == PHOTOMETRIC_YCBCR && s.subsampling != std::array<uint16_t, 2>{1, 1});
    for (uint32_t strip = 0; strip < TIFFNumberOfStrips(t); ++strip) {
        std::vector<uint8_t> data;
        if (packed) {
            for (uint32_t y = strip * s.rowsPerStrip; y < std::min(s.length, (strip + 1) * s.rowsPerStrip); ++y) {
                const std::vector<uint8_t> row = PackRow(s, int(y));
                data.insert(data.end(), row.begin(), row.end());
            }
        } else {
            data.assign(size_t(TIFFStripSize(t)), 0);  // refused kinds: the contents do not matter
        }
        if (TIFFWriteEncodedStrip(t, strip, data.data(), tmsize_t(data.size())) < 0) return false;
    }
    return true;
}

}  // namespace detail

/// The bytes of a TIFF written by libtiff (through a temporary file).
inline std::vector<uint8_t> EncodeTiff(const TiffFixture& fixture) {
    std::FILE* file = std::tmpfile();
    if (!file) {
        ADD_FAILURE() << "no temporary file";
        return {};
    }
    TIFF* t = TIFFFdOpen(dup(fileno(file)), "fixture.tif", "w");
    const bool written = t && detail::WriteTiff(t, fixture);
    if (t) TIFFClose(t);
    std::vector<uint8_t> bytes;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(uint8_t(c));
    std::fclose(file);
    if (!written) ADD_FAILURE() << "the test TIFF could not be written";
    return bytes;
}

}  // namespace vx::test
