#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

/// One usable profile file of the colour directories, as the profile lists show it.
struct ProfileListing {
    std::string fileName;  // without directory
    std::string description;
    uint32_t deviceClass = 0;
    uint32_t colourSpace = 0;
    friend bool operator==(const ProfileListing&, const ProfileListing&) = default;
};

/// What the colour directories (ColourDirectories()) hold, remembered between calls.
/// A directory is listed again when its modification time changes; the facts of a
/// profile file (description, class, space, usability) are read once and kept while
/// its time and size stay. Thread-safe.
class ProfileDirectoryCache {
public:
    /// The first file of that name (no directory part) in the directories, in order.
    std::optional<std::filesystem::path> Locate(std::string_view fileName);

    /// The file name of the first usable profile whose description equals the text
    /// (ASCII letters in either case): every ".icm" file first, then every ".icc" file
    /// (extensions in any case), directories in order, names sorted by bytes. A file
    /// that an earlier directory shadows with its own file of the same name is not
    /// looked at. Files that do not open as valid profiles are skipped.
    std::optional<std::string> FindByDescription(std::string_view description);

    /// Every usable profile in the order of the description search.
    std::vector<ProfileListing> List();
    /// Hands every usable profile to visit in that order, without copying the list;
    /// visit must not call back into the cache.
    void Visit(const std::function<void(const ProfileListing&)>& visit);

    /// Forgets everything (tests that rewrite files in place).
    void Clear();

private:
    struct FileFacts {
        std::string name;
        std::filesystem::file_time_type mtime{};
        uintmax_t size = 0;
        bool examined = false;
        bool usable = false;
        ProfileListing listing;
    };
    struct Directory {
        std::filesystem::path path;
        bool listed = false;
        std::filesystem::file_time_type mtime{};
        // Listed while its time could still change within the same clock tick: list
        // again next time.
        bool racy = true;
        std::vector<FileFacts> files;  // regular files, sorted by name
    };

    void RefreshLocked();
    static void List(Directory& directory);
    bool ShadowedLocked(size_t directoryIndex, const std::string& name) const;
    /// Calls f(facts) for each examined usable profile in search order until it
    /// returns true.
    template <class F>
    void VisitProfilesLocked(F f);

    std::mutex mMutex;
    std::vector<Directory> mDirectories;
};

/// The process-wide cache that the catalogue uses.
ProfileDirectoryCache& SharedProfileDirectoryCache();

}  // namespace vx
