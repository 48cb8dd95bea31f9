#pragma once
#include "platform/system/MessagePort.h"
#include "platform/system/ProgressPort.h"
#include "platform/system/StatusPort.h"

namespace vx {

/// The process-wide ports. The window side installs its own at start-up; tests install
/// recorders. Without one, messages go to stderr and answer the first button, progress
/// is silent and never cancelled, status texts are dropped.
MessagePort& Messages();
ProgressPort& Progress();
StatusPort& StatusBar();

/// Installs a port (null restores the default); returns the previous one.
MessagePort* SetMessagePort(MessagePort* port);
ProgressPort* SetProgressPort(ProgressPort* port);
StatusPort* SetStatusPort(StatusPort* port);

}  // namespace vx
