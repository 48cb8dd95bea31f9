// Scanning a folder of templates for their summaries against libxml2 reading the same files.
#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <libxml/parser.h>

#include "BenchFolder.h"
#include "RatioReporter.h"
#include "templates/TemplateFolders.h"
#include "imaging/JpegEncoder.h"
#include "imaging/JpegError.h"
#include "platform/gfx/CairoHandles.h"
#include "templates/TemplateChooserModel.h"

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


/// A catalogue of 200 records with 128 x 128 JPEG previews, as the chooser gets it.
const CTemplateInfoArray& PreviewCatalogue() {
    static const CTemplateInfoArray catalog = [] {
        CTemplateInfoArray c;
        static const char* const kModels[] = {"TEVRA Proof 44", "TEVRA Proof A3", "TEVRA Proof 24"};
        static const char* const kKeys[] = {"Business", "Design", "Education", "General", "Shop"};
        for (int i = 0; i < kTemplates; ++i) {
            std::vector<uint8_t> pixels(128 * 128 * 4);
            for (size_t k = 0; k < pixels.size(); ++k) pixels[k] = uint8_t((k * 7 + size_t(i) * 13) & 0xFF);
            TemplateInfo info;
            info.Path = "/t/" + std::string(kKeys[i % 5]) + "/Vorlage " + std::to_string(i) + ".kqt";
            info.PrinterModel = kModels[i % 3];
            info.PaperSize = "A4 (210 x 297 mm)";
            info.PaperSource = "Einzelblatt";
            info.Category = kKeys[i % 5];
            info.ImageMask = "Photo";
            info.ModifiedText = "26.12.01 09:00";
            auto bytes = EncodeJpegToMemory(128, 128, pixels.data());
            if (bytes) info.PreviewBytes = std::make_shared<const std::vector<uint8_t>>(std::move(*bytes));
            c.Add(info);
        }
        return c;
    }();
    return catalog;
}

void BM_ChooserModelOpen(benchmark::State& state) {
    const std::vector<PrinterEntry> printers{{"proof-44", "TEVRA Proof 44"}, {"proof-a3", "TEVRA Proof A3"}};
    for (auto _ : state) {
        CTemplateInfoArray catalog = PreviewCatalogue();
        std::vector<std::string> categories{"Kunden"};
        TemplateChooserModel model(catalog, SupportedPrinterModels(printers), categories, {});
        model.Open();
        model.SelectPrinter(1);
        model.SelectTreeItem({0, 4});
        if (model.Thumbnails().Count() != kTemplates) state.SkipWithError("thumbnails missing");
        benchmark::DoNotOptimize(model.Items());
    }
}

/// libjpeg decoding one preview to RGB rows; trivial locals only, as libjpeg jumps back.
bool DecodeRgbx(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& out, int& w, int& h) {
    jpeg_decompress_struct d;
    JpegErrorManager errors;
    d.err = InitJpegErrorManager(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&d);
        return false;
    }
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&d);
    w = int(d.output_width);
    h = int(d.output_height);
    out.resize(size_t(w) * size_t(h) * 4);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = out.data() + size_t(d.output_scanline) * size_t(w) * 4;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return true;
}

void BM_DecodeAndReducePreviews(benchmark::State& state) {
    const CTemplateInfoArray& catalog = PreviewCatalogue();
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        for (const TemplateInfo& info : catalog) {
            int w = 0, h = 0;
            if (!DecodeRgbx(*info.PreviewBytes, pixels, w, h)) state.SkipWithError("not decoded");
            gfx::CairoSurface source(cairo_image_surface_create_for_data(pixels.data(), CAIRO_FORMAT_RGB24, w, h, w * 4));
            cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 64, 64);
            cairo_t* cr = cairo_create(target);
            cairo_scale(cr, 64.0 / w, 64.0 / h);
            cairo_set_source_surface(cr, source.get(), 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            cairo_destroy(cr);
            cairo_surface_flush(target);
            benchmark::DoNotOptimize(cairo_image_surface_get_data(target));
            cairo_surface_destroy(target);
        }
    }
}

}  // namespace
}  // namespace vx

BENCHMARK(vx::BM_ChooserModelOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(vx::BM_DecodeAndReducePreviews)->Unit(benchmark::kMillisecond);
BENCHMARK(vx::BM_ScanTemplateFolders)->Unit(benchmark::kMillisecond);
BENCHMARK(vx::BM_XmlReadFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return vx::bench::RunWithRatios(argc, argv, {
        {"vx::BM_ScanTemplateFolders", "vx::BM_XmlReadFile", 1.5},
        {"vx::BM_ChooserModelOpen", "vx::BM_DecodeAndReducePreviews", 1.5},
    });
}
