// Decoding 6000 x 4000 PNG and Photoshop files through the importers, against libpng's
// simplified reader on the same PNG and a plain read() of the Photoshop file. Run by
// hand; the ratios at the end come from paired runs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "RatioReporter.h"
#include "imaging/FileByteSource.h"
#include "importers/PsdImageReader.h"
#include "importers/PngReader.h"

namespace fs = std::filesystem;
using namespace vx;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

fs::path gFolder;

uint8_t Sample(int x, int y, int c) { return uint8_t((x * 7 + y * 3 + c * 85) ^ (x >> 4) ^ (y >> 3)); }

fs::path File(const char* name) { return gFolder / name; }

bool WritePng(const fs::path& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, 3);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(size_t(kWidth) * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c) row[size_t(x) * 3 + size_t(c)] = Sample(x, y, c);
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

void Put(std::vector<uint8_t>& v, uint32_t x, int bytes) {
    for (int s = (bytes - 1) * 8; s >= 0; s -= 8) v.push_back(uint8_t(x >> s));
}

// A 6000 x 4000 RGB document, raw or PackBits (each row packed as literal runs and runs
// of its repeated bytes).
bool WritePsd(const fs::path& path, bool packBits) {
    std::vector<uint8_t> v = {'8', 'B', 'P', 'S'};
    Put(v, 1, 2);
    v.insert(v.end(), 6, 0);
    Put(v, 3, 2);
    Put(v, kHeight, 4);
    Put(v, kWidth, 4);
    Put(v, 8, 2);
    Put(v, 3, 2);
    Put(v, 0, 4);
    Put(v, 0, 4);
    Put(v, 0, 4);
    Put(v, packBits ? 1 : 0, 2);
    std::vector<uint8_t> row(kWidth);
    if (!packBits) {
        for (int c = 0; c < 3; ++c)
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) v.push_back(Sample(x, y, c));
    } else {
        std::vector<std::vector<uint8_t>> rows;
        for (int c = 0; c < 3; ++c)
            for (int y = 0; y < kHeight; ++y) {
                std::vector<uint8_t> packed;
                for (int x = 0; x < kWidth;) {
                    // Every other block of 64 is one repeated byte.
                    const int n = std::min(64, kWidth - x);
                    if ((x / 64) % 2) {
                        packed.push_back(uint8_t(int8_t(1 - n)));
                        packed.push_back(Sample(x, y, c));
                    } else {
                        packed.push_back(uint8_t(n - 1));
                        for (int i = 0; i < n; ++i) packed.push_back(Sample(x + i, y, c));
                    }
                    x += n;
                }
                rows.push_back(std::move(packed));
            }
        for (const auto& r : rows) Put(v, uint32_t(r.size()), 2);
        for (const auto& r : rows) v.insert(v.end(), r.begin(), r.end());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(v.data()), std::streamsize(v.size()));
    return out.good();
}

void BM_PngReader(benchmark::State& state) {
    for (auto _ : state) {
        FileByteSource file;
        int messageId = 0;
        if (!file.Open(File("picture.png"))) state.SkipWithError("open");
        DibBufferPtr picture = PngReader::Decode(file, messageId);
        if (!picture) state.SkipWithError("decode");
        benchmark::DoNotOptimize(picture.get());
    }
}
BENCHMARK(BM_PngReader)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LibpngSimplified(benchmark::State& state) {
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, File("picture.png").c_str())) state.SkipWithError("begin");
        image.format = PNG_FORMAT_BGRA;
        std::unique_ptr<uint8_t[]> pixels(new uint8_t[PNG_IMAGE_SIZE(image)]);
        if (!png_image_finish_read(&image, nullptr, pixels.get(), 0, nullptr)) state.SkipWithError("finish");
        benchmark::DoNotOptimize(pixels.get());
    }
}
BENCHMARK(BM_LibpngSimplified)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PsdReader(benchmark::State& state, const char* name) {
    for (auto _ : state) {
        FileByteSource file;
        int messageId = 0;
        if (!file.Open(File(name))) state.SkipWithError("open");
        DibBufferPtr picture = PsdImageReader::Decode(file, messageId);
        if (!picture) state.SkipWithError("decode");
        benchmark::DoNotOptimize(picture.get());
    }
}
BENCHMARK_CAPTURE(BM_PsdReader, Raw, "raw.psd")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_PsdReader, PackBits, "packbits.psd")->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor: the raw file read into a fresh buffer of the picture's size.
void BM_ReadRawFile(benchmark::State& state) {
    const size_t size = size_t(fs::file_size(File("raw.psd")));
    for (auto _ : state) {
        std::unique_ptr<uint8_t[]> buffer(new uint8_t[size_t(kWidth) * kHeight * 4]);
        const int fd = open(File("raw.psd").c_str(), O_RDONLY | O_CLOEXEC);
        size_t done = 0;
        while (done < size) {
            const ssize_t n = read(fd, buffer.get() + done, size - done);
            if (n <= 0) break;
            done += size_t(n);
        }
        close(fd);
        benchmark::DoNotOptimize(buffer.get());
    }
}
BENCHMARK(BM_ReadRawFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    char folder[] = "/var/tmp/vellicorex-bench-importers-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    gFolder = folder;
    if (!WritePng(File("picture.png")) || !WritePsd(File("raw.psd"), false) || !WritePsd(File("packbits.psd"), true)) {
        std::fprintf(stderr, "the benchmark files could not be written in %s\n", folder);
        return 1;
    }
    const int result = bench::RunWithRatios(argc, argv, {
        {"BM_PngReader/real_time", "BM_LibpngSimplified/real_time", 1.15},
        {"BM_PsdReader/Raw/real_time", "BM_ReadRawFile/real_time", 3.0},
        {"BM_PsdReader/PackBits/real_time", "BM_ReadRawFile/real_time", 0},
    });
    std::error_code ec;
    fs::remove_all(gFolder, ec);
    return result;
}
