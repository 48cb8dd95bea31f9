#pragma once

namespace vx {

/// Shows the wait cursor while it lives, through the installed BusyIndicator host
/// service; nothing without one.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace vx
