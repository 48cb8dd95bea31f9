// Colour management against LittleCMS doing the same work by hand: a 6000 x 4000
// picture through ColorManageImage against one cmsDoTransform over it with the same
// profiles and flags built once; building the chain anew against that transform; a
// warm description lookup among 100 profiles against opening one profile and reading
// its description; 1,000 page colours through TransformColorForView against one chain
// build plus 1,000 one-pixel transforms. Run by hand (scripts/bench-colour).
#include <benchmark/benchmark.h>
#include <lcms2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "colourmanagement/ChainTransformCache.h"
#include "colourmanagement/PictureColourTransforms.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "colourmanagement/SingleColourTransforms.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "platform/colour/ColourDirectories.h"
#include "platform/colour/ProgramProfiles.h"
#include "platform/system/Folders.h"

namespace fs = std::filesystem;
using namespace vx;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr int kLookupProfiles = 100;
constexpr int kPageColours = 1000;
constexpr cmsUInt32Number kOurFlags = cmsFLAGS_NOWHITEONWHITEFIXUP;  // as the colour layer makes them

const char* const kSrgbDescription = "sRGB IEC61966-2.1";
const char* const kPrintDescription = "TEVRA Photo Print RGB";
const char* const kPrinterFiles[] = {"TEVRA Proof 44 Fotopapier Hochglanz.icc",
                                     "TEVRA Proof 44 Normalpapier.icc"};

fs::path gProfiles;  // the colour directory of the benchmarks
fs::path gLookup;    // 100 described profiles

void WriteFile(const fs::path& path, const void* data, size_t size) {
    std::ofstream(path, std::ios::binary).write(static_cast<const char*>(data), std::streamsize(size));
}

void WriteDescribed(const fs::path& path, const std::string& description) {
    cmsHPROFILE p = cmsCreate_sRGBProfile();
    cmsSetProfileVersion(p, 2.1);
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(mlu, "en", "US", description.c_str());
    cmsWriteTag(p, cmsSigProfileDescriptionTag, mlu);
    cmsMLUfree(mlu);
    cmsSaveProfileToFile(p, path.c_str());
    cmsCloseProfile(p);
}

// Directories whose time lies in the past: a listing of a directory that changed a
// moment ago is not trusted, and such a lookup would list it again.
void Settle(const fs::path& dir) {
    fs::last_write_time(dir, fs::file_time_type::clock::now() - std::chrono::hours(1));
}

void MakeProfiles(const fs::path& root) {
    gProfiles = root / "icc";
    gLookup = root / "lookup";
    fs::create_directories(gProfiles);
    fs::create_directories(gLookup);
    const fs::path data = DataFolder() / "icc";
    for (const char* name : {"sRGB Color Space Profile.ICM", kPrinterFiles[0], kPrinterFiles[1]})
        fs::copy_file(data / name, gProfiles / name);
    // The photo print process as a printer profile file, so that a layout can name it.
    const std::span<const uint8_t> print = ProgramProfileBytes(kPhotoPrintProfileResource);
    WriteFile(gProfiles / "Photo Print.icc", print.data(), print.size());
    for (int i = 0; i < kLookupProfiles; ++i)
        WriteDescribed(gLookup / ("profile " + std::to_string(1000 + i) + ".icc"),
                       "Described " + std::to_string(i));
    Settle(gProfiles);
    Settle(gLookup);
}

std::vector<uint8_t>& Picture() {
    static std::vector<uint8_t> pixels = [] {
        std::vector<uint8_t> p(size_t(kWidth) * kHeight * 4);
        for (size_t i = 0; i < p.size(); ++i) p[i] = uint8_t(i * 2654435761u >> 24);
        return p;
    }();
    return pixels;
}

DibBufferPtr PictureBuffer(int width, int height) {
    Rect16 r;
    r.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    if (DibBuffer::Create(&raw, 32, r) != 0) std::abort();
    std::copy_n(Picture().begin(), size_t(width) * height * 4, DibBuffer::GetBits(raw));
    return DibBufferPtr(raw);
}

// Transforms work in place: every iteration starts from the same pixels, so that its
// work does not depend on how many iterations ran before it. Not timed.
void RestorePicture(benchmark::State& state, DibBuffer* buffer, size_t bytes) {
    state.PauseTiming();
    std::copy_n(Picture().begin(), bytes, DibBuffer::GetBits(buffer));
    state.ResumeTiming();
}

struct Scene {
    CLayoutSetting layout{true};
    CImageObj item{true, "StdImage"};
    Scene() {
        item.SetOwner(&layout);
        item.SetColorSpace(kSpaceRgb);
        item.SetSourceProfile(kSrgbDescription);
        item.SetProfileIntent(1);
        layout.SetRecommend(0);
        layout.Texts().printerProfile = kPrintDescription;
    }
};

// mode 3: sRGB to the print process; mode 2: sRGB to the sRGB monitor. A cold chain is
// built for every picture; otherwise the transform kept from the last one serves, built
// before the timing as the reference builds its own (another benchmark may have emptied
// the store).
void BM_ColorManageImage(benchmark::State& state, int mode, int width, int height, bool coldChain) {
    SetColourDirectories(std::vector<fs::path>{gProfiles});
    Scene scene;
    DibBufferPtr buffer = PictureBuffer(width, height);
    if (!coldChain && !ColorManageImage(buffer.get(), scene.item, mode)) {
        state.SkipWithError("ColorManageImage failed");
        return;
    }
    for (auto _ : state) {
        RestorePicture(state, buffer.get(), size_t(width) * height * 4);
        if (coldChain) SharedChainTransforms().Clear();
        if (!ColorManageImage(buffer.get(), scene.item, mode)) state.SkipWithError("ColorManageImage failed");
    }
}

