// Scanning a folder of templates for their summaries against libxml2 reading the same files.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <libxml/parser.h>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "templates/TemplateFolders.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

constexpr int kTemplates = 200;

/// The children of a saved layout element, a preview of a 128 x 128 JPEG's size and two
/// stored images, as a template saved with images looks.
std::string TemplateText(int n) {
    static const char* const kNames[] = {
        "NameGenre", "NameOutputImageForm", "SaveTemplateWithImages", "Paper", "PaperOrient", "Page",
        "PageNumber", "PageMax", "BannerPageNumber", "BannerLength", "Free", "Banner", "AlignHorizontal",
        "AlignHorizontalSpacing", "AlignVertical", "AlignVerticalSpacing", "AlignLine", "HeaderFooterFontName",
        "HeaderFooterFontSizeAuto", "HeaderFooterFontSize", "HeaderFooterFontFace", "HeaderFooterFontColor",
        "HeaderFooterLineHeight", "HeaderFooterJustify", "HeaderOffset", "HeaderDispText", "HeaderText",
        "FooterOffset", "FooterDispText", "FooterText", "InputSrcUseZel", "InputSrcProfile", "InputSrcIntent",
        "InputSimMethod", "InputSimProfile", "OutputMonitorProfile", "OutputPrinterProfile", "CutLineMode",
        "CutLineOthersType", "CutLineColor", "AutoRotation", "PaperColor", "LayoutMarginMode", "LayoutMargin",
        "SaveRelativePath", "ImageSize", "ImageSizeAbsolute", "ImageSizeRelative", "ImageSizeMethod",
        "ImageSizeRatio", "ImageSizeImageOption", "ImageFrameSetting", "ImageFrameRect", "ImageFrameColor",
        "ImageLabelItems", "ImageLabelFontName", "ImageLabelFontSize", "ImageCaptionFontName",
        "ImageCaptionString", "ImageStampInUse", "ImageStampFileName", "PrinterName", "PrinterModel",
        "Orientation", "PaperSizeID", "PaperSize", "PaperLength", "PaperWidth", "PaperSourceID", "PaperSource",
        "MediaTypeID", "MediaType", "AutoMode", "Color", "PrintableArea", "Centerd", "HighSpeed", "UserPreset"};
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n<header><Version>1500</Version>"
                    "<Platform>1</Platform><OSVersion>6.1_Linux_0</OSVersion></header>\n<layout>\n";
    s += "<Comment>Vorlage " + std::to_string(n) + "</Comment>\n<CommentEnglish>Template</CommentEnglish>\n"
         "<CommentGerman>Vorlage für Karten und Fotos</CommentGerman>\n";
    // About 9 KB of base64, as a 128 x 128 JPEG preview gives.
    s += "<Preview>";
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    unsigned state = 12345u + unsigned(n);
    for (int i = 0; i < 9216; ++i) {
        state = state * 1103515245u + 12345u;
        s += kAlphabet[(state >> 16) & 63];
    }
    s += "</Preview>\n";
    for (const char* name : kNames) s += std::string("<") + name + ">" + "1,2,3" + "</" + name + ">\n";
    for (int i = 0; i < 2; ++i) {
        s += "<image>";
        for (int k = 0; k < 40; ++k) s += "<Setting" + std::to_string(k) + ">" + std::to_string(k * 7) + "</Setting" +
                                          std::to_string(k) + ">";
        s += "</image>\n";
    }
    s += "</layout>\n</root>\n";
    return s;
}

class Fixture {
public:
    Fixture() {
        if (mFolder.Path().empty()) return;
        mTemplates = mFolder.Path() / "Templates";
        static const char* const kCategories[] = {"Business", "Design", "Education", "General", "Shop"};
        for (int i = 0; i < kTemplates; ++i) {
            const fs::path path = mTemplates / kCategories[i % 5] / ("Vorlage " + std::to_string(i) + ".kqt");
            fs::create_directories(path.parent_path());
            std::ofstream(path, std::ios::binary) << TemplateText(i);
            mFiles.push_back(path);
        }
    }
    const fs::path& Templates() const { return mTemplates; }
    const std::vector<fs::path>& Files() const { return mFiles; }

private:
    bench::BenchFolder mFolder;
    fs::path mTemplates;
    std::vector<fs::path> mFiles;
};

const Fixture& TheFixture() {
    static const Fixture fixture;
    return fixture;
}

void BM_ScanTemplateFolders(benchmark::State& state) {
    const Fixture& f = TheFixture();
    for (auto _ : state) {
        CTemplateInfoArray found;
        ScanTemplateFolders(f.Templates(), "kqt", 2, found);
        if (found.GetSize() != kTemplates) state.SkipWithError("templates missing");
        benchmark::DoNotOptimize(found);
    }
}

void BM_XmlReadFile(benchmark::State& state) {
    const Fixture& f = TheFixture();
    for (auto _ : state) {
        for (const fs::path& path : f.Files()) {
            xmlDocPtr doc = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET);
            if (!doc) state.SkipWithError("not read");
            benchmark::DoNotOptimize(doc);
            xmlFreeDoc(doc);
        }
    }
}

}  // namespace
}  // namespace vx

BENCHMARK(vx::BM_ScanTemplateFolders)->Unit(benchmark::kMillisecond);
BENCHMARK(vx::BM_XmlReadFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return vx::bench::RunWithRatios(argc, argv, {
        {"vx::BM_ScanTemplateFolders", "vx::BM_XmlReadFile", 1.5},
    });
}
