// Relayout of a full layout against one deep copy of the same layout (items, no pixel
// data): 999 images over 50 pages and 20 free texts. Automatic layout changes its
// alignment every time, as the alignment dialog does live; free layout keeps items on
// their pages as after a drag step. Selecting the images in the folders of the selected
// ones, with every image selected, on 999 images in 50 folders against 100 in 5: the
// time grows with the items, not with their square. Adding 200 JPEGs one by one takes
// little more than decoding their previews. Run by hand (scripts/bench-model);
// the ratios at the end come from paired runs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "imaging/JpegEncoder.h"
#include "imaging/JpegReader.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/ImageAdding.h"
#include "model/ImageSorting.h"
#include "model/ObjectList.h"
#include "model/Relayout.h"
#include "model/SelectObjects.h"
#include "model/UndoStore.h"

using namespace vx;

namespace {

constexpr int kImages = 999;
constexpr int kTexts = 20;

// Paper 1200 x 1000 with margins 100: 5 images of 180 x 180 a row, 4 rows a page.
std::unique_ptr<CLayoutSetting> MakeLayout(bool free) {
    auto layout = std::make_unique<CLayoutSetting>(true);
    layout->SetPaper({1200, 1000});
    layout->SetMargin({100, 100, 100, 100});
    layout->SetSpace({20, 20});
    layout->SetAlign({5, 4});
    layout->SetVerticalAlign(4);
    layout->SetPageMax(100);
    layout->RenewViewState();
    const auto add = [&](std::unique_ptr<CLayoutObj> item, int32_t x, int32_t y, int32_t size) {
        item->SetOwner(layout.get());
        item->SetPosition(x, y);
        item->SetSize(size, size);
        if (!AppendObject(layout->ItemListHead(), item)) std::abort();
    };
    for (int i = 0; i < kImages; ++i) add(std::make_unique<CImageObj>(true), -32767, 0, 180);
    for (int i = 0; i < kTexts; ++i) add(std::make_unique<CTextObj>(true), 150, 2500 * i + 300, 400);
    if (Relayout(*layout) != 1) std::abort();
    layout->SetFree(free);
    return layout;
}

void BM_CopyDeep(benchmark::State& state) {
    const std::unique_ptr<CLayoutSetting> source = MakeLayout(false);
    for (auto _ : state) {
        CLayoutSetting copy(false);
        copy.CopyDeep(*source, true, true, false);
        benchmark::DoNotOptimize(copy.GetFirstItem());
    }
}

void BM_RelayoutAutomatic(benchmark::State& state) {
    const std::unique_ptr<CLayoutSetting> layout = MakeLayout(false);
    int32_t step = 0;
    for (auto _ : state) {
        ++step;
        layout->SetAlign({step % 2 ? 1 : 5, step % 3 + 1});
        layout->SetVerticalAlign(int16_t(step % 2 ? 2 : 4));
        if (Relayout(*layout) != 1) state.SkipWithError("relayout refused");
    }
}

void BM_RelayoutFree(benchmark::State& state) {
    const std::unique_ptr<CLayoutSetting> layout = MakeLayout(true);
    CLayoutObj* dragged = layout->GetFirstItem();
    for (auto _ : state) {
        dragged->SetPosition(1500, 300);  // dragged off the right edge
        Relayout(*layout);
    }
}

// The print job asks every image whether it is transparent: HasTransparency on a
// mapped, opaque 6000 x 4000 picture against one sequential read of the same bytes.

/// An image item with an opaque 6000 x 4000 working bitmap, held mapped.
struct MappedPicture {
    CImageObj item{true};
    std::unique_ptr<CImageBitmapLock> lock;

