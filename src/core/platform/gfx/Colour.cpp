#include "platform/gfx/Colour.h"

namespace vx::gfx {
namespace {
SystemColours& Current() {
    static SystemColours colours;
    return colours;
}
}  // namespace

const SystemColours& GetSystemColours() { return Current(); }
void SetSystemColours(const SystemColours& colours) { Current() = colours; }

}  // namespace vx::gfx
