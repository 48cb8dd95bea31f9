#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace vx {

/// Compresses width x height pixels (R, G, B and one unused byte each, top row first)
/// into a baseline JPEG of quality 75 held in memory. nullopt on any libjpeg error or
/// when memory is short; libjpeg never ends the program.
std::optional<std::vector<uint8_t>> EncodeJpegToMemory(int width, int height, const uint8_t* pixels);

}  // namespace vx
