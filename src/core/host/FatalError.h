#pragma once
#include <exception>
#include <functional>
#include <utility>

namespace vx {

/// Exit status of a fatal error (-1 on the original platform).
inline constexpr int kFatalExitCode = 255;

/// Handles an unexpected failure: shows "Unbekannter Fehler." with an error icon and
/// ends the process with exitCode. The window side and tests install their own hook;
/// a test hook may return, and then FatalError returns too.
void FatalError(int exitCode = kFatalExitCode);

using FatalErrorHook = std::function<void(int exitCode)>;
/// Installs a hook (empty restores the default); returns the previous one.
FatalErrorHook SetFatalErrorHook(FatalErrorHook hook);

/// Logs an escaped exception for developers (English, stderr).
void LogUnexpectedException(std::exception_ptr error) noexcept;

/// Runs an event handler; an exception that escapes it is a bug and goes to
/// FatalError. Returns false when that happened (only a test hook lets it return).
template <class Handler>
bool RunGuarded(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (...) {
        LogUnexpectedException(std::current_exception());
    }
    FatalError(kFatalExitCode);
    return false;
}

}  // namespace vx
