#include "platform/system/Base64.h"

#include <array>

namespace vx {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int8_t, 256> MakeDecodeTable() {
    std::array<int8_t, 256> t{};
    for (size_t i = 0; i < t.size(); ++i) t[i] = -1;
    for (int i = 0; i < 64; ++i) t[uint8_t(kAlphabet[i])] = int8_t(i);
    return t;
}

}  // namespace

std::string Base64Encode(std::span<const uint8_t> bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        uint32_t v = uint32_t(bytes[i]) << 16 | uint32_t(bytes[i + 1]) << 8 | bytes[i + 2];
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    size_t rest = bytes.size() - i;
    if (rest > 0) {
        uint32_t v = uint32_t(bytes[i]) << 16 | (rest == 2 ? uint32_t(bytes[i + 1]) << 8 : 0);
        out += kAlphabet[v >> 18];
        out += kAlphabet[(v >> 12) & 63];
        out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::optional<std::vector<uint8_t>> Base64Decode(std::string_view text) {
    static const std::array<int8_t, 256> table = MakeDecodeTable();
    if (text.size() % 4 != 0) return std::nullopt;
    size_t padding = 0;
    if (!text.empty() && text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;
    std::vector<uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    const size_t dataChars = text.size() - padding;
    uint32_t acc = 0;
    int bits = 0;
    for (size_t i = 0; i < dataChars; ++i) {
        int8_t v = table[uint8_t(text[i])];
        if (v < 0) return std::nullopt;  // '=' in the middle lands here too
        acc = (acc << 6) | uint32_t(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(uint8_t(acc >> bits));
            acc &= (1u << bits) - 1;
        }
    }
    return out;
}

}  // namespace vx
