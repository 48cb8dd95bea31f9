#include "importers/PackBits.h"

#include <cstring>

namespace vx {

bool UnpackBits(const uint8_t* packed, size_t packedBytes, uint8_t* row, size_t rowBytes) {
    size_t in = 0, out = 0;
    while (out < rowBytes && in < packedBytes) {
        const int n = int8_t(packed[in++]);
        if (n >= 0) {
            const size_t count = size_t(n) + 1;
            if (count > packedBytes - in || count > rowBytes - out) return false;
            std::memcpy(row + out, packed + in, count);
            in += count;
            out += count;
        } else if (n != -128) {
            const size_t count = size_t(1 - n);
            if (in >= packedBytes || count > rowBytes - out) return false;
            std::memset(row + out, packed[in++], count);
            out += count;
        }
    }
    return out == rowBytes;
}

}  // namespace vx
