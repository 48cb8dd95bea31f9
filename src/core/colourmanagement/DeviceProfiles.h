#pragma once
#include <functional>
#include <optional>
#include <string>

namespace vx {

/// Where the monitor's profile comes from: the settings store's monitor entry, bound at
/// start-up. It answers a profile file name of the colour directories or a path; empty
/// when the user chose none.
void SetMonitorProfilePreference(std::function<std::string()> preference);

/// The monitor's profile file: the preference, else "sRGB Color Space Profile.ICM".
std::string GetMonitorProfileName();

/// Where the default printer's name comes from: the spool layer binds it; until then
/// there is no default printer.
void SetDefaultPrinterProvider(std::function<std::string()> provider);

/// The default printer's name; nullopt when there is none.
std::optional<std::string> GetDefaultPrinterName();

}  // namespace vx
