// Building a layout file from the records against libxml2 writing the finished tree.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include <libxml/tree.h>

#include "RatioReporter.h"
#include "document/LayoutXmlWriter.h"
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

}  // namespace
}  // namespace vx

BENCHMARK(vx::BM_SerializeLayoutXml)->Unit(benchmark::kMillisecond);
BENCHMARK(vx::BM_DumpFinishedTree)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return vx::bench::RunWithRatios(argc, argv, {
        {"vx::BM_SerializeLayoutXml", "vx::BM_DumpFinishedTree", 3},
    });
}
