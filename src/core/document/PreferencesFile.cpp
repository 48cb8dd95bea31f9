#include "document/PreferencesFile.h"

#include <algorithm>
#include <array>
#include <limits>
#include <system_error>

#include "host/ApplicationState.h"
#include "model/CLayoutSetting.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "printing/CPrinterManager.h"
#include "printing/PrinterQueries.h"

namespace vx {
namespace {

enum KeyIndex : int {
    kUser = 0, kLayout, kImage, kText, kLine, kHeader,
    kDefault, kNew, kDone, kShow,
    kVersion, kPlatform,
    kInfoShow, kInfoOrigin, kScopeShow, kScopeOrigin, kScopeSize, kScopeMode,
    kRulerShow, kGrid, kGridShow, kGridAlign, kUnit, kKeyMove, kAppStarts,
    kQuickPrint, kConfirmDialogShow,
    kDirectPrintPrinter1, kDirectPrintPrinter8 = kDirectPrintPrinter1 + 7,
    kDirectPrintShow, kDirectPrintPos, kHighQualityThumbnail,
    kMargin, kMarginShow, kLayoutMarginShow,
    kKeyCount
};
static_assert(kKeyCount == 41);

constexpr std::array<std::string_view, kKeyCount> kKeys = {
    "User", "Layout", "Image", "Text", "Line", "Header",
    "default", "new", "done", "show",
    "version", "platform",
    "infoShow", "infoOrigin", "scopeShow", "scopeOrigin", "scopeSize", "scopeMode",
    "rulerShow", "grid", "gridShow", "gridAlign", "unit", "keyMove", "appStarts",
    "quickPrint", "confirmDialogShow",
    "directPrintPrinter1", "directPrintPrinter2", "directPrintPrinter3", "directPrintPrinter4",
    "directPrintPrinter5", "directPrintPrinter6", "directPrintPrinter7", "directPrintPrinter8",
    "directPrintShow", "directPrintPos", "highQualityThumbnail",
    "margin", "marginShow", "layoutMarginShow",
};

constexpr std::string_view kNewDocument = "New Document";
constexpr std::string_view kRecentDocument = "Recently Edited Document";
constexpr std::string_view kNoDocument = "No Document";
// The reader's text buffer: 255 bytes and the terminator.
constexpr size_t kQuotedTextBuffer = 256;
constexpr size_t kMaxLine = 511;
constexpr char kStoredCarriageReturn = '\x10';

int FindKey(std::string_view key) {
    for (int i = 0; i < kKeyCount; ++i)
        if (kKeys[static_cast<size_t>(i)] == key) return i;
    return -1;
}

// ---- value forms, writing ----

std::string Bool(int32_t v) { return v ? "true" : "false"; }

std::string Pair(int32_t first, int32_t second) { return std::to_string(first) + ',' + std::to_string(second); }

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n') continue;
        out += c == '\r' ? kStoredCarriageReturn : c;
    }
    return out + '"';
}

// ---- value forms, reading ----

bool ReadBool(std::string_view v) { return EqualsNoCaseAscii(v, "true"); }

// Skips what is neither digit nor '-', then takes an optional '-' and the digits.
long long ReadInteger(std::string_view v) {
    size_t i = 0;
    while (i < v.size() && v[i] != '-' && (v[i] < '0' || v[i] > '9')) ++i;
    bool negative = i < v.size() && v[i] == '-';
    if (negative) ++i;
    long long value = 0;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (v[i] - '0'), std::numeric_limits<int32_t>::max() + 1LL);
    return negative ? -value : value;
}

