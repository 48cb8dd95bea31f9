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
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(it->path());
    // The file system's order differs between machines; byte order does not.
    std::sort(entries.begin(), entries.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().native() < b.filename().native(); });
    for (const fs::path& entry : entries) {
        // A link to a folder could lead back up the tree: only real folders are entered.
        const fs::file_status own = fs::symlink_status(entry, ec);
        if (ec) continue;
        if (fs::is_directory(own)) {
            ScanTemplateFolders(entry, extension, level + 1, into);
            continue;
        }
        if (!EndsWith(entry.filename().native(), extension) || !fs::is_regular_file(fs::status(entry, ec)))
            continue;
        TemplateInfo info;
        info.PrinterPass = 1;
        info.PaperSizePass = 1;
        info.PaperSourcePass = 1;
        // A file that is no layout would be listed without a path: it is left out.
        if (ReadTemplateSummary(entry, info)) into.Add(std::move(info));
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
