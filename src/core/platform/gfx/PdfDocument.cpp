#include "platform/gfx/PdfDocument.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <new>

#include "platform/gfx/RunDeflater.h"

namespace vx::gfx {
namespace {

constexpr int kRowsPerChunk = 32;
constexpr int kDrawingStripRows = 256;

// Numbers as PDF writes them: no exponent, no locale.
std::string Num(double v) {
    if (!std::isfinite(v)) v = 0;
    char buf[48];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
    if (ec != std::errc()) return "0";
    std::string s(buf, end);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string Ref(int object) { return std::to_string(object) + " 0 R"; }

// Straight R,G,B (and alpha) from cairo's native-endian, premultiplied pixels.
void SplitRow(const uint32_t* px, int width, bool alpha, uint8_t* rgb, uint8_t* a) {
    for (int x = 0; x < width; ++x) {
        const uint32_t p = px[x];
        uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (alpha) {
            const uint32_t av = p >> 24;
            a[x] = uint8_t(av);
            if (av != 255 && av != 0) {
                r = (r * 255 + av / 2) / av;
                g = (g * 255 + av / 2) / av;
                b = (b * 255 + av / 2) / av;
            }
        }
        rgb[0] = uint8_t(r), rgb[1] = uint8_t(g), rgb[2] = uint8_t(b);
        rgb += 3;
    }
}

bool HasTranslucentPixels(const cairo_surface_t* s) {
    auto* surface = const_cast<cairo_surface_t*>(s);
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) return false;
    const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < w; ++x)
            if ((row[x] >> 24) != 255) return true;
    }
    return false;
}

}  // namespace

/// One deflated stream, into the file or into memory. Run-length matches only: on
/// photographs a full match search finds next to nothing more (the files were 0.5 %
/// smaller) and took two and a half times as long.
class PdfDocument::Stream {
public:
    Stream(PdfDocument* file, std::string* memory)
        : mDeflater([file, memory](const uint8_t* data, size_t size) {
              if (file) return file->Put(data, size);
              memory->append(reinterpret_cast<const char*>(data), size);
              return true;
          }) {}

    bool Add(const uint8_t* data, size_t size) { return mDeflater.Add(data, size); }
    bool End() { return mDeflater.End(); }
    uint64_t Length() const { return mDeflater.Length(); }

private:
    RunDeflater mDeflater;
};

PdfDocument::PdfDocument(Writer writer) : mWriter(std::move(writer)) {
    NewObject();  // 1: the catalogue
    NewObject();  // 2: the page tree
    Put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    Check();
}

PdfDocument::~PdfDocument() {
    if (!mFinished) Finish();
}

bool PdfDocument::Put(const void* data, size_t size) {
    if (mWriteFailed || !mWriter || !mWriter(static_cast<const uint8_t*>(data), size)) {
        mWriteFailed = true;
        return false;
    }
    mOffset += size;
    return true;
}

int PdfDocument::NewObject() {
    mObjectOffsets.push_back(0);
    return int(mObjectOffsets.size());
}

bool PdfDocument::BeginObject(int number) {
    mObjectOffsets[size_t(number) - 1] = mOffset;
    return Put(std::to_string(number) + " 0 obj\n");
}

PdfStatus PdfDocument::Check() {
    if (mStatus != PdfStatus::Ok) return mStatus;
    if (mWriteFailed) mStatus = PdfStatus::WriteFailed;
    else if (mKeeper.Failed()) mStatus = PdfStatus::PictureFailed;
    else if (mPage && !mPage->Ok()) mStatus = PdfStatus::DrawFailed;
    return mStatus;
}

Canvas* PdfDocument::BeginPage(double widthPoints, double heightPoints, double pixelsPerInch) {
    if (mFinished || mPage || Check() != PdfStatus::Ok) return nullptr;
    if (!(widthPoints > 0 && heightPoints > 0 && pixelsPerInch > 0)) return nullptr;
    mWidthPoints = widthPoints;
    mHeightPoints = heightPoints;
    mPixelsPerInch = pixelsPerInch;
    mWidthPixels = int(std::ceil(widthPoints * pixelsPerInch / 72.0 - 1e-6));
    mHeightPixels = int(std::ceil(heightPoints * pixelsPerInch / 72.0 - 1e-6));
    const cairo_rectangle_t extents{0, 0, double(mWidthPixels), double(mHeightPixels)};
    mRecording.reset(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents));
    mPage = std::make_unique<Canvas>(mRecording.get(), pixelsPerInch);
    mPage->SetPictureSink(this);
    if (!mPage->Ok()) {
        mStatus = PdfStatus::DrawFailed;
        DropPage();
        return nullptr;
    }
    return mPage.get();
}

