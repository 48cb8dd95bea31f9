// Decoding 6000 x 4000 TIFF, bitmap and EPS files into pixel buffers, against libtiff's
// own RGBA reader on the same TIFF. Run by hand (scripts/bench-bitmaps); the ratios at
// the end come from paired runs.
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "imaging/BmpReader.h"
#include "imaging/EpsReader.h"
#include "imaging/TiffReader.h"

namespace fs = std::filesystem;
using namespace vx;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

fs::path gFolder;

uint8_t Sample(int x, int y, int c) { return uint8_t((x * 7 + y * 3 + c * 85) ^ (x >> 4) ^ (y >> 3)); }

void Put(std::string& s, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s.push_back(char(v >> (8 * i)));
}

bool WriteText(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return out.good();
}

bool WriteTiff(const fs::path& path) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return false;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
    std::vector<uint8_t> row(size_t(kWidth) * 3);
    bool ok = true;
    for (int y = 0; y < kHeight && ok; ++y) {
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c) row[size_t(x) * 3 + size_t(c)] = Sample(x, y, c);
        ok = TIFFWriteScanline(t, row.data(), uint32_t(y), 0) >= 0;
    }
    TIFFClose(t);
    return ok;
}

bool WriteBmp(const fs::path& path) {
    const uint32_t rowBytes = (kWidth * 3 + 3) & ~3u;
    std::string b = "BM";
    Put(b, 54 + rowBytes * kHeight, 4);
    Put(b, 0, 4);
    Put(b, 54, 4);
    for (uint32_t v : {40u, uint32_t(kWidth), uint32_t(kHeight)}) Put(b, v, 4);
    Put(b, 1, 2);
    Put(b, 24, 2);
    for (uint32_t v : {0u, rowBytes * kHeight, 2834u, 2834u, 0u, 0u}) Put(b, v, 4);
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x)
            for (int c = 2; c >= 0; --c) b.push_back(char(Sample(x, y, c)));
        b.append(rowBytes - kWidth * 3, '\0');
    }
    return WriteText(path, b);
}

bool WriteEps(const fs::path& path, bool hex) {
    std::string data;
    static const char kDigits[] = "0123456789ABCDEF";
    for (int y = 0; y < kHeight; ++y)
        for (int c = 0; c < 3; ++c) {
            for (int x = 0; x < kWidth; ++x) {
                const uint8_t v = Sample(x, y, c);
                if (!hex) {
                    data.push_back(char(v));
                    continue;
                }
                data.push_back(kDigits[v >> 4]);
                data.push_back(kDigits[v & 15]);
                if (x % 32 == 31) data.push_back('\n');
            }
            if (hex) data.push_back('\n');
        }
    std::string t = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 6000 4000\n";
    t += "%ImageData: 6000 4000 8 3 0 6000 " + std::string(hex ? "2" : "1") + " \"beginimage\"\n";
    t += "%%BeginBinary: " + std::to_string(data.size() + 11) + "\nbeginimage\n" + data + "\n%%EndBinary\n%%EOF\n";
    return WriteText(path, t);
}

fs::path File(const char* name) { return gFolder / name; }

void BM_LibtiffReadRGBA(benchmark::State& state) {
    const fs::path file = File("picture.tif");
    for (auto _ : state) {
        TIFF* t = TIFFOpen(file.c_str(), "r");
        auto* raster = static_cast<uint32_t*>(_TIFFmalloc(tmsize_t(kWidth) * kHeight * 4));
        if (!t || !raster || !TIFFReadRGBAImageOriented(t, kWidth, kHeight, raster, ORIENTATION_TOPLEFT, 0))
            state.SkipWithError("libtiff failed");
        benchmark::DoNotOptimize(raster);
        _TIFFfree(raster);
        if (t) TIFFClose(t);
    }
}

using Decoder = DibBufferPtr (*)(const fs::path&, const Rect16*, int&);

void Decode(benchmark::State& state, Decoder decode, const char* name) {
    const fs::path file = File(name);
    for (auto _ : state) {
        int messageId = 0;
        DibBufferPtr picture = decode(file, nullptr, messageId);
        if (!picture) state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(DibBuffer::GetBits(picture.get()));
    }
}

void BM_DecodeTiff(benchmark::State& state) { Decode(state, DecodeTiffImage, "picture.tif"); }
void BM_DecodeBmp(benchmark::State& state) { Decode(state, DecodeBitmapFile, "picture.bmp"); }
void BM_DecodeEps(benchmark::State& state, const char* name) { Decode(state, DecodeEpsImage, name); }

BENCHMARK(BM_LibtiffReadRGBA)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeTiff)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DecodeEps, Binary, "binary.eps")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_DecodeEps, Hex, "hex.eps")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchFolder folder;
    gFolder = folder.Path();
    if (gFolder.empty()) return 1;
    if (!WriteTiff(File("picture.tif")) || !WriteBmp(File("picture.bmp")) || !WriteEps(File("binary.eps"), false) ||
        !WriteEps(File("hex.eps"), true)) {
        std::fprintf(stderr, "the benchmark files could not be written in %s\n", gFolder.c_str());
        return 1;
    }
    return bench::RunWithRatios(argc, argv, {
        {"BM_DecodeTiff/real_time", "BM_LibtiffReadRGBA/real_time", 1.0},
        {"BM_DecodeBmp/real_time", "BM_DecodeTiff/real_time", 1.5},
        {"BM_DecodeEps/Binary/real_time", "BM_DecodeTiff/real_time", 1.5},
        {"BM_DecodeEps/Hex/real_time", "BM_DecodeTiff/real_time", 3.0},
    });
}
