#include "imaging/TiffBlock.h"

#include <algorithm>
#include <cstring>

#include "imaging/ByteSource.h"
#include "platform/system/Utf8.h"

namespace vx {
namespace {

constexpr size_t kEntryBytes = 12;

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
        case TiffBlock::kFloat:
        case TiffBlock::kIfd: return 4;
        case TiffBlock::kRational:
        case TiffBlock::kSRational:
        case TiffBlock::kDouble: return 8;
        default: return 0;
    }
}

/// Drops an incomplete UTF-8 sequence at the end of text that was cut short.
void DropCutSequence(std::string& text) {
    size_t lead = text.size();
    for (size_t back = 0; back < 4 && lead > 0; ++back) {
        --lead;
        if ((uint8_t(text[lead]) & 0xC0) != 0x80) break;
    }
    if (lead < text.size() && (uint8_t(text[lead]) & 0x80) && Utf8SequenceLength(text, lead) == 0)
        text.resize(lead);
}

}  // namespace

TiffBlock::TiffBlock(ByteSource& source) : mSource(&source), mSize(source.Size()) {}

uint16_t TiffBlock::U16(const uint8_t* p) const {
    return mBigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
}

uint32_t TiffBlock::U32(const uint8_t* p) const {
    return mBigEndian
               ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
               : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

bool TiffBlock::ReadAt(uint64_t offset, void* out, size_t length) const {
    return mSource->Read(offset, out, length);
}

bool TiffBlock::ReadHeader() {
    uint8_t h[8];
    if (!ReadAt(0, h, sizeof h)) return false;
    if (h[0] == 'I' && h[1] == 'I') mBigEndian = false;
    else if (h[0] == 'M' && h[1] == 'M') mBigEndian = true;
    else return false;
    mFirstIfd = U32(h + 4);
    return true;
}

bool TiffBlock::ReadIfd(uint32_t offset, std::vector<Entry>& entries, uint32_t* nextIfd) {
    entries.clear();
    if (nextIfd) *nextIfd = 0;
    if (std::find(mVisited.begin(), mVisited.end(), offset) != mVisited.end()) return false;
    uint8_t head[2];
    if (!ReadAt(offset, head, sizeof head)) return false;
    mVisited.push_back(offset);
    const uint64_t first = uint64_t(offset) + 2;
    const uint32_t declared = U16(head);
    const uint32_t count = uint32_t(std::min<uint64_t>(declared, (mSize - first) / kEntryBytes));
    std::vector<uint8_t> raw(size_t(count) * kEntryBytes);
    if (!ReadAt(first, raw.data(), raw.size())) return false;
    entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* p = raw.data() + size_t(i) * kEntryBytes;
        Entry e;
        e.tag = U16(p);
        e.type = U16(p + 2);
        e.count = U32(p + 4);
        std::memcpy(e.field.data(), p + 8, 4);
        const uint64_t bytes = uint64_t(TypeSize(e.type)) * e.count;
        if (bytes == 0) continue;  // unknown type or no value
        const uint64_t valueAt = bytes <= 4 ? first + uint64_t(i) * kEntryBytes + 8 : uint64_t(U32(p + 8));
        if (valueAt > mSize || bytes > mSize - valueAt) continue;
        e.valueOffset = valueAt;
        e.valueBytes = uint32_t(bytes);
        entries.push_back(e);
    }
    if (nextIfd && count == declared) {
        uint8_t next[4];
        if (ReadAt(first + uint64_t(count) * kEntryBytes, next, sizeof next)) *nextIfd = U32(next);
    }
    return true;
}

bool TiffBlock::Value(const Entry& e, uint8_t* out, size_t length) const {
    if (length > e.valueBytes) return false;
    if (e.valueBytes <= 4) {
        std::memcpy(out, e.field.data(), length);
        return true;
    }
    return ReadAt(e.valueOffset, out, length);
}

std::optional<uint16_t> TiffBlock::Short(const Entry& e) const {
    uint8_t v[2];
    if (e.type != kShort || !Value(e, v, sizeof v)) return std::nullopt;
    return U16(v);
}

std::optional<uint32_t> TiffBlock::Unsigned(const Entry& e) const {
    if (e.type == kShort) return Short(e);
    uint8_t v[4];
    if (e.type != kLong || !Value(e, v, sizeof v)) return std::nullopt;
    return U32(v);
}

std::optional<uint32_t> TiffBlock::Offset(const Entry& e) const {
    if (e.type != kIfd) return Unsigned(e);
    uint8_t v[4];
    if (!Value(e, v, sizeof v)) return std::nullopt;
    return U32(v);
}

std::optional<std::pair<uint32_t, uint32_t>> TiffBlock::Rational(const Entry& e) const {
    uint8_t v[8];
    if (e.type != kRational || !Value(e, v, sizeof v)) return std::nullopt;
    return std::make_pair(U32(v), U32(v + 4));
}

std::optional<std::pair<int32_t, int32_t>> TiffBlock::SRational(const Entry& e) const {
    uint8_t v[8];
    if (e.type != kSRational || !Value(e, v, sizeof v)) return std::nullopt;
    return std::make_pair(int32_t(U32(v)), int32_t(U32(v + 4)));
}

std::string TiffBlock::Text(const Entry& e, size_t maxChars) const {
    if (e.type != kAscii) return {};
    // No character takes more than four bytes, so this many hold maxChars of them.
    const size_t readBytes = std::min<uint64_t>(e.valueBytes, uint64_t(maxChars) * 4);
    std::string raw(readBytes, '\0');
    if (!Value(e, reinterpret_cast<uint8_t*>(raw.data()), readBytes)) return {};
    const size_t nul = raw.find('\0');
    if (nul != std::string::npos) raw.resize(nul);
    else if (readBytes < e.valueBytes) DropCutSequence(raw);
    return TruncateCodePoints(ToUtf8FromUtf8OrLatin1(raw), maxChars);
}

bool TiffBlock::Bytes(const Entry& e, uint8_t* out, size_t length) const {
    if (e.type != kUndefined && e.type != kByte) return false;
    return Value(e, out, length);
}

}  // namespace vx