void PdfDocument::TakePicture(LazyImage& image, const cairo_matrix_t& toDevice, const RectD& clip, Filter filter) {
    if (image.Width() <= 0 || image.Height() <= 0) return;
    mPlaced.push_back({&image, toDevice, clip, filter == Filter::Good});
}

PdfDocument::PixelBox PdfDocument::VisibleDrawing() {
    double x, y, w, h;
    cairo_recording_surface_ink_extents(mRecording.get(), &x, &y, &w, &h);
    if (!(w > 0 && h > 0)) return {};
    const int left = std::max(0, int(std::floor(x))), top = std::max(0, int(std::floor(y)));
    const int right = std::min(mWidthPixels, int(std::ceil(x + w))), bottom = std::min(mHeightPixels, int(std::ceil(y + h)));
    const PixelBox ink{left, top, right - left, bottom - top};
    if (ink.Empty()) return {};

    cairo_region_t* covered = cairo_region_create();
    for (const Placed& p : mPlaced) {
        const cairo_matrix_t& m = p.toDevice;
        if (!p.image->Opaque() || m.xy != 0 || m.yx != 0) continue;
        double x1 = m.x0, y1 = m.y0, x2 = m.x0 + m.xx * p.image->Width(), y2 = m.y0 + m.yy * p.image->Height();
        if (x1 > x2) std::swap(x1, x2);
        if (y1 > y2) std::swap(y1, y2);
        x1 = std::max(x1, p.clip.x), y1 = std::max(y1, p.clip.y);
        x2 = std::min(x2, p.clip.x + p.clip.w), y2 = std::min(y2, p.clip.y + p.clip.h);
        // Only whole pixels count as covered.
        const cairo_rectangle_int_t r{int(std::ceil(x1 - 1e-6)), int(std::ceil(y1 - 1e-6)), 0, 0};
        const int rr = int(std::floor(x2 + 1e-6)), rb = int(std::floor(y2 + 1e-6));
        if (rr > r.x && rb > r.y) {
            const cairo_rectangle_int_t box{r.x, r.y, rr - r.x, rb - r.y};
            cairo_region_union_rectangle(covered, &box);
        }
    }
    const cairo_rectangle_int_t inkRect{ink.x, ink.y, ink.w, ink.h};
    const bool hidden = cairo_region_contains_rectangle(covered, &inkRect) == CAIRO_REGION_OVERLAP_IN;
    cairo_region_destroy(covered);
    return hidden ? PixelBox{} : ink;
}

bool PdfDocument::WriteImage(int object, int width, int height, bool alpha, bool smooth, const RowReader& rows) {
    const int length = NewObject();
    const int mask = alpha ? NewObject() : 0;
    const std::string size = " /Width " + std::to_string(width) + " /Height " + std::to_string(height);
    if (!BeginObject(object) ||
        !Put("<< /Type /XObject /Subtype /Image" + size + " /ColorSpace /DeviceRGB /BitsPerComponent 8" +
             (smooth ? " /Interpolate true" : "") + " /Filter /FlateDecode /Length " + Ref(length) +
             (alpha ? " /SMask " + Ref(mask) : "") + " >>\nstream\n"))
        return false;
    std::string coverageData;
    uint64_t colourLength = 0;
    try {
        Stream colour(this, nullptr);
        std::unique_ptr<Stream> coverage = alpha ? std::make_unique<Stream>(nullptr, &coverageData) : nullptr;
        std::vector<uint8_t> rgb(size_t(width) * 3 * kRowsPerChunk), a(alpha ? size_t(width) * kRowsPerChunk : 0);
        for (int y = 0; y < height; y += kRowsPerChunk) {
            const int n = std::min(kRowsPerChunk, height - y);
            int stride = 0;
            const uint8_t* px = rows(y, n, &stride);
            if (!px) return false;
            for (int i = 0; i < n; ++i)
                SplitRow(reinterpret_cast<const uint32_t*>(px + size_t(i) * size_t(stride)), width, alpha,
                         rgb.data() + size_t(i) * size_t(width) * 3, alpha ? a.data() + size_t(i) * size_t(width) : nullptr);
            if (!colour.Add(rgb.data(), size_t(n) * size_t(width) * 3)) return false;
            if (coverage && !coverage->Add(a.data(), size_t(n) * size_t(width))) return false;
        }
        if (!colour.End() || (coverage && !coverage->End())) return false;
        colourLength = colour.Length();
    } catch (const std::bad_alloc&) {
        mStatus = PdfStatus::DrawFailed;
        return false;
    }
    if (!Put("\nendstream\nendobj\n") || !BeginObject(length) || !Put(std::to_string(colourLength) + "\nendobj\n"))
        return false;
    if (alpha && (!BeginObject(mask) ||
                  !Put("<< /Type /XObject /Subtype /Image" + size +
                       " /ColorSpace /DeviceGray /BitsPerComponent 8 /Filter /FlateDecode /Length " +
                       std::to_string(coverageData.size()) + " >>\nstream\n") ||
                  !Put(coverageData) || !Put("\nendstream\nendobj\n")))
        return false;
    return true;
}

