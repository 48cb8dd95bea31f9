#pragma once

#include "document/ArrangementCommands.h"

namespace vx {

class CGPDoc;
class CLayoutObj;
class CLayoutSetting;
struct AppPreferences;

/// Command ids the main frame handles itself.
enum MainFrameCommand : int {
    kFrameCmdPreferences = 32802,
    kFrameCmdOrganizeTemplates = 32806,
    kFrameCmdHeaderFooter = 32919,
    kFrameCmdInsertFreeText = 33003,
    kFrameCmdEditFreeText = 33004,
    kFrameCmdInsertFreeLine = 33005,
    kFrameCmdEditFreeLine = 33006,
};

/// Quick-print pane states after the preferences: quick print armed or not.
inline constexpr int kQuickPrintPaneArmed = 10;
inline constexpr int kQuickPrintPaneIdle = 9;

/// The free line or free text (kind 64 or 16) an edit works on: the one selected item of
/// that kind, else among the selected ones the one the user double-clicked. The
/// double-click flags of the kind are cleared. Null when neither pass finds one.
CLayoutObj* ChooseEditedItem(CLayoutSetting& layout, int kind);

/// The main frame's preferences, header and footer, free text, free line and organiser
/// commands on the active document. Each insert or edit is one undo step; Cancel and a
/// refusal give the layout and the undo history back as they were.
class MainFrameCommands {
public:
    /// doc: the document of the active layout window, null without one.
    explicit MainFrameCommands(CGPDoc* doc) : mDoc(doc) {}

    static bool Handles(int commandId);
    /// How the command shows while doc is active (null: no layout window), for the
    /// preferences and the bound dialogs; disabled for a command not above.
    static CommandState State(int commandId, const CGPDoc* doc, const AppPreferences& preferences,
                              const BoundDialogs& dialogs);

    /// Runs the command; an unexpected failure goes to FatalError.
    void OnCommand(int commandId);

    void Preferences();
    void HeaderFooter();
    void InsertFreeText() { InsertItem(kFrameCmdInsertFreeText); }
    void InsertFreeLine() { InsertItem(kFrameCmdInsertFreeLine); }
    /// Also the layout view's double click on a free text or line.
    void EditFreeText() { EditItem(kFrameCmdEditFreeText); }
    void EditFreeLine() { EditItem(kFrameCmdEditFreeLine); }
    void OrganizeTemplates();

private:
    void InsertItem(int commandId);
    void EditItem(int commandId);
    CLayoutSetting* Layout() const;

    CGPDoc* mDoc;
};

}  // namespace vx
