// Picture copies and temporary buffers against what the machine does without them:
// cairo scaling the same ARGB32 pixels, memcpy, plain write() and a plain mmap.
// Run by hand (scripts/bench-imaging); the ratios at the end come from this one run.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "imaging/CopyDib.h"
#include "imaging/TempBuffer.h"
#include "platform/system/Folders.h"

namespace fs = std::filesystem;
using namespace vx;

namespace {

constexpr int kSourceWidth = 6000;
constexpr int kSourceHeight = 4000;
constexpr size_t kFileBytes = 96u * 1000u * 1000u;
constexpr size_t kPage = 4096;

DibBufferPtr MakeBuffer(int width, int height) {
    Rect16 r;
    r.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    if (DibBuffer::Create(&raw, 32, r) != 0) std::abort();
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
    DibBufferPtr target = MakeBuffer(width, height);
    for (auto _ : state) {
        if (!CopyDib(Source(), target.get())) state.SkipWithError("CopyDib failed");
        benchmark::DoNotOptimize(DibBuffer::GetBits(target.get()));
    }
}

void Cairo(benchmark::State& state, int width, int height, cairo_filter_t filter) {
    // The source pixels wrapped as they are: the stride 4 x width is cairo's own.
    uint8_t* bits = const_cast<uint8_t*>(DibBuffer::GetBits(Source()));
    cairo_surface_t* source = cairo_image_surface_create_for_data(
        bits, CAIRO_FORMAT_ARGB32, kSourceWidth, kSourceHeight, kSourceWidth * 4);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
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
    DibBufferPtr target = MakeBuffer(kSourceWidth, kSourceHeight);
    const size_t bytes = size_t(kSourceWidth) * kSourceHeight * 4;
    for (auto _ : state) {
        std::memcpy(DibBuffer::GetBits(target.get()), DibBuffer::GetBits(Source()), bytes);
        benchmark::DoNotOptimize(DibBuffer::GetBits(target.get()));
    }
}

const std::vector<uint8_t>& FileBytes() {
    static const std::vector<uint8_t> bytes(kFileBytes, 0x5A);
    return bytes;
}

void BM_TempBufferCreate(benchmark::State& state) {
    for (auto _ : state) {
        TempBuffer buffer;
        if (!buffer.Create(FileBytes().data(), FileBytes().size()))
            state.SkipWithError("Create failed");
    }
}

void BM_PlainWrite(benchmark::State& state) {
    const std::string path = (TempFolder() / "plain").string();
    for (auto _ : state) {
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        const uint8_t* p = FileBytes().data();
        size_t left = FileBytes().size();
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

void BM_TempBufferMapRead(benchmark::State& state) {
    TempBuffer buffer;
    buffer.Create(FileBytes().data(), FileBytes().size());
    for (auto _ : state) {
        void* view = nullptr;
        uint64_t size = 0;
        if (!buffer.Map(&view, &size)) state.SkipWithError("Map failed");
        benchmark::DoNotOptimize(TouchPages(view, size_t(size)));
        buffer.Unmap();
    }
}

void BM_DirectMapRead(benchmark::State& state) {
    TempBuffer buffer;
    buffer.Create(FileBytes().data(), FileBytes().size());
    for (auto _ : state) {
        int fd = open(buffer.Path().c_str(), O_RDWR | O_CLOEXEC);
        struct stat st {};
        fstat(fd, &st);
        void* view = mmap(nullptr, size_t(st.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        close(fd);
        benchmark::DoNotOptimize(TouchPages(view, size_t(st.st_size)));
        munmap(view, size_t(st.st_size));
    }
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

/// Prints as usual, then each measured time over its reference from the same run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred) mTimes[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        struct Pair {
            const char* subject;
            const char* reference;
            double limit;  // 0: for context only
        };
        const Pair pairs[] = {
            {"BM_CopyDib/To1000x667", "BM_CairoNearest/To1000x667", 1.5},
            {"BM_CopyDib/To3000x2000", "BM_CairoNearest/To3000x2000", 1.5},
            {"BM_CopyDib/To12000x8000", "BM_CairoNearest/To12000x8000", 1.5},
            {"BM_CopyDib/To1000x667", "BM_CairoGood/To1000x667", 0},
            {"BM_CopyDib/To3000x2000", "BM_CairoGood/To3000x2000", 0},
            {"BM_CopyDib/To12000x8000", "BM_CairoGood/To12000x8000", 0},
            {"BM_CopyDib/Equal", "BM_Memcpy", 1.2},
            {"BM_TempBufferCreate/real_time", "BM_PlainWrite/real_time", 1.2},
            {"BM_TempBufferMapRead/real_time", "BM_DirectMapRead/real_time", 1.2},
        };
        std::ostream& out = GetOutputStream();
        char line[160];
        std::snprintf(line, sizeof line, "\n%-32s %-32s %7s %6s\n", "measured", "against", "ratio",
                      "limit");
        out << line;
        for (const Pair& p : pairs) {
            auto s = mTimes.find(p.subject);
            auto r = mTimes.find(p.reference);
            if (s == mTimes.end() || r == mTimes.end() || r->second <= 0) continue;
            const double ratio = s->second / r->second;
            char limit[16] = "-";
            if (p.limit > 0) std::snprintf(limit, sizeof limit, "%.1f", p.limit);
            std::snprintf(line, sizeof line, "%-32s %-32s %7.2f %6s%s\n", p.subject, p.reference,
                          ratio, limit, p.limit > 0 && ratio > p.limit ? "  OVER" : "");
            out << line;
        }
        out.flush();
    }

private:
    std::map<std::string, double> mTimes;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // A folder of our own: the program's temporary folder is emptied at its start.
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = (fs::path(tmp && *tmp ? tmp : "/var/tmp") / "vellicorex-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("VELLICOREX_TEMP_DIR", dir.c_str(), 1);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
