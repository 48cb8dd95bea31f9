#include "templates/XmlValueForms.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>

#include "platform/system/Utf8.h"

namespace vx {
namespace {

void AppendInt(std::string& out, int64_t value) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

int64_t Saturate(int64_t v, int64_t lo, int64_t hi) { return std::clamp(v, lo, hi); }

/// Accumulates digits from pos, saturating far outside int32 so that no digit count
/// overflows.
int64_t ReadDigits(std::string_view text, size_t& pos) {
    int64_t v = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        v = std::min<int64_t>(v * 10 + (text[pos] - '0'), int64_t(1) << 40);
        ++pos;
    }
    return v;
}

/// One "%d" conversion of scanf: blanks, a sign, digits. False when no digit follows.
bool ScanInt(std::string_view text, size_t& pos, int32_t& value) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    if (pos >= text.size() || !IsDigit(text[pos])) return false;
    int64_t v = ReadDigits(text, pos);
    value = int32_t(Saturate(negative ? -v : v, INT32_MIN, INT32_MAX));
    return true;
}

/// Scans count comma-separated "%d" components into fields until one does not parse.
void ScanInts(std::string_view text, std::span<int32_t* const> fields) {
    size_t pos = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',') return;
            ++pos;
        }
        if (!ScanInt(text, pos, *fields[i])) return;
    }
}

constexpr std::array<std::string_view, 25> kLabelWords = {
    "Number",        "Name",          "Created",        "Modified",           "Size",
    "Image Type",    "Pixels",        "Resolution",     "Source Profile",     "Simulation Profile",
    "Maker",         "Model",         "Exif Version",   "Data Time Original", "Data Time Digitized",
    "Light Source",  "Exposure Time", "Exposure Bias Value", "F Value",       "ISO Speed Ratings",
    "White Balance", "Color Space",   "Contrast",       "Saturation",         "Flash",
};

constexpr std::array<std::pair<int16_t, std::string_view>, 3> kFaceWords = {{
    {0x100, "Bold"}, {0x200, "Italic"}, {0x400, "Underline"}}};

constexpr XmlWord kIntentWords[] = {
    {1, "Perceptual"},           {2, "Saturation"},          {3, "Relative Colormetric"},
    {4, "Absolute Colormetric"}, {5, "Endorsed by Profile"},
};

}  // namespace

const std::span<const XmlWord> kXmlIntentWords{kIntentWords};

std::string FormatXmlBool(bool value) { return value ? "true" : "false"; }

bool ParseXmlBool(std::string_view text) {
    constexpr std::string_view kTrue = "true";
    if (text.size() != kTrue.size()) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if ((text[i] | 0x20) != kTrue[i]) return false;
    return true;
}

std::string FormatXmlInt(int64_t value) {
    std::string s;
    AppendInt(s, value);
    return s;
}

int32_t ParseXmlInt(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && !IsDigit(text[pos]) && text[pos] != '-') ++pos;
    bool negative = false;
    if (pos < text.size() && text[pos] == '-') {
        negative = true;
        ++pos;
    }
    int64_t v = ReadDigits(text, pos);
    return int32_t(Saturate(negative ? -v : v, INT32_MIN, INT32_MAX));
}

int16_t ParseXmlShort(std::string_view text) {
    return int16_t(Saturate(ParseXmlInt(text), INT16_MIN, INT16_MAX));
}

std::string FormatXmlPair(LayoutPoint value) {
    std::string s;
    AppendInt(s, value.y);
    s += ',';
    AppendInt(s, value.x);
    return s;
}

void ParseXmlPair(std::string_view text, LayoutPoint& value) {
    int32_t* const fields[] = {&value.y, &value.x};
    ScanInts(text, fields);
}

std::string FormatXmlRect(LayoutRect value) {
    std::string s;
    for (int32_t v : {value.top, value.left, value.bottom, value.right}) {
        if (!s.empty()) s += ',';
        AppendInt(s, v);
    }
    return s;
}

void ParseXmlRect(std::string_view text, LayoutRect& value) {
    int32_t* const fields[] = {&value.top, &value.left, &value.bottom, &value.right};
    ScanInts(text, fields);
}

