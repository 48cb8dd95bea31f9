#include "app/DirectPrintState.h"

#include "host/ApplicationState.h"
#include "host/HostService.h"

namespace vx {

namespace {
bool gRunning = false;
}

bool DirectPrintState::Running() { return gRunning; }

DirectPrintState::RunningScope::RunningScope() { gRunning = true; }
DirectPrintState::RunningScope::~RunningScope() { gRunning = false; }

void DirectPrintState::WithdrawOpenPermission() {
    if (ApplicationState* app = HostService<ApplicationState>()) app->Preferences().directPrint = 1;
}

void DirectPrintState::GiveOpenPermission() {
    if (ApplicationState* app = HostService<ApplicationState>()) app->Preferences().directPrint = 0;
}

}  // namespace vx