    MappedPicture() {
        Rect16 r;
        r.Set(0, 0, 6000, 4000);
        DibBuffer* raw = nullptr;
        if (DibBuffer::Create(&raw, 32, r) != 0) std::abort();
        uint8_t* px = DibBuffer::GetBits(raw);
        for (size_t i = 0; i < size_t(6000) * 4000; ++i) {
            px[4 * i] = uint8_t(i);
            px[4 * i + 1] = uint8_t(i >> 8);
            px[4 * i + 2] = uint8_t(i >> 16);
            px[4 * i + 3] = 255;
        }
        if (!item.SetWorkingBitmap(DibBufferPtr(raw))) std::abort();
        lock = std::make_unique<CImageBitmapLock>(item);
    }
};
std::unique_ptr<MappedPicture> gPicture;

MappedPicture& Picture() {
    if (!gPicture) gPicture = std::make_unique<MappedPicture>();
    return *gPicture;
}

void BM_HasTransparency(benchmark::State& state) {
    CImageObj& item = Picture().item;
    for (auto _ : state)
        if (item.HasTransparency()) state.SkipWithError("an opaque picture found transparent");
}

void BM_SumPictureWords(benchmark::State& state) {
    const std::span<uint8_t> pixels = Picture().lock->Pixels();
    for (auto _ : state) {
        uint64_t sum = 0;
        for (size_t i = 0; i + 8 <= pixels.size(); i += 8) {
            uint64_t w;
            std::memcpy(&w, pixels.data() + i, 8);
            sum += w;
        }
        benchmark::DoNotOptimize(sum);
    }
}

// range(0) images spread over range(1) folders, all selected.
void BM_SelectImagesInFolder(benchmark::State& state) {
    CLayoutSetting layout(true);
    const int images = int(state.range(0)), folders = int(state.range(1));
    for (int i = 0; i < images; ++i) {
        auto image = std::make_unique<CImageObj>(true);
        image->SetOwner(&layout);
        image->SetFilePath("/bilder/ordner" + std::to_string(i % folders) + "/bild" + std::to_string(i) + ".jpg");
        image->SetSelected(1);
        if (!AppendObject(layout.ItemListHead(), image)) std::abort();
    }
    for (auto _ : state) benchmark::DoNotOptimize(SelectObjects(layout, kSelectImagesInFolder));
}

}  // namespace

// Adding images one by one against decoding their previews alone: 200 generated
// 1200 x 800 JPEGs without thumbnails, into an automatic A4 layout.
constexpr int kAddedImages = 200;

const std::vector<std::filesystem::path>& AddedJpegs() {
    static std::vector<std::filesystem::path> paths;
    static std::filesystem::path folder;
    if (!paths.empty()) return paths;
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = (std::filesystem::path(tmp && *tmp ? tmp : "/var/tmp") / "vellicorex-bench-jpegs-XXXXXX").string();
    if (!mkdtemp(dir.data())) std::abort();
    folder = dir;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    });
    std::vector<uint8_t> pixels(size_t(1200) * 800 * 4);
    for (int i = 0; i < kAddedImages; ++i) {
        for (size_t p = 0; p < size_t(1200) * 800; ++p) {
            const size_t x = p % 1200, y = p / 1200;
            pixels[4 * p] = uint8_t(x + i);
            pixels[4 * p + 1] = uint8_t(y * 3 + i);
            pixels[4 * p + 2] = uint8_t((x ^ y) + i * 7);
        }
        const std::optional<std::vector<uint8_t>> jpeg = EncodeJpegToMemory(1200, 800, pixels.data());
        if (!jpeg) std::abort();
        paths.push_back(folder / ("bild" + std::to_string(i) + ".jpg"));
        std::FILE* f = std::fopen(paths.back().c_str(), "wb");
        if (!f || std::fwrite(jpeg->data(), 1, jpeg->size(), f) != jpeg->size() || std::fclose(f) != 0) std::abort();
    }
    return paths;
}

