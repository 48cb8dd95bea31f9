// The colour dialogs' profile lists and the stamp dialog's file trial against the work
// they stand on: filling the three input lists from 200 profiles with nothing known
// against LittleCMS opening each file and reading its description, and with the
// catalogue warm against one catalogue listing; trying a 6000 x 4000 JPEG as a stamp
// against loading its picture. Run by hand.
#include <benchmark/benchmark.h>
#include <lcms2.h>

#include <chrono>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "LibjpegHeader.h"
#include "RatioReporter.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "colourmanagement/ProfileDirectoryCache.h"
#include "dialogs/ImageStampController.h"
#include "dialogs/ProfileLists.h"
#include "imaging/JpegError.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageAdding.h"
#include "model/PictureLoader.h"
#include "platform/colour/ColourDirectories.h"
#include "platform/system/Folders.h"

namespace fs = std::filesystem;
using namespace vx;

namespace {

constexpr int kProfiles = 200;
constexpr int kJpegWidth = 6000;
constexpr int kJpegHeight = 4000;

fs::path gProfiles;
fs::path gJpeg;

void WriteProfile(const fs::path& path, const std::string& description, int kind) {
    cmsHPROFILE p = cmsCreate_sRGBProfile();
    // A mix as a colour folder holds it: displays, RGB printers and a few of other spaces.
    if (kind == 1) cmsSetDeviceClass(p, cmsSigOutputClass);
    cmsSetProfileVersion(p, 2.1);
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(mlu, "en", "US", description.c_str());
    cmsWriteTag(p, cmsSigProfileDescriptionTag, mlu);
    cmsMLUfree(mlu);
    cmsSaveProfileToFile(p, path.c_str());
    cmsCloseProfile(p);
}

void MakeProfiles(const fs::path& root) {
    gProfiles = root / "icc";
    fs::create_directories(gProfiles);
    const fs::path data = DataFolder() / "icc";
    for (const char* name : {"sRGB Color Space Profile.ICM", "Marlo_CMYK.icc"}) fs::copy_file(data / name, gProfiles / name);
    for (int i = 0; i < kProfiles - 2; ++i)
        WriteProfile(gProfiles / ("profil " + std::to_string(1000 + i) + (i % 3 ? ".icc" : ".icm")),
                     "Profil " + std::to_string(i), i % 2);
    // A listing of a folder that changed a moment ago is not trusted: date it back.
    fs::last_write_time(gProfiles, fs::file_time_type::clock::now() - std::chrono::hours(1));
    SetColourDirectories(std::vector<fs::path>{gProfiles});
}

// Trivial locals only: libjpeg jumps back here on an error.
bool CompressFile(jpeg_compress_struct& c, JpegErrorManager& errors, std::FILE* out, const std::vector<uint8_t>& rgb) {
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

void MakeJpeg(const fs::path& root) {
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
    gJpeg = root / "stempel.jpg";
    std::FILE* out = std::fopen(gJpeg.c_str(), "wb");
    jpeg_compress_struct c{};
    JpegErrorManager errors{};
    if (!out || !CompressFile(c, errors, out, rgb) || std::fclose(out) != 0) std::abort();
}

void BM_FillInputListsCold(benchmark::State& state) {
    for (auto _ : state) {
        SharedProfileDirectoryCache().Clear();
        InputProfileLists lists;
        FillInputProfileLists(lists);
        benchmark::DoNotOptimize(lists.source.Size());
    }
}

void BM_OpenEachProfileAndReadDescription(benchmark::State& state) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(gProfiles)) files.push_back(e.path());
    char text[512];
    for (auto _ : state) {
        for (const fs::path& f : files) {
            cmsHPROFILE p = cmsOpenProfileFromFile(f.c_str(), "r");
            if (!p) continue;
            cmsGetProfileInfoASCII(p, cmsInfoDescription, "en", "US", text, sizeof text);
            cmsCloseProfile(p);
            benchmark::DoNotOptimize(text);
        }
    }
}

void BM_FillInputListsWarm(benchmark::State& state) {
    InputProfileLists warm;
    FillInputProfileLists(warm);
    for (auto _ : state) {
        InputProfileLists lists;
        FillInputProfileLists(lists);
        benchmark::DoNotOptimize(lists.source.Size());
    }
    state.counters["source"] = double(warm.source.Size());
}

void BM_ListProfiles(benchmark::State& state) {
    ListProfiles();
    for (auto _ : state) {
        std::vector<ProfileListing> all = ListProfiles();
        benchmark::DoNotOptimize(all.data());
    }
}

void BM_TryStampFile(benchmark::State& state) {
    CLayoutSetting layout(true);
    layout.SetColor(2);
    ImageStampController stamp(&layout);
    for (auto _ : state)
        if (stamp.BuildStamp(gJpeg, 1) != kStampBuilt) state.SkipWithError("stamp failed");
}

void BM_LoadPictureBuffer(benchmark::State& state) {
    CImageObj item(true);
    item.SetType(2);
    if (!OpenImageFile(&item, gJpeg)) state.SkipWithError("no picture");
    for (auto _ : state) {
        Rect16 target;
        target.Set(0, 0, kJpegWidth, kJpegHeight);
        DibBufferPtr b = LoadPictureBuffer(item, kPictureModePrint, target);
        if (!b) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(b.get());
    }
}

}  // namespace

BENCHMARK(BM_FillInputListsCold)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenEachProfileAndReadDescription)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FillInputListsWarm)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_ListProfiles)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_TryStampFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadPictureBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    const bench::BenchFolder folder;
    if (folder.Path().empty()) return 1;
    if (!CreateTempFolder()) return 1;
    MakeProfiles(folder.Path());
    MakeJpeg(folder.Path());
    return bench::RunWithRatios(argc, argv, {
        {"BM_FillInputListsCold/real_time", "BM_OpenEachProfileAndReadDescription/real_time", 1.2},
        {"BM_FillInputListsWarm/real_time", "BM_ListProfiles/real_time", 1.5},
        {"BM_TryStampFile/real_time", "BM_LoadPictureBuffer/real_time", 1.2},
    });
}
