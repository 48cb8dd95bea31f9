#include "templates/TemplateFiles.h"

#include <fcntl.h>
#include <stdio.h>

#include <atomic>

namespace vx {

namespace {
std::atomic<int> gStepsTaken{0};
std::atomic<int> gFailAt{0};
}  // namespace

bool TemplateFileStep() {
    const int step = ++gStepsTaken;
    const int failAt = gFailAt.load();
    return failAt == 0 || step != failAt;
}

int FailTemplateFileStepForTests(int n) {
    const int taken = gStepsTaken.load();
    gFailAt = n == 0 ? 0 : taken + n;
    return taken;
}

bool RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (!TemplateFileStep()) return false;
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

}  // namespace vx

// Deleting templates.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

namespace vx {
namespace {

namespace fs = std::filesystem;

enum class EntryKind { Missing, Folder, Other, Error };

// lstat: a link is an entry of its own, never what it names.
EntryKind KindOf(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? EntryKind::Missing : EntryKind::Error;
    return S_ISDIR(st.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

bool ListFolder(const fs::path& folder, std::vector<fs::path>& entries) {
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::none, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) entries.push_back(it->path());
    return !ec;
}

// Every entry can leave its folder: each folder below is readable and writable.
bool CanEmpty(const fs::path& folder) {
    if (!TemplateFileStep() || ::access(folder.c_str(), R_OK | W_OK | X_OK) != 0) return false;
    std::vector<fs::path> entries;
    if (!ListFolder(folder, entries)) return false;
    for (const fs::path& entry : entries) {
        const EntryKind kind = KindOf(entry);
        if (kind == EntryKind::Error) return false;
        if (kind == EntryKind::Folder && !CanEmpty(entry)) return false;
    }
    return true;
}

// Renames path to a hidden unused name beside it.
bool MoveAside(const fs::path& path, fs::path& aside) {
    const std::string base = "." + path.filename().string() + ".deleting-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        aside = path.parent_path() / (base + std::to_string(attempt));
        errno = 0;
        if (RenameNoReplace(path, aside)) return true;
        if (errno != EEXIST) return false;
    }
    return false;
}

// Deletes moved-aside entries. Until the first entry is gone a failure stops it, so
// everything can return; after that it deletes what it can and leaves the rest hidden,
// since bringing back a template without some of its images would be worse.
class Remover {
public:
    /// False when it stopped with nothing deleted.
    bool Remove(const fs::path& path) {
        const EntryKind kind = KindOf(path);
        if (kind == EntryKind::Missing) return true;
        if (kind == EntryKind::Folder) {
            std::vector<fs::path> entries;
            if (!ListFolder(path, entries) && !mRemovedAny) return false;
            for (const fs::path& entry : entries)
                if (!Remove(entry)) return false;
        }
        const bool removed = kind != EntryKind::Error && TemplateFileStep() &&
                             (kind == EntryKind::Folder ? ::rmdir(path.c_str()) : ::unlink(path.c_str())) == 0;
        if (removed) mRemovedAny = true;
        return removed || mRemovedAny;
    }

private:
    bool mRemovedAny = false;
};

// Puts a moved-aside entry back under its name; what could not be deleted stays.
void PutBack(const fs::path& aside, const fs::path& original) {
    if (KindOf(aside) != EntryKind::Missing) (void)::renameat2(AT_FDCWD, aside.c_str(), AT_FDCWD, original.c_str(), RENAME_NOREPLACE);
}

// The image folder checked and moved aside; aside stays empty when there is none.
bool PrepareFolder(const fs::path& folder, fs::path& aside) {
    aside.clear();
    switch (KindOf(folder)) {
    case EntryKind::Missing: return true;
    case EntryKind::Error: return false;
    case EntryKind::Other:
        // A link in place of the folder goes as a link; any other file is not ours.
        {
            struct stat st {};
            if (::lstat(folder.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
        }
        break;
    case EntryKind::Folder:
        if (!CanEmpty(folder)) return false;
        break;
    }
    const fs::path parent = folder.has_parent_path() ? folder.parent_path() : fs::path(".");
    if (::access(parent.c_str(), W_OK | X_OK) != 0) return false;
    return MoveAside(folder, aside);
}

}  // namespace

bool DeleteFolderTree(const fs::path& folder) {
    fs::path aside;
    if (!PrepareFolder(folder, aside)) return false;
    if (aside.empty()) return true;
    if (Remover().Remove(aside)) return true;
    PutBack(aside, folder);
    return false;
}

bool DeleteTemplateFiles(const fs::path& templateFile) {
    if (KindOf(templateFile) != EntryKind::Other) return false;
    fs::path folder = templateFile;
    folder.replace_extension();
    fs::path folderAside, fileAside;
    if (!PrepareFolder(folder, folderAside)) return false;
    if (!MoveAside(templateFile, fileAside)) {
        if (!folderAside.empty()) PutBack(folderAside, folder);
        return false;
    }
    Remover remover;
    if ((folderAside.empty() || remover.Remove(folderAside)) && remover.Remove(fileAside)) return true;
    if (!folderAside.empty()) PutBack(folderAside, folder);
    PutBack(fileAside, templateFile);
    return false;
}

}  // namespace vx