template <class T>
T Clamped(long long v) {
    return static_cast<T>(std::clamp<long long>(v, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

// "%d,%d,..." as sscanf reads it: stops at the first number that is not there and
// returns how many were read.
size_t ReadNumbers(std::string_view v, int32_t* out, size_t count) {
    for (size_t n = 0; n < count; ++n) {
        if (n > 0) {
            if (v.empty() || v.front() != ',') return n;
            v.remove_prefix(1);
        }
        size_t i = 0;
        while (i < v.size() && (v[i] == ' ' || v[i] == '\t')) ++i;
        size_t start = i;
        if (i < v.size() && (v[i] == '-' || v[i] == '+')) ++i;
        size_t digits = i;
        while (i < v.size() && v[i] >= '0' && v[i] <= '9') ++i;
        if (i == digits) return n;
        out[n] = Clamped<int32_t>(ReadInteger(v.substr(start, i - start)));
        v.remove_prefix(i);
    }
    return count;
}

// The text between the first double quote and the last one after it; 0x10 becomes
// CR LF; cut to the reader's buffer, never inside a character. Without quotes, the
// value itself.
std::string ReadQuoted(std::string_view v) {
    size_t open = v.find('"');
    if (open != std::string_view::npos) {
        size_t close = v.rfind('"');
        v = close > open ? v.substr(open + 1, close - open - 1) : v.substr(open + 1);
    }
    std::string out;
    const size_t room = kQuotedTextBuffer - 1;
    size_t pos = 0;
    while (pos < v.size()) {
        if (v[pos] == kStoredCarriageReturn) {
            if (room - out.size() < 2) break;
            out += "\r\n";
            ++pos;
            continue;
        }
        size_t run = v.find(kStoredCarriageReturn, pos);
        if (run == std::string_view::npos) run = v.size();
        std::string_view part = v.substr(pos, run - pos);
        size_t take = TruncateBytes(part, room - out.size()).size();
        out.append(part.substr(0, take));
        if (take < part.size()) break;
        pos = run;
    }
    return out;
}

bool DefaultIsSupportedPrinter(std::string_view name) {
    CPrinterManager* manager = CPrinterManager::GetInstance();
    if (!manager) return false;
    for (const PrinterEntry& p : manager->Printers())
        if (p.printer == name) return true;
    return false;
}

class ValueSetter {
public:
    ValueSetter(AppPreferences& p, CLayoutSetting* layout, const PreferencesHooks& hooks)
        : mPrefs(p), mLayout(layout), mHooks(hooks) {}

    void Set(int key, std::string_view v) {
        AppPreferences& p = mPrefs;
        int32_t n[4] = {};
        switch (key) {
        case kDone:
            if (mHooks.showToolWindows) mHooks.showToolWindows(p);
            break;
        case kInfoShow: p.imageInfoWindow = ReadBool(v); break;
        case kInfoOrigin: SetPair(v, p.imageInfoY, p.imageInfoX); break;
        case kScopeShow: p.imagePreviewWindow = ReadBool(v); break;
        case kScopeOrigin: SetPair(v, p.imagePreviewY, p.imagePreviewX); break;
        case kScopeSize: p.imagePreviewSize = Clamped<int32_t>(ReadInteger(v)); break;
        case kScopeMode: p.imagePreviewMode = Clamped<int16_t>(ReadInteger(v)); break;
        case kRulerShow: p.ruler = ReadBool(v); break;
        case kGrid: SetPair(v, p.gridY, p.gridX); break;
        case kGridShow: p.gridShown = ReadBool(v); break;
        case kGridAlign: p.snapToGrid = ReadBool(v); break;
        case kUnit:
            p.unit = EqualsNoCaseAscii(ReadQuoted(v), "mm") ? 1 : 2;
            if (mLayout) mLayout->SetUnit(p.unit);
            break;
        case kKeyMove:
            p.arrowKeyStep = Clamped<int32_t>(ReadInteger(v));
            if (mLayout) mLayout->SetKeyMove(p.arrowKeyStep);
            break;
        case kAppStarts: {
            std::string word = ReadQuoted(v);
            p.startDocument = EqualsNoCaseAscii(word, kNewDocument) ? 0 : EqualsNoCaseAscii(word, kRecentDocument) ? 1 : 2;
            break;
        }
        case kQuickPrint: p.quickPrint = ReadBool(v); break;
        case kConfirmDialogShow: p.confirmationDialogs = ReadBool(v); break;
        case kDirectPrintShow: p.directPrintWindow = ReadBool(v); break;
        case kDirectPrintPos: SetPair(v, p.directPrintY, p.directPrintX); break;
        case kHighQualityThumbnail: p.highQualityThumbnails = ReadBool(v); break;
        case kMargin:
            if (mLayout && ReadNumbers(v, n, 4) == 4) mLayout->SetMargin(LayoutRect{n[1], n[0], n[3], n[2]});
            break;
        case kMarginShow:
            if (mLayout) mLayout->SetMarginShow(ReadBool(v));
            break;
        case kLayoutMarginShow:
            if (mLayout) mLayout->SetLayoutMarginShow(ReadBool(v));
            break;
        default:
            if (key >= kDirectPrintPrinter1 && key <= kDirectPrintPrinter8) SetPrinter(key - kDirectPrintPrinter1, v);
            break;  // "default", "new", "show", "version", "platform": nothing
        }
    }

private:
    static void SetPair(std::string_view v, int32_t& first, int32_t& second) {
        int32_t n[2] = {first, second};
        size_t read = ReadNumbers(v, n, 2);
        if (read >= 1) first = n[0];
        if (read >= 2) second = n[1];
    }

    void SetPrinter(int index, std::string_view v) {
        if (TrimBlanks(v).empty()) return;
        std::string name = ReadQuoted(v);
        if (name.empty()) return;
        bool supported = mHooks.isSupportedPrinter ? mHooks.isSupportedPrinter(name) : DefaultIsSupportedPrinter(name);
        mPrefs.directPrintPrinters[static_cast<size_t>(index)] = supported ? name : std::string();
    }

    AppPreferences& mPrefs;
    CLayoutSetting* mLayout;
    const PreferencesHooks& mHooks;
};

// A banner default layout takes the paper the printer offers for it.
void SettleBannerPaper(CLayoutSetting& layout, const PreferencesHooks& hooks) {
    if (layout.GetBanner() != 1) return;
    int32_t length = layout.GetPaperLength();
    int32_t width = layout.GetPaperWidth();
    const int32_t keptLength = length, keptWidth = width;
    int32_t size = hooks.paperCaps
                       ? hooks.paperCaps(length, width, layout.GetBanner(), layout.GetPaperOrient(), layout.GetPaper())
                       : QueryPrinterPaperCaps(length, width, layout.GetBanner(), layout.GetPaperOrient(),
                                               layout.GetPaper());
    layout.SetPaperSize(Clamped<int16_t>(size));
    layout.SetPaperLength(keptLength);
    layout.SetPaperWidth(keptWidth);
    layout.SetOrientation(layout.GetOrientation() == 1 ? 2 : 1);
    if (layout.GetPaperSize() == 0) {
        layout.SetOrientation(1);
        layout.SetPaperLength(2970);
        layout.SetPaperWidth(2100);
    }
}

}  // namespace

std::filesystem::path PreferencesFilePath(const std::filesystem::path& userFolder) {
    return userFolder / LoadString(IDS_PREFERENCES_FILE);
}

std::string FormatPreferences(const AppPreferences& p, const CLayoutSetting& layout) {
    std::string out;
    auto line = [&out](int key, std::string_view value = {}, bool hasValue = true) {
        if (key > kHeader) out += '\t';
        out += kKeys[static_cast<size_t>(key)];
        if (hasValue) {
            out += ':';
            out += value;
        }
        out += "\r\n";
    };
    auto bare = [&line](int key) { line(key, {}, false); };

    bare(kHeader);
    line(kVersion, std::to_string(p.version));
    line(kPlatform, std::to_string(p.platform));
    bare(kUser);
    bare(kDefault);
    line(kInfoShow, Bool(p.imageInfoWindow));
    line(kInfoOrigin, Pair(p.imageInfoY, p.imageInfoX));
    line(kScopeShow, Bool(p.imagePreviewWindow));
    line(kScopeOrigin, Pair(p.imagePreviewY, p.imagePreviewX));
    line(kScopeSize, std::to_string(p.imagePreviewSize));
    line(kScopeMode, std::to_string(p.imagePreviewMode));
    line(kRulerShow, Bool(p.ruler));
    line(kGrid, Pair(p.gridY, p.gridX));
    line(kGridShow, Bool(p.gridShown));
    line(kGridAlign, Bool(p.snapToGrid));
    line(kUnit, p.unit == 1 ? "\"mm\"" : "\"inch\"");
    line(kKeyMove, std::to_string(p.arrowKeyStep));
    line(kAppStarts, Quoted(p.startDocument == 0   ? kNewDocument
                            : p.startDocument == 1 ? kRecentDocument
                                                   : kNoDocument));
    line(kQuickPrint, Bool(p.quickPrint));
    line(kConfirmDialogShow, Bool(p.confirmationDialogs));
    for (size_t i = 0; i < p.directPrintPrinters.size(); ++i)
        line(kDirectPrintPrinter1 + static_cast<int>(i), Quoted(p.directPrintPrinters[i]));
    line(kDirectPrintShow, Bool(p.directPrintWindow));
    line(kDirectPrintPos, Pair(p.directPrintY, p.directPrintX));
    line(kHighQualityThumbnail, Bool(p.highQualityThumbnails));
    const LayoutRect m = layout.GetMargin();
    line(kMargin, std::to_string(m.top) + ',' + std::to_string(m.left) + ',' + std::to_string(m.bottom) + ',' +
                      std::to_string(m.right));
    line(kMarginShow, Bool(layout.GetMarginShow()));
    line(kLayoutMarginShow, Bool(layout.GetLayoutMarginShow()));
    bare(kDone);
    return out;
}

void ParsePreferences(std::string_view text, AppPreferences& preferences, CLayoutSetting* defaultLayout,
                      const PreferencesHooks& hooks) {
    ValueSetter setter(preferences, defaultLayout, hooks);
    int section = kUser;
    size_t pos = 0;
    auto isSpace = [](char c) { return c == '\r' || c == '\n' || c == '\t' || c == ' '; };
    while (pos < text.size()) {
        while (pos < text.size() && isSpace(text[pos])) ++pos;
        if (pos >= text.size()) break;
        // A line ends at CR or LF (files edited here end lines with LF alone), or when
        // it holds 511 bytes; the rest goes on as the next line.
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        end = std::min(end, pos + kMaxLine);
        std::string_view line = text.substr(pos, end - pos);
        pos = end;

        if (line.front() == '#') continue;
        size_t cut = 0;
        while (cut < line.size() && line[cut] != ':' && static_cast<unsigned char>(line[cut]) > '0') ++cut;
        std::string_view key = line.substr(0, cut);
        std::string_view value = cut < line.size() ? line.substr(cut + 1) : std::string_view{};
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);

        int index = FindKey(key);
        if (index < 0) continue;
        if (index <= kHeader) {
            section = index;
            continue;
        }
        if (section == kUser) setter.Set(index, value);
        else if (section != kHeader) break;  // the sections that carry no values end it
    }
    if (defaultLayout) SettleBannerPaper(*defaultLayout, hooks);
}

bool LoadPreferences(const std::filesystem::path& file, AppPreferences& preferences, const PreferencesHooks& hooks) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec) && !ec) {
        // A first start leaves an empty file and keeps the defaults.
        if (Status st = WriteFileAtomically(file, {}); !st) {
            Messages().Show(st.stringId, st.args, Icon::Error, Buttons::Ok);
            return false;
        }
        return true;
    }
    std::string text;
    if (Status st = ReadWholeFile(file, text); !st) {
        Messages().Show(st.stringId, st.args, Icon::Error, Buttons::Ok);
        return false;
    }
    ParsePreferences(text, preferences, preferences.defaultLayout, hooks);
    return true;
}

bool SavePreferences(const std::filesystem::path& file, const AppPreferences& preferences) {
    if (!preferences.defaultLayout) return true;
    // Written whole beside the old file and renamed over it: a failure keeps the old
    // preferences instead of leaving none.
    if (Status st = WriteFileAtomically(file, FormatPreferences(preferences, *preferences.defaultLayout)); !st) {
        Messages().Show(st.stringId, st.args, Icon::Error, Buttons::Ok);
        return false;
    }
    return true;
}

}  // namespace vx
