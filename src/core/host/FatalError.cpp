#include "host/FatalError.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

void DefaultHook(int exitCode) {
    Messages().Show(IDS_UNKNOWN_ERROR, {}, Icon::Error, Buttons::Ok);
    // _Exit: after an unexpected failure no destructor of half-changed state may run.
    std::_Exit(exitCode & 0xFF);
}

std::mutex gHookMutex;
FatalErrorHook gHook;

}  // namespace

FatalErrorHook SetFatalErrorHook(FatalErrorHook hook) {
    std::lock_guard lock(gHookMutex);
    return std::exchange(gHook, std::move(hook));
}

void FatalError(int exitCode) {
    FatalErrorHook hook;
    {
        std::lock_guard lock(gHookMutex);
        hook = gHook;
    }
    if (hook)
        hook(exitCode);
    else
        DefaultHook(exitCode);
}

void LogUnexpectedException(std::exception_ptr error) noexcept {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vellicorex: unexpected exception: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "vellicorex: unexpected non-standard exception\n");
    }
}

}  // namespace vx
