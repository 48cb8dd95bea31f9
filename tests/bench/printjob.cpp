// Times the print job against its floor, and measures a banner's memory and disk peaks.
// Run through scripts/bench-print, which also times the ImageMagick peer:
//   bench_printjob floor  p1.jpg p2.jpg p3.jpg p4.jpg
//   bench_printjob a4     p1.jpg p2.jpg p3.jpg p4.jpg <output folder>
//   bench_printjob banner p1.jpg p2.jpg p3.jpg p4.jpg <output folder>
// Each prints the seconds it took on one line ("seconds 1.234"); the banner also its peaks.
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstddef>
#include <cstdio>

#include <cairo.h>
#include <jpeglib.h>
#include <lcms2.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "BenchFolder.h"
#include "colourmanagement/PictureColourTransforms.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageInfoReaders.h"
#include "model/ObjectList.h"
#include "model/ViewStateBlock.h"
#include "platform/driver/PrintDevice.h"
#include "platform/spool/SpoolJob.h"
#include "platform/system/Folders.h"
#include "platform/system/FourCC.h"
#include "platform/system/Ports.h"
#include "view/CGPView.h"
#include "view/PassGeometry.h"
#include "view/PrintJob.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char* kMedium = "TEVRA Proof 44 Fotopapier Hochglanz";

fs::path MediumProfile() { return vx::DataFolder() / "icc" / (std::string(kMedium) + ".icc"); }

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The floor: what printing the A4 page needs at least.
int RunFloor(const std::vector<std::string>& pictures) {
    const int pageW = 2976, pageH = 4209, cellW = 1440, cellH = 2060, gap = 24;
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE medium = cmsOpenProfileFromFile(MediumProfile().c_str(), "r");
    if (!medium) {
        std::fprintf(stderr, "no medium profile at %s\n", MediumProfile().c_str());
        return 1;
    }
    const auto start = Clock::now();
    cmsHTRANSFORM t = cmsCreateTransform(srgb, TYPE_BGRA_8, medium, TYPE_BGRA_8, cmsGetHeaderRenderingIntent(medium),
                                         cmsFLAGS_HIGHRESPRECALC);
    cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_RGB24, pageW, pageH);
    cairo_t* cr = cairo_create(page);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    for (size_t i = 0; i < pictures.size(); ++i) {
        std::FILE* in = std::fopen(pictures[i].c_str(), "rb");
        if (!in) return 1;
        jpeg_decompress_struct d{};
        jpeg_error_mgr err{};
        d.err = jpeg_std_error(&err);
        jpeg_create_decompress(&d);
        jpeg_stdio_src(&d, in);
        jpeg_read_header(&d, TRUE);
        d.scale_num = 1;
        d.scale_denom = 2;
        d.out_color_space = JCS_EXT_BGRX;
        jpeg_start_decompress(&d);
        cairo_surface_t* pic = cairo_image_surface_create(CAIRO_FORMAT_RGB24, int(d.output_width), int(d.output_height));
        unsigned char* data = cairo_image_surface_get_data(pic);
        const int stride = cairo_image_surface_get_stride(pic);
        while (d.output_scanline < d.output_height) {
            JSAMPROW row = data + size_t(d.output_scanline) * size_t(stride);
            jpeg_read_scanlines(&d, &row, 1);
        }
        const double w = d.output_width, h = d.output_height;
        jpeg_finish_decompress(&d);
        jpeg_destroy_decompress(&d);
        std::fclose(in);
        cairo_surface_mark_dirty(pic);
        // Into its cell, the picture's shape kept, reduced smoothly.
        const int cx = gap + int(i % 2) * (cellW + 2 * gap), cy = gap + int(i / 2) * (cellH + 2 * gap);
        const double scale = std::min(cellW / w, cellH / h);
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, scale, scale);
        cairo_set_source_surface(cr, pic, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_surface_destroy(pic);
        // The cell's pixels to the medium.
        cairo_surface_flush(page);
        unsigned char* p = cairo_image_surface_get_data(page);
        const int ps = cairo_image_surface_get_stride(page);
        for (int y = cy; y < cy + cellH; ++y) {
            unsigned char* row = p + size_t(y) * size_t(ps) + size_t(cx) * 4;
            cmsDoTransform(t, row, row, cellW);
        }
        cairo_surface_mark_dirty(page);
    }
    const double seconds = Since(start);
    cairo_destroy(cr);
    cairo_surface_destroy(page);
    cmsDeleteTransform(t);
    cmsCloseProfile(medium);
    cmsCloseProfile(srgb);
    std::printf("seconds %.3f\n", seconds);
    return 0;
}