void BM_AddJpegImages(benchmark::State& state) {
    const std::vector<std::filesystem::path>& paths = AddedJpegs();
    for (auto _ : state) {
        state.PauseTiming();
        auto layout = std::make_unique<CLayoutSetting>(true);
        layout->SetPaper({2976, 4209});
        layout->SetMargin({100, 100, 100, 100});
        layout->SetSpace({20, 20});
        layout->SetAlign({1, 1});
        layout->SetVerticalAlign(1);
        layout->SetPageMax(100);
        layout->SetColor(2);
        layout->RenewViewState().zoomNumerator = 1;
        layout->GetViewState()->zoomDenominator = 1;
        layout->SetBaseImage(std::unique_ptr<CImageObj>(CreateImageObj(nullptr, nullptr, "BaseImage")));
        UndoStore undo;
        state.ResumeTiming();
        for (const std::filesystem::path& path : paths)
            if (AddImageFilesToLayout(layout.get(), path, undo) != kAddDone) state.SkipWithError("an image was refused");
        state.PauseTiming();
        layout.reset();
        state.ResumeTiming();
    }
}

void BM_DecodeJpegPreviews(benchmark::State& state) {
    const std::vector<std::filesystem::path>& paths = AddedJpegs();
    Rect16 target;
    target.Set(0, 0, 300, 200);
    for (auto _ : state)
        for (const std::filesystem::path& path : paths) {
            int messageId = 0;
            DibBufferPtr preview = DecodeJpegFile(path, &target, messageId);
            if (!preview) state.SkipWithError("a preview was not decoded");
            benchmark::DoNotOptimize(preview.get());
        }
}

BENCHMARK(BM_SelectImagesInFolder)->Args({100, 5})->Args({999, 50})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyDeep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RelayoutAutomatic)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RelayoutFree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SumPictureWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HasTransparency)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddJpegImages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeJpegPreviews)->Unit(benchmark::kMillisecond);

// SortImages by file name, the whole command (snapshot, undo entry, sort, numbering,
// relayout), on 999 images against 100 from the same scrambled order each time: the
// names are folded once per image, so the time grows with n log n.
namespace {

std::unique_ptr<CLayoutSetting> MakeNamedImages(int count, std::vector<CLayoutObj*>& scrambled) {
    std::unique_ptr<CLayoutSetting> layout = MakeLayout(false);
    while (RemoveLastObject(layout->ItemListHead())) {
    }
    static const char* const kStems[] = {"Bild", "bild", "\xC3\x84pfel", "A\xCC\x88rmel", "Urlaub"};
    for (int i = 0; i < count; ++i) {
        auto image = std::make_unique<CImageObj>(true);
        image->SetOwner(layout.get());
        image->SetPosition(-32767, 0);
        image->SetSize(180, 180);
        const int n = int((int64_t(i) * 7919) % count);
        image->SetFilePath("/fotos/" + std::string(kStems[n % 5]) + " " + std::to_string(n) + ".jpg");
        scrambled.push_back(image.get());
        if (!AppendObject(layout->ItemListHead(), image)) std::abort();
    }
    return layout;
}

void BM_SortImagesByName(benchmark::State& state) {
    std::vector<CLayoutObj*> scrambled;
    const std::unique_ptr<CLayoutSetting> layout = MakeNamedImages(int(state.range(0)), scrambled);
    UndoStore undo;
    for (auto _ : state) {
        state.PauseTiming();
        for (size_t i = 0; i + 1 < scrambled.size(); ++i) scrambled[i]->SetNext(scrambled[i + 1]);
        scrambled.back()->SetNext(nullptr);
        *layout->ItemListHead() = scrambled.front();
        state.ResumeTiming();
        if (SortImages(undo, layout.get(), kSortFileName) != 1) state.SkipWithError("sort refused");
    }
}

}  // namespace

BENCHMARK(BM_SortImagesByName)->Arg(100)->Arg(999)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    const bench::BenchFolder folder;
    const int status = bench::RunWithRatios(argc, argv, {
        {"BM_RelayoutAutomatic", "BM_CopyDeep", 20},
        {"BM_RelayoutFree", "BM_CopyDeep", 10},
        {"BM_HasTransparency", "BM_SumPictureWords", 1.5},
        {"BM_SelectImagesInFolder/999/50", "BM_SelectImagesInFolder/100/5", 15},
        {"BM_AddJpegImages", "BM_DecodeJpegPreviews", 2},
        {"BM_SortImagesByName/999", "BM_SortImagesByName/100", 20},
    });
    gPicture.reset();  // its file lies in the folder
    return status;
}