void BM_CmsDoTransform(benchmark::State& state, int mode) {
    cmsHPROFILE srgb = cmsOpenProfileFromFile((gProfiles / "sRGB Color Space Profile.ICM").c_str(), "r");
    cmsHPROFILE out = mode == 3 ? cmsOpenProfileFromFile((gProfiles / "Photo Print.icc").c_str(), "r") : srgb;
    const cmsUInt32Number flags =
        kOurFlags | cmsFLAGS_COPY_ALPHA | (mode == 3 ? cmsFLAGS_HIGHRESPRECALC : cmsUInt32Number(0));
    cmsHTRANSFORM t = cmsCreateTransform(srgb, TYPE_BGRA_8, out, TYPE_BGRA_8, INTENT_PERCEPTUAL, flags);
    DibBufferPtr buffer = PictureBuffer(kWidth, kHeight);
    uint8_t* bits = DibBuffer::GetBits(buffer.get());
    for (auto _ : state) {
        RestorePicture(state, buffer.get(), size_t(kWidth) * kHeight * 4);
        cmsDoTransform(t, bits, bits, cmsUInt32Number(kWidth) * kHeight);
    }
    cmsDeleteTransform(t);
    if (out != srgb) cmsCloseProfile(out);
    cmsCloseProfile(srgb);
}

void BM_FindProfileFileByDescription(benchmark::State& state) {
    SetColourDirectories(std::vector<fs::path>{gLookup});
    const std::string last = "Described " + std::to_string(kLookupProfiles - 1);
    if (FindProfileFileByDescription(last) != "profile 1099.icc") state.SkipWithError("not found");
    for (auto _ : state) benchmark::DoNotOptimize(FindProfileFileByDescription(last));
}

void BM_OpenProfileAndReadDescription(benchmark::State& state) {
    const fs::path file = gLookup / "profile 1099.icc";
    char text[260];
    for (auto _ : state) {
        cmsHPROFILE p = cmsOpenProfileFromFile(file.c_str(), "r");
        cmsGetProfileInfoASCII(p, cmsInfoDescription, "en", "US", text, sizeof text);
        cmsCloseProfile(p);
        benchmark::DoNotOptimize(text);
    }
}

// Each round builds its chain once, then serves the page's colours.
void BM_TransformColorForView(benchmark::State& state) {
    SetColourDirectories(std::vector<fs::path>{gProfiles});
    std::vector<std::unique_ptr<CLayoutSetting>> layouts;
    for (const char* file : kPrinterFiles) {
        layouts.push_back(std::make_unique<CLayoutSetting>(true));
        layouts.back()->SetRecommend(0);
        layouts.back()->Texts().printerProfile = fs::path(file).stem().string();
    }
    int round = 0;
    for (auto _ : state) {
        const CLayoutSetting* layout = layouts[round++ % 2].get();
        SharedChainTransforms().Clear();
        for (int i = 0; i < kPageColours; ++i)
            benchmark::DoNotOptimize(TransformColorForView(layout, 1, ColorRef(i * 0x10101)));
    }
}

void BM_ChainBuildAndColours(benchmark::State& state) {
    int round = 0;
    for (auto _ : state) {
        cmsHPROFILE srgb = cmsOpenProfileFromFile((gProfiles / "sRGB Color Space Profile.ICM").c_str(), "r");
        cmsHPROFILE printer = cmsOpenProfileFromFile((gProfiles / kPrinterFiles[round++ % 2]).c_str(), "r");
        cmsHTRANSFORM t = cmsCreateTransform(srgb, TYPE_RGB_16, printer, TYPE_RGB_16, INTENT_PERCEPTUAL,
                                             kOurFlags | cmsFLAGS_HIGHRESPRECALC);
        for (int i = 0; i < kPageColours; ++i) {
            const uint16_t in[3] = {uint16_t(i * 257), uint16_t(i * 3 * 257), 0x8080};
            uint16_t out[3];
            cmsDoTransform(t, in, out, 1);
            benchmark::DoNotOptimize(out);
        }
        cmsDeleteTransform(t);
        cmsCloseProfile(printer);
        cmsCloseProfile(srgb);
    }
}

BENCHMARK_CAPTURE(BM_ColorManageImage, Print, 3, kWidth, kHeight, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_CmsDoTransform, Print, 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ColorManageImage, Screen, 2, kWidth, kHeight, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_CmsDoTransform, Screen, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
// One pixel and no kept transform: the chain and its transform, built anew.
BENCHMARK_CAPTURE(BM_ColorManageImage, PrintChain, 3, 1, 1, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ColorManageImage, ScreenChain, 2, 1, 1, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FindProfileFileByDescription)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_OpenProfileAndReadDescription)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_TransformColorForView)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ChainBuildAndColours)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    const bench::BenchFolder folder;
    if (folder.Path().empty()) return 1;
    MakeProfiles(folder.Path());
    return bench::RunWithRatios(argc, argv, {
        {"BM_ColorManageImage/Print/real_time", "BM_CmsDoTransform/Print/real_time", 1.1},
        {"BM_ColorManageImage/Screen/real_time", "BM_CmsDoTransform/Screen/real_time", 1.1},
        {"BM_ColorManageImage/PrintChain/real_time", "BM_CmsDoTransform/Print/real_time", 0.1},
        {"BM_ColorManageImage/ScreenChain/real_time", "BM_CmsDoTransform/Screen/real_time", 0.1},
        {"BM_FindProfileFileByDescription/real_time", "BM_OpenProfileAndReadDescription/real_time", 1.0},
        {"BM_TransformColorForView/real_time", "BM_ChainBuildAndColours/real_time", 2.0},
    });
}
