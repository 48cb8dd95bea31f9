#pragma once
#include <string>
#include <string_view>

#include "platform/system/MessageArgs.h"

namespace vx {

/// printf into a std::string, always with the "C" locale's dot decimals: GTK sets the
/// process locale at start-up, and stored files and messages must keep the dot.
std::string FormatC(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

/// Fills the printf conversions of a message template (%s, %d, %ld, %.2f, %%, ...) from
/// args in order. An argument of another type is converted; a conversion without an
/// argument stays as written. Locale-independent.
std::string FormatTemplate(std::string_view tmpl, const Args& args);

}  // namespace vx
