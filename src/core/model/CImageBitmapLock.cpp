#include "model/CImageBitmapLock.h"

#include <algorithm>
#include <utility>

#include "imaging/DibBuffer.h"

#include "model/CImageObj.h"
#include "model/WorkingBitmapError.h"

namespace vx {

CImageBitmapLock::CImageBitmapLock(const CImageObj* item, int access) {
    TempBuffer* buffer = item ? item->GetWorkingTempBuffer() : nullptr;
    if (!buffer) throw WorkingBitmapError("an image item without a working bitmap buffer");
    if (buffer->HasFile() && !buffer->Map(&mView, &mBytes, access))
        throw WorkingBitmapError("an image item's working bitmap cannot be mapped");
    AddRefTempBuffer(buffer);
    mBuffer = buffer;
}

CImageBitmapLock::~CImageBitmapLock() { Release(); }

CImageBitmapLock::CImageBitmapLock(CImageBitmapLock&& other) noexcept
    : mBuffer(std::exchange(other.mBuffer, nullptr)),
      mView(std::exchange(other.mView, nullptr)),
      mBytes(std::exchange(other.mBytes, 0)) {}

CImageBitmapLock& CImageBitmapLock::operator=(CImageBitmapLock&& other) noexcept {
    if (this != &other) {
        Release();
        mBuffer = std::exchange(other.mBuffer, nullptr);
        mView = std::exchange(other.mView, nullptr);
        mBytes = std::exchange(other.mBytes, 0);
    }
    return *this;
}

std::span<uint8_t> CImageBitmapLock::Pixels() const {
    DibBuffer* dib = Bitmap();
    if (!dib || mBytes < DibBuffer::kHeaderBytes || DibBuffer::GetHeader(dib)->bitCount != 32) return {};
    const Rect16 rect = DibBuffer::GetRect(dib);
    if (rect.Width() <= 0 || rect.Height() <= 0) return {};
    const uint64_t bytes = std::min(uint64_t(rect.Width()) * uint64_t(rect.Height()) * 4u,
                                    (mBytes - DibBuffer::kHeaderBytes) / 4 * 4);
    return {DibBuffer::GetBits(dib), size_t(bytes)};
}

void CImageBitmapLock::Release() noexcept {
    if (!mBuffer) return;
    if (mView) mBuffer->Unmap();
    mView = nullptr;
    mBytes = 0;
    ReleaseTempBuffer(&mBuffer);
}

}  // namespace vx
