// Times the print job against its floor, and measures the job's memory and disk peaks.
// Run through scripts/bench-print, which also times the ImageMagick peer:
//   bench_printjob floor  <columns> [--page page.png] pictures...
//   bench_printjob job    <columns> <pages> <output folder> [--peaks] pictures...
//   bench_printjob banner <output folder> p1.jpg p2.jpg p3.jpg p4.jpg
// An A4 page at 360 pixels per inch holds columns x columns cells, each picture fitted
// into its own; the pictures are taken in turn, from the first again when they run out.
// Each prints the seconds its work took ("seconds 1.234"); the job with --peaks, and the
// banner, also its peak memory and temporary disk.
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstddef>
#include <cstdio>

#include <cairo.h>
#include <jpeglib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "BenchFolder.h"
#include "colourmanagement/PictureColourTransforms.h"
#include "colourmanagement/ProfileChain.h"
#include "colourmanagement/SingleColourTransforms.h"
#include "host/HostService.h"
#include "imaging/DibBuffer.h"
#include "imaging/JpegReader.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageInfoReaders.h"
#include "model/ObjectList.h"
#include "model/ViewStateBlock.h"
#include "platform/spool/PrintDevice.h"
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
constexpr int kPixelsPerInch = 360;
constexpr int32_t kGap = 24;

fs::path MediumProfile() { return vx::DataFolder() / "icc" / (std::string(kMedium) + ".icc"); }

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

/// A paper in 1/360 inch (the printer's pixels) and as the layout names it.
struct Paper {
    int32_t width, height;
    int16_t size;  // the driver's paper number
    int16_t widthTenths, lengthTenths;
};
constexpr Paper kA4{2976, 4209, 9, 2100, 2970};
constexpr Paper kBanner{15840, 42520, 256, 11176, 30000};

/// A layout of `pages` pages of columns x columns cells, each holding the next picture.
struct BenchLayout {
    vx::CLayoutSetting layout{true};
    std::vector<vx::CImageObj*> items;

    bool Build(const Paper& paper, int columns, int pages, const std::vector<std::string>& pictures) {
        layout.SetType(vx::kRecordTypeLayout);
        layout.SetPaper({paper.width, paper.height});
        layout.SetOrientation(1);
        layout.SetPaperSize(paper.size);
        layout.SetPaperWidth(paper.widthTenths);
        layout.SetPaperLength(paper.lengthTenths);
        layout.SetColor(2);
        layout.SetPageNumber(int16_t(pages));
        layout.SetPageMax(int16_t(pages));
        layout.SetPaperColor(0xFFFFFF);
        layout.SetBaseImage(std::make_unique<vx::CImageObj>(true));
        layout.RenewViewState();
        layout.Texts().printerProfile = kMedium;
        const int32_t cellW = paper.width / columns - 2 * kGap, cellH = paper.height / columns - 2 * kGap;
        const int perPage = columns * columns;
        for (int i = 0; i < pages * perPage; ++i) {
            const int page = i / perPage, cell = i % perPage;
            auto item = std::make_unique<vx::CImageObj>(true);
            item->SetOwner(&layout);
            item->SetFilePath(pictures[size_t(i) % pictures.size()]);
            if (!vx::ReadJpegInfo(*item)) {
                std::fprintf(stderr, "cannot read %s\n", pictures[size_t(i) % pictures.size()].c_str());
                return false;
            }
            item->SetColorSpace(vx::FourCC("RGB "));
            item->SetSizeMethod(1);
            item->SetPosition(kGap + (cell % columns) * (cellW + 2 * kGap),
                              page * paper.height + kGap + (cell / columns) * (cellH + 2 * kGap));
            item->SetSize(cellW, cellH);
            items.push_back(item.get());
            vx::AppendObject(layout.ItemListHead(), item);
        }
        return true;
    }
};

struct CairoSurfaceCloser {
    void operator()(cairo_surface_t* s) const noexcept { cairo_surface_destroy(s); }
};
using CairoSurface = std::unique_ptr<cairo_surface_t, CairoSurfaceCloser>;
struct DibCloser {
    void operator()(vx::DibBuffer* b) const noexcept { vx::DibBuffer::Free(b); }
};

