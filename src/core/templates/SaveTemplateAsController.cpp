#include "templates/SaveTemplateAsController.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "model/TextAndPathHelpers.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "templates/CategoryNames.h"
#include "templates/TemplateCatalogLookup.h"
#include "templates/TemplateNames.h"
#include "templates/TemplateSummary.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxNameBytes = 255;

bool IsStandardTemplate(const fs::path& path) {
    TemplateInfo info;
    return !ReadTemplateSummary(path, info) || info.IsUserTemplate != 1;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCaseAscii(text.substr(0, prefix.size()), prefix);
}

}  // namespace

fs::path MakeUniqueTemplatePath(const fs::path& path, const CTemplateInfoArray& catalog) {
    const std::string extension = LoadString(IDS_TEMPLATE_EXTENSION);
    const fs::path folder = path.parent_path();
    const std::string stem = path.stem().string();
    const fs::path candidate = folder / (stem + extension);
    const int index = FindTemplateByPath(catalog, candidate.string());
    if (index < 0 || catalog.ElementAt(index).IsUserTemplate == 1) return path;
    fs::path numbered;
    for (int n = 0; n < 100; ++n) {
        numbered = folder / (stem + "(" + std::to_string(n) + ")" + extension);
        if (FindTemplateByPath(catalog, numbered.string()) < 0) return numbered;
    }
    return numbered;
}

SaveTemplateAsController::SaveTemplateAsController(SaveTemplateAsFields& fields, const CTemplateInfoArray& catalog,
                                                   std::vector<std::string> userCategories, std::string documentPath,
                                                   fs::path folder)
    : mFields(fields),
      mCatalog(catalog),
      mCategories(std::move(userCategories)),
      mDocumentPath(std::move(documentPath)),
      mFolder(std::move(folder)) {}

std::string SaveTemplateAsController::InitialName() const {
    if (!mFields.name.empty()) return mFields.name;
    // A layout never saved has no name to propose.
    if (mDocumentPath.empty()) return {};
    const fs::path unique = MakeUniqueTemplatePath(fs::path(mDocumentPath), mCatalog);
    return unique.stem().string() + LoadString(IDS_TEMPLATE_EXTENSION);
}

int SaveTemplateAsController::InitialCategory() const {
    if (mCategories.empty()) return -1;
    const std::string& prefix = LoadString(IDS_DEFAULT_USER_CATEGORY);
    for (size_t i = 0; i < mCategories.size(); ++i)
        if (StartsWithNoCase(mCategories[i], prefix)) return static_cast<int>(i);
    return 0;
}

SaveTemplateAsController::OkResult SaveTemplateAsController::Ok(const std::string& typed, int category,
                                                                const std::string& note, bool saveWithImages) {
    MessagePort& messages = Messages();
    if (CountDisplayChars(note) > kMaxNoteChars) {
        messages.Show(IDS_TOO_MANY_CHARS, {static_cast<long long>(kMaxNoteChars)}, Icon::Error, Buttons::Ok);
        return {false, Field::Note};
    }
    if (typed.empty()) return {false, Field::Name};

    const std::string extension = LoadString(IDS_TEMPLATE_EXTENSION);
    // Blanks go before the extension test, so "Plan.kqt " does not become "Plan.kqt .kqt".
    std::string name(TrimBlanks(typed));
    if (!EqualsNoCaseAscii(fs::path(name).extension().string(), extension)) name += extension;
    if (!IsValidTemplateFileName(name) || HasControlCharacter(name)) {
        messages.Show(IDS_TEMPLATE_NAME_CHARS, {ForbiddenNameCharsText()}, Icon::Warning, Buttons::Ok);
        return {false, Field::Name};
    }

    std::error_code ec;
    fs::create_directories(mFolder, ec);
    if (ec) {
        messages.Show(IDS_TEMPLATE_NOT_SAVED, {}, Icon::Error, Buttons::Ok);
        return {false, Field::Name};
    }
    const bool typedWithExtension = std::string_view(name) == TrimBlanks(typed);
    if (name.size() > kMaxNameBytes) {
        // One directory entry holds no more bytes, whatever the characters count.
        const size_t limit = kMaxTemplateNameChars - (typedWithExtension ? 0 : CountDisplayChars(extension));
        messages.Show(IDS_TOO_MANY_CHARS, {static_cast<long long>(limit)}, Icon::Warning, Buttons::Ok);
        return {false, Field::Name};
    }
    if (!CheckTemplatePathLength(mFolder.string(), name, typedWithExtension)) return {false, Field::Name};

    const fs::path target = mFolder / name;
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            messages.Show(IDS_TEMPLATE_NOT_SAVED, {}, Icon::Error, Buttons::Ok);
            return {false, Field::Name};
        }
    } else {
        if (IsStandardTemplate(target)) {
            messages.Show(IDS_STANDARD_TEMPLATE_NOT_REPLACED, {}, Icon::Warning, Buttons::Ok);
            return {false, Field::Name};
        }
        if (messages.Show(IDS_TEMPLATE_REPLACE_QUESTION, {}, Icon::Warning, Buttons::YesNo) != kIdYes)
            return {false, Field::Name};
    }
    mFields.name = name;
    mFields.category = category >= 0 && category < static_cast<int>(mCategories.size())
                           ? mCategories[static_cast<size_t>(category)]
                           : std::string();
    mFields.note = note;
    mFields.saveWithImages = saveWithImages ? 1 : 0;
    return {true, Field::None};
}

}  // namespace vx
