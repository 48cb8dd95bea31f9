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
    const size_t dataChars = text.size() - padding;
    // Whole groups of four characters first, straight into the sized result.
    std::vector<uint8_t> out(dataChars * 6 / 8);
    uint8_t* o = out.data();
    const auto* in = reinterpret_cast<const uint8_t*>(text.data());
    size_t i = 0;
    for (; i + 4 <= dataChars; i += 4, o += 3) {
        const int a = table[in[i]], b = table[in[i + 1]], c = table[in[i + 2]], d = table[in[i + 3]];
        if ((a | b | c | d) < 0) return std::nullopt;  // '=' in the middle lands here too
        const uint32_t v = uint32_t(a) << 18 | uint32_t(b) << 12 | uint32_t(c) << 6 | uint32_t(d);
        o[0] = uint8_t(v >> 16);
        o[1] = uint8_t(v >> 8);
        o[2] = uint8_t(v);
    }
    // The last group before the padding: two or three characters give one or two bytes.
    uint32_t acc = 0;
    int bits = 0;
    for (; i < dataChars; ++i) {
        const int8_t v = table[in[i]];
        if (v < 0) return std::nullopt;
        acc = (acc << 6) | uint32_t(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            *o++ = uint8_t(acc >> bits);
            acc &= (1u << bits) - 1;
        }
    }
    return out;
}

}  // namespace vx
