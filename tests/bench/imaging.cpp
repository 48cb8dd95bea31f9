// Picture copies and temporary buffers against what the machine does without them:
// cairo scaling the same ARGB32 pixels, memcpy, plain write() and a plain mmap; JPEG
// decoding and header reading against libjpeg's djpeg and jpeg_read_header.
// Run by hand (scripts/bench-imaging); the ratios at the end come from paired runs.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "LibjpegHeader.h"
#include "imaging/CopyDib.h"
#include "imaging/JpegError.h"
#include "imaging/JpegReader.h"
#include "imaging/TempBuffer.h"
#include "model/CImageObj.h"
#include "model/ImageInfoReaders.h"
#include "model/PictureLoader.h"
#include "platform/system/Folders.h"

namespace fs = std::filesystem;
using namespace vx;

namespace {

constexpr int kSourceWidth = 6000;
constexpr int kSourceHeight = 4000;
constexpr size_t kFileBytes = 96u * 1000u * 1000u;
constexpr size_t kPage = 4096;

// Written once: fresh zero pages would be faulted in by the first timed iteration.
DibBufferPtr MakeBuffer(int width, int height) {
    Rect16 r;
    r.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    if (DibBuffer::Create(&raw, 32, r) != 0) std::abort();
    uint64_t bytes = 0;
    uint8_t* bits = DibBuffer::GetBitsAndCount(raw, &bytes);
    std::memset(bits, 0, size_t(bytes));
    return DibBufferPtr(raw);
}

const DibBuffer* Source() {
    static DibBufferPtr source = [] {
        DibBufferPtr b = MakeBuffer(kSourceWidth, kSourceHeight);
        uint8_t* bits = DibBuffer::GetBits(b.get());
        for (size_t i = 0; i < size_t(kSourceWidth) * kSourceHeight * 4; ++i)
            bits[i] = uint8_t(i * 2654435761u >> 24);
        return b;
    }();
    return source.get();
}

void BM_CopyDib(benchmark::State& state, int width, int height) {
    const DibBuffer* source = Source();
    DibBufferPtr target = MakeBuffer(width, height);
    for (auto _ : state) {
        if (!CopyDib(source, target.get())) state.SkipWithError("CopyDib failed");
        benchmark::DoNotOptimize(DibBuffer::GetBits(target.get()));
    }
}

void Cairo(benchmark::State& state, int width, int height, cairo_filter_t filter) {
    // The source pixels wrapped as they are: the stride 4 x width is cairo's own.
    uint8_t* bits = const_cast<uint8_t*>(DibBuffer::GetBits(Source()));
    cairo_surface_t* source = cairo_image_surface_create_for_data(
        bits, CAIRO_FORMAT_ARGB32, kSourceWidth, kSourceHeight, kSourceWidth * 4);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    std::memset(cairo_image_surface_get_data(target), 0,
                size_t(cairo_image_surface_get_stride(target)) * size_t(height));
    cairo_surface_mark_dirty(target);
    for (auto _ : state) {
        cairo_t* cr = cairo_create(target);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_scale(cr, double(width) / kSourceWidth, double(height) / kSourceHeight);
        cairo_set_source_surface(cr, source, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), filter);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(target);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(target));
    }
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
}

void BM_CairoNearest(benchmark::State& state, int width, int height) {
    Cairo(state, width, height, CAIRO_FILTER_NEAREST);
}

void BM_CairoGood(benchmark::State& state, int width, int height) {
    Cairo(state, width, height, CAIRO_FILTER_GOOD);
}

void BM_Memcpy(benchmark::State& state) {
    const DibBuffer* source = Source();
    DibBufferPtr target = MakeBuffer(kSourceWidth, kSourceHeight);
    const size_t bytes = size_t(kSourceWidth) * kSourceHeight * 4;
    for (auto _ : state) {
        std::memcpy(DibBuffer::GetBits(target.get()), DibBuffer::GetBits(source), bytes);
        benchmark::DoNotOptimize(DibBuffer::GetBits(target.get()));
    }
}

const std::vector<uint8_t>& FileBytes() {
    static const std::vector<uint8_t> bytes(kFileBytes, 0x5A);
    return bytes;
}

// The 96 MB are made before the timing, not in the first timed iteration.
void BM_TempBufferCreate(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = FileBytes();
    for (auto _ : state) {
        TempBuffer buffer;
        if (!buffer.Create(bytes.data(), bytes.size())) state.SkipWithError("Create failed");
    }
}

