#pragma once
#include <cstdint>
#include <span>

#include "imaging/TempBuffer.h"

namespace vx {

class CImageObj;
class DibBuffer;

/// Keeps an image item's working bitmap mapped, and alive, for the lock's lifetime:
/// only meanwhile is the item's GetWorkingBuffer() an address. A bitmap that was never
/// stored maps nothing (Bitmap() stays null). Throws WorkingBitmapError for a null item,
/// an item without a buffer (memory ran out) or a mapping that fails (its file is gone).
/// The lock holds its own reference, so the item may take another bitmap meanwhile.
class CImageBitmapLock {
public:
    explicit CImageBitmapLock(const CImageObj* item, int access = TempBuffer::kMapReadWrite);
    explicit CImageBitmapLock(const CImageObj& item, int access = TempBuffer::kMapReadWrite)
        : CImageBitmapLock(&item, access) {}
    ~CImageBitmapLock();
    CImageBitmapLock(CImageBitmapLock&& other) noexcept;
    CImageBitmapLock& operator=(CImageBitmapLock&& other) noexcept;
    CImageBitmapLock(const CImageBitmapLock&) = delete;
    CImageBitmapLock& operator=(const CImageBitmapLock&) = delete;

    /// The buffer the lock holds (it stays the same while the item takes another).
    TempBuffer* Buffer() const { return mBuffer; }
    /// The mapped bitmap, or null when none was stored.
    DibBuffer* Bitmap() const { return static_cast<DibBuffer*>(mView); }
    /// Bytes of the mapping (header and pixels); 0 when nothing is mapped.
    uint64_t MappedBytes() const { return mBytes; }
    /// The B,G,R,A pixels of a mapped 32-bit bitmap, within its own bounds and the
    /// mapping; empty when nothing is mapped or the bitmap is of another kind.
    std::span<uint8_t> Pixels() const;

private:
    void Release() noexcept;

    TempBuffer* mBuffer = nullptr;  // one reference
    void* mView = nullptr;
    uint64_t mBytes = 0;
};

}  // namespace vx
