#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace vx {

/// Four-character code as a 32-bit value, first character in the high byte
/// ("JPEG" = 0x4A504547), the way codec and colour-space types are compared.
constexpr uint32_t FourCC(const char (&s)[5]) {
    return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
           (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

uint32_t FourCCFromText(std::string_view text);  // shorter text is padded with blanks
std::string FourCCText(uint32_t code);

}  // namespace vx