bool PdfDocument::WritePicture(cairo_surface_t* pixels, int object, bool smooth) {
    uint8_t* data = cairo_image_surface_get_data(pixels);
    const int stride = cairo_image_surface_get_stride(pixels);
    const cairo_format_t format = cairo_image_surface_get_format(pixels);
    if (!data || (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)) {
        mStatus = PdfStatus::PictureFailed;
        return false;
    }
    return WriteImage(object, cairo_image_surface_get_width(pixels), cairo_image_surface_get_height(pixels),
                      HasTranslucentPixels(pixels), smooth, [&](int y, int, int* rowStride) {
                          *rowStride = stride;
                          return data + size_t(y) * size_t(stride);
                      });
}

bool PdfDocument::WriteDrawing(const PixelBox& box, int object) {
    // Drawn a strip at a time, so that a page-sized drawing needs little memory.
    const int stripRows = std::min(kDrawingStripRows, box.h);
    CairoSurface strip(cairo_image_surface_create(CAIRO_FORMAT_RGB24, box.w, stripRows));
    CairoPtr cr(cairo_create(strip.get()));
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
        mStatus = PdfStatus::DrawFailed;
        return false;
    }
    int stripTop = -1;
    // The drawing lies beneath everything else on the page, so it is flattened onto the
    // white of the paper: no soft mask to write or to blend.
    return WriteImage(object, box.w, box.h, false, false, [&](int y, int, int* rowStride) -> const uint8_t* {
        if (stripTop < 0 || y >= stripTop + stripRows) {
            stripTop = y;
            cairo_set_source_rgb(cr.get(), 1, 1, 1);
            cairo_paint(cr.get());
            cairo_set_source_surface(cr.get(), mRecording.get(), -double(box.x), -double(box.y + y));
            cairo_paint(cr.get());
            cairo_surface_flush(strip.get());
            if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
                mStatus = PdfStatus::DrawFailed;
                return nullptr;
            }
        }
        *rowStride = cairo_image_surface_get_stride(strip.get());
        return cairo_image_surface_get_data(strip.get()) + size_t(y - stripTop) * size_t(*rowStride);
    });
}

