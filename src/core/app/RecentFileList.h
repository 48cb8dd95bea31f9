#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace vx {

class SettingsStore;

/// The recently used files, most recent first, at most ten; kept in the settings
/// store's "Recent File List" as "File1" to "File10".
class RecentFileList {
public:
    static constexpr size_t kMaxEntries = 10;
    static constexpr std::string_view kSection = "Recent File List";

    /// Reads "File1" to "File10"; empty and repeated entries are skipped.
    void Read(const SettingsStore& store);
    /// Replaces the section by the entries; false when the store could not write.
    bool Write(SettingsStore& store) const;

    /// Puts path (made absolute) first; an entry of the same path moves up, the
    /// eleventh falls off.
    void Add(const std::filesystem::path& path);
    /// Removes entry 0; nothing when empty.
    void RemoveFirst();
    void Remove(size_t index);

    size_t Size() const { return mEntries.size(); }
    bool Empty() const { return mEntries.empty(); }
    const std::filesystem::path& At(size_t index) const { return mEntries.at(index); }
    const std::vector<std::filesystem::path>& Entries() const { return mEntries; }
    /// The menu text of entry index: "&1 name" with the bare file name (the menu never
    /// shows folders); '&' in the name is doubled.
    std::string MenuText(size_t index) const;

private:
    std::vector<std::filesystem::path> mEntries;
};

}  // namespace vx
