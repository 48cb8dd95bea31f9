#include "platform/system/Utf8.h"

#include <glib.h>

#include <memory>

namespace vx {

size_t Utf8SequenceLength(std::string_view s, size_t pos) {
    if (pos >= s.size()) return 0;
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[pos + k]); };
    unsigned char c = b(0);
    if (c < 0x80) return 1;
    size_t len;
    unsigned cp;
    if (c >= 0xC2 && c <= 0xDF) { len = 2; cp = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { len = 3; cp = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { len = 4; cp = c & 0x07; }
    else return 0;
    if (pos + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((b(k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not valid.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

size_t CountCodePoints(std::string_view s) {
    size_t n = 0;
    for (size_t i = 0; i < s.size(); ++n) {
        size_t len = Utf8SequenceLength(s, i);
        i += len ? len : 1;
    }
    return n;
}

bool IsValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        size_t len = Utf8SequenceLength(s, i);
        if (!len) return false;
        i += len;
    }
    return true;
}

std::string ToUtf8FromUtf8OrLatin1(std::string_view s) {
    if (IsValidUtf8(s)) return std::string(s);
    std::string out;
    out.reserve(s.size() * 2);
    for (unsigned char c : s) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string TruncateCodePoints(std::string_view s, size_t maxChars) {
    size_t i = 0;
    for (size_t n = 0; i < s.size() && n < maxChars; ++n) {
        size_t len = Utf8SequenceLength(s, i);
        i += len ? len : 1;
    }
    return std::string(s.substr(0, i));
}

std::string_view TruncateBytes(std::string_view s, size_t maxBytes) {
    size_t i = 0;
    while (i < s.size()) {
        size_t len = Utf8SequenceLength(s, i);
        if (len == 0) len = 1;
        if (i + len > maxBytes) break;
        i += len;
    }
    return s.substr(0, i);
}

std::string_view TrimBlanks(std::string_view s) {
    const char* blanks = " \t\r\n";
    size_t b = s.find_first_not_of(blanks);
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(blanks) - b + 1);
}

std::string AsciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

bool EqualsNoCaseAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string FoldForSort(std::string_view utf8) {
    const std::string valid = ToUtf8FromUtf8OrLatin1(utf8);
    const auto freeG = [](gchar* p) { g_free(p); };
    std::unique_ptr<gchar, decltype(freeG)> normal(
        g_utf8_normalize(valid.data(), static_cast<gssize>(valid.size()), G_NORMALIZE_DEFAULT_COMPOSE), freeG);
    if (!normal) return AsciiLower(valid);
    std::unique_ptr<gchar, decltype(freeG)> folded(g_utf8_casefold(normal.get(), -1), freeG);
    // Folding can decompose again (ß stays, but some ligatures split): normalise once more.
    std::unique_ptr<gchar, decltype(freeG)> key(g_utf8_normalize(folded.get(), -1, G_NORMALIZE_DEFAULT_COMPOSE),
                                                freeG);
    return key ? std::string(key.get()) : std::string(folded.get());
}

}  // namespace vx
