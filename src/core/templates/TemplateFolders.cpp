#include "templates/TemplateFolders.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CLayoutSetting.h"
#include "platform/system/Folders.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "templates/TemplateSummary.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

fs::path GetTemplateFolder() { return UserFolder() / LoadString(IDS_TEMPLATE_FOLDER); }

void ScanTemplateFolders(const fs::path& folder, std::string_view extension, int level, CTemplateInfoArray& into) {
    std::error_code ec;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) entries.push_back(*it);
    // The file system's order differs between machines; byte order does not.
    std::sort(entries.begin(), entries.end(), [](const fs::directory_entry& a, const fs::directory_entry& b) {
        return a.path().filename().native() < b.path().filename().native();
    });
    for (const fs::directory_entry& entry : entries) {
        // The entry's own type comes with the listing. A link to a folder could lead back up
        // the tree: only real folders are entered.
        const fs::file_type own = entry.symlink_status(ec).type();
        if (ec) continue;
        if (own == fs::file_type::directory) {
            ScanTemplateFolders(entry.path(), extension, level + 1, into);
            continue;
        }
        if (!EndsWith(entry.path().filename().native(), extension)) continue;
        if (own == fs::file_type::symlink && !fs::is_regular_file(entry.status(ec))) continue;
        if (own != fs::file_type::symlink && own != fs::file_type::regular) continue;
        TemplateInfo info;
        info.PrinterPass = 1;
        info.PaperSizePass = 1;
        info.PaperSourcePass = 1;
        // A file that is no layout would be listed without a path: it is left out.
        if (ReadTemplateSummary(entry.path(), info)) into.Add(std::move(info));
    }
}

void ScanTemplateFolders(const fs::path& folder, std::string_view extension, int level) {
    ScanTemplateFolders(folder, extension, level, TemplateCatalog());
}

void SortTemplateInfoArray(CTemplateInfoArray& array) {
    struct Keyed {
        std::string key;
        const std::string* path;
        TemplateInfo* info;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<size_t>(array.GetSize()));
    // Each name is folded once, not at every comparison.
    for (TemplateInfo& info : array)
        keyed.push_back({FoldForSort(fs::path(info.Path).stem().string()), &info.Path, &info});
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.key != b.key) return a.key < b.key;
        return *a.path < *b.path;
    });
    CTemplateInfoArray sorted;
    for (Keyed& k : keyed) sorted.Add(std::move(*k.info));
    array = std::move(sorted);
}

bool IsActiveDocumentFile(std::string_view path) {
    ApplicationState* app = HostService<ApplicationState>();
    const CLayoutSetting* layout = app ? app->ActiveLayoutSlot() : nullptr;
    return layout && layout->Texts().documentPath == path;
}

}  // namespace vx
