#include "imaging/DecodeTarget.h"

#include <algorithm>

#include "imaging/CopyDib.h"
#include "platform/system/StringTable.h"

namespace vx {

DibBufferPtr NewDibBuffer(int width, int height) {
    if (width < 1 || height < 1 || width > DibBuffer::kMaxSide || height > DibBuffer::kMaxSide)
        return nullptr;
    Rect16 rect;
    rect.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    DibBuffer::Create(&raw, 32, rect);
    return DibBufferPtr(raw);
}

DibBufferPtr ScaleToTarget(DibBufferPtr decoded, const Rect16* target, int& messageId) {
    if (!decoded || !target) return decoded;
    const int width = std::max(1, target->Width());
    const int height = std::max(1, target->Height());
    const Rect16 rect = DibBuffer::GetRect(decoded.get());
    if (rect.Width() == width && rect.Height() == height) return decoded;
    DibBufferPtr scaled = NewDibBuffer(width, height);
    if (!scaled || !CopyDib(decoded.get(), scaled.get())) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    return scaled;
}

}  // namespace vx
