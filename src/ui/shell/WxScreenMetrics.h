#pragma once
#include "app/ScreenMetrics.h"

namespace vx {

/// The metrics that window sizes are built from, as wxSystemSettings answers them.
ScreenMetrics CurrentScreenMetrics();

}  // namespace vx
