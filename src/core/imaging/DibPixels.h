#pragma once
#include <cstdint>
#include <memory>

#include "imaging/DibBuffer.h"

namespace vx {

/// A new buffer from 24-bit rows (R,G,B, no padding, bottom row first): top row first,
/// each pixel B,G,R,255. Null when the rows are missing or the buffer cannot be made
/// (sides 1 to 32767).
DibBufferPtr CreateARGBBuffer(const uint8_t* rgbRows, int width, int height);

/// The reverse: width x height x 3 bytes, bottom row first, each pixel R,G,B. Null for a
/// null buffer or when memory is short.
std::unique_ptr<uint8_t[]> CopyToRGBRows(const DibBuffer* buffer);

/// How CopyBufferChannel moves one byte of each pixel (byte 0 is blue, byte 3 alpha).
enum class ChannelCopy { BlueToBlue = 0, BlueToAlpha = 1, AlphaToBlue = 2, AlphaToAlpha = 3 };

/// Copies one byte of every pixel from source to target; does nothing unless both have
/// the same width and height.
void CopyBufferChannel(const DibBuffer* source, DibBuffer* target, ChannelCopy mode);

void SetOpaqueAlpha(DibBuffer* buffer);

/// Mean green value of the pixels inside an inset of 15 percent on every side; 0 when
/// nothing is inside.
uint32_t MeanChannelValue(const DibBuffer* buffer);

}  // namespace vx
