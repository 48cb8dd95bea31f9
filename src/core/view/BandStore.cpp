#include "view/BandStore.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "platform/gfx/Canvas.h"

namespace vx {
namespace {

constexpr uint64_t kFileHeaderBytes = 14;
constexpr uint64_t kInfoHeaderBytes = 40;
constexpr uint64_t kPixelOffset = kFileHeaderBytes + kInfoHeaderBytes;

uint64_t RowBytes(int width) { return (uint64_t(width) * 3 + 3) & ~uint64_t(3); }

void Put16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

/// The stored band's size, checked against the file it came from.
struct BandFile {
    int width = 0;
    int height = 0;
    uint64_t offset = 0;
    uint64_t rowBytes = 0;
};

bool ReadHeader(const uint8_t* data, uint64_t size, BandFile& out) {
    if (size < kPixelOffset || data[0] != 'B' || data[1] != 'M') return false;
    const uint8_t* info = data + kFileHeaderBytes;
    const int32_t width = int32_t(Get32(info + 4));
    const int32_t height = int32_t(Get32(info + 8));
    if (Get32(info) != kInfoHeaderBytes || Get16(info + 14) != 24 || Get32(info + 16) != 0) return false;
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return false;
    out.width = width;
    out.height = height;
    out.offset = Get32(data + 10);
    out.rowBytes = RowBytes(width);
    return out.offset >= kPixelOffset && out.offset <= size && (size - out.offset) / out.rowBytes >= uint64_t(height);
}

/// Reads a band file's bottom-up 24-bit rows into a lazy picture's top-down pixels;
/// false when the file is no longer the band it was.
bool ReadBandFile(TempBuffer& buffer, const BandFile& f, const gfx::LazyPixels& px) {
    void* view = nullptr;
    uint64_t size = 0;
    if (!buffer.Map(&view, &size, TempBuffer::kMapReadOnly)) return false;
    BandFile now;
    const bool ok =
        ReadHeader(static_cast<const uint8_t*>(view), size, now) && now.width == f.width && now.height == f.height;
    if (ok) {
        const auto* data = static_cast<const uint8_t*>(view);
        for (int y = 0; y < f.height; ++y) {
            const uint8_t* src = data + now.offset + uint64_t(f.height - 1 - y) * now.rowBytes;
            uint8_t* dst = px.data + size_t(y) * size_t(px.stride);
            for (int x = 0; x < f.width; ++x, src += 3, dst += 4) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
                dst[3] = 255;
            }
        }
    }
    buffer.Unmap();
    buffer.DropParkedView();
    return ok;
}

}  // namespace

BandStore::~BandStore() { Clear(); }

bool BandStore::Store(int64_t page, int64_t band, const uint8_t* pixels, int width, int height, int stride,
                      int fileWidth) {
    if (!pixels || width <= 0 || height <= 0 || width > 32767 || height > 32767 || stride < width * 4) return false;
    const Key key{page, band};
    if (auto it = mEntries.find(key); it != mEntries.end()) {
        Drop(it->second);
        mEntries.erase(it);
    }
    const uint64_t bytes = uint64_t(width) * 4 * uint64_t(height);
    if (mMemoryHeld + bytes <= mMemoryBudget && StoreInMemory(key, pixels, width, height, stride)) return true;
    const int filled = width;
    width = std::clamp(fileWidth, width, 32767);
    const uint64_t rowBytes = RowBytes(width);
    const uint64_t imageBytes = rowBytes * uint64_t(height);
    const uint64_t fileBytes = kPixelOffset + imageBytes;
    if (fileBytes > UINT32_MAX) return false;

    auto* buffer = new TempBuffer;
    TempBufferRef ref(buffer);
    if (!buffer->Create(nullptr, fileBytes)) return false;
    void* view = nullptr;
    if (!buffer->Map(&view)) return false;
    auto* out = static_cast<uint8_t*>(view);
    std::memset(out, 0, kPixelOffset);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out + 2, uint32_t(fileBytes));
    Put32(out + 10, uint32_t(kPixelOffset));
    uint8_t* info = out + kFileHeaderBytes;
    Put32(info, uint32_t(kInfoHeaderBytes));
    Put32(info + 4, uint32_t(width));
    Put32(info + 8, uint32_t(height));
    Put16(info + 12, 1);
    Put16(info + 14, 24);
    Put32(info + 20, uint32_t(imageBytes));
    // Bottom-up rows of B, G, R.
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = pixels + size_t(y) * size_t(stride);
        uint8_t* row = out + kPixelOffset + uint64_t(height - 1 - y) * rowBytes;
        uint8_t* dst = row;
        for (int x = 0; x < filled; ++x, src += 4, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
        uint8_t* const rowEnd = row + uint64_t(width) * 3;
        std::memset(dst, 0xFF, size_t(rowEnd - dst));
        std::memset(rowEnd, 0, size_t(row + rowBytes - rowEnd));
    }
    buffer->Unmap();
    // Read once, when the page is written: a page's bands would otherwise stay mapped
    // and count as the process's memory.
    buffer->DropParkedView();
    mEntries[key].file = ref;
    return true;
}

