#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

/// Standard base64 (A-Z a-z 0-9 + /, "=" padding), without line breaks.
std::string Base64Encode(std::span<const uint8_t> bytes);

/// Strict decoding: the length is a multiple of 4, every character is of the alphabet,
/// and "=" stands only in the last one or two places. Any fault gives nullopt, never a
/// part of the bytes. The result holds the bytes without the padding's.
std::optional<std::vector<uint8_t>> Base64Decode(std::string_view text);

}  // namespace vx
