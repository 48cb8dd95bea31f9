#pragma once
#include <filesystem>

#include "document/ArrangementCommands.h"
#include "view/LayoutViewCommands.h"

namespace vx {

class CGPDoc;
class CLayoutSetting;
struct AppPreferences;

/// Command ids of the two template commands.
enum TemplateCommand : int {
    kCmdSaveTemplate = 32804,
    kCmdSaveTemplateAs = 32805,
};

/// Save template and Save template as of one document: write the layout as a template
/// file (with copies of its images when asked) and keep the template catalogue current.
/// Nothing runs while the user may not save or without a layout.
class TemplateCommands {
public:
    explicit TemplateCommands(CGPDoc& doc) : mDoc(doc) {}

    static bool Handles(int commandId);
    /// 32804: a modified layout last saved as a template; 32805: any layout, with the
    /// save-as-template dialog bound. Both off for a restricted user.
    static CommandState State(int commandId, const CLayoutSetting* layout, const AppPreferences& preferences,
                              const BoundDialogs& dialogs);

    /// Runs the command; an unexpected failure goes to FatalError.
    void OnCommand(int commandId);

    /// Writes the layout over the template it came from; a layout without one, an
    /// unmodified one and one from a standard template go to OnSaveTemplateAs.
    void OnSaveTemplate();
    /// Asks for name, category and note and writes a user template in the template
    /// folder. True when written.
    bool OnSaveTemplateAs();

private:
    /// After a successful write: the saved state and the pane's template information.
    void MarkSaved(CLayoutSetting& layout);

    CGPDoc& mDoc;
};

}  // namespace vx