void BM_PlainWrite(benchmark::State& state) {
    const std::string path = (TempFolder() / "plain").string();
    const std::vector<uint8_t>& bytes = FileBytes();
    for (auto _ : state) {
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            state.SkipWithError("open failed");
            break;
        }
        const uint8_t* p = bytes.data();
        size_t left = bytes.size();
        while (left > 0) {
            ssize_t n = write(fd, p, left);
            if (n <= 0) break;
            p += n;
            left -= size_t(n);
        }
        close(fd);
        unlink(path.c_str());
    }
}

uint64_t TouchPages(const void* view, size_t size) {
    uint64_t sum = 0;
    const auto* p = static_cast<const volatile uint8_t*>(view);
    for (size_t i = 0; i < size; i += kPage) sum += p[i];
    return sum;
}

// One file for both mapping benchmarks, on the disk before they start: a file written just
// before the timing would still be written out while it runs.
TempBuffer& MappedFile() {
    static TempBuffer buffer;
    static const bool made = [] {
        if (!buffer.Create(FileBytes().data(), FileBytes().size())) return false;
        const int fd = open(buffer.Path().c_str(), O_RDONLY | O_CLOEXEC);
        const bool synced = fd >= 0 && fdatasync(fd) == 0;
        if (fd >= 0) close(fd);
        return synced;
    }();
    if (!made) std::abort();
    return buffer;
}

void BM_TempBufferMapRead(benchmark::State& state) {
    TempBuffer& buffer = MappedFile();
    for (auto _ : state) {
        void* view = nullptr;
        uint64_t size = 0;
        if (!buffer.Map(&view, &size)) {
            state.SkipWithError("Map failed");
            break;
        }
        benchmark::DoNotOptimize(TouchPages(view, size_t(size)));
        buffer.Unmap();
    }
}

void BM_DirectMapRead(benchmark::State& state) {
    const fs::path& path = MappedFile().Path();
    for (auto _ : state) {
        int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
        struct stat st {};
        fstat(fd, &st);
        void* view = mmap(nullptr, size_t(st.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        benchmark::DoNotOptimize(TouchPages(view, size_t(st.st_size)));
        munmap(view, size_t(st.st_size));
    }
}

// JPEG decoding against libjpeg's own command-line decoder on the same file: a
// 6000 x 4000 photograph-like picture at quality 90.
constexpr int kJpegWidth = 6000;
constexpr int kJpegHeight = 4000;

// Trivial locals only: libjpeg jumps back here on an error.
bool CompressFile(jpeg_compress_struct& c, JpegErrorManager& errors, std::FILE* out,
                  const std::vector<uint8_t>& rgb) {
    c.err = InitJpegErrorManager(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&c);
        return false;
    }
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, out);
    c.image_width = kJpegWidth;
    c.image_height = kJpegHeight;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(rgb.data()) + size_t(c.next_scanline) * kJpegWidth * 3;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return true;
}

const std::string& JpegFile() {
    static const std::string path = [] {
        // Smooth shapes with fine grain, so that the file is as busy as a photograph.
        std::vector<uint8_t> rgb(size_t(kJpegWidth) * kJpegHeight * 3);
        uint32_t noise = 12345;
        for (int y = 0; y < kJpegHeight; ++y)
            for (int x = 0; x < kJpegWidth; ++x) {
                uint8_t* p = &rgb[(size_t(y) * kJpegWidth + size_t(x)) * 3];
                noise = noise * 1664525u + 1013904223u;
                const int grain = int(noise >> 28) - 8;
                p[0] = uint8_t(128 + 90 * std::sin(x * 0.004 + y * 0.001) + grain);
                p[1] = uint8_t(128 + 90 * std::sin(y * 0.005 + std::cos(x * 0.002)) + grain);
                p[2] = uint8_t(128 + 90 * std::cos((x + y) * 0.003) + grain);
            }
        const std::string file = (TempFolder() / "photo.jpg").string();
        std::FILE* out = std::fopen(file.c_str(), "wb");
        jpeg_compress_struct c{};
        JpegErrorManager errors{};
        if (!out || !CompressFile(c, errors, out, rgb) || std::fclose(out) != 0) std::abort();
        return file;
    }();
    return path;
}

void BM_DecodeJpeg(benchmark::State& state, int denominator) {
    Rect16 target;
    target.Set(0, 0, int16_t(kJpegWidth / denominator), int16_t(kJpegHeight / denominator));
    const std::string& file = JpegFile();  // made once, outside the timing
    for (auto _ : state) {
        int messageId = 0;
        DibBufferPtr b = DecodeJpegFile(file, denominator == 1 ? nullptr : &target, messageId);
        if (!b) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(b.get());
    }
}

