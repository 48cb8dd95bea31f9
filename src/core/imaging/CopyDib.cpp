#include "imaging/CopyDib.h"

#include <cstring>
#include <memory>

#include "imaging/Resampler.h"

namespace vx {
namespace {

struct ResamplerDestroyer {
    void operator()(ResamplerContext* c) const noexcept { ResamplerDestroy(c); }
};

}  // namespace

bool CopyDib(const DibBuffer* source, DibBuffer* target) {
    if (!source || !target) return false;
    const Rect16 from = DibBuffer::GetRect(source);
    const Rect16 to = DibBuffer::GetRect(target);
    if (from == to) {
        std::memcpy(DibBuffer::GetBits(target), DibBuffer::GetBits(source),
                    size_t(DibBuffer::GetSize(source) - DibBuffer::kHeaderBytes));
        return true;
    }

    ResamplerContext* raw = nullptr;
    if (ResamplerCreate(&raw) != kResamplerOk) return false;
    std::unique_ptr<ResamplerContext, ResamplerDestroyer> context(raw);
    const PictureDescription in{from.Width(), from.Height(), kPixelFormatBGRA8};
    const PictureDescription out{to.Width(), to.Height(), kPixelFormatBGRA8};
    if (ResamplerBegin(&in, &out, 0, 0, raw) != kResamplerOk) return false;

    const size_t inStride = size_t(DibBuffer::GetRowBytes(source));
    const size_t outStride = size_t(DibBuffer::GetRowBytes(target));
    const uint8_t* inRow = DibBuffer::GetBits(source);
    uint8_t* outRow = DibBuffer::GetBits(target);
    uint8_t* const outEnd = outRow + outStride * size_t(out.height);
    for (int32_t y = 0; y < in.height; ++y, inRow += inStride) {
        const int32_t ready = ResamplerPutRow(inRow, raw);
        if (ready == kResamplerNoRow) continue;
        if (ready < 0) return false;
        for (int32_t i = 0; i < ready; ++i, outRow += outStride) {
            if (outRow >= outEnd || ResamplerGetRow(outRow, raw) != kResamplerOk) return false;
        }
    }
    return true;
}

}  // namespace vx
