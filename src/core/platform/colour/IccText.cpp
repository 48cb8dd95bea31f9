#include "platform/colour/IccText.h"

#include "platform/system/Utf8.h"

namespace vx {
namespace {

uint32_t Be32(std::span<const uint8_t> b, size_t at) {
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
           b[at + 3];
}

// Whether [offset, offset + length) lies inside the tag, in 64-bit arithmetic.
bool Inside(std::span<const uint8_t> tag, uint64_t offset, uint64_t length) {
    return offset <= tag.size() && length <= tag.size() - offset;
}

std::string EightBitText(std::span<const uint8_t> bytes) {
    std::string text;
    for (uint8_t b : bytes) {
        if (b == 0) break;
        text += char(b);
    }
    return ToUtf8FromUtf8OrLatin1(text);
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Big-endian UTF-16 code units.
std::string Utf16Text(std::span<const uint8_t> bytes) {
    std::string out;
    const size_t units = bytes.size() / 2;
    auto unit = [&](size_t i) { return char32_t((bytes[2 * i] << 8) | bytes[2 * i + 1]); };
    for (size_t i = 0; i < units; ++i) {
        const char32_t u = unit(i);
        if (u == 0) break;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
        }
    }
    return out;
}

std::optional<std::string> TextDescription(std::span<const uint8_t> tag) {
    if (tag.size() < 12) return std::nullopt;
    const uint64_t asciiCount = Be32(tag, 8);
    if (!Inside(tag, 12, asciiCount)) return std::nullopt;
    std::string text = EightBitText(tag.subspan(12, size_t(asciiCount)));
    // The Unicode part is optional; writers that leave the 8-bit part empty fill it.
    const uint64_t unicodeAt = 12 + asciiCount;
    if (text.empty() && Inside(tag, unicodeAt, 8)) {
        const uint64_t units = Be32(tag, size_t(unicodeAt) + 4);
        if (Inside(tag, unicodeAt + 8, units * 2))
            text = Utf16Text(tag.subspan(size_t(unicodeAt) + 8, size_t(units) * 2));
    }
    return text;
}

std::optional<std::string> MultiLocalized(std::span<const uint8_t> tag) {
    if (tag.size() < 16) return std::nullopt;
    const uint64_t records = Be32(tag, 8), recordSize = Be32(tag, 12);
    if (records == 0 || recordSize < 12 || !Inside(tag, 16, records * recordSize))
        return std::nullopt;
    uint64_t chosen = 16;  // the first record, unless there is "en"/"US"
    for (uint64_t r = 0; r < records; ++r) {
        const size_t at = size_t(16 + r * recordSize);
        if (tag[at] == 'e' && tag[at + 1] == 'n' && tag[at + 2] == 'U' && tag[at + 3] == 'S') {
            chosen = at;
            break;
        }
    }
    const uint64_t length = Be32(tag, size_t(chosen) + 4), offset = Be32(tag, size_t(chosen) + 8);
    if (!Inside(tag, offset, length)) return std::nullopt;
    return Utf16Text(tag.subspan(size_t(offset), size_t(length)));
}

}  // namespace

std::optional<std::string> DecodeIccText(std::span<const uint8_t> tag) {
    if (tag.size() < 8) return std::nullopt;
    const std::string type(tag.begin(), tag.begin() + 4);
    if (type == "desc") return TextDescription(tag);
    if (type == "mluc") return MultiLocalized(tag);
    if (type == "text") return EightBitText(tag.subspan(8));
    return std::nullopt;
}

}  // namespace vx
