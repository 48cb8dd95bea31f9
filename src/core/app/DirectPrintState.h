#pragma once

namespace vx {

/// Whether a file dropped on the direct-print window is printing. While it is, the
/// application refuses imports and drops (ApplicationState::ImportLocked) and the
/// document's open command leaves the set-aside layout open. User-interface thread only.
class DirectPrintState {
public:
    static bool Running();

    /// Sets the flag for its lifetime and clears it on every way out.
    class RunningScope {
    public:
        RunningScope();
        ~RunningScope();
        RunningScope(const RunningScope&) = delete;
        RunningScope& operator=(const RunningScope&) = delete;
    };

    /// The open permission ("no direct print running") of the document's open command:
    /// withdrawn while a job runs, given back at its end.
    static void WithdrawOpenPermission();
    static void GiveOpenPermission();
};

}  // namespace vx
