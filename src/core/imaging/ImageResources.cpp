#include "imaging/ImageResources.h"

#include <cstring>

namespace vx {

uint32_t BigEndianValue(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | p[i];
    return v;
}

bool ImageResourceReader::Next(ImageResource& out) {
    if (mStopped || mPosition >= mSize) return false;
    const uint8_t* p = mData + mPosition;
    const size_t left = mSize - mPosition;
    // Signature, id and the name's length byte come first.
    if (left < 7 || std::memcmp(p, "8BIM", 4) != 0) {
        mStopped = true;
        return false;
    }
    const size_t nameLength = p[6];
    const size_t nameBytes = (1 + nameLength + 1) & ~size_t(1);
    const size_t sizeAt = 6 + nameBytes;
    if (left < sizeAt + 4) {
        mStopped = true;
        return false;
    }
    const size_t dataSize = BigEndianValue(p + sizeAt, 4);
    const size_t dataAt = sizeAt + 4;
    if (dataSize > left - dataAt) {
        mStopped = true;
        return false;
    }
    out.id = uint16_t(BigEndianValue(p + 4, 2));
    out.name = {p + 7, nameLength};
    out.data = {p + dataAt, dataSize};
    // The pad byte may be missing after the last resource.
    mPosition += dataAt + dataSize + (dataSize & 1);
    return true;
}

std::optional<ImageResource> FindImageResource(std::span<const uint8_t> block, uint16_t id) {
    ImageResourceReader reader(block);
    for (ImageResource r; reader.Next(r);)
        if (r.id == id) return r;
    return std::nullopt;
}

}  // namespace vx
