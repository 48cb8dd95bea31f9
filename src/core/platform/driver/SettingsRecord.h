#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/driver/PrinterModel.h"
#include "platform/driver/PrinterSettings.h"

namespace vx {

/// The settings record that stands in for the printer's DEVMODE: UTF-8 text, one
/// "key=value" per line, numbers in the C form whatever the locale. Slots, layouts and
/// jobs store it, so reading it is strict.
class SettingsRecord {
public:
    /// version, model, orientation, source, paper, media, ink, mode, quality, special,
    /// layout, roll, highspeed, colour, centring in this order; keys of items the model
    /// lacks are left out.
    static std::string Write(const PrinterModel& model, const PrinterSettings& s);

    /// The settings a record describes for the model, or nullopt when it is refused:
    /// another version or model, a value that does not parse, a key given twice, a
    /// nonzero value for an item the model lacks, or a state the model cannot take.
    /// Unknown keys are ignored; missing keys take the model's defaults; CR LF is
    /// accepted.
    static std::optional<PrinterSettings> Read(const PrinterModel& model, std::string_view text);
};

}  // namespace vx
