#include "colourmanagement/ProfileDirectoryCache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <system_error>

#include "platform/colour/ColourDirectories.h"
#include "platform/colour/ColourProfile.h"
#include "platform/system/Utf8.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

// A directory changed this recently may change again without its time moving on
// (coarse file system clocks): such a listing is not trusted.
constexpr std::chrono::seconds kRacyWindow{2};

enum class Extension { Other, Icm, Icc };

Extension ExtensionOf(std::string_view name) {
    if (name.size() < 4) return Extension::Other;
    const std::string_view ext = name.substr(name.size() - 4);
    if (EqualsNoCaseAscii(ext, ".icm")) return Extension::Icm;
    if (EqualsNoCaseAscii(ext, ".icc")) return Extension::Icc;
    return Extension::Other;
}

template <class Files>
auto FindName(Files& files, std::string_view name) {
    auto it = std::lower_bound(files.begin(), files.end(), name,
                               [](const auto& f, std::string_view n) { return f.name < n; });
    return (it != files.end() && it->name == name) ? it : files.end();
}

}  // namespace

void ProfileDirectoryCache::List(Directory& directory) {
    const auto listedAt = fs::file_time_type::clock::now();
    std::vector<FileFacts> files;
    // Read by descriptor: each file's time and size come from one stat relative to the
    // folder, as folders of many profiles are listed again whenever they change.
    if (DIR* dir = opendir(directory.path.c_str())) {
        const int fd = dirfd(dir);
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_type != DT_REG && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) continue;
            struct stat st {};
            if (fstatat(fd, entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
            FileFacts facts;
            facts.name = entry->d_name;
            facts.size = uintmax_t(st.st_size);
            facts.mtime = fs::file_time_type::clock::from_sys(
                std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::system_clock::duration>(
                    std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec))));
            // Facts read earlier still hold for the same file.
            auto old = FindName(directory.files, facts.name);
            if (old != directory.files.end() && old->mtime == facts.mtime && old->size == facts.size)
                facts = std::move(*old);
            files.push_back(std::move(facts));
        }
        closedir(dir);
    }
    std::sort(files.begin(), files.end(),
              [](const FileFacts& a, const FileFacts& b) { return a.name < b.name; });
    directory.files = std::move(files);
    directory.listed = true;
    directory.racy = directory.mtime + kRacyWindow > listedAt;
}

void ProfileDirectoryCache::RefreshLocked() {
    const std::vector<fs::path> paths = ColourDirectories();
    if (paths.size() != mDirectories.size() ||
        !std::equal(paths.begin(), paths.end(), mDirectories.begin(),
                    [](const fs::path& p, const Directory& d) { return p == d.path; })) {
        mDirectories.clear();
        for (const fs::path& p : paths) {
            Directory d;
            d.path = p;
            mDirectories.push_back(std::move(d));
        }
    }
    for (Directory& d : mDirectories) {
        std::error_code ec;
        const fs::file_time_type mtime = fs::last_write_time(d.path, ec);
        if (ec) {  // missing or unreadable: nothing there
            d.files.clear();
            d.listed = false;
            continue;
        }
        if (!d.listed || d.racy || mtime != d.mtime) {
            d.mtime = mtime;
            List(d);
        }
    }
}

bool ProfileDirectoryCache::ShadowedLocked(size_t directoryIndex, const std::string& name) const {
    for (size_t i = 0; i < directoryIndex; ++i)
        if (FindName(mDirectories[i].files, name) != mDirectories[i].files.end()) return true;
    return false;
}

template <class F>
void ProfileDirectoryCache::VisitProfilesLocked(F f) {
    for (Extension pass : {Extension::Icm, Extension::Icc})
        for (size_t d = 0; d < mDirectories.size(); ++d)
            for (FileFacts& facts : mDirectories[d].files) {
                if (ExtensionOf(facts.name) != pass || ShadowedLocked(d, facts.name)) continue;
                if (!facts.examined) {
                    facts.examined = true;
                    ColourProfile p = ColourProfile::OpenFile(mDirectories[d].path / facts.name);
                    facts.usable = p && p.IsValid();
                    if (facts.usable) {
                        facts.listing = {facts.name, p.Description().value_or(""), p.Header().deviceClass,
                                         p.Header().colourSpace};
                    }
                }
                if (facts.usable && f(facts)) return;
            }
}

std::optional<fs::path> ProfileDirectoryCache::Locate(std::string_view fileName) {
    std::lock_guard lock(mMutex);
    RefreshLocked();
    for (const Directory& d : mDirectories)
        if (FindName(d.files, fileName) != d.files.end()) return d.path / fs::path(fileName);
    return std::nullopt;
}

std::optional<std::string> ProfileDirectoryCache::FindByDescription(std::string_view description) {
    std::lock_guard lock(mMutex);
    RefreshLocked();
    std::optional<std::string> found;
    VisitProfilesLocked([&](const FileFacts& facts) {
        if (!EqualsNoCaseAscii(facts.listing.description, description)) return false;
        found = facts.name;
        return true;
    });
    return found;
}

std::vector<ProfileListing> ProfileDirectoryCache::List() {
    std::lock_guard lock(mMutex);
    RefreshLocked();
    std::vector<ProfileListing> all;
    VisitProfilesLocked([&](const FileFacts& facts) {
        all.push_back(facts.listing);
        return false;
    });
    return all;
}

void ProfileDirectoryCache::Visit(const std::function<void(const ProfileListing&)>& visit) {
    std::lock_guard lock(mMutex);
    RefreshLocked();
    VisitProfilesLocked([&](const FileFacts& facts) {
        visit(facts.listing);
        return false;
    });
}

void ProfileDirectoryCache::Clear() {
    std::lock_guard lock(mMutex);
    mDirectories.clear();
}

ProfileDirectoryCache& SharedProfileDirectoryCache() {
    static ProfileDirectoryCache cache;
    return cache;
}

}  // namespace vx
