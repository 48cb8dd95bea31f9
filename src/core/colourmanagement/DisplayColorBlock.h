#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vx {

/// What the colour-matched view records of the display and the default printer: the
/// main window owns one from its creation to its destruction.
struct DisplayColorBlock {
    std::string monitorName;
    std::string monitorProfile;      // a profile file name of the colour directories
    std::string printerName;         // the default printer, empty without one
    std::string printerProfile;      // the file name of its current medium's profile
    std::string printerProfileCopy;  // the same, kept apart for the view to compare
};

/// Where the monitor's name comes from (the window side's display description); until
/// one is bound the name is empty.
void SetMonitorNameProvider(std::function<std::string()> provider);

/// Where a printer's medium profile comes from: start-up binds it to the printer
/// manager's device creation (this layer does not depend on printing). Nullopt when no
/// device can be made for the printer.
void SetPrinterProfileProvider(std::function<std::optional<std::filesystem::path>(const std::string& printer)> provider);

/// A new block, filled; null when it could not be filled.
std::unique_ptr<DisplayColorBlock> CreateDisplayColorBlock();

/// Fills block from the providers, the monitor profile preference (else sRGB) and the
/// default printer. The printer fields stay empty without a default printer or a device
/// for it. True on success.
bool FillDisplayColorBlock(DisplayColorBlock& block);

}  // namespace vx
