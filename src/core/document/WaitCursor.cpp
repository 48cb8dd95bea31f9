#include "document/WaitCursor.h"

#include "host/HostService.h"
#include "printing/BusyIndicator.h"

namespace vx {

WaitCursor::WaitCursor() {
    if (BusyIndicator* busy = HostService<BusyIndicator>()) busy->BeginBusy();
}

WaitCursor::~WaitCursor() {
    if (BusyIndicator* busy = HostService<BusyIndicator>()) busy->EndBusy();
}

}  // namespace vx
