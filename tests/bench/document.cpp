// Building a layout file from the records against libxml2 writing the finished tree;
// loading one against libxml2 reading it and visiting every node.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "document/ImageItemOpener.h"
#include "document/LayoutXmlReader.h"
#include "document/LayoutXmlWriter.h"
#include "platform/colour/ColourProfile.h"
#include "platform/system/Ports.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/CTextObj.h"
#include "model/ObjectList.h"

namespace vx {
namespace {

template <class T>
T* Add(CLayoutSetting& layout) {
    auto item = std::make_unique<T>(true);
    T* raw = item.get();
    raw->SetOwner(&layout);
    AppendObject(layout.ItemListHead(), item);
    return raw;
}

/// 999 images in ten folders and 20 free texts on an A4 layout drawn by the plain renderer.
std::unique_ptr<CLayoutSetting> MakeLayout() {
    auto layout = std::make_unique<CLayoutSetting>(true);
    layout->SetType(kRecordTypeLayout);
    layout->SetPaper({2976, 4209});
    layout->SetOrientation(1);
    layout->SetColor(2);
    layout->SetAlign({1, 1});
    layout->SetVerticalAlign(1);
    layout->SetPaperColor(0xFFFFFF);
    auto base = std::make_unique<CImageObj>(true);
    base->SetSizeMethod(1);
    layout->SetBaseImage(std::move(base));
    for (int i = 0; i < 999; ++i) {
        CImageObj* image = Add<CImageObj>(*layout);
        image->SetFilePath("/home/user/Bilder/Reise " + std::to_string(i / 100) + "/IMG_" + std::to_string(i) + ".jpg");
        image->SetSizeMethod(1);
        image->SetPosition(i * 10, i * 20);
        image->SetSize(1260, 840);
        image->SetCaptionText("Bild " + std::to_string(i));
        image->SetUseZelFile(3);
        image->SetProfileIntent(1);
    }
    for (int i = 0; i < 20; ++i) Add<CTextObj>(*layout)->SetText("Freier Text " + std::to_string(i) + "\r\nZeile 2");
    return layout;
}

LayoutXmlWriteOptions Options() {
    LayoutXmlWriteOptions o;
    o.documentPath = "/home/user/Layouts/Reise.kqf";
    o.osVersion = "6.1_Linux_0";
    return o;
}

void BM_SerializeLayoutXml(benchmark::State& state) {
    auto layout = MakeLayout();
    const LayoutXmlWriteOptions options = Options();
    for (auto _ : state) {
        std::optional<std::string> bytes = SerializeLayoutXml(*layout, options);
        if (!bytes) state.SkipWithError("not written");
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_DumpFinishedTree(benchmark::State& state) {
    auto layout = MakeLayout();
    XmlDocument doc = BuildLayoutXml(*layout, Options());
    if (!doc) state.SkipWithError("not built");
    for (auto _ : state) {
        xmlChar* bytes = nullptr;
        int size = 0;
        xmlDocDumpFormatMemoryEnc(doc.get(), &bytes, &size, "UTF-8", 1);
        benchmark::DoNotOptimize(bytes);
        xmlFree(bytes);
    }
}

/// The model's image adding without decoding or numbering: items copied from the
/// prototype and appended.
struct CopyingImageOpener : ImageItemOpener {
    CImageObj* CreateImageObj(const CImageObj* prototype, CLayoutObj** list, std::string_view name) override {
        auto item = std::make_unique<CImageObj>(true, name);
        if (prototype) item->CopyFrom(*prototype, false);
        CImageObj* raw = item.get();
        return AppendObject(list, item) ? raw : nullptr;
    }
    bool OpenImageFile(CImageObj& item, const std::filesystem::path& path) override {
        item.SetFilePath(path);
        return true;
    }
    void EnsureWorkingBitmap(CImageObj&) override {}
    void RecalcFrameCaption(CImageObj&) override {}
};

struct YesMessages : MessagePort {
    int Show(int, const Args&, Icon, Buttons) override { return kIdYes; }
};

/// A layout file of 999 images in ten folders that exist, with installed profiles.
struct LoadFixture {
    bench::BenchFolder folder;
    std::filesystem::path file;
    CopyingImageOpener opener;
    YesMessages messages;

    LoadFixture() {
        SetImageItemOpener(&opener);
        SetMessagePort(&messages);
        const std::string profile = GetProfileDescriptionOrDefault(kSpaceRgb, std::nullopt).value_or("");
        auto layout = std::make_unique<CLayoutSetting>(true);
        layout->SetType(kRecordTypeLayout);
        layout->SetPaper({2976, 4209});
        layout->SetOrientation(1);
        layout->SetColor(2);
        layout->SetAlign({1, 1});
        layout->SetVerticalAlign(1);
        layout->SetColorIntentRGB(1);
        layout->SetColorIntentSimulation(1);
        LayoutTexts& t = layout->Texts();
        t.rgbSourceProfile = t.simulationProfile = t.monitorProfile = t.printerProfile = profile;
        auto base = std::make_unique<CImageObj>(true);
        base->SetSizeMethod(1);
        layout->SetBaseImage(std::move(base));
        for (int i = 0; i < 999; ++i) {
            const std::filesystem::path image =
                folder.Path() / ("Reise " + std::to_string(i / 100)) / ("IMG_" + std::to_string(i) + ".jpg");
            std::filesystem::create_directories(image.parent_path());
            std::ofstream(image) << "jpeg";
            CImageObj* item = Add<CImageObj>(*layout);
            item->SetFilePath(image);
            item->SetSizeMethod(1);
            item->SetPosition(i * 10, i * 20);
            item->SetSize(1260, 840);
            item->SetCaptionText("Bild " + std::to_string(i));
            item->SetLabelFontName("DejaVu Sans");
            item->SetCaptionFontName("DejaVu Sans");
            item->SetSourceProfile(profile);
            item->SetSimulationProfile(profile);
            item->SetProfileIntent(1);
        }
        file = folder.Path() / "Reise.kqf";
        if (!SaveLayoutXml(file, *layout)) file.clear();
    }
    ~LoadFixture() {
        SetImageItemOpener(nullptr);
        SetMessagePort(nullptr);
    }
};

LoadFixture& Fixture() {
    static LoadFixture fixture;
    return fixture;
}

void BM_LoadLayoutXml(benchmark::State& state) {
    LoadFixture& f = Fixture();
    for (auto _ : state) {
        LayoutLoad load = LoadLayoutXml(f.file);
        if (!load.Ok() || CountObjects(load.layout->ItemListHead()) != 999) state.SkipWithError("not loaded");
        benchmark::DoNotOptimize(load);
        // Closing the layout is not part of loading it.
        state.PauseTiming();
        load.layout.reset();
        state.ResumeTiming();
    }
}

size_t Visit(const xmlNode* node) {
    size_t weight = 0;
    for (; node; node = node->next) {
        weight += 1 + (node->content ? xmlStrlen(node->content) : 0);
        weight += Visit(node->children);
    }
    return weight;
}

void BM_ReadAndWalkFile(benchmark::State& state) {
    LoadFixture& f = Fixture();
    for (auto _ : state) {
        xmlDoc* doc = xmlReadFile(f.file.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        if (!doc) state.SkipWithError("not parsed");
        benchmark::DoNotOptimize(Visit(xmlDocGetRootElement(doc)));
        xmlFreeDoc(doc);
    }
}

}  // namespace
}  // namespace vx

BENCHMARK(vx::BM_LoadLayoutXml)->Unit(benchmark::kMillisecond);
BENCHMARK(vx::BM_ReadAndWalkFile)->Unit(benchmark::kMillisecond);
BENCHMARK(vx::BM_SerializeLayoutXml)->Unit(benchmark::kMillisecond);
BENCHMARK(vx::BM_DumpFinishedTree)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return vx::bench::RunWithRatios(argc, argv, {
        {"vx::BM_SerializeLayoutXml", "vx::BM_DumpFinishedTree", 3},
        {"vx::BM_LoadLayoutXml", "vx::BM_ReadAndWalkFile", 3},
    });
}
