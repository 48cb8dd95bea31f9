#include "platform/system/IniFile.h"

#include <algorithm>

#include "platform/system/AtomicFile.h"
#include "platform/system/Numbers.h"
#include "platform/system/Utf8.h"

namespace vx {
namespace {

}  // namespace

Status IniFile::Load(const std::filesystem::path& path) {
    mSections.clear();
    std::string text;
    if (Status st = ReadWholeFile(path, text); !st) return st;
    Parse(text);
    return {};
}

void IniFile::Parse(std::string_view text) {
    mSections.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    mSections.push_back(Section{});
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        std::string_view line = TrimBlanks(raw);
        if (line.size() >= 2 && line.front() == '[' && line.find(']') != std::string_view::npos) {
            std::string_view name = TrimBlanks(line.substr(1, line.find(']') - 1));
            mSections.push_back(Section{std::string(name), std::string(raw), {}});
            continue;
        }
        Line l;
        size_t sep = line.find(mSeparator);
        if (line.empty() || line[0] == ';' || line[0] == '#' || sep == std::string_view::npos) {
            l.text = std::string(raw);
        } else {
            l.kind = Line::Entry;
            l.key = std::string(TrimBlanks(line.substr(0, sep)));
            l.value = std::string(TrimBlanks(line.substr(sep + 1)));
        }
        mSections.back().lines.push_back(std::move(l));
    }
}

std::string IniFile::Serialise() const {
    std::string out;
    for (const Section& s : mSections) {
        if (!s.header.empty()) out += s.header + "\n";
        else if (!s.name.empty()) out += "[" + s.name + "]\n";
        for (const Line& l : s.lines) {
            if (l.kind == Line::Entry) out += l.key + mSeparator + l.value + "\n";
            else out += l.text + "\n";
        }
    }
    return out;
}

Status IniFile::Save(const std::filesystem::path& path) const {
    return WriteFileAtomically(path, Serialise());
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    for (Section& s : mSections)
        if (EqualsNoCaseAscii(s.name, name) && (!s.name.empty() || name.empty())) return &s;
    return nullptr;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    return const_cast<IniFile*>(this)->FindSection(name);
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
    if (const Section* s = FindSection(section))
        for (const Line& l : s->lines)
            if (l.kind == Line::Entry && EqualsNoCaseAscii(l.key, key)) return l.value;
    return std::nullopt;
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    auto v = Get(section, key);
    return v ? *v : std::string(fallback);
}

long long IniFile::GetInt(std::string_view section, std::string_view key, long long fallback) const {
    auto v = Get(section, key);
    if (!v) return fallback;
    return ParseLong(*v).value_or(fallback);
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = FindSection(section);
    if (!s) {
        // The unnamed section leads the file; a store that starts empty has none yet.
        if (mSections.empty() || !mSections.front().name.empty())
            mSections.insert(mSections.begin(), Section{});
        if (section.empty()) {
            s = &mSections.front();
        } else {
            mSections.push_back(Section{std::string(section), {}, {}});
            s = &mSections.back();
        }
    }
    for (Line& l : s->lines)
        if (l.kind == Line::Entry && EqualsNoCaseAscii(l.key, key)) {
            l.value = std::string(value);
            return;
        }
    // New keys go after the section's last entry, before trailing blank lines.
    auto at = s->lines.end();
    while (at != s->lines.begin() && std::prev(at)->kind == Line::Other &&
           TrimBlanks(std::prev(at)->text).empty())
        --at;
    Line l;
    l.kind = Line::Entry;
    l.key = std::string(key);
    l.value = std::string(value);
    s->lines.insert(at, std::move(l));
}

bool IniFile::Remove(std::string_view section, std::string_view key) {
    Section* s = FindSection(section);
    if (!s) return false;
    auto it = std::find_if(s->lines.begin(), s->lines.end(), [&](const Line& l) {
        return l.kind == Line::Entry && EqualsNoCaseAscii(l.key, key);
    });
    if (it == s->lines.end()) return false;
    s->lines.erase(it);
    return true;
}

void IniFile::RemoveSection(std::string_view section) {
    mSections.erase(std::remove_if(mSections.begin(), mSections.end(),
                                   [&](const Section& s) {
                                       return !s.name.empty() && EqualsNoCaseAscii(s.name, section);
                                   }),
                    mSections.end());
}

std::vector<std::string> IniFile::Sections() const {
    std::vector<std::string> names;
    for (const Section& s : mSections)
        if (!s.name.empty()) names.push_back(s.name);
    return names;
}

std::vector<std::string> IniFile::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section))
        for (const Line& l : s->lines)
            if (l.kind == Line::Entry) keys.push_back(l.key);
    return keys;
}

}  // namespace vx
