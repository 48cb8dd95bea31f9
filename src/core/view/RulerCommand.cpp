#include "view/RulerCommand.h"

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "host/LayoutView.h"
#include "host/PrintSettingsPane.h"
#include "host/Shell.h"
#include "platform/system/StringTable.h"

namespace vx {

void ToggleRulers() {
    ApplicationState* app = HostService<ApplicationState>();
    if (!app) return;
    int32_t& ruler = app->Preferences().ruler;
    ruler = ruler ? 0 : 1;
    if (app->ActiveLayoutSlot()) InvalidateMainFormView();
    Shell* shell = HostService<Shell>();
    LayoutView* view = shell ? shell->GetLayoutView() : nullptr;
    if (LayoutViewCommands* commands = view ? view->Commands() : nullptr)
        commands->OnViewUpdate({kViewHintPageSize, std::nullopt});
}

CommandState RulerCommandState() {
    ApplicationState* app = HostService<ApplicationState>();
    const bool shown = app && app->Preferences().ruler;
    CommandState state;
    state.text = LoadString(shown ? IDS_RULER_HIDE : IDS_RULER_SHOW);
    return state;
}

}  // namespace vx
