#include "ui/shell/ShellTexts.h"

#include "app/StatusTexts.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "platform/system/StringTable.h"

namespace vx {

std::string ShellTitle() { return LoadString(IDS_MAIN_TITLE); }

std::string ReadyText() { return LoadString(IDS_READY); }

std::string QuickPrintText(int state) {
    ApplicationState* app = HostService<ApplicationState>();
    return QuickPrintPaneText(state, app && app->Preferences().quickPrint == 1);
}

}  // namespace vx
