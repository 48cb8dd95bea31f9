#include "document/TemplateCommands.h"

#include <string>
#include <system_error>

#include "document/CommandHosts.h"
#include "document/LayoutDocument.h"
#include "document/LayoutXmlWriter.h"
#include "document/TemplateFileWriter.h"
#include "host/FatalError.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutTypes.h"
#include "model/ObjectList.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Paths.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "templates/TemplateCatalogLookup.h"
#include "templates/TemplateFolders.h"
#include "templates/TemplateInfo.h"
#include "templates/TemplateSummary.h"

namespace fs = std::filesystem;

namespace vx {

using namespace command_hosts;
using Dialog = SettingsDialogs::Dialog;

namespace {

/// The catalogue entry of the file at path: the same text, else the same file.
int CatalogIndexOf(const CTemplateInfoArray& catalog, const fs::path& path) {
    const int exact = FindTemplateByPath(catalog, PathText(path));
    if (exact >= 0) return exact;
    std::error_code error;
    for (int i = 0; i < catalog.GetSize(); ++i)
        if (fs::equivalent(PathFromStored(catalog.ElementAt(i).Path), path, error) && !error) return i;
    return -1;
}

void ShowNotSaved() { Messages().Show(IDS_TEMPLATE_NOT_SAVED, {}, Icon::Error, Buttons::Ok); }

}  // namespace

bool TemplateCommands::Handles(int commandId) {
    return commandId == kCmdSaveTemplate || commandId == kCmdSaveTemplateAs;
}

CommandState TemplateCommands::State(int commandId, const CLayoutSetting* layout, const AppPreferences& preferences,
                                     const BoundDialogs& dialogs) {
    if (!layout || preferences.doNotSave) return Enabled(false);
    switch (commandId) {
        case kCmdSaveTemplate: return Enabled(layout->GetDirty() && layout->GetSavedTemplate());
        case kCmdSaveTemplateAs: return Enabled(dialogs.Has(Dialog::SaveTemplateAs));
        default: return Enabled(false);
    }
}

void TemplateCommands::OnCommand(int commandId) {
    RunGuarded([&] {
        switch (commandId) {
            case kCmdSaveTemplate: return OnSaveTemplate();
            case kCmdSaveTemplateAs: OnSaveTemplateAs(); return;
            default: return;
        }
    });
}

void TemplateCommands::OnSaveTemplate() {
    CLayoutSetting* layout = mDoc.GetLayout();
    if (!layout || Preferences().doNotSave || AppBusyFlag()) return;
    const fs::path path = PathFromStored(layout->Texts().documentPath);
    // Only a modified layout that came from a user template is written over it: a layout
    // file, a never-saved layout and a standard template (which the save-as dialog
    // refuses to replace) are saved under a new name.
    if (path.empty() || !layout->GetDirty() || !layout->GetSavedTemplate() || IsStandardTemplateFile(path)) {
        OnSaveTemplateAs();
        return;
    }
    BusyScope busy;
    const int32_t keptWithImages = layout->GetSaveTemplateWithImages();
    layout->SetSaveTemplateWithImages(CountObjectsOfKind(layout->ItemListHead(), kKindImage) > 0 ? 1 : 0);
    if (!WriteTemplateFile(*layout, path)) {
        layout->SetSaveTemplateWithImages(keptWithImages);
        return;
    }
    CTemplateInfoArray& catalog = TemplateCatalog();
    if (const int index = CatalogIndexOf(catalog, path); index >= 0) {
        TemplateInfo info;
        if (ReadTemplateSummary(path, info)) catalog.SetAt(index, info);
    }
    MarkSaved(*layout);
}

bool TemplateCommands::OnSaveTemplateAs() {
    CLayoutSetting* layout = mDoc.GetLayout();
    SettingsDialogs* dialogs = Dialogs();
    if (!layout || !dialogs || Preferences().doNotSave || AppBusyFlag()) return false;
    BusyScope busy;
    LayoutTexts& texts = layout->Texts();
    // Set aside: a save that fails leaves the layout as it was.
    const std::string keptPath = texts.documentPath;
    const std::string keptName = mDoc.TemplateFileName();
    const std::string keptGenre = texts.genreName;
    const std::string keptImageForm = texts.outputImageFormName;
    const std::string keptCategory = texts.ownTemplateName;
    const std::string keptComment = texts.comment;
    const int32_t keptWithImages = layout->GetSaveTemplateWithImages();
    auto restore = [&] {
        texts.documentPath = keptPath;
        mDoc.SetTemplateFileName(keptName);
        texts.genreName = keptGenre;
        texts.outputImageFormName = keptImageForm;
        texts.ownTemplateName = keptCategory;
        texts.comment = keptComment;
        layout->SetSaveTemplateWithImages(keptWithImages);
    };

    layout->SetSaveTemplateWithImages(CountObjectsOfKind(layout->ItemListHead(), kKindImage) > 0 ? 1 : 0);
    SaveTemplateAsFields fields;
    // Only a user template's name is proposed again: a standard template cannot be
    // replaced, and the dialog proposes a free variant of its name itself.
    if (!keptCategory.empty()) fields.name = keptName;
    fields.category = keptCategory;
    fields.note = keptComment;
    fields.saveWithImages = layout->GetSaveTemplateWithImages();
    if (!dialogs->RunSaveTemplateAs(fields)) {
        layout->SetSaveTemplateWithImages(keptWithImages);
        return false;
    }
    // The dialog hands back a bare file name; anything else would write outside the
    // template folder. The image folder is the template's path without its extension,
    // so the extension has to be there.
    if (!EqualsNoCaseAscii(PathText(PathFromStored(fields.name).extension()), LoadString(IDS_TEMPLATE_EXTENSION)))
        fields.name += LoadString(IDS_TEMPLATE_EXTENSION);
    const fs::path name = PathFromStored(fields.name);
    const fs::path folder = GetTemplateFolder();
    std::error_code error;
    if (fields.name.front() == '.' || name.has_parent_path() || (!fs::create_directories(folder, error) && error)) {
        layout->SetSaveTemplateWithImages(keptWithImages);
        ShowNotSaved();
        return false;
    }
    const fs::path path = folder / name;

    texts.documentPath = PathText(path);
    mDoc.SetTemplateFileName(fields.name);
    texts.ownTemplateName = fields.category;
    texts.comment = fields.note;
    // A template the user saves carries only user categories.
    texts.genreName.clear();
    texts.outputImageFormName.clear();
    layout->SetSaveTemplateWithImages(fields.saveWithImages ? 1 : 0);
    if (!WriteTemplateFile(*layout, path)) {
        restore();
        return false;
    }

    TemplateInfo info;
    if (ReadTemplateSummary(path, info)) {
        CTemplateInfoArray& catalog = TemplateCatalog();
        if (const int index = CatalogIndexOf(catalog, path); index >= 0) {
            catalog.SetAt(index, info);
        } else {
            catalog.Add(info);
            SortTemplateInfoArray(catalog);
        }
        SetCurrentTemplateInfo(info);
        if (PrintSettingsPane* pane = Pane()) pane->UpdateTemplateSettingsText(*layout);
    }
    MarkSaved(*layout);
    return true;
}

void TemplateCommands::MarkSaved(CLayoutSetting& layout) {
    if (PrintSettingsPane* pane = Pane()) pane->ResetFormViewInfo();
    layout.SetSavedTemplate(1);
    layout.SetSavedLayout(0);
    layout.SetDirty(0);
}

}  // namespace vx