bool BandStore::Store(int64_t page, int64_t band, const gfx::ImageSurface& surface, int width, int height,
                      int fileWidth) {
    const uint64_t bytes = uint64_t(width) * 4 * uint64_t(height);
    if (surface.Opaque() && surface.Width() == width && surface.Height() == height &&
        mMemoryHeld + bytes <= mMemoryBudget) {
        const Key key{page, band};
        if (auto it = mEntries.find(key); it != mEntries.end()) {
            Drop(it->second);
            mEntries.erase(it);
        }
        mMemoryHeld += bytes;
        mEntries[key].pixels = surface.Share();
        return true;
    }
    return Store(page, band, surface.Data(), width, height, surface.Stride(), fileWidth);
}

bool BandStore::StoreInMemory(const Key& key, const uint8_t* pixels, int width, int height, int stride) {
    // Kept as the drawing surface's own pixels: nothing to convert on either side, and
    // the band goes to the target as it is.
    gfx::ImageSurface copy(width, height, true);
    if (!copy.Valid()) return false;
    cairo_surface_t* native = copy.Native();
    cairo_surface_flush(native);
    uint8_t* out = cairo_image_surface_get_data(native);
    const int outStride = cairo_image_surface_get_stride(native);
    for (int y = 0; y < height; ++y)
        std::memcpy(out + size_t(y) * size_t(outStride), pixels + size_t(y) * size_t(stride), size_t(width) * 4);
    cairo_surface_mark_dirty(native);
    mMemoryHeld += uint64_t(width) * 4 * uint64_t(height);
    mEntries[key].pixels = std::move(copy);
    return true;
}

void BandStore::Drop(Entry& entry) {
    if (entry.pixels.Valid()) mMemoryHeld -= uint64_t(entry.pixels.Width()) * 4 * uint64_t(entry.pixels.Height());
    entry.pixels = gfx::ImageSurface();
    entry.file = TempBufferRef();
}

bool BandStore::InMemory(int64_t page, int64_t band) const {
    auto it = mEntries.find({page, band});
    return it != mEntries.end() && it->second.pixels.Valid();
}

bool BandStore::HasFile(int64_t page, int64_t band) const {
    auto it = mEntries.find({page, band});
    return it != mEntries.end() && it->second.file && it->second.file->HasFile();
}

TempBufferRef BandStore::Find(int64_t page, int64_t band) const {
    auto it = mEntries.find({page, band});
    return it == mEntries.end() ? TempBufferRef() : it->second.file;
}

bool BandStore::Draw(gfx::Canvas& canvas, const PixelRect& dest, int64_t page, int64_t band) {
    auto it = mEntries.find({page, band});
    if (it == mEntries.end()) return true;
    auto drawn = std::make_unique<Drawn>();
    drawn->pixels = std::move(it->second.pixels);
    drawn->file = std::move(it->second.file);
    mEntries.erase(it);

    // Either way the target reads the band through a lazy picture: a PDF document keeps
    // a plain picture it is given to its end, a lazy one it lets go with the page.
    if (drawn->pixels.Valid()) {
        drawn->image = std::make_unique<gfx::LazyImage>(
            mKeeper, gfx::CairoSurface(cairo_surface_reference(drawn->pixels.Native())));
    } else {
        TempBuffer* buffer = drawn->file.Get();
        if (!buffer || !buffer->HasFile()) return true;
        BandFile f;
        void* view = nullptr;
        uint64_t size = 0;
        if (!buffer->Map(&view, &size, TempBuffer::kMapReadOnly)) return false;
        const bool ok = ReadHeader(static_cast<const uint8_t*>(view), size, f);
        buffer->Unmap();
        if (!ok) return false;
        drawn->image = std::make_unique<gfx::LazyImage>(
            mKeeper, f.width, f.height, gfx::Opacity::Opaque,
            [buffer, f](const gfx::LazyPixels& px) { return ReadBandFile(*buffer, f, px); }, nullptr);
    }
    const int width = drawn->image->Width();
    const int height = drawn->image->Height();

    mKeeper.ClearFailure();
    const gfx::RectD box{double(dest.left), double(dest.top), double(dest.right - dest.left),
                         double(dest.bottom - dest.top)};
    canvas.Save();
    canvas.ClipRect(box);
    canvas.DrawLazyImage(*drawn->image, {box.x, box.y, double(width), double(height)}, gfx::Filter::Nearest);
    canvas.Restore();
    bool ok = canvas.Ok();
    if (cairo_surface_get_type(cairo_get_target(canvas.Native())) == CAIRO_SURFACE_TYPE_IMAGE) {
        // Painted already: the band goes now.
        ok = ok && !mKeeper.Failed();
        Release(*drawn);
    } else {
        // Other targets (a PDF page) read it when the page is written.
        mDrawn.push_back(std::move(drawn));
    }
    return ok;
}

void BandStore::Release(Drawn& drawn) {
    if (drawn.pixels.Valid()) mMemoryHeld -= uint64_t(drawn.pixels.Width()) * 4 * uint64_t(drawn.pixels.Height());
    drawn.image.reset();
    drawn.pixels = gfx::ImageSurface();
    drawn.file = TempBufferRef();
}

bool BandStore::PageWritten() {
    const bool read = !mKeeper.Failed();
    mKeeper.ClearFailure();
    mKeeper.ReleaseKept();
    for (auto& drawn : mDrawn) Release(*drawn);
    mDrawn.clear();
    return read;
}

void BandStore::Clear() {
    PageWritten();
    for (auto& [key, entry] : mEntries) Drop(entry);
    mEntries.clear();
}

}  // namespace vx
