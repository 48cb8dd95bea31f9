#pragma once
#include <cstdint>

namespace vx {

/// The printer's driver information as the printer manager reads it: family code (0x30
/// marks a supported printer) and the model name, NUL-terminated. Zero it before use.
struct DriverInfoRecord {
    uint16_t family;
    char model[32];
};
static_assert(sizeof(DriverInfoRecord) == 34);

constexpr uint16_t kSupportedPrinterFamily = 0x30;

}  // namespace vx
