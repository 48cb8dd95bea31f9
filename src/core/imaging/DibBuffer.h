#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/BitmapInfoHeader.h"
#include "imaging/Rect16.h"

namespace vx {

/// A decoded picture in one malloc'd block: this 112-byte private header, a 40-byte
/// BitmapInfoHeader (32 bits, positive height, 2834 pixels per metre) and the pixels,
/// B,G,R,A, top row first, rows of 4 x width bytes. The block may also be a view that
/// somebody else owns (a mapped TempBuffer); the not-owned flag keeps Free away from it.
/// Every operation accepts a null buffer.
class DibBuffer {
public:
    static constexpr size_t kPrivateHeaderBytes = 112;
    static constexpr size_t kInfoHeaderBytes = sizeof(BitmapInfoHeader);
    static constexpr size_t kHeaderBytes = kPrivateHeaderBytes + kInfoHeaderBytes;
    static constexpr int kMaxSide = 32767;
    static constexpr int32_t kPixelsPerMetre = 2834;  // 72 pixels per inch

    /// Sets *out to a new buffer of rect's width and height (its own rectangle starts at
    /// 0, 0); 0 on success, -1 on failure with *out null. Without adoptBlock the pixels
    /// are zero. adoptBlock is a malloc'd packed 32-bit DIB (info header, then pixels) of
    /// adoptBytes bytes whose pixels the buffer keeps; it is taken over in every case and
    /// freed on failure. Sides must be 1 to 32767. formatCode is not stored: every
    /// buffer has the layout above.
    static int16_t Create(DibBuffer** out, uint32_t formatCode, const Rect16& rect,
                          void* adoptBlock = nullptr, uint64_t adoptBytes = 0);
    /// -1 for null; otherwise frees the block unless it is marked not owned, and gives 0.
    static int16_t Free(DibBuffer* buffer);

    static void SetNotOwned(DibBuffer* buffer, bool notOwned);
    static bool IsNotOwned(const DibBuffer* buffer);

    static BitmapInfoHeader* GetHeader(DibBuffer* buffer);
    static const BitmapInfoHeader* GetHeader(const DibBuffer* buffer);

    /// The pixels, and from the info header whichever of the outputs is asked for:
    /// pixel bytes, packed-DIB bytes (info header and pixels), rectangle, row bytes, bits
    /// per pixel and the header itself.
    static uint8_t* GetInfo(DibBuffer* buffer, uint64_t* pixelBytes = nullptr,
                            uint64_t* packedBytes = nullptr, Rect16* rect = nullptr,
                            int32_t* rowBytes = nullptr, int* bitCount = nullptr,
                            BitmapInfoHeader** header = nullptr);
    static uint8_t* GetBits(DibBuffer* buffer);
    static const uint8_t* GetBits(const DibBuffer* buffer);
    static uint8_t* GetBitsAndCount(DibBuffer* buffer, uint64_t* pixelBytes);
    static int32_t GetRowBytes(const DibBuffer* buffer);
    /// Whole block: width x height x 4 + 152; 0 for null.
    static uint64_t GetSize(const DibBuffer* buffer);
    /// (0, 0, height, width); the zero rectangle for null.
    static Rect16 GetRect(const DibBuffer* buffer);
    static RectL GetRectL(const DibBuffer* buffer);

private:
    DibBuffer() = default;

    uint8_t mReserved0[16];
    Rect16 mRect;
    uint8_t mReserved1[84];
    uint8_t mNotOwned;
    uint8_t mReserved2[3];
};
static_assert(sizeof(DibBuffer) == DibBuffer::kPrivateHeaderBytes);

struct DibBufferDeleter {
    void operator()(DibBuffer* buffer) const noexcept { DibBuffer::Free(buffer); }
};
/// An owned buffer; Free still leaves a not-owned view alone.
using DibBufferPtr = std::unique_ptr<DibBuffer, DibBufferDeleter>;

}  // namespace vx
