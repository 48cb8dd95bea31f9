#include "host/PrintSettingsPane.h"

#include "host/HostService.h"
#include "host/Shell.h"

namespace vx {

void InvalidateMainFormView() {
    Shell* shell = HostService<Shell>();
    if (PrintSettingsPane* pane = shell ? shell->GetActivePrintSettingsPane() : nullptr) pane->Invalidate();
}

}  // namespace vx
