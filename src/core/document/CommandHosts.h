#pragma once
#include "host/ApplicationState.h"
#include "host/DocumentServices.h"
#include "host/HostService.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "model/UndoStore.h"

// What the document's setting commands reach of the application, each null (or a
// default) while nothing is installed.

namespace vx::command_hosts {

inline ApplicationState* App() { return HostService<ApplicationState>(); }

inline UndoStore* Undo() {
    ApplicationState* app = App();
    return app ? &app->GetUndoStore() : nullptr;
}

/// The application's preferences; a default record while no application is installed.
inline AppPreferences& Preferences() {
    static AppPreferences fallback;
    ApplicationState* app = App();
    return app ? app->Preferences() : fallback;
}

inline CLayoutSetting* DefaultLayout() {
    ApplicationState* app = App();
    return app ? &app->DefaultLayoutSetting() : nullptr;
}

inline PrintSettingsPane* Pane() {
    Shell* shell = HostService<Shell>();
    return shell ? shell->GetActivePrintSettingsPane() : nullptr;
}

inline SettingsDialogs* Dialogs() { return HostService<SettingsDialogs>(); }

inline void ClearUndo() {
    if (UndoStore* undo = Undo()) undo->ClearUndo();
}

}  // namespace vx::command_hosts
