#include "document/FileDialogRules.h"

#include "platform/system/Paths.h"

namespace vx {

bool IsAcceptableLayoutFileName(const std::filesystem::path& chosen) {
    // The base name ends at the last dot, so ".kqf" alone has none.
    const std::string name = PathText(chosen.filename());
    const std::string base = name.substr(0, name.rfind('.'));
    if (base.empty() || base.find_first_not_of(' ') == std::string::npos) return false;
    return base.find_first_of("\\/:,;*?<>|\"%") == std::string::npos;
}

namespace {

std::string CaseInsensitivePattern(std::string_view pattern) {
    std::string out;
    bool inBrackets = false;
    for (char c : pattern) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (c == '[') inBrackets = true;
        if (c == ']') inBrackets = false;
        if (!letter || inBrackets) {
            out += c;
            continue;
        }
        const char lower = static_cast<char>(c | 0x20);
        const char upper = static_cast<char>(lower & ~0x20);
        out += '[';
        out += lower;
        out += upper;
        out += ']';
    }
    return out;
}

}  // namespace

std::string ToDialogFilter(std::string_view filter) {
    std::string text;
    for (char c : filter)
        if (c != '\n' && c != '\r') text += c;
    while (!text.empty() && text.back() == '|') text.pop_back();
    // Fields alternate: description, patterns; only the patterns change.
    std::string out;
    size_t start = 0;
    for (int field = 0;; ++field) {
        const size_t bar = text.find('|', start);
        const std::string_view part = std::string_view(text).substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        out += field % 2 ? CaseInsensitivePattern(part) : std::string(part);
        if (bar == std::string::npos) break;
        out += '|';
        start = bar + 1;
    }
    return out;
}

}  // namespace vx