// The floor: the least that the job's page needs, each choice made by the job's own
// function, the work done with the libraries directly.
//   floor                                          job (PrintJob)
//   0. the paper's colour to the medium, the       the same call (ConvertColours, after
//      page's background: TransformColorForView    the pictures, with the colours of frames,
//                                                  texts and lines)
//   1. the printed size and the DCT reduction      the same functions (PrepareWholeJob,
//      covering it: PrintedPictureSize,            LoadPictureBuffer, DecodeJpegCovering)
//      JpegCoveringDenominator
//   2. libjpeg decodes at that reduction into      the same, into the picture's buffer
//      B,G,R,A rows                                (DibBuffer)
//   3. the picture's colours to the medium in      the same call (the colour hook of
//      place: ColorManageImage, the job's chain    LoadPictureBuffer)
//      and transform
//   -                                              copies the picture into its working
//                                                  bitmap, a file in the temporary folder
//   4. cairo reduces the picture smoothly          the spool pass draws each band of the
//      (GOOD) into its place on one page picture,  page the same way, the picture
//      fitted and centred in its cell              letterboxed in its item
//   -                                              keeps the bands, writes each into the
//                                                  PDF page (8-bit R,G,B, deflated) and
//                                                  moves the file into the queue
// The page it makes is the job's page, pixel for pixel (--page writes it, for checking).
int RunFloor(int columns, const std::vector<std::string>& pictures, const std::string& pagePicture) {
    vx::bench::BenchFolder temp;
    if (!vx::CreateTempFolder()) return 1;
    vx::InstallColourManagement();
    BenchLayout bench;
    if (!bench.Build(kA4, columns, 1, pictures)) return 1;

    const auto start = Clock::now();
    // 0. The paper's colour on the medium, as the job's page shows it.
    const vx::ColorRef paper = vx::TransformColorForView(&bench.layout, 1, bench.layout.GetPaperColor());
    CairoSurface page(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kA4.width, kA4.height));
    cairo_t* cr = cairo_create(page.get());
    cairo_set_source_rgb(cr, (paper & 0xFF) / 255.0, ((paper >> 8) & 0xFF) / 255.0, ((paper >> 16) & 0xFF) / 255.0);
    cairo_paint(cr);
    for (vx::CImageObj* item : bench.items) {
        // 1. (The bench's items are not turned, so the cover needs no exchange of sides.)
        const vx::Rect16 cover = vx::PrintJob::PrintedPictureSize(*item, kPixelsPerInch);
        std::FILE* in = std::fopen(item->GetFilePath().c_str(), "rb");
        if (!in) return 1;
        static char readBuffer[1 << 18];
        std::setvbuf(in, readBuffer, _IOFBF, sizeof readBuffer);  // as the job reads: few large reads
        jpeg_decompress_struct d{};
        jpeg_error_mgr err{};
        d.err = jpeg_std_error(&err);
        jpeg_create_decompress(&d);
        jpeg_stdio_src(&d, in);
        jpeg_read_header(&d, TRUE);
        d.scale_num = 1;
        d.scale_denom = unsigned(vx::JpegCoveringDenominator(d.image_width, d.image_height, cover.Width(),
                                                             cover.Height()));
        d.out_color_space = JCS_EXT_BGRA;
        // 2.
        jpeg_start_decompress(&d);
        vx::Rect16 rect;
        rect.Set(0, 0, int16_t(d.output_width), int16_t(d.output_height));
        vx::DibBuffer* raw = nullptr;
        vx::DibBuffer::Create(&raw, 32, rect);
        std::unique_ptr<vx::DibBuffer, DibCloser> picture(raw);
        if (!picture) return 1;
        uint8_t* bits = vx::DibBuffer::GetBits(picture.get());
        const int stride = vx::DibBuffer::GetRowBytes(picture.get());
        while (d.output_scanline < d.output_height) {
            JSAMPROW row = bits + size_t(d.output_scanline) * size_t(stride);
            jpeg_read_scanlines(&d, &row, 1);
        }
        const int w = int(d.output_width), h = int(d.output_height);
        jpeg_finish_decompress(&d);
        jpeg_destroy_decompress(&d);
        std::fclose(in);
        // 3.
        if (!vx::ColorManageImage(picture.get(), *item, vx::kColourModePrint)) return 1;
        // 4. Fitted into the item, centred along the longer side, as the job places it.
        const vx::LayoutRect r = item->GetRect();
        const double cellW = double(r.right) - r.left, cellH = double(r.bottom) - r.top;
        const vx::ImageDescription& described = *item->GetDescription();
        const double pw = described.width, ph = described.height;
        double x = r.left, y = r.top, dw = cellW, dh = cellH;
        if (cellW * ph > cellH * pw) {
            dw = double(std::llround(cellH * pw / ph));
            x += double(int32_t((cellW - dw) / 2));
        } else {
            dh = double(std::llround(cellW * ph / pw));
            y += double(int32_t((cellH - dh) / 2));
        }
        CairoSurface source(cairo_image_surface_create_for_data(bits, CAIRO_FORMAT_RGB24, w, h, stride));
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, dw / w, dh / h);
        cairo_set_source_surface(cr, source.get(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    cairo_surface_flush(page.get());
    const double seconds = Since(start);
    cairo_destroy(cr);
    if (!pagePicture.empty() && cairo_surface_write_to_png(page.get(), pagePicture.c_str()) != CAIRO_STATUS_SUCCESS)
        return 1;
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

int RunJob(const Paper& paper, int columns, int pages, bool peaks, const std::vector<std::string>& pictures,
           const fs::path& output) {
    vx::bench::BenchFolder temp;
    if (!vx::CreateTempFolder()) return 1;
    vx::InstallColourManagement();
    BenchLayout bench;
    if (!bench.Build(paper, columns, pages, pictures)) return 1;

    BenchServices services;
    services.caps = {kPixelsPerInch, kPixelsPerInch, paper.width, paper.height, 0, 0, paper.width, paper.height};
    services.queue.name = "Bench";
    services.queue.kind = vx::QueueKind::File;
    services.queue.port = output.string();
    vx::ScopedHostService<vx::PrintJobServices> installed(&services);
    ForcedClassView view;
    view.forced = vx::kRender360;
    view.Attach(nullptr, &bench.layout);

    // Sampled only when asked: the timing runs keep to one thread.
    std::atomic<bool> done{false};
    std::atomic<uint64_t> tempPeak{0};
    std::thread sampler;
    if (peaks)
        sampler = std::thread([&] {
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
    if (sampler.joinable()) sampler.join();
    std::printf("printed %d\nseconds %.3f\n", printed ? 1 : 0, seconds);
    if (peaks) {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("peak_rss_mib %.1f\ndisk_peak_mib %.1f\n", double(usage.ru_maxrss) / 1024.0,
                    double(tempPeak) / (1024.0 * 1024.0));
    }
    vx::RemoveTempFolder();
    return printed ? 0 : 1;
}

int Usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s floor <columns> [--page page.png] pictures...\n"
                 "       %s job <columns> <pages> <output folder> [--peaks] pictures...\n"
                 "       %s banner <output folder> p1.jpg p2.jpg p3.jpg p4.jpg\n",
                 program, program, program);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage(argv[0]);
    const std::string mode = args.front();
    args.erase(args.begin());
    std::string pagePicture;
    bool peaks = false;
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--page" && i + 1 < args.size()) pagePicture = args[++i];
        else if (args[i] == "--peaks") peaks = true;
        else rest.push_back(args[i]);
    }
    const auto number = [](const std::string& s) { return std::max(1, std::atoi(s.c_str())); };
    if (mode == "floor" && rest.size() >= 2)
        return RunFloor(number(rest[0]), {rest.begin() + 1, rest.end()}, pagePicture);
    if (mode == "job" && rest.size() >= 4)
        return RunJob(kA4, number(rest[0]), number(rest[1]), peaks, {rest.begin() + 3, rest.end()}, rest[2]);
    if (mode == "banner" && rest.size() == 5) return RunJob(kBanner, 2, 1, true, {rest.begin() + 1, rest.end()}, rest[0]);
    return Usage(argv[0]);
}
