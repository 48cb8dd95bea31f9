#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "host/DocumentServices.h"
#include "templates/TemplateInfo.h"

namespace vx {

/// The proposal for a template made from the file at path: the same folder and name
/// with ".kqt". When that is a standard template of catalog, the first free of
/// name(0).kqt to name(99).kqt (name(99).kqt when all are taken); else path unchanged.
std::filesystem::path MakeUniqueTemplatePath(const std::filesystem::path& path, const CTemplateInfoArray& catalog);

/// The save-as-template dialog without its window: what it shows first and the checks
/// of OK, in their order. It deletes nothing: replacing an existing user template is
/// confirmed here and done by the caller's atomic write.
class SaveTemplateAsController {
public:
    /// The control that gets the focus when OK is refused.
    enum class Field { None, Name, Note };
    struct OkResult {
        bool close = false;
        Field focus = Field::None;
    };

    /// fields: the caller's presets, filled on OK. documentPath: the open layout's file
    /// (empty: none). folder: the template folder.
    SaveTemplateAsController(SaveTemplateAsFields& fields, const CTemplateInfoArray& catalog,
                             std::vector<std::string> userCategories, std::string documentPath,
                             std::filesystem::path folder);

    /// The name shown first: the preset, else the proposal from the open layout's path
    /// (empty without a path).
    std::string InitialName() const;
    const std::string& InitialNote() const { return mFields.note; }
    bool InitialSaveWithImages() const { return mFields.saveWithImages != 0; }
    /// The category entries in list order and the one selected first: the first that
    /// begins with "MyTemp" regardless of case, else 0; -1 when there is none.
    const std::vector<std::string>& Categories() const { return mCategories; }
    int InitialCategory() const;

    /// OK with the controls' values: shows the messages of a refusal (or the question
    /// before replacing) and, when the dialog may close, fills the fields.
    OkResult Ok(const std::string& name, int category, const std::string& note, bool saveWithImages);

    /// The most characters of the note (line breaks not counted).
    static constexpr size_t kMaxNoteChars = 250;

private:
    SaveTemplateAsFields& mFields;
    const CTemplateInfoArray& mCatalog;
    std::vector<std::string> mCategories;
    std::string mDocumentPath;
    std::filesystem::path mFolder;
};

}  // namespace vx
