#pragma once
#include <cstdint>
#include <string>

namespace vx {

/// A supported printer: the queue's name and the model its driver reports.
struct PrinterEntry {
    std::string printer;
    std::string model;
    bool operator==(const PrinterEntry&) const = default;
};

/// An entry of an option list: the driver's 16-bit id (zero-extended) and its display
/// name.
struct OptionEntry {
    int32_t value = 0;
    std::string name;
    bool operator==(const OptionEntry&) const = default;
};

}  // namespace vx