void BM_PreviewLoad(benchmark::State& state) {
    CImageObj item(false);
    item.SetFilePath(JpegFile());
    if (!ReadJpegInfo(item)) state.SkipWithError("no description");
    for (auto _ : state) {
        Rect16 target;
        target.Set(0, 0, 300, 200);
        DibBufferPtr b = LoadPictureBuffer(item, kPictureModePreview, target);
        if (!b) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(b.get());
    }
}

void BM_Djpeg(benchmark::State& state, int denominator) {
    const std::string scale = "1/" + std::to_string(denominator);
    std::vector<std::string> args = {"djpeg", "-outfile", "/dev/null"};
    if (denominator > 1) args.insert(args.end(), {"-scale", scale});
    args.push_back(JpegFile());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawnp(&pid, "djpeg", nullptr, nullptr, argv.data(), environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("djpeg failed (scripts/setup installs libjpeg-turbo-progs)");
            break;
        }
    }
}

void BM_ReadJpegInfo(benchmark::State& state) {
    const std::string& file = JpegFile();
    for (auto _ : state) {
        JpegFileInfo info;
        if (!ReadJpegInfo(file, info)) state.SkipWithError("no description");
        benchmark::DoNotOptimize(info.description.width);
    }
}

void BM_JpegReadHeader(benchmark::State& state) {
    const std::string& file = JpegFile();
    for (auto _ : state)
        if (!bench::ReadJpegHeaderWithLibjpeg(file.c_str())) state.SkipWithError("header failed");
}

#define VX_SCALINGS(fn)                                                              \
    BENCHMARK_CAPTURE(fn, To1000x667, 1000, 667)->Unit(benchmark::kMillisecond);    \
    BENCHMARK_CAPTURE(fn, To3000x2000, 3000, 2000)->Unit(benchmark::kMillisecond);  \
    BENCHMARK_CAPTURE(fn, To12000x8000, 12000, 8000)->Unit(benchmark::kMillisecond)

VX_SCALINGS(BM_CopyDib);
VX_SCALINGS(BM_CairoNearest);
VX_SCALINGS(BM_CairoGood);
BENCHMARK_CAPTURE(BM_CopyDib, Equal, kSourceWidth, kSourceHeight)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TempBufferCreate)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TempBufferMapRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DirectMapRead)->Unit(benchmark::kMillisecond)->UseRealTime();
#define VX_JPEG_SCALES(fn)                                                        \
    BENCHMARK_CAPTURE(fn, Full, 1)->Unit(benchmark::kMillisecond)->UseRealTime(); \
    BENCHMARK_CAPTURE(fn, Half, 2)->Unit(benchmark::kMillisecond)->UseRealTime(); \
    BENCHMARK_CAPTURE(fn, Quarter, 4)->Unit(benchmark::kMillisecond)->UseRealTime(); \
    BENCHMARK_CAPTURE(fn, Eighth, 8)->Unit(benchmark::kMillisecond)->UseRealTime()
VX_JPEG_SCALES(BM_DecodeJpeg);
VX_JPEG_SCALES(BM_Djpeg);
BENCHMARK(BM_PreviewLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadJpegInfo)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_JpegReadHeader)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchFolder folder;
    if (folder.Path().empty()) return 1;
    return bench::RunWithRatios(argc, argv, {
        {"BM_CopyDib/To1000x667", "BM_CairoNearest/To1000x667", 1.5},
        {"BM_CopyDib/To3000x2000", "BM_CairoNearest/To3000x2000", 1.5},
        {"BM_CopyDib/To12000x8000", "BM_CairoNearest/To12000x8000", 1.5},
        {"BM_CopyDib/To1000x667", "BM_CairoGood/To1000x667", 0},
        {"BM_CopyDib/To3000x2000", "BM_CairoGood/To3000x2000", 0},
        {"BM_CopyDib/To12000x8000", "BM_CairoGood/To12000x8000", 0},
        {"BM_CopyDib/Equal", "BM_Memcpy", 1.2},
        {"BM_TempBufferCreate/real_time", "BM_PlainWrite/real_time", 1.2},
        {"BM_TempBufferMapRead/real_time", "BM_DirectMapRead/real_time", 1.2},
        {"BM_DecodeJpeg/Full/real_time", "BM_Djpeg/Full/real_time", 1.15},
        {"BM_DecodeJpeg/Half/real_time", "BM_Djpeg/Half/real_time", 1.15},
        {"BM_DecodeJpeg/Quarter/real_time", "BM_Djpeg/Quarter/real_time", 1.15},
        {"BM_DecodeJpeg/Eighth/real_time", "BM_Djpeg/Eighth/real_time", 1.15},
        {"BM_PreviewLoad/real_time", "BM_Djpeg/Eighth/real_time", 1.3},
        {"BM_ReadJpegInfo/real_time", "BM_JpegReadHeader/real_time", 2.0},
    });
}
