#pragma once
#include <cstdint>
#include <string>

#include "printing/CDriverModule.h"
#include "printing/OptionControls.h"

namespace vx {

class DriverModuleLocator;
class QueueSource;

/// The printer's own settings dialog as core code holds it: a driver module of its own,
/// opened on one printer from a settings record, whose medium, ink, print mode and high
/// speed the user changes one at a time. Source, paper and orientation are shown but
/// fixed, since the layout was laid out for them. Every choice goes to the driver at
/// once; a refused one leaves the driver's value, which the next Controls() shows.
class DriverSettingsEditor {
public:
    /// On this machine's queues and the shipped models.
    DriverSettingsEditor() = default;
    DriverSettingsEditor(QueueSource& queues, DriverModuleLocator& modules) : mModule(queues, modules) {}
    DriverSettingsEditor(const DriverSettingsEditor&) = delete;
    DriverSettingsEditor& operator=(const DriverSettingsEditor&) = delete;

    /// Opens printer from settings (the driver's record); false when it cannot be
    /// opened, nothing is open then.
    bool Open(const std::string& printer, const std::string& settings);
    bool IsOpen() const { return mModule.Handle() != 0; }
    const std::string& Printer() const { return mPrinter; }

    /// The controls' states: paper source, paper size and medium combos filled, the
    /// orientation radios, the ink radios and picture, the print-mode radios and high
    /// speed. Source, paper and orientation are disabled. Empty states when the driver
    /// cannot be read.
    OptionControls Controls();

    /// The choices; each false when the driver refused it (its value stays).
    bool SetMedia(int32_t media);
    /// kInkColour, kInkBlack or kInkMonoPhoto.
    bool SetInk(int32_t ink);
    /// OptionControl::ModeQuality, ModeFast or ModeUltrafine.
    bool SetPrintMode(OptionControl mode);
    bool SetHighSpeed(bool on);

    /// The driver's settings record as it stands; empty when it cannot be read.
    std::string Settings();

private:
    CDriverModule mModule;
    std::string mPrinter;
};

}  // namespace vx
