#pragma once
#include <memory>

namespace vx {

class BusyIndicator;

/// The wait cursor as the printer manager's busy indicator (nested calls count).
using BusyIndicatorPtr = std::unique_ptr<BusyIndicator, void (*)(BusyIndicator*)>;
BusyIndicatorPtr MakeWxBusyIndicator();

}  // namespace vx
