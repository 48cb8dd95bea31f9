#include "app/ImageListImport.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <system_error>

#include "app/LayoutDrops.h"
#include "document/LayoutDocument.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "model/CLayoutSetting.h"
#include "model/CUndoEntry.h"
#include "model/ImageAdding.h"
#include "model/LayoutOperations.h"
#include "model/ObjectList.h"
#include "model/UndoStore.h"
#include "platform/system/IniFile.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"

namespace fs = std::filesystem;

namespace vx {
namespace {

constexpr std::string_view kSentinel = "zorquint";

std::string Unquoted(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return value;
}

/// The highest n of the file's "IMAGEnn" sections: the list never reads past it, however
/// large EntryNum claims to be.
long long HighestImageSection(const IniFile& ini) {
    long long highest = 0;
    for (const std::string& name : ini.Sections()) {
        if (name.size() <= 5) continue;
        std::string head = name.substr(0, 5);
        std::transform(head.begin(), head.end(), head.begin(), [](unsigned char c) { return std::toupper(c); });
        if (head != "IMAGE") continue;
        const std::string digits = name.substr(5);
        if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        highest = std::max(highest, std::stoll(digits));
    }
    return highest;
}

enum class Target { Locked, None, Chosen };

/// The layout a list goes to: the open one after the user agreed, else the start-up one.
Target ChooseTarget(ImageListHost& host, DropDocument*& doc) {
    ApplicationState* app = HostService<ApplicationState>();
    if (app && app->ImportLocked()) return Target::Locked;
    doc = host.ActiveDocument();
    if (doc && doc->Layout()) {
        if (Messages().Show(IDS_IMPORT_IMAGE_LIST_QUESTION, {}, Icon::Warning, Buttons::YesNo) != kIdYes)
            return Target::None;
        return Target::Chosen;
    }
    if (!host.OpenStartupLayout()) return Target::None;
    doc = host.ActiveDocument();
    return doc && doc->Layout() ? Target::Chosen : Target::None;
}

/// Adds files to the document's layout with one undo step; a quick print prints them
/// and leaves the layout as it was.
void ImportInto(DropDocument& doc, const std::vector<fs::path>& files) {
    ApplicationState* app = HostService<ApplicationState>();
    CLayoutSetting& layout = *doc.Layout();
    std::unique_ptr<CUndoEntry> snapshot;
    bool quickPrint = false;
    int32_t countBefore = 0;
    const bool automatic = layout.GetFree() == 0;
    int result = 0;
    {
        BusyScope busy;
        if (app) {
            app->GetUndoStore().SnapshotLayout(layout, snapshot, nullptr);
            app->GetUndoStore().PushUndo(layout, 5);
            quickPrint = automatic && app->Preferences().quickPrint == 1;
        }
        countBefore = CountObjects(layout.ItemListHead());
        for (const fs::path& file : files) {
            const int added = doc.AddImageFile(file);
            if (added == kAddRemovedAgain || added == kAddSizeOutOfRange || added == kAddOutOfMemory ||
                added == kAddItemLimit)
                break;
            if (Progress().IsCancelled()) break;
        }
        if (automatic) InvalidateMainFormView();
        EndImageLoad(layout, automatic, result);
    }
    if (app) QuickPrintLoadedImages(layout, app->GetUndoStore(), snapshot.get(), quickPrint, countBefore);
    if (quickPrint) InvalidateMainFormView();
}

}  // namespace

std::optional<std::vector<fs::path>> ReadImageListFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    IniFile ini;
    if (!ini.Load(path).ok()) return std::nullopt;
    const std::optional<std::string> entries = ini.Get("ENTRY", "EntryNum");
    if (!entries) return std::nullopt;
    const long long count = std::clamp(ini.GetInt("ENTRY", "EntryNum", 0), 0LL, HighestImageSection(ini));
    const fs::path folder = path.parent_path();
    std::vector<fs::path> files;
    char section[32];
    for (long long n = 1; n <= count; ++n) {
        std::snprintf(section, sizeof section, "IMAGE%02lld", n);
        const std::string value = Unquoted(ini.GetString(section, "PATH", kSentinel));
        if (value == kSentinel || value.empty()) continue;
        files.push_back(ResolveStoredPath(folder, ToUtf8FromUtf8OrLatin1(value)));
    }
    return files;
}

int ImportImageListFile(ImageListHost& host, const fs::path& listFile) {
    const std::optional<std::vector<fs::path>> files = ReadImageListFile(listFile);
    if (!files) {
        Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
        return 0;
    }
    DropDocument* doc = nullptr;
    switch (ChooseTarget(host, doc)) {
    case Target::Locked: return 1;
    case Target::None: return 0;
    case Target::Chosen: break;
    }
    ImportInto(*doc, *files);
    std::error_code error;
    fs::remove(listFile, error);
    return 1;
}

int ImportFileList(ImageListHost& host, const std::vector<fs::path>& files) {
    DropDocument* doc = nullptr;
    switch (ChooseTarget(host, doc)) {
    case Target::Locked: return 1;
    case Target::None: return 0;
    case Target::Chosen: break;
    }
    std::vector<fs::path> images;
    for (const fs::path& file : files)
        if (file.has_extension()) images.push_back(file);
    ImportInto(*doc, images);
    return 1;
}

}  // namespace vx