/// A view printing at a fixed resolution class.
struct ForcedClassView : vx::CGPView {
    unsigned forced = 0;
    vx::PassResult DrawPage(const vx::DrawDevice& device, int mode, unsigned flags,
                            vx::PassCounters* counters) override {
        if (forced && mode == vx::kDrawPrinter) flags = (flags & ~unsigned(0x78)) | forced;
        return CGPView::DrawPage(device, mode, flags, counters);
    }
};

struct BenchServices : vx::PrintJobServices {
    vx::DeviceCaps caps;
    vx::PrintQueue queue;
    std::optional<vx::PrintSetup> ProvideDevice(vx::CLayoutSetting&) override {
        vx::PrintSetup s;
        s.device = std::make_unique<vx::PrintDevice>(caps, MediumProfile());
        s.queue = queue;
        return s;
    }
    std::unique_ptr<vx::SpoolJob> CreateJob(const vx::PrintSetup& setup, vx::MessagePort& messages,
                                            vx::SpoolPump pump) override {
        return vx::CreateSpoolJob(setup.queue, *setup.device, messages, std::move(pump));
    }
    std::unique_ptr<vx::PrintStatusWindow> CreateStatusWindow() override { return nullptr; }
};

uint64_t FolderBytes(const fs::path& folder) {
    uint64_t total = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        struct stat st {};
        if (::stat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) total += uint64_t(st.st_blocks) * 512;
    }
    return total;
}

int RunJob(bool banner, const std::vector<std::string>& pictures, const fs::path& output) {
    vx::bench::BenchFolder temp;
    if (!vx::CreateTempFolder()) return 1;
    vx::InstallColourManagement();

    // A4 portrait, or 44 inch x 3 m; paper sizes in 1/360 inch and 0.1 mm.
    const int32_t w = banner ? 15840 : 2976, h = banner ? 42520 : 4209;
    vx::CLayoutSetting layout(true);
    layout.SetType(vx::kRecordTypeLayout);
    layout.SetPaper({w, h});
    layout.SetOrientation(1);
    layout.SetPaperSize(banner ? 256 : 9);
    layout.SetPaperWidth(banner ? 11176 : 2100);
    layout.SetPaperLength(banner ? 30000 : 2970);
    layout.SetColor(2);
    layout.SetPageNumber(1);
    layout.SetPageMax(1);
    layout.SetPaperColor(0xFFFFFF);
    layout.SetBaseImage(std::make_unique<vx::CImageObj>(true));
    layout.RenewViewState();
    layout.Texts().printerProfile = kMedium;
    const int32_t gap = 24, cellW = w / 2 - 2 * gap, cellH = h / 2 - 2 * gap;
    for (size_t i = 0; i < pictures.size(); ++i) {
        auto item = std::make_unique<vx::CImageObj>(true);
        item->SetOwner(&layout);
        item->SetFilePath(pictures[i]);
        if (!vx::ReadJpegInfo(*item)) return 1;
        item->SetColorSpace(vx::FourCC("RGB "));
        item->SetSizeMethod(1);
        item->SetPosition(gap + int32_t(i % 2) * (cellW + 2 * gap), gap + int32_t(i / 2) * (cellH + 2 * gap));
        item->SetSize(cellW, cellH);
        vx::AppendObject(layout.ItemListHead(), item);
    }

    BenchServices services;
    services.caps = {360, 360, w, h, 0, 0, w, h};
    services.queue.name = "Bench";
    services.queue.kind = vx::QueueKind::File;
    services.queue.port = output.string();
    vx::ScopedHostService<vx::PrintJobServices> installed(&services);
    ForcedClassView view;
    view.forced = vx::kRender360;
    view.Attach(nullptr, &layout);

    std::atomic<bool> done{false};
    std::atomic<uint64_t> tempPeak{0};
    std::thread sampler([&] {
        while (!done) {
            const uint64_t now = FolderBytes(vx::TempFolder()) + FolderBytes(output);
            if (now > tempPeak) tempPeak = now;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const auto start = Clock::now();
    const bool printed = view.DoPrintJob();
    const double seconds = Since(start);
    done = true;
    sampler.join();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("printed %d\nseconds %.3f\npeak_rss_mib %.1f\ndisk_peak_mib %.1f\n", printed ? 1 : 0, seconds,
                double(usage.ru_maxrss) / 1024.0, double(tempPeak) / (1024.0 * 1024.0));
    vx::RemoveTempFolder();
    return printed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s floor|a4|banner p1.jpg p2.jpg p3.jpg p4.jpg [output folder]\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const std::vector<std::string> pictures(argv + 2, argv + 6);
    if (mode == "floor") return RunFloor(pictures);
    if (argc < 7) return 2;
    return RunJob(mode == "banner", pictures, argv[6]);
}
