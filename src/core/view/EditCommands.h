#pragma once
#include <cstdint>
#include <functional>

#include "host/LayoutView.h"
#include "view/CursorDecision.h"
#include "view/KeySession.h"
#include "view/LayoutViewCommands.h"

namespace vx {

class CGPView;
class CLayoutObj;
class CLayoutSetting;
class ItemClipboard;
class LayoutViewCore;
class UndoStore;
class ViewWindowPort;

/// Command ids of the edit menu and its "Markieren" submenu.
enum EditCommandId : int {
    kCmdEditUndo = 32850,
    kCmdEditUndoForwarded = 57643,  // the framework's undo id, forwarded by the document
    kCmdEditDuplicate = 32851,
    kCmdEditDuplicateSeveral = 32857,
    kCmdEditClear = 57632,
    kCmdEditCopy = 57634,
    kCmdEditCut = 57635,
    kCmdEditPaste = 57637,
    kCmdSelectAll = 32852,
    kCmdSelectAllOnPage = 32853,
    kCmdSelectAllInFolder = 32854,
    kCmdSelectInvert = 32855,
    kCmdSelectNone = 32856,
    kCmdSelectAllImages = 32858,
    kCmdSelectAllFreeTexts = 32859,
    kCmdSelectAllFreeLines = 32860,
};

/// Undo code of a delete.
inline constexpr uint16_t kUndoCodeDelete = 8;

/// The edit, selection and keyboard commands of one layout view: undo, cut, copy, paste,
/// duplicate, delete and the eight selection commands with their update rules, the
/// arrow-key session, the right button's selection, the double click and the view's
/// activation. Works on the view's layout with the application's undo store, the item
/// clipboard and the ports; the window binds each event to one call.
class EditCommands {
public:
    EditCommands(LayoutViewCore& core, CGPView& view, ViewWindowPort& window);

    /// Whether the id is one of these commands.
    static bool Handles(int commandId);
    /// Runs the command when its update rule enables it.
    void OnCommand(int commandId);
    /// The update rule of the command.
    CommandState State(int commandId) const;

    void Undo();
    void Copy();
    void Cut();
    void Paste();
    void Duplicate();
    void DuplicateSeveralTimes();
    /// Removes the selected items onto the clipboard's previous list (one undo step).
    void Delete();
    /// A selection command's mode (1 to 8), then the image information refresh.
    void Select(int mode);

    /// A key-down (virtual key: 13 Enter, 37 to 40 the arrows); true when consumed.
    bool OnKeyDown(int virtualKey) { return mKeys.KeyDown(virtualKey); }
    /// Key-up, focus loss or a mouse press: ends an open key session.
    void CloseKeySession() { mKeys.Close(); }
    const KeySession& Keys() const { return mKeys; }

    /// The right button went down at a client point: the click selection there (nothing
    /// hit without Shift, or off the page, clears it), then hint 3; the context menu
    /// follows.
    void OnRightButtonDown(PixelPoint client, bool shift);
    /// A double click: the topmost item of the shown page under the point opens the
    /// preview of a selected image or the editor of a selected free text or free line;
    /// off the page the selection is cleared.
    void OnDoubleClick(PixelPoint client);
    /// The cursor over a client point.
    CursorChoice CursorAt(PixelPoint client) const;

    /// The view (layout view or print-settings pane) that activation saw.
    struct ActiveView {
        const void* id = nullptr;
        CLayoutSetting* layout = nullptr;
        bool printSettingsPane = false;
    };
    /// A view was activated (activate) or deactivated; hasActiveDocument tells whether
    /// the main window's active frame has an active document. Refreshes the image
    /// information window when it is shown.
    void OnActivateView(bool activate, const ActiveView* activated, const ActiveView* deactivated,
                        bool hasActiveDocument);

private:
    CLayoutSetting* Layout() const;
    static UndoStore* Store();
    bool HasSelection() const;
    void RefreshImageInfo() const;
    void DuplicateFailed(int result);

    LayoutViewCore& mCore;
    CGPView& mView;
    ViewWindowPort& mWindow;
    KeySession mKeys;
    const void* mLastActivated = nullptr;
};

/// Whether the application's preferences mark the image information window shown.
bool ImageInfoWindowShown();

}  // namespace vx
