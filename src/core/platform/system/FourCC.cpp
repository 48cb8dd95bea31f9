#include "platform/system/FourCC.h"

namespace vx {

uint32_t FourCCFromText(std::string_view text) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v = (v << 8) | uint8_t(i < text.size() ? text[i] : ' ');
    return v;
}

std::string FourCCText(uint32_t code) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) s[size_t(i)] = char((code >> (24 - 8 * i)) & 0xFF);
    return s;
}

}  // namespace vx
