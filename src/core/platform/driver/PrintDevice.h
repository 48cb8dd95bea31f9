#pragma once
// The device lives in the spool layer, which renders into it; the benchmarks still
// include it by this name.
#include "platform/spool/PrintDevice.h"
