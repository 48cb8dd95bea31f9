// Zel conversion of a 24-megapixel photograph for a 1000 x 667 preview against what it
// must at least do: DecodeJpegFile at that size plus one sRGB to working-space transform
// of the result (built once, as the stand-in keeps its transform too).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "imaging/JpegEncoder.h"
#include "imaging/JpegReader.h"
#include "model/CImageObj.h"
#include "platform/colour/ColourTransform.h"
#include "platform/colour/ProgramProfiles.h"
#include "platform/system/Folders.h"
#include "platform/system/FourCC.h"
#include "zel/StandInZelEngine.h"
#include "zel/ZelConversion.h"
#include "zel/ZelLines.h"

using namespace vx;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr int kTargetWidth = 1000;
constexpr int kTargetHeight = 667;

// An Exif block naming version "0220": the file is an Exif Print picture (level 2).
std::vector<uint8_t> ExifPrintSegment() {
    const uint8_t tiff[] = {'I', 'I', 42, 0, 8, 0, 0, 0,
                            1, 0, 0x69, 0x87, 4, 0, 1, 0, 0, 0, 26, 0, 0, 0, 0, 0, 0, 0,
                            1, 0, 0x00, 0x90, 7, 0, 4, 0, 0, 0, '0', '2', '2', '0', 0, 0, 0, 0};
    std::vector<uint8_t> data = {'E', 'x', 'i', 'f', 0, 0};
    data.insert(data.end(), std::begin(tiff), std::end(tiff));
    std::vector<uint8_t> segment = {0xFF, 0xE1, uint8_t((data.size() + 2) >> 8), uint8_t(data.size() + 2)};
    segment.insert(segment.end(), data.begin(), data.end());
    return segment;
}

const std::string& PhotoFile() {
    static const std::string path = [] {
        std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 4);
        uint32_t noise = 12345;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                uint8_t* p = &pixels[(size_t(y) * kWidth + size_t(x)) * 4];
                noise = noise * 1664525u + 1013904223u;
                const int grain = int(noise >> 28) - 8;
                p[0] = uint8_t(128 + 90 * std::sin(x * 0.004 + y * 0.001) + grain);
                p[1] = uint8_t(128 + 90 * std::sin(y * 0.005 + std::cos(x * 0.002)) + grain);
                p[2] = uint8_t(128 + 90 * std::cos((x + y) * 0.003) + grain);
            }
        std::optional<std::vector<uint8_t>> jpeg = EncodeJpegToMemory(kWidth, kHeight, pixels.data());
        if (!jpeg) std::abort();
        const std::vector<uint8_t> exif = ExifPrintSegment();
        jpeg->insert(jpeg->begin() + 2, exif.begin(), exif.end());
        const std::string file = (TempFolder() / "zel.jpg").string();
        std::FILE* out = std::fopen(file.c_str(), "wb");
        if (!out || std::fwrite(jpeg->data(), 1, jpeg->size(), out) != jpeg->size() || std::fclose(out) != 0)
            std::abort();
        return file;
    }();
    return path;
}

Rect16 Target() {
    Rect16 r;
    r.Set(0, 0, kTargetWidth, kTargetHeight);
    return r;
}

void BM_ZelConvertImage(benchmark::State& state) {
    ZelEngine& engine = InstalledZelEngine();  // the program's, which keeps its transform
    CImageObj item(false);
    item.SetFilePath(PhotoFile());
    item.SetFileType(FourCC("JPEG"));
    item.SetZelFile(QueryZelFile(engine, item.GetFilePath()));
    if (item.GetZelFile() != 2) state.SkipWithError("no Exif Print level");
    const Rect16 target = Target();
    for (auto _ : state) {
        item.SetUseZelFile(2);
        int messageId = 0;
        DibBufferPtr b = ZelConvertImage(engine, item, &target, messageId);
        if (!b) state.SkipWithError("conversion failed");
        benchmark::DoNotOptimize(b.get());
    }
}

void BM_DecodeAndTransform(benchmark::State& state) {
    const std::string& file = PhotoFile();
    ColourProfile srgb = OpenProfileOrDefault("", kSpaceRgb);
    ColourProfile working = OpenProgramProfile(kZelMonitorProfileResource);
    const ChainEntry chain[] = {{&srgb, kIntentRelativeColorimetric}, {&working, kIntentRelativeColorimetric}};
    const ColourTransform transform = ColourTransform::ForPixels(chain, TransformQuality::Proof);
    if (!transform) state.SkipWithError("no transform");
    const Rect16 target = Target();
    for (auto _ : state) {
        int messageId = 0;
        DibBufferPtr b = DecodeJpegFile(file, &target, messageId);
        if (!b) state.SkipWithError("decode failed");
        transform.ApplyToPixels(DibBuffer::GetBits(b.get()), kTargetWidth, kTargetHeight,
                                size_t(DibBuffer::GetRowBytes(b.get())));
        benchmark::DoNotOptimize(b.get());
    }
}

// Context: the line decoder alone, and the reference's decoder alone.
void BM_DecodeYccJpeg(benchmark::State& state) {
    const std::string& file = PhotoFile();
    for (auto _ : state) {
        RgbRows rows = DecodeYccJpeg(file, kTargetWidth, kTargetHeight);
        if (!rows) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(rows.bytes.get());
    }
}

void BM_DecodeJpegFile(benchmark::State& state) {
    const std::string& file = PhotoFile();
    const Rect16 target = Target();
    for (auto _ : state) {
        int messageId = 0;
        DibBufferPtr b = DecodeJpegFile(file, &target, messageId);
        if (!b) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(b.get());
    }
}

BENCHMARK(BM_DecodeYccJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeJpegFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ZelConvertImage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeAndTransform)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchFolder folder;
    if (folder.Path().empty()) return 1;
    return bench::RunWithRatios(argc, argv, {
        {"BM_ZelConvertImage/real_time", "BM_DecodeAndTransform/real_time", 1.5},
    });
}
