#pragma once
#include <string_view>

namespace vx {

/// Failures of the colour layer are written to the log (stderr), never shown: callers
/// decide which message the user sees. LittleCMS's own errors are routed here as well.
void LogColourError(std::string_view text);

/// Installs the LittleCMS error handler once; every entry point of the layer calls it.
void InstallColourLog();

}  // namespace vx
