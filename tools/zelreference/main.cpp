// Writes the reference picture of the Zel tune pass: 256 x 1 pixels, RGB, 8 bits per
// sample; pixel i holds the tuned value of input i in each channel. The curve is a
// mild S: shadows a little darker, highlights a little lighter, ends fixed.
#include <tiffio.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>

namespace {

uint8_t Tuned(int i) {
    constexpr double kStrength = 0.3;  // below 1 keeps the curve rising
    const double x = i / 255.0;
    const double y = x - kStrength / (2 * std::numbers::pi) * std::sin(2 * std::numbers::pi * x);
    return uint8_t(std::lround(std::fmin(1.0, std::fmax(0.0, y)) * 255.0));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.tif>\n", argv[0]);
        return 2;
    }
    const std::string target = argv[1];
    const std::string temp = target + ".tmp";
    TIFF* tiff = TIFFOpen(temp.c_str(), "w");
    if (!tiff) return 1;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(256));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(1));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(3));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, uint32_t(1));
    uint8_t line[256 * 3];
    for (int i = 0; i < 256; ++i) line[i * 3] = line[i * 3 + 1] = line[i * 3 + 2] = Tuned(i);
    const bool written = TIFFWriteScanline(tiff, line, 0, 0) >= 0;
    TIFFClose(tiff);
    if (!written || std::rename(temp.c_str(), target.c_str()) != 0) {
        std::remove(temp.c_str());
        return 1;
    }
    return 0;
}
