#include "templates/TemplateSeeding.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>

#include <cstdio>
#include <string>
#include <system_error>

#include "platform/system/Folders.h"
#include "templates/TemplateFolders.h"

namespace vx {
namespace fs = std::filesystem;
namespace {

bool CopyFileWhole(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    return fs::copy_file(from, to, fs::copy_options::none, ec) && !ec;
}

/// Copies folders and regular files below from into the existing folder to; links and
/// special files are not shipped and are left out.
bool CopyTree(const fs::path& from, const fs::path& to, const SeedCopyFile& copyFile) {
    std::error_code ec;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::file_status status = it->symlink_status(ec);
        if (ec) return false;
        const fs::path destination = to / it->path().filename();
        if (fs::is_directory(status)) {
            if (!fs::create_directory(destination, ec) || ec) return false;
            if (!CopyTree(it->path(), destination, copyFile)) return false;
        } else if (fs::is_regular_file(status)) {
            if (!copyFile(it->path(), destination)) return false;
        }
    }
    return !ec;
}

}  // namespace

bool SeedTemplateFolder(const fs::path& shipped, const fs::path& target, const SeedCopyFile& copyFile) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec))) return true;
    if (!fs::is_directory(shipped, ec)) return false;
    const fs::path parent = target.parent_path();
    std::string pattern = (parent / ("." + target.filename().string() + ".seed-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) {
        std::fprintf(stderr, "Vorlagen konnten nicht angelegt werden: %s\n", target.c_str());
        return false;
    }
    const fs::path hidden(pattern);
    const bool copied = CopyTree(shipped, hidden, copyFile ? copyFile : SeedCopyFile(CopyFileWhole));
    // Never over a folder that appeared meanwhile.
    const bool placed = copied && renameat2(AT_FDCWD, hidden.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0;
    if (!placed) {
        fs::remove_all(hidden, ec);
        std::fprintf(stderr, "Vorlagen konnten nicht angelegt werden: %s\n", target.c_str());
    }
    return placed || fs::exists(fs::symlink_status(target, ec));
}

bool SeedTemplateFolder() { return SeedTemplateFolder(DataFolder() / "templates", GetTemplateFolder()); }

}  // namespace vx
