#include "model/RotationMap.h"

namespace vx {

int MapRotation(int mode, int code) {
    static constexpr int kMode1[] = {3, 2, 0, 1};
    static constexpr int kMode2[] = {1, 0, 3, 2};
    static constexpr int kMode4[] = {2, 3, 1, 0};
    if (code < 0 || code > 3) return code;
    switch (mode) {
        case 1: return kMode1[code];
        case 2: return kMode2[code];
        case 4: return kMode4[code];
        default: return code;
    }
}

int MapRotationInverse(int mode, int code) {
    return MapRotation(mode == 1 ? 4 : mode == 4 ? 1 : mode, code);
}

}  // namespace vx
