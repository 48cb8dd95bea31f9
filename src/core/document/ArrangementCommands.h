#pragma once
#include <cstdint>

#include "host/DocumentServices.h"
#include "view/LayoutViewCommands.h"

namespace vx {

class CGPDoc;
class CImageObj;
class CLayoutSetting;
struct AppPreferences;

/// Command ids of the layout mode, grid, crop, tint, cut-line, stacking, sort and
/// colour-matched view commands.
enum ArrangementCommand : int {
    kCmdAutomaticLayout = 32900,
    kCmdFreeLayout = 32901,
    kCmdSortFileName = 32903,
    kCmdSortFolderName = 32904,
    kCmdSortCreated = 32905,
    kCmdSortModified = 32906,
    kCmdSortWidth = 32907,
    kCmdSortHeight = 32908,
    kCmdSortFileType = 32910,
    kCmdSortFileSize = 32911,
    kCmdCutLines = 32914,
    kCmdStackToFront = 32915,
    kCmdStackForward = 32916,
    kCmdStackBackward = 32917,
    kCmdStackToBack = 32918,
    kCmdSortReverse = 32921,
    kCmdCrop = 33101,
    kCmdShowGrid = 33303,
    kCmdSnapToGrid = 33304,
    kCmdTint = 33600,
    kCmdColorMatchedView = 33601,
    kCmdUnsnapGrid = 33909,
};

/// Which settings dialogs the window side has bound (SettingsDialogs::Has), as the
/// update rules read it.
class BoundDialogs {
public:
    using Dialog = SettingsDialogs::Dialog;
    BoundDialogs() = default;
    /// Asks dialogs for every dialog; none without a service.
    static BoundDialogs Of(SettingsDialogs* dialogs);
    /// Every dialog bound (tests).
    static BoundDialogs All();
    bool Has(Dialog dialog) const { return (mMask >> unsigned(dialog)) & 1u; }
    BoundDialogs& Set(Dialog dialog, bool bound);

private:
    uint32_t mMask = 0;
};

/// The selected image that crop and tint work on: the current item when it is a
/// selected image, else the first selected image in list order; null without one.
CImageObj* ReferenceImage(const CLayoutSetting& layout);

/// Whether every selected image shows the same file (compared exactly) with the same
/// `mRotate` as reference.
bool SelectionIsOneImage(const CLayoutSetting& layout, const CImageObj& reference);

/// The layout-mode, grid, crop, tint, cut-line, stacking, sort and colour-matched view
/// commands of one document. They work on the document's layout and the application's
/// undo store; each command does nothing without a layout.
class ArrangementCommands {
public:
    explicit ArrangementCommands(CGPDoc& doc) : mDoc(doc) {}

    static bool Handles(int commandId);
    /// How the command shows for layout (null: no document), the preferences and the
    /// bound dialogs; disabled for a command not above.
    static CommandState State(int commandId, const CLayoutSetting* layout, const AppPreferences& preferences,
                              const BoundDialogs& dialogs);

    /// Runs the command; an unexpected failure goes to FatalError.
    void OnCommand(int commandId);

    /// 32900 (automatic, any mode but 2) and 32901 (free, 2): switches only when the
    /// mode changes, as an edit the relayout may refuse; the pane's template settings
    /// text is renewed in every case.
    void SetLayoutMode(int mode);
    void ToggleGrid();
    void SetSnapToGrid(bool snap);
    void Crop();
    void Tint();
    void CutLines();
    void ChangeStacking(int mode);
    void Sort(int key);
    void ColorMatchedView();

private:
    CGPDoc& mDoc;
};

}  // namespace vx
