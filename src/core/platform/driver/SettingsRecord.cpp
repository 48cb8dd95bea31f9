#include "platform/driver/SettingsRecord.h"

#include <charconv>
#include <set>
#include <span>
#include <string>

namespace vx {
namespace {

constexpr size_t kMaxRecordBytes = 64 * 1024;

struct Field {
    const char* key;
    DriverItem item;  // the item whose absence leaves the key out
    int32_t PrinterSettings::*value;
};

// The one-number keys after version and model, in their written order; special (three
// numbers) follows quality.
const Field kBefore[] = {
    {"orientation", DriverItem::Orientation, &PrinterSettings::orientation},
    {"source", DriverItem::Source, &PrinterSettings::source},
    {"paper", DriverItem::PaperOld, &PrinterSettings::paper},
    {"media", DriverItem::Media, &PrinterSettings::medium},
    {"ink", DriverItem::PrintMode, &PrinterSettings::ink},
    {"mode", DriverItem::PrintMode, &PrinterSettings::modeWord},
    {"quality", DriverItem::PrintMode, &PrinterSettings::quality},
};
const Field kAfter[] = {
    {"layout", DriverItem::LayoutFlags, &PrinterSettings::layoutFlags},
    {"roll", DriverItem::RollOptions, &PrinterSettings::rollOptions},
    {"highspeed", DriverItem::HighSpeed, &PrinterSettings::highSpeed},
    {"colour", DriverItem::ColourHandling, &PrinterSettings::colourHandling},
    {"centring", DriverItem::Centring, &PrinterSettings::centring},
};

std::optional<int32_t> Number(std::string_view s) {
    int32_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

std::optional<SpecialModeRecord> Special(std::string_view s) {
    int32_t w[3];
    for (int i = 0; i < 3; ++i) {
        size_t blank = i < 2 ? s.find(' ') : s.size();
        if (blank == std::string_view::npos) return std::nullopt;
        std::optional<int32_t> v = Number(s.substr(0, blank));
        if (!v) return std::nullopt;
        w[i] = *v;
        s.remove_prefix(i < 2 ? blank + 1 : s.size());
    }
    return SpecialModeRecord{w[0], w[1], w[2]};
}

void Append(std::string& out, const char* key, const std::string& value) {
    out += key;
    out += '=';
    out += value;
    out += '\n';
}

const Field* FindField(std::string_view key) {
    for (std::span<const Field> table : {std::span<const Field>(kBefore), std::span<const Field>(kAfter)})
        for (const Field& f : table)
            if (key == f.key) return &f;
    return nullptr;
}

bool IsKnownKey(std::string_view key) {
    return key == "version" || key == "model" || key == "special" || FindField(key);
}

// Applies one key of a setting; false when its value is refused.
bool Apply(const PrinterModel& model, PrinterSettings& s, std::string_view key, std::string_view value) {
    if (key == "special") {
        std::optional<SpecialModeRecord> v = Special(value);
        if (!v) return false;
        s.special = *v;
        return model.HasItem(DriverItem::SpecialMode) || *v == SpecialModeRecord{};
    }
    const Field* f = FindField(key);
    std::optional<int32_t> v = Number(value);
    if (!f || !v) return false;
    s.*f->value = *v;
    return model.HasItem(f->item) || *v == 0;
}

}  // namespace

std::string SettingsRecord::Write(const PrinterModel& model, const PrinterSettings& s) {
    std::string out;
    Append(out, "version", "1");
    Append(out, "model", model.name);
    for (const Field& f : kBefore) Append(out, f.key, std::to_string(s.*f.value));
    if (model.HasItem(DriverItem::SpecialMode))
        Append(out, "special", std::to_string(s.special.a) + ' ' + std::to_string(s.special.b) + ' ' +
                                   std::to_string(s.special.mode));
    for (const Field& f : kAfter)
        if (model.HasItem(f.item)) Append(out, f.key, std::to_string(s.*f.value));
    return out;
}

std::optional<PrinterSettings> SettingsRecord::Read(const PrinterModel& model, std::string_view text) {
    if (text.empty() || text.size() > kMaxRecordBytes) return std::nullopt;
    PrinterSettings s = PrinterSettings::Defaults(model);
    std::set<std::string, std::less<>> seen;
    bool versionOk = false, modelOk = false;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) return std::nullopt;
        std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
        if (!IsKnownKey(key)) continue;
        if (!seen.emplace(key).second) return std::nullopt;
        if (key == "version") versionOk = value == "1";
        else if (key == "model") modelOk = value == model.name;
        else if (!Apply(model, s, key, value)) return std::nullopt;
    }
    if (!versionOk || !modelOk || PrinterSettings::Fault(model, s)) return std::nullopt;
    return s;
}

}  // namespace vx