PdfStatus PdfDocument::EndPage() {
    if (!mPage) return Check() == PdfStatus::Ok ? PdfStatus::DrawFailed : mStatus;
    if (Check() != PdfStatus::Ok) {
        DropPage();
        return mStatus;
    }
    const double pt = 72.0 / mPixelsPerInch;
    // Device pixels from the top left, as the page's canvas drew them.
    std::string content = "q " + Num(pt) + " 0 0 " + Num(-pt) + " 0 " + Num(mHeightPoints) + " cm\n";
    std::string resources;
    bool ok = true;
    if (const PixelBox drawing = VisibleDrawing(); !drawing.Empty()) {
        const int object = NewObject();
        ok = WriteDrawing(drawing, object);
        resources += "/D " + Ref(object) + " ";
        content += "q " + std::to_string(drawing.w) + " 0 0 " + std::to_string(-drawing.h) + " " +
                   std::to_string(drawing.x) + " " + std::to_string(drawing.y + drawing.h) + " cm /D Do Q\n";
    }
    int index = 0;
    for (const Placed& p : mPlaced) {
        if (!ok) break;
        const cairo_matrix_t& m = p.toDevice;
        const double w = p.image->Width(), h = p.image->Height();
        double xs[4] = {0, w, 0, w}, ys[4] = {0, 0, h, h};
        for (int i = 0; i < 4; ++i) cairo_matrix_transform_point(&m, &xs[i], &ys[i]);
        const double left = std::max({p.clip.x, 0.0, std::min({xs[0], xs[1], xs[2], xs[3]})});
        const double top = std::max({p.clip.y, 0.0, std::min({ys[0], ys[1], ys[2], ys[3]})});
        const double right = std::min({p.clip.x + p.clip.w, double(mWidthPixels), std::max({xs[0], xs[1], xs[2], xs[3]})});
        const double bottom = std::min({p.clip.y + p.clip.h, double(mHeightPixels), std::max({ys[0], ys[1], ys[2], ys[3]})});
        if (!(right > left && bottom > top)) continue;
        CairoSurface pixels = p.image->Read();
        if (!pixels) {
            mStatus = PdfStatus::PictureFailed;
            break;
        }
        const int object = NewObject();
        if (!(ok = WritePicture(pixels.get(), object, p.smooth))) break;
        const std::string name = "/P" + std::to_string(index++);
        resources += name + " " + Ref(object) + " ";
        // The unit square of the picture, its top row first, onto its pixels on the page.
        content += "q " + Num(left) + " " + Num(top) + " " + Num(right - left) + " " + Num(bottom - top) + " re W n " +
                   Num(m.xx * w) + " " + Num(m.yx * w) + " " + Num(-m.xy * h) + " " + Num(-m.yy * h) + " " +
                   Num(m.xy * h + m.x0) + " " + Num(m.yy * h + m.y0) + " cm " + name + " Do Q\n";
    }
    content += "Q\n";
    if (ok && Check() == PdfStatus::Ok) {
        const int contents = NewObject();
        const int page = NewObject();
        if (BeginObject(contents) && Put("<< /Length " + std::to_string(content.size()) + " >>\nstream\n") &&
            Put(content) && Put("endstream\nendobj\n") && BeginObject(page) &&
            Put("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Num(mWidthPoints) + " " + Num(mHeightPoints) +
                "] /Resources << /XObject << " + resources + ">> >> /Contents " + Ref(contents) + " >>\nendobj\n"))
            mPages.push_back(page);
    }
    Check();
    if (mStatus == PdfStatus::Ok && !ok) mStatus = PdfStatus::DrawFailed;
    DropPage();
    return mStatus;
}

PdfStatus PdfDocument::Finish() {
    if (mFinished) return mStatus;
    if (mPage) EndPage();
    mFinished = true;
    if (Check() == PdfStatus::Ok) {
        std::string kids;
        for (int page : mPages) kids += Ref(page) + " ";
        const int info = NewObject();
        BeginObject(2) && Put("<< /Type /Pages /Kids [ " + kids + "] /Count " + std::to_string(mPages.size()) +
                              " >>\nendobj\n");
        BeginObject(1) && Put("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
        BeginObject(info) && Put("<< /Producer (VellicorEX) >>\nendobj\n");
        const uint64_t xref = mOffset;
        std::string table = "xref\n0 " + std::to_string(mObjectOffsets.size() + 1) + "\n0000000000 65535 f \n";
        for (uint64_t offset : mObjectOffsets) {
            char entry[32];
            std::snprintf(entry, sizeof entry, "%010llu 00000 n \n", static_cast<unsigned long long>(offset));
            table += entry;
        }
        table += "trailer\n<< /Size " + std::to_string(mObjectOffsets.size() + 1) + " /Root 1 0 R /Info " +
                 Ref(info) + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        Put(table);
    }
    mKeeper.ReleaseKept();
    return Check();
}

void PdfDocument::DropPage() {
    mPlaced.clear();
    mPage.reset();
    mRecording.reset();
    mKeeper.ReleaseKept();
}

}  // namespace vx::gfx