std::string FormatXmlColour(ColorRef value) {
    std::string s;
    AppendInt(s, value & 0xFF);
    s += ',';
    AppendInt(s, (value >> 8) & 0xFF);
    s += ',';
    AppendInt(s, (value >> 16) & 0xFF);
    return s;
}

void ParseXmlColour(std::string_view text, ColorRef& value) {
    int32_t c[3] = {int32_t(value & 0xFF), int32_t((value >> 8) & 0xFF), int32_t((value >> 16) & 0xFF)};
    int32_t* const fields[] = {&c[0], &c[1], &c[2]};
    ScanInts(text, fields);
    for (int32_t& v : c) v = std::clamp(v, 0, 255);
    value = (value & 0xFF000000u) | ColorRef(c[0]) | ColorRef(c[1]) << 8 | ColorRef(c[2]) << 16;
}

std::string FormatXmlPoints(int32_t size) { return FormatXmlInt(size / 5); }

int16_t ParseXmlPoints(std::string_view text) {
    return int16_t(Saturate(int64_t(ParseXmlShort(text)) * 5, INT16_MIN, INT16_MAX));
}

std::string FormatXmlDate(const XmlDate& value) {
    std::string s;
    AppendInt(s, value.year);
    s += '-';
    AppendInt(s, value.month);
    s += '-';
    AppendInt(s, value.day);
    return s;
}

void ParseXmlDate(std::string_view text, XmlDate& value) {
    int32_t parts[3] = {value.year, value.month, value.day};
    size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != '-') break;
            ++pos;
        }
        if (!ScanInt(text, pos, parts[i])) break;
    }
    value = {int16_t(Saturate(parts[0], INT16_MIN, INT16_MAX)),
             int16_t(Saturate(parts[1], INT16_MIN, INT16_MAX)),
             int16_t(Saturate(parts[2], INT16_MIN, INT16_MAX))};
}

std::string FormatXmlFace(int32_t face) {
    std::string s;
    for (auto [bit, word] : kFaceWords) {
        if (!(face & bit)) continue;
        if (!s.empty()) s += '+';
        s += word;
    }
    return s.empty() ? "Normal" : s;
}

int16_t ParseXmlFace(std::string_view text) {
    int16_t face = 0;
    for (auto [bit, word] : kFaceWords)
        if (text.find(word) != std::string_view::npos) face = int16_t(face | bit);
    return face;
}

std::string FormatXmlLabels(uint32_t mask) {
    std::string s;
    for (size_t bit = 0; bit < kLabelWords.size(); ++bit) {
        if (!(mask & (1u << bit))) continue;
        if (!s.empty()) s += '+';
        s += kLabelWords[bit];
    }
    return s.empty() ? "Off" : s;
}

uint32_t ParseXmlLabels(std::string_view text) {
    uint32_t mask = 0;
    for (size_t bit = 0; bit < kLabelWords.size(); ++bit)
        if (text.find(kLabelWords[bit]) != std::string_view::npos) mask |= 1u << bit;
    return mask;
}

std::optional<std::string_view> FormatXmlWord(std::span<const XmlWord> words, int32_t value) {
    for (const XmlWord& w : words)
        if (w.value == value) return w.word;
    return std::nullopt;
}

std::optional<int32_t> ParseXmlWord(std::span<const XmlWord> words, std::string_view text) {
    for (const XmlWord& w : words)
        if (w.word == text) return w.value;
    return std::nullopt;
}

std::optional<std::string> ToXmlText(std::string_view text, bool quoted) {
    if (!IsValidUtf8(text)) return std::nullopt;
    std::string out;
    out.reserve(text.size() + 2);
    if (quoted) out += '"';
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && quoted) continue;
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') continue;
        // U+FFFE and U+FFFF: EF BF BE / EF BF BF.
        if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
            (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE) {
            i += 2;
            continue;
        }
        out += char(c);
    }
    if (quoted) out += '"';
    return out;
}

std::string FromXmlText(std::string_view text) {
    const size_t first = text.find('"');
    const size_t last = text.rfind('"');
    if (first != std::string_view::npos && last != first) text = text.substr(first + 1, last - first - 1);
    std::string out;
    out.reserve(text.size());
    // A line break written as a character reference arrives as CR LF already.
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

}  // namespace vx
