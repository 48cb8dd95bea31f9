#include "imaging/TiffBlock.h"

#include <algorithm>
#include <cstdint>

namespace vx {
namespace {

uint32_t TypeSize(uint16_t type) {
    switch (type) {
        case TiffBlock::kByte:
        case TiffBlock::kAscii:
        case TiffBlock::kSByte:
        case TiffBlock::kUndefined: return 1;
        case TiffBlock::kShort:
        case TiffBlock::kSShort: return 2;
        case TiffBlock::kLong:
        case TiffBlock::kSLong:
        case TiffBlock::kFloat: return 4;
        case TiffBlock::kRational:
        case TiffBlock::kSRational:
        case TiffBlock::kDouble: return 8;
        default: return 0;
    }
}

}  // namespace

// Offsets in the block are 32-bit; a larger block is read as far as they reach.
TiffBlock::TiffBlock(const uint8_t* data, size_t size)
    : mData(data), mSize(data ? std::min<size_t>(size, UINT32_MAX) : 0) {}

uint16_t TiffBlock::U16(uint32_t o) const {
    const uint8_t* p = mData + o;
    return mBigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
}

uint32_t TiffBlock::U32(uint32_t o) const {
    const uint8_t* p = mData + o;
    return mBigEndian
               ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
               : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

bool TiffBlock::ReadHeader() {
    if (mSize < 8) return false;
    if (mData[0] == 'I' && mData[1] == 'I') mBigEndian = false;
    else if (mData[0] == 'M' && mData[1] == 'M') mBigEndian = true;
    else return false;
    mFirstIfd = U32(4);
    return true;
}

bool TiffBlock::ReadIfd(uint32_t offset, std::vector<Entry>& entries, uint32_t* nextIfd) const {
    entries.clear();
    if (nextIfd) *nextIfd = 0;
    if (uint64_t(offset) + 2 > mSize) return false;
    const uint32_t count = U16(offset);
    const uint64_t end = uint64_t(offset) + 2 + uint64_t(count) * 12;
    if (end > mSize) return false;
    entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t at = offset + 2 + i * 12;
        Entry e;
        e.tag = U16(at);
        e.type = U16(at + 2);
        e.count = U32(at + 4);
        const uint64_t bytes = uint64_t(TypeSize(e.type)) * e.count;
        if (bytes == 0) continue;  // unknown type or no value
        const uint64_t valueAt = bytes <= 4 ? uint64_t(at) + 8 : uint64_t(U32(at + 8));
        if (valueAt + bytes > mSize) continue;
        e.valueOffset = uint32_t(valueAt);
        e.valueBytes = uint32_t(bytes);
        entries.push_back(e);
    }
    if (nextIfd && end + 4 <= mSize) *nextIfd = U32(uint32_t(end));
    return true;
}

std::optional<uint32_t> TiffBlock::Unsigned(const Entry& e) const {
    switch (e.type) {
        case kByte: return mData[e.valueOffset];
        case kShort: return U16(e.valueOffset);
        case kLong: return U32(e.valueOffset);
        default: return std::nullopt;
    }
}

std::optional<std::pair<uint32_t, uint32_t>> TiffBlock::Rational(const Entry& e) const {
    if (e.type != kRational) return std::nullopt;
    return std::make_pair(U32(e.valueOffset), U32(e.valueOffset + 4));
}

std::string TiffBlock::Text(const Entry& e, size_t capacity) const {
    if (e.type != kAscii) return {};
    const char* p = reinterpret_cast<const char*>(mData + e.valueOffset);
    size_t n = 0;
    while (n < e.valueBytes && n < capacity && p[n] != '\0') ++n;
    return std::string(p, n);
}

}  // namespace vx
