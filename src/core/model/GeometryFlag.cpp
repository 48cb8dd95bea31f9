#include "model/GeometryFlag.h"

#include <atomic>

namespace vx {
namespace {

std::atomic<bool> gGeometryFlag{true};

}  // namespace

void ClearGeometryFlag() { gGeometryFlag = false; }
void SetGeometryFlag() { gGeometryFlag = true; }
bool IsGeometryFlagSet() { return gGeometryFlag; }

}  // namespace vx
