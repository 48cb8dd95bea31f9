#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace vx {

class CLayoutObj;
class CLayoutSetting;
class DriverSettingsEditor;

/// What the save-layout dialog answered: the path as chosen and its relative-path box.
struct SaveLayoutChoice {
    std::filesystem::path path;
    bool relative = false;
};

/// The window side's services for the layout document's file commands
/// (HostService<DocumentServices>); without one the dialogs answer Cancel and the
/// documents folder is the home folder.
class DocumentServices {
public:
    virtual ~DocumentServices() = default;

    /// The save-layout dialog for folder and fileName with its relative-path box preset;
    /// nullopt on Cancel.
    virtual std::optional<SaveLayoutChoice> ChooseSaveLayoutPath(const std::filesystem::path& folder,
                                                                 const std::string& fileName,
                                                                 bool relative) = 0;
    /// Puts path at the head of the recent-file list.
    virtual void AddRecentFile(const std::filesystem::path& path) = 0;
    /// The user's documents folder (created when missing).
    virtual std::filesystem::path DocumentsFolder() = 0;
    /// Renews the main frame's title after the document's name changed.
    virtual void RenewMainTitle() = 0;
};

/// The dialogs of the settings commands as core code opens them
/// (HostService<SettingsDialogs>). A dialog not yet bound reports Has false and its
/// command stays disabled; its call then answers Cancel.
///
/// Every Run call opens its dialog modally on layout and returns true on OK. The dialogs
/// work on the layout's selected items (or, with preset set, on the image presets) and
/// take their own undo entries; the commands only bracket them.
/// What the save-as-template dialog is preset with and hands back on OK; the caller
/// writes the template itself.
struct SaveTemplateAsFields {
    std::string name;      ///< on OK the file name with ".kqt", no folder
    std::string category;  ///< one user category, may be empty
    std::string note;
    int saveWithImages = 0;
};

class SettingsDialogs {
public:
    enum class Dialog {
        AutoRotate,
        SelectTemplate,
        Crop,
        Tint,
        DuplicateSeveralTimes,
        Margins,
        ImageAlign,
        Labels,
        Caption,
        HeaderFooter,
        ImageSize,
        CutLines,
        InputColorDefaults,
        ImageColor,
        ImageStamp,
        FreeText,
        FreeLine,
        Preferences,
        SaveTemplateAs,
        OrganizeTemplates,
        OutputColor,
        DriverSettings,
    };
    virtual ~SettingsDialogs() = default;

    virtual bool Has(Dialog dialog) = 0;
    /// The auto-rotate dialog for layout; true on OK.
    virtual bool RunAutoRotate(CLayoutSetting& layout) = 0;
    /// The template chooser; the chosen template's path, nullopt on Cancel, an empty
    /// path when there is no template to choose (New then starts from the defaults).
    virtual std::optional<std::filesystem::path> ChooseTemplate() = 0;

    /// The process's one colour dialog opened at initial (0x00BBGGRR); nullopt on Cancel.
    /// Custom colours last for the run.
    virtual std::optional<uint32_t> ChooseColour(uint32_t initial) { (void)initial; return std::nullopt; }

    /// Crop of the selected images; sameImage false tells the dialog the selection is not
    /// one picture (file or rotation differ).
    virtual bool RunCrop(CLayoutSetting& layout, bool sameImage) { (void)layout, (void)sameImage; return false; }
    virtual bool RunTint(CLayoutSetting& layout) { (void)layout; return false; }
    /// Asks for a count and makes that many copies of the selection.
    virtual bool RunDuplicateSeveralTimes(CLayoutSetting& layout) { (void)layout; return false; }
    virtual bool RunMargins(CLayoutSetting& layout) { (void)layout; return false; }
    /// Changes the layout live while it runs; the command restores its snapshot on Cancel.
    virtual bool RunImageAlign(CLayoutSetting& layout) { (void)layout; return false; }
    virtual bool RunLabels(CLayoutSetting& layout, bool preset) { (void)layout, (void)preset; return false; }
    virtual bool RunCaption(CLayoutSetting& layout, bool preset) { (void)layout, (void)preset; return false; }
    /// Edits a copy of layout's settings; on OK takes undo step 21 and writes the copy back.
    virtual bool RunHeaderFooter(CLayoutSetting& layout) { (void)layout; return false; }
    virtual bool RunImageSizeDialog(CLayoutSetting& layout, bool preset) { (void)layout, (void)preset; return false; }
    virtual bool RunCutLineDialog(CLayoutSetting& layout) { (void)layout; return false; }
    virtual bool RunInputColorDefaults(CLayoutSetting& layout) { (void)layout; return false; }
    virtual bool RunImageColor(CLayoutSetting& layout) { (void)layout; return false; }
    virtual bool RunImageStamp(CLayoutSetting& layout) { (void)layout; return false; }
    /// The free-text dialog: a new text when item is null, else item (a free text) edited.
    virtual bool RunFreeText(CLayoutSetting& layout, CLayoutObj* item) { (void)layout, (void)item; return false; }
    /// The free-line dialog: a new line when item is null, else item (a free line) edited.
    virtual bool RunFreeLine(CLayoutSetting& layout, CLayoutObj* item) { (void)layout, (void)item; return false; }
    /// The preferences dialog.
    virtual bool RunPreferences() { return false; }
    /// The save-as-template dialog over fields; true on OK (an existing user template of
    /// that name was confirmed for replacing, nothing deleted).
    virtual bool RunSaveTemplateAs(SaveTemplateAsFields& fields) { (void)fields; return false; }
    /// The template organiser.
    virtual bool RunOrganizeTemplates() { return false; }
    /// The output colour-management dialog on layout (the one bound in the printer manager,
    /// or the application's default layout when no document is open).
    virtual bool RunOutputColor(CLayoutSetting& layout) { (void)layout; return false; }
    /// The printer driver's settings dialog over editor, which is open on the printer;
    /// true on OK, the choices then in the editor's settings.
    virtual bool RunDriverSettings(DriverSettingsEditor& editor) { (void)editor; return false; }
};

}  // namespace vx
