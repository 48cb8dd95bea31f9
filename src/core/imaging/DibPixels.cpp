#include "imaging/DibPixels.h"

#include <cstring>
#include <new>

namespace vx {

DibBufferPtr CreateARGBBuffer(const uint8_t* rgbRows, int width, int height) {
    if (!rgbRows) return nullptr;
    Rect16 rect;
    rect.Set(0, 0, int16_t(width), int16_t(height));
    if (width != rect.Width() || height != rect.Height()) return nullptr;  // beyond 16 bits
    DibBuffer* raw = nullptr;
    if (DibBuffer::Create(&raw, 32, rect) != 0) return nullptr;
    DibBufferPtr buffer(raw);
    uint8_t* out = DibBuffer::GetBits(raw);
    const size_t inRow = size_t(width) * 3;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = rgbRows + size_t(height - 1 - y) * inRow;
        for (int x = 0; x < width; ++x, in += 3, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = 255;
        }
    }
    return buffer;
}

std::unique_ptr<uint8_t[]> CopyToRGBRows(const DibBuffer* buffer) {
    if (!buffer) return nullptr;
    const Rect16 rect = DibBuffer::GetRect(buffer);
    const int width = rect.Width();
    const int height = rect.Height();
    const size_t outRow = size_t(width) * 3;
    std::unique_ptr<uint8_t[]> rows(new (std::nothrow) uint8_t[outRow * size_t(height)]);
    if (!rows) return nullptr;
    const uint8_t* in = DibBuffer::GetBits(buffer);
    for (int y = 0; y < height; ++y) {
        uint8_t* out = rows.get() + size_t(height - 1 - y) * outRow;
        for (int x = 0; x < width; ++x, in += 4, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return rows;
}

void CopyBufferChannel(const DibBuffer* source, DibBuffer* target, ChannelCopy mode) {
    if (!source || !target) return;
    const Rect16 rect = DibBuffer::GetRect(source);
    if (!(rect == DibBuffer::GetRect(target))) return;
    int from = 0;
    int to = 0;
    switch (mode) {
        case ChannelCopy::BlueToBlue: break;
        case ChannelCopy::BlueToAlpha: to = 3; break;
        case ChannelCopy::AlphaToBlue: from = 3; break;
        case ChannelCopy::AlphaToAlpha: from = to = 3; break;
        default: return;
    }
    const uint64_t count = uint64_t(rect.Width()) * uint64_t(rect.Height());
    const uint8_t* in = DibBuffer::GetBits(source) + from;
    uint8_t* out = DibBuffer::GetBits(target) + to;
    for (uint64_t i = 0; i < count; ++i) out[i * 4] = in[i * 4];
}

void SetOpaqueAlpha(DibBuffer* buffer) {
    if (!buffer) return;
    const Rect16 rect = DibBuffer::GetRect(buffer);
    const uint64_t count = uint64_t(rect.Width()) * uint64_t(rect.Height());
    uint8_t* alpha = DibBuffer::GetBits(buffer) + 3;
    for (uint64_t i = 0; i < count; ++i) alpha[i * 4] = 255;
}

uint32_t MeanChannelValue(const DibBuffer* buffer) {
    if (!buffer) return 0;
    Rect16 area = DibBuffer::GetRect(buffer);
    const int width = area.Width();
    area.Inset(width * 15 / 100, area.Height() * 15 / 100);
    if (area.Width() <= 0 || area.Height() <= 0) return 0;
    const uint8_t* bits = DibBuffer::GetBits(buffer);
    uint64_t sum = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        const uint8_t* green = bits + (size_t(y) * size_t(width) + size_t(area.left)) * 4 + 1;
        for (int x = 0; x < area.Width(); ++x) sum += green[size_t(x) * 4];
    }
    return uint32_t(sum / (uint64_t(area.Width()) * uint64_t(area.Height())));
}

}  // namespace vx
