#include "app/WindowPlacement.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "app/SettingsStore.h"

namespace vx {
namespace {

constexpr std::string_view kSettings = "Settings";
constexpr std::string_view kWindowPos = "WindowPos";
constexpr std::string_view kWindow = "Window";

// One sscanf conversion: blanks, an optional sign, digits. %u takes a sign too and
// wraps, as the C library does.
bool ScanNumber(std::string_view& text, long long& out) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    size_t start = i;
    unsigned long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > 0xFFFFFFFFull) value = 0xFFFFFFFFull + 1;  // out of range: saturate
        ++i;
    }
    if (i == start) return false;
    out = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    text.remove_prefix(i);
    return true;
}

int32_t ToInt32(long long v) {
    return static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

bool Overlaps(const ScreenRect& a, const ScreenRect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

}  // namespace

std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text) {
    long long v[10];
    for (int i = 0; i < 10; ++i) {
        if (i > 0) {
            if (text.empty() || text.front() != ',') return std::nullopt;
            text.remove_prefix(1);
        }
        if (!ScanNumber(text, v[i])) return std::nullopt;
    }
    WindowPlacement p;
    p.flags = static_cast<uint32_t>(v[0]);
    p.showCommand = static_cast<uint32_t>(v[1]);
    p.minX = ToInt32(v[2]);
    p.minY = ToInt32(v[3]);
    p.maxX = ToInt32(v[4]);
    p.maxY = ToInt32(v[5]);
    p.normal = {ToInt32(v[6]), ToInt32(v[7]), ToInt32(v[8]), ToInt32(v[9])};
    return p;
}

std::string FormatWindowPlacement(const WindowPlacement& p) {
    std::string out = std::to_string(p.flags) + ',' + std::to_string(p.showCommand);
    for (int32_t v : {p.minX, p.minY, p.maxX, p.maxY, p.normal.left, p.normal.top, p.normal.right, p.normal.bottom})
        out += ',' + std::to_string(v);
    return out;
}

std::optional<ScreenRect> ReadStartupRect(const SettingsStore& store, const std::vector<ScreenRect>& displays) {
    std::optional<ScreenRect> rect;
    if (std::optional<WindowPlacement> p = ParseWindowPlacement(store.GetString(kSettings, kWindowPos)))
        rect = p->normal;
    ScreenRect window{store.GetInt(kWindow, "left"), store.GetInt(kWindow, "top"), store.GetInt(kWindow, "right"),
                      store.GetInt(kWindow, "bottom")};
    if (!window.IsEmpty()) rect = window;
    if (rect && rect->IsEmpty()) rect.reset();
    if (rect) rect = MoveOntoDisplays(*rect, displays);
    return rect;
}

int32_t ReadShowState(const SettingsStore& store) {
    int32_t show = store.GetInt(kWindow, "show", kShowNormal);
    // A stored hidden state would start the program invisible.
    if (show <= kShowHide || show > 11) return kShowNormal;
    return show;
}

void WriteWindowPlacement(SettingsStore& store, WindowPlacement placement) {
    placement.flags = 0;
    store.SetString(kSettings, kWindowPos, FormatWindowPlacement(placement));
}

void WriteWindowRect(SettingsStore& store, const ScreenRect& normal, int32_t showCommand) {
    store.Batch([&](SettingsStore& s) {
        s.SetInt(kWindow, "left", normal.left);
        s.SetInt(kWindow, "top", normal.top);
        s.SetInt(kWindow, "right", normal.right);
        s.SetInt(kWindow, "bottom", normal.bottom);
        s.SetInt(kWindow, "show", showCommand);
    });
}

ScreenRect MoveOntoDisplays(const ScreenRect& rect, const std::vector<ScreenRect>& displays) {
    if (displays.empty()) return rect;
    for (const ScreenRect& d : displays)
        if (Overlaps(rect, d)) return rect;
    const ScreenRect& primary = displays.front();
    int32_t width = std::min(rect.Width(), primary.Width());
    int32_t height = std::min(rect.Height(), primary.Height());
    // Nearest position inside the primary display, keeping the side it was off by.
    int32_t left = std::clamp(rect.left, primary.left, primary.right - width);
    int32_t top = std::clamp(rect.top, primary.top, primary.bottom - height);
    return {left, top, left + width, top + height};
}

}  // namespace vx
