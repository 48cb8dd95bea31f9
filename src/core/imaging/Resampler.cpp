#include "imaging/Resampler.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace vx {
namespace {

constexpr int32_t kStateUsable = 0;
constexpr int32_t kStateEnded = 1;
constexpr int32_t kMinFilteredSide = 4;

/// Writes count target pixels, target pixel i from source pixel columns[i].
using GatherFn = void (*)(const uint8_t* in, uint8_t* out, const int32_t* columns,
                          int32_t count, size_t pixelBytes);

template <class Pixel>
void GatherFixed(const uint8_t* in, uint8_t* out, const int32_t* columns, int32_t count,
                 size_t /*pixelBytes*/) {
    // memcpy of a fixed size: one unaligned load and store, whatever the row alignment.
    for (int32_t i = 0; i < count; ++i) {
        Pixel p;
        std::memcpy(&p, in + size_t(columns[i]) * sizeof(Pixel), sizeof(Pixel));
        std::memcpy(out + size_t(i) * sizeof(Pixel), &p, sizeof(Pixel));
    }
}

void GatherAny(const uint8_t* in, uint8_t* out, const int32_t* columns, int32_t count,
               size_t pixelBytes) {
    for (int32_t i = 0; i < count; ++i)
        std::memcpy(out + size_t(i) * pixelBytes, in + size_t(columns[i]) * pixelBytes, pixelBytes);
}

void CopyWhole(const uint8_t* in, uint8_t* out, const int32_t* /*columns*/, int32_t count,
               size_t pixelBytes) {
    std::memcpy(out, in, size_t(count) * pixelBytes);
}

/// Source index of target index i: floor(i x in / out), in 64 bits.
std::vector<int32_t> NearestMap(int32_t in, int32_t out) {
    std::vector<int32_t> map(static_cast<size_t>(out));
    for (int32_t i = 0; i < out; ++i) map[size_t(i)] = int32_t((int64_t(i) * 2 * in / out) >> 1);
    return map;
}

/// Nearest-pixel filter kind 0. A source row that some target row needs is gathered
/// into target width at once, so a row repeated by enlarging is copied, not rebuilt.
class NearestStage {
public:
    NearestStage(const PictureDescription& in, const PictureDescription& out, size_t pixelBytes)
        : mIn(in), mOut(out), mPixelBytes(pixelBytes),
          mRow(size_t(out.width) * pixelBytes),
          mColumns(in.width == out.width ? std::vector<int32_t>() : NearestMap(in.width, out.width)),
          mRows(NearestMap(in.height, out.height)) {
        if (in.width == out.width)
            mGather = CopyWhole;
        else if (pixelBytes == 4)
            mGather = GatherFixed<uint32_t>;
        else if (pixelBytes == 8)
            mGather = GatherFixed<uint64_t>;
        else
            mGather = GatherAny;
    }

    int32_t Put(const uint8_t* row) {
        if (mNextTarget >= mOut.height) return kResamplerNoRow;
        const int32_t r = mNextSource;
        int32_t ready = 0;
        if (r >= mIn.height - 1)
            ready = mOut.height - mNextTarget;
        else
            while (mNextTarget + ready < mOut.height && mRows[size_t(mNextTarget + ready)] <= r)
                ++ready;
        // Every row made ready here maps to r: all earlier ones were taken before.
        if (mRows[size_t(mNextTarget)] == r)
            mGather(row, mRow.data(), mColumns.data(), mOut.width, mPixelBytes);
        ++mNextSource;
        mReady = ready;
        return ready;
    }

    int32_t Get(uint8_t* row) {
        if (mReady < 1) return kResamplerNoRow;
        std::memcpy(row, mRow.data(), mRow.size());
        ++mNextTarget;
        --mReady;
        return kResamplerOk;
    }

    bool HasReadyRows() const { return mReady > 0; }

private:
    PictureDescription mIn;
    PictureDescription mOut;
    size_t mPixelBytes;
    std::vector<uint8_t> mRow;
    std::vector<int32_t> mColumns;
    std::vector<int32_t> mRows;
    GatherFn mGather = nullptr;
    int32_t mNextTarget = 0;
    int32_t mNextSource = 0;
    int32_t mReady = 0;
};

}  // namespace

class ResamplerContext {
public:
    int32_t state = kStateUsable;
    std::unique_ptr<NearestStage> stage;
};

int32_t ResamplerCreate(ResamplerContext** out) {
    if (!out) return kResamplerBadState;
    *out = new (std::nothrow) ResamplerContext;
    return *out ? kResamplerOk : kResamplerOutOfMemory;
}

int32_t ResamplerBegin(const PictureDescription* source, const PictureDescription* target,
                       int32_t filterKind, int32_t rowMode, ResamplerContext* context) {
    if (!context || context->state == kStateEnded) return kResamplerBadState;
    if (!source || !target) return kResamplerBadState;
    if (source->format != target->format) return kResamplerBadState;
    if (source->width < 1 || source->height < 1 || target->width < 1 || target->height < 1)
        return kResamplerBadSize;
    if (target->width < kMinFilteredSide || target->height < kMinFilteredSide) filterKind = 0;
    // The program copies pictures with kind 0 and row mode 0 only; nothing else is built.
    if (filterKind != 0 || rowMode != 0) return kResamplerBadState;
    const uint32_t components = source->format >> 24;
    const uint32_t componentBytes = (source->format >> 19) & 0x1F;
    if (components < 1 || (componentBytes != 1 && componentBytes != 2)) return kResamplerBadState;
    context->stage.reset();
    try {
        context->stage = std::make_unique<NearestStage>(*source, *target,
                                                        size_t(components) * componentBytes);
    } catch (const std::bad_alloc&) {
        return kResamplerOutOfMemory;
    }
    return kResamplerOk;
}

int32_t ResamplerPutRow(const void* sourceRow, ResamplerContext* context) {
    if (!sourceRow) return kResamplerNullRow;
    if (!context || !context->stage) return kResamplerBadState;
    if (context->stage->HasReadyRows()) return kResamplerNoRow;
    return context->stage->Put(static_cast<const uint8_t*>(sourceRow));
}

int32_t ResamplerGetRow(void* targetRow, ResamplerContext* context) {
    if (!targetRow) return kResamplerNullRow;
    if (!context || !context->stage) return kResamplerBadState;
    return context->stage->Get(static_cast<uint8_t*>(targetRow));
}

int32_t ResamplerEnd(ResamplerContext* context) {
    if (!context) return kResamplerBadState;
    context->stage.reset();
    context->state = kStateEnded;
    return kResamplerOk;
}

void ResamplerDestroy(ResamplerContext* context) {
    if (!context) return;
    ResamplerEnd(context);
    delete context;
}

}  // namespace vx
