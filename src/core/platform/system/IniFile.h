#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Status.h"

namespace vx {

/// An INI-style text file: "[section]" lines, "key<sep>value" lines, comments (';' or
/// '#') and blank lines, kept in order so that a rewrite changes only what was set.
/// Section and key names compare case-insensitively (ASCII); values are trimmed UTF-8.
/// The separator is '=' for INI files and ':' for the preferences file; keys before
/// the first section belong to the section "".
class IniFile {
public:
    explicit IniFile(char separator = '=') : mSeparator(separator) {}

    /// Missing or unreadable file: IDS_FILE_READ_FAILED, the contents stay empty.
    Status Load(const std::filesystem::path& path);
    void Parse(std::string_view text);
    std::string Serialise() const;
    /// Written through a temporary file and a rename: a failure keeps the old file.
    Status Save(const std::filesystem::path& path) const;

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view fallback = {}) const;
    /// atol-style: leading digits count, no digits give the fallback.
    long long GetInt(std::string_view section, std::string_view key, long long fallback = 0) const;

    void Set(std::string_view section, std::string_view key, std::string_view value);
    bool Remove(std::string_view section, std::string_view key);
    void RemoveSection(std::string_view section);

    std::vector<std::string> Sections() const;
    std::vector<std::string> Keys(std::string_view section) const;

private:
    struct Line {
        enum Kind { Other, Entry } kind = Other;
        std::string text;  // the line as read, for Other
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::string header;  // the "[name]" line as read; empty for the unnamed one
        std::vector<Line> lines;
    };
    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;

    char mSeparator;
    std::vector<Section> mSections;
};

}  // namespace vx
