// Copying a template with its images into a user category against cp -r of its folder.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateOrganizing.h"

namespace fs = std::filesystem;

extern char** environ;

namespace vx {
namespace {

constexpr int kImages = 20;
constexpr size_t kImageBytes = 5u << 20;

/// A standard template "Foto.kqt" with 20 images of 5 MB in "Foto/", made once.
struct CopyFixture {
    bench::BenchFolder folder;
    fs::path templates;
    fs::path source;
    CTemplateInfoArray catalog;

    CopyFixture() {
        templates = folder.Path() / "Templates";
        fs::create_directories(templates / "Foto");
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n<layout>\n"
                           "<NameGenre>\"General\"</NameGenre>\n<NameOutputImageForm>\"Photo\"</NameOutputImageForm>\n"
                           "</layout>\n<object>\n";
        std::mt19937_64 random(42);
        std::vector<uint64_t> bytes(kImageBytes / 8);
        for (int i = 0; i < kImages; ++i) {
            for (uint64_t& b : bytes) b = random();
            const std::string name = "bild" + std::to_string(i) + ".jpg";
            std::ofstream(templates / "Foto" / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(kImageBytes));
            text += "<image>\n<RelativeDir>\"./Foto/\"</RelativeDir>\n<File>\"" + name + "\"</File>\n</image>\n";
        }
        text += "</object>\n</root>\n";
        source = templates / "Foto.kqt";
        std::ofstream(source, std::ios::binary) << text;
        ScanTemplateFolders(templates, "kqt", 0, catalog);
    }
};

CopyFixture& Fixture() {
    static CopyFixture fixture;
    return fixture;
}

void RemoveCopy(const fs::path& kqt, const fs::path& folder) {
    std::error_code ec;
    fs::remove(kqt, ec);
    fs::remove_all(folder, ec);
}

void BM_CopyTemplateToCategory(benchmark::State& state) {
    CopyFixture& f = Fixture();
    const CTemplateInfoArray before = f.catalog;
    for (auto _ : state) {
        if (!CopyTemplateToCategory(f.catalog, f.source.string(), "Kunden", f.templates)) state.SkipWithError("copy failed");
        state.PauseTiming();
        RemoveCopy(f.templates / "Foto_copy(0).kqt", f.templates / "Foto_copy(0)");
        f.catalog = before;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kImages * int64_t(kImageBytes));
}

void BM_CpRecursive(benchmark::State& state) {
    CopyFixture& f = Fixture();
    const std::string from = (f.templates / "Foto").string();
    const std::string to = (f.templates / "Kopie").string();
    for (auto _ : state) {
        char* argv[] = {const_cast<char*>("cp"), const_cast<char*>("-r"), const_cast<char*>(from.c_str()),
                        const_cast<char*>(to.c_str()), nullptr};
        pid_t pid = 0;
        int status = 0;
        if (posix_spawnp(&pid, "cp", nullptr, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid ||
            status != 0)
            state.SkipWithError("cp failed");
        state.PauseTiming();
        RemoveCopy({}, to);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kImages * int64_t(kImageBytes));
}

}  // namespace
}  // namespace vx

BENCHMARK(vx::BM_CopyTemplateToCategory)->Unit(benchmark::kMillisecond);
BENCHMARK(vx::BM_CpRecursive)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return vx::bench::RunWithRatios(argc, argv, {
        {"vx::BM_CopyTemplateToCategory", "vx::BM_CpRecursive", 1.3},
    });
}
