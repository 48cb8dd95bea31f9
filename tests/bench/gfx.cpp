// The drawing layer against cairo and pango doing the same work: wrapped pictures,
// premultiplied copies, label text, and a PDF page of lazy print bands. Run by hand;
// the ratios at the end come from this one run.
#include <benchmark/benchmark.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageSurface.h"
#include "platform/gfx/LazyImage.h"
#include "platform/gfx/PdfDocument.h"
#include "platform/gfx/Picture.h"

using namespace vx;
using namespace vx::gfx;

namespace {

// ---- Opaque picture: 6000 x 4000 wrapped, drawn into 1000 x 667 with nearest.

constexpr int kPicW = 6000, kPicH = 4000;

const std::vector<uint8_t>& BigPicture() {
    static const std::vector<uint8_t> pixels = [] {
        std::vector<uint8_t> v(size_t(kPicW) * kPicH * 4);
        for (size_t i = 0; i < v.size(); i += 4) {
            v[i] = uint8_t(i >> 4);
            v[i + 1] = uint8_t(i >> 10);
            v[i + 2] = uint8_t(i >> 16);
            v[i + 3] = 255;
        }
        return v;
    }();
    return pixels;
}

void BM_OpaquePictureWrapped(benchmark::State& state) {
    const auto& px = BigPicture();
    ImageSurface target(1000, 667);
    Canvas canvas(target.Native(), kScreenPixelsPerInch);
    for (auto _ : state) {
        Picture picture(px.data(), kPicW, kPicH, kPicW * 4, Opacity::Opaque);
        if (!picture.Wrapped()) state.SkipWithError("the picture was copied");
        canvas.DrawPicture(picture, {0, 0, kPicW, kPicH}, {0, 0, 1000, 667}, Filter::Nearest);
        cairo_surface_flush(target.Native());
    }
}
BENCHMARK(BM_OpaquePictureWrapped)->Unit(benchmark::kMillisecond);

void BM_CairoPaintSurface(benchmark::State& state) {
    const auto& px = BigPicture();
    cairo_surface_t* source = cairo_image_surface_create_for_data(const_cast<uint8_t*>(px.data()), CAIRO_FORMAT_RGB24,
                                                                  kPicW, kPicH, kPicW * 4);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1000, 667);
    cairo_t* cr = cairo_create(target);
    for (auto _ : state) {
        cairo_save(cr);
        cairo_scale(cr, 1000.0 / kPicW, 667.0 / kPicH);
        cairo_set_source_surface(cr, source, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_flush(target);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
}
BENCHMARK(BM_CairoPaintSurface)->Unit(benchmark::kMillisecond);

// ---- Transparent picture: premultiplying against copying the same bytes.

constexpr size_t kPremulPixels = 2000 * 2000;

const std::vector<uint8_t>& TransparentPixels() {
    static const std::vector<uint8_t> pixels = [] {
        std::vector<uint8_t> v(kPremulPixels * 4);
        for (size_t i = 0; i < v.size(); i += 4) {
            v[i] = uint8_t(i);
            v[i + 1] = uint8_t(i >> 8);
            v[i + 2] = uint8_t(i >> 3);
            v[i + 3] = uint8_t((i >> 2) % 7 == 0 ? 255 : (i >> 6));
        }
        return v;
    }();
    return pixels;
}

void BM_Premultiply(benchmark::State& state) {
    const auto& in = TransparentPixels();
    std::vector<uint8_t> out(in.size());
    for (auto _ : state) {
        Premultiply(in.data(), out.data(), kPremulPixels);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_Premultiply)->Unit(benchmark::kMillisecond);

void BM_Memcpy(benchmark::State& state) {
    const auto& in = TransparentPixels();
    std::vector<uint8_t> out(in.size());
    for (auto _ : state) {
        std::memcpy(out.data(), in.data(), in.size());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

// ---- Text: 1000 label strings.

std::vector<std::string> Labels() {
    std::vector<std::string> labels;
    for (int i = 0; i < 1000; ++i) {
        char s[80];
        std::snprintf(s, sizeof s, "IMG_%04d.JPG  10.12.2026  %d x %d", i, 6000 - i, 4000 - i);
        labels.push_back(s);
    }
    return labels;
}

void BM_CanvasLabels(benchmark::State& state) {
    const auto labels = Labels();
    ImageSurface target(2000, 2000);
    Canvas canvas(target.Native(), kScreenPixelsPerInch);
    const Font font{"DejaVu Sans", 11};
    TextFormat format;
    format.trimming = Trimming::Word;
    format.lineLimit = true;
    format.align = TextAlign::Centre;
    format.lineAlign = TextAlign::Centre;
    for (auto _ : state) {
        for (size_t i = 0; i < labels.size(); ++i)
            canvas.DrawText(labels[i], font, format, {double(i % 10) * 200, double(i / 10) * 20, 200, 20},
                            {0, 0, 0, 1});
        cairo_surface_flush(target.Native());
    }
}
BENCHMARK(BM_CanvasLabels)->Unit(benchmark::kMillisecond);

void BM_PangoShowPreparedLayouts(benchmark::State& state) {
    const auto labels = Labels();
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2000, 2000);
    cairo_t* cr = cairo_create(target);
    PangoContext* context = pango_cairo_create_context(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
    pango_font_description_set_absolute_size(font, 11 * PANGO_SCALE);
    std::vector<PangoLayout*> layouts;
    for (const auto& l : labels) {
        PangoLayout* layout = pango_layout_new(context);
        pango_layout_set_text(layout, l.c_str(), -1);
        pango_layout_set_font_description(layout, font);
        pango_layout_set_width(layout, 200 * PANGO_SCALE);
        pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
        layouts.push_back(layout);
    }
    for (auto _ : state) {
        for (size_t i = 0; i < layouts.size(); ++i) {
            cairo_move_to(cr, double(i % 10) * 200, double(i / 10) * 20 + 2);
            pango_cairo_show_layout(cr, layouts[i]);
        }
        cairo_surface_flush(target);
    }
    for (PangoLayout* l : layouts) g_object_unref(l);
    pango_font_description_free(font);
    g_object_unref(context);
    cairo_destroy(cr);
    cairo_surface_destroy(target);
}
BENCHMARK(BM_PangoShowPreparedLayouts)->Unit(benchmark::kMillisecond);

// ---- A PDF page of 4 x 11 print bands of 4096 x 4096.

constexpr int kBand = 4096, kBandsAcross = 4, kBandsDown = 11;

long ReadStatusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
    return 0;
}

// The peak resident size starts again from the current one.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void FillBand(uint8_t* data, int stride, int index) {
    for (int y = 0; y < kBand; ++y) std::memset(data + size_t(y) * size_t(stride), (y / 16 + index * 9) & 0xFF, size_t(kBand) * 4);
}

void ReportPeak(benchmark::State& state, long baselineKb) {
    const double band = double(kBand) * kBand * 4;
    state.counters["peak_MB"] = double(ReadStatusKb("VmHWM:") - baselineKb) / 1024.0;
    state.counters["peak_per_band"] = double(ReadStatusKb("VmHWM:") - baselineKb) * 1024.0 / band;
}

void BM_PdfLazyBands(benchmark::State& state) {
    for (auto _ : state) {
        ResetPeak();
        const long baseline = ReadStatusKb("VmRSS:");
        size_t bytes = 0;
        PdfDocument doc([&](const uint8_t*, size_t n) { bytes += n; return true; });
        Canvas* page = doc.BeginPage(kBandsAcross * kBand * 72.0 / 360, kBandsDown * kBand * 72.0 / 360, 360);
        std::vector<std::unique_ptr<LazyImage>> bands;
        int acquired = 0;
        for (int i = 0; i < kBandsAcross * kBandsDown; ++i) {
            bands.push_back(std::make_unique<LazyImage>(
                doc.Lazy(), kBand, kBand, Opacity::Opaque,
                [&acquired, i](const LazyPixels& out) {
                    ++acquired;
                    FillBand(out.data, out.stride, i);
                    return true;
                },
                [] {}));
            page->DrawLazyImage(*bands.back(),
                                {double(i % kBandsAcross) * kBand, double(i / kBandsAcross) * kBand, kBand, kBand},
                                Filter::Good);
        }
        if (doc.EndPage() != PdfStatus::Ok || doc.Finish() != PdfStatus::Ok) state.SkipWithError("pdf failed");
        state.counters["acquires"] = acquired;
        state.counters["pdf_MB"] = double(bytes) / 1048576.0;
        bands.clear();
        ReportPeak(state, baseline);
    }
}
BENCHMARK(BM_PdfLazyBands)->Unit(benchmark::kSecond)->Iterations(1);

void BM_PdfPlainBands(benchmark::State& state) {
    for (auto _ : state) {
        ResetPeak();
        const long baseline = ReadStatusKb("VmRSS:");
        size_t bytes = 0;
        auto write = [](void* closure, const unsigned char*, unsigned int n) {
            *static_cast<size_t*>(closure) += n;
            return CAIRO_STATUS_SUCCESS;
        };
        cairo_surface_t* pdf = cairo_pdf_surface_create_for_stream(write, &bytes, kBandsAcross * kBand * 72.0 / 360,
                                                                   kBandsDown * kBand * 72.0 / 360);
        cairo_t* cr = cairo_create(pdf);
        cairo_scale(cr, 72.0 / 360, 72.0 / 360);
        for (int i = 0; i < kBandsAcross * kBandsDown; ++i) {
            cairo_surface_t* band = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kBand, kBand);
            FillBand(cairo_image_surface_get_data(band), cairo_image_surface_get_stride(band), i);
            cairo_surface_mark_dirty(band);
            cairo_set_source_surface(cr, band, double(i % kBandsAcross) * kBand, double(i / kBandsAcross) * kBand);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            cairo_surface_destroy(band);
        }
        cairo_show_page(cr);
        cairo_destroy(cr);
        cairo_surface_finish(pdf);
        cairo_surface_destroy(pdf);
        state.counters["pdf_MB"] = double(bytes) / 1048576.0;
        ReportPeak(state, baseline);
    }
}
BENCHMARK(BM_PdfPlainBands)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return vx::bench::RunWithRatios(argc, argv, {
        {"BM_OpaquePictureWrapped", "BM_CairoPaintSurface", 1.1},
        {"BM_Premultiply", "BM_Memcpy", 3.0},
        {"BM_CanvasLabels", "BM_PangoShowPreparedLayouts", 1.3},
        {"BM_PdfLazyBands/iterations:1", "BM_PdfPlainBands/iterations:1", 1.2},
    });
}
