#include "imaging/DibBuffer.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

namespace vx {
namespace {

struct FreeBlock {
    void operator()(void* p) const noexcept { std::free(p); }
};

/// Asks for 2 MiB pages over the aligned middle of a large block: a picture written
/// once from top to bottom then costs a few dozen page faults instead of thousands.
/// Only advice; where the system refuses, nothing changes.
void AdviseHugePages(void* block, uint64_t size) {
    constexpr uintptr_t kHugePage = uintptr_t(2) << 20;
    const uintptr_t start = reinterpret_cast<uintptr_t>(block);
    const uintptr_t begin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t end = (start + uintptr_t(size)) & ~(kHugePage - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

uint8_t* Block(DibBuffer* buffer) { return reinterpret_cast<uint8_t*>(buffer); }
const uint8_t* Block(const DibBuffer* buffer) { return reinterpret_cast<const uint8_t*>(buffer); }

}  // namespace

int16_t DibBuffer::Create(DibBuffer** out, uint32_t /*formatCode*/, const Rect16& rect,
                          void* adoptBlock, uint64_t adoptBytes) {
    static_assert(offsetof(DibBuffer, mRect) == 16);
    static_assert(offsetof(DibBuffer, mNotOwned) == 108);
    std::unique_ptr<void, FreeBlock> adopted(adoptBlock);
    if (!out) return -1;
    *out = nullptr;
    const int width = rect.Width();
    const int height = rect.Height();
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return -1;
    // 32767 x 32767 x 4 needs more than 32 bits.
    const uint64_t pixelBytes = uint64_t(width) * uint64_t(height) * 4u;
    const uint64_t total = kHeaderBytes + pixelBytes;

    uint8_t* block = nullptr;
    if (adopted) {
        // Only a table-less 32-bit DIB of this size, and only if the block really
        // holds all the pixels its header claims.
        if (adoptBytes < kInfoHeaderBytes + pixelBytes) return -1;
        BitmapInfoHeader given;
        std::memcpy(&given, adopted.get(), sizeof given);
        if (given.size != kInfoHeaderBytes || given.bitCount != 32 || given.width != width ||
            (given.height != height && int64_t(given.height) != -int64_t(height)))
            return -1;
        void* grown = std::realloc(adopted.get(), size_t(total));
        if (!grown) return -1;
        adopted.release();
        block = static_cast<uint8_t*>(grown);
        std::memmove(block + kPrivateHeaderBytes, block, size_t(kInfoHeaderBytes + pixelBytes));
        std::memset(block, 0, kHeaderBytes);
    } else {
        // calloc: large blocks come as fresh zero pages at no cost.
        block = static_cast<uint8_t*>(std::calloc(1, size_t(total)));
        if (!block) return -1;
        AdviseHugePages(block, total);
    }

    auto* buffer = reinterpret_cast<DibBuffer*>(block);
    buffer->mNotOwned = 0;
    buffer->mRect.Set(0, 0, int16_t(width), int16_t(height));
    BitmapInfoHeader header;
    header.width = width;
    header.height = height;
    header.xPelsPerMeter = kPixelsPerMetre;
    header.yPelsPerMeter = kPixelsPerMetre;
    std::memcpy(block + kPrivateHeaderBytes, &header, sizeof header);
    *out = buffer;
    return 0;
}

int16_t DibBuffer::Free(DibBuffer* buffer) {
    if (!buffer) return -1;
    if (!buffer->mNotOwned) std::free(buffer);
    return 0;
}

void DibBuffer::SetNotOwned(DibBuffer* buffer, bool notOwned) {
    if (buffer) buffer->mNotOwned = notOwned ? 1 : 0;
}

bool DibBuffer::IsNotOwned(const DibBuffer* buffer) { return buffer && buffer->mNotOwned != 0; }

BitmapInfoHeader* DibBuffer::GetHeader(DibBuffer* buffer) {
    return buffer ? reinterpret_cast<BitmapInfoHeader*>(Block(buffer) + kPrivateHeaderBytes)
                  : nullptr;
}

const BitmapInfoHeader* DibBuffer::GetHeader(const DibBuffer* buffer) {
    return buffer ? reinterpret_cast<const BitmapInfoHeader*>(Block(buffer) + kPrivateHeaderBytes)
                  : nullptr;
}

uint8_t* DibBuffer::GetInfo(DibBuffer* buffer, uint64_t* pixelBytes, uint64_t* packedBytes,
                            Rect16* rect, int32_t* rowBytes, int* bitCount,
                            BitmapInfoHeader** header) {
    BitmapInfoHeader* h = GetHeader(buffer);
    const int64_t bytesPerPixel = h ? h->bitCount / 8 : 0;
    const int64_t width = h ? h->width : 0;
    const int64_t height = h ? h->height : 0;
    const uint64_t pixels = h ? uint64_t(bytesPerPixel * height * width) : 0;
    if (pixelBytes) *pixelBytes = pixels;
    // Our header never carries a colour table, so the pixels follow it directly.
    if (packedBytes) *packedBytes = h ? pixels + kInfoHeaderBytes : 0;
    if (rect) {
        *rect = Rect16{};
        if (h) rect->Set(0, 0, int16_t(width), int16_t(height));
    }
    if (rowBytes) *rowBytes = int32_t(bytesPerPixel * width);
    if (bitCount) *bitCount = h ? h->bitCount : 0;
    if (header) *header = h;
    return h ? Block(buffer) + kHeaderBytes : nullptr;
}

uint8_t* DibBuffer::GetBits(DibBuffer* buffer) {
    return buffer ? Block(buffer) + kHeaderBytes : nullptr;
}

const uint8_t* DibBuffer::GetBits(const DibBuffer* buffer) {
    return buffer ? Block(buffer) + kHeaderBytes : nullptr;
}

uint8_t* DibBuffer::GetBitsAndCount(DibBuffer* buffer, uint64_t* pixelBytes) {
    return GetInfo(buffer, pixelBytes);
}

int32_t DibBuffer::GetRowBytes(const DibBuffer* buffer) {
    return buffer ? 4 * buffer->mRect.Width() : 0;
}

uint64_t DibBuffer::GetSize(const DibBuffer* buffer) {
    if (!buffer) return 0;
    return uint64_t(buffer->mRect.Width()) * uint64_t(buffer->mRect.Height()) * 4u + kHeaderBytes;
}

Rect16 DibBuffer::GetRect(const DibBuffer* buffer) {
    Rect16 r;
    if (buffer) r.Set(0, 0, int16_t(buffer->mRect.Width()), int16_t(buffer->mRect.Height()));
    return r;
}

RectL DibBuffer::GetRectL(const DibBuffer* buffer) {
    const Rect16 r = GetRect(buffer);
    return RectL{0, 0, r.right, r.bottom};
}

}  // namespace vx
