#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace vx {

class CLayoutSetting;

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
/// command stays disabled.
class SettingsDialogs {
public:
    enum class Dialog { AutoRotate, SelectTemplate };
    virtual ~SettingsDialogs() = default;

    virtual bool Has(Dialog dialog) = 0;
    /// The auto-rotate dialog for layout; true on OK.
    virtual bool RunAutoRotate(CLayoutSetting& layout) = 0;
    /// The template chooser; the chosen template's path, nullopt on Cancel, an empty
    /// path when there is no template to choose (New then starts from the defaults).
    virtual std::optional<std::filesystem::path> ChooseTemplate() = 0;
};

}  // namespace vx
