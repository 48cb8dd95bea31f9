#pragma once
#include <cstdint>

namespace vx {

/// Size and pixel format of one side of a resampling.
struct PictureDescription {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t format = 0;
};

/// Pixel format code: components per pixel in bits 24-31, bits per component in bits
/// 16-23, four 2-bit component positions below. Ours: 4 components of 8 bits, B,G,R,A.
inline constexpr uint32_t kPixelFormatBGRA8 = 0x04083012;

inline constexpr int32_t kResamplerOk = 0;
inline constexpr int32_t kResamplerOutOfMemory = -1000;
inline constexpr int32_t kResamplerBadSize = -1001;    // a width or height below 1
inline constexpr int32_t kResamplerNullRow = -1003;
/// Nothing to take, a row given while finished rows wait, or every row delivered.
inline constexpr int32_t kResamplerNoRow = -1004;
/// Ended or unbegun context, null description, formats that differ, a filter kind or
/// row mode that is not offered.
inline constexpr int32_t kResamplerBadState = -1005;

/// Row-streaming scaler. Source rows go in top first; after each put the caller takes
/// as many target rows as the put reported. Only nearest-pixel filtering (kind 0) of
/// every row (row mode 0) is offered, for 1- and 2-byte components: every target pixel
/// is an exact copy of source pixel (floor(i x Win / Wout), floor(j x Hin / Hout)).
class ResamplerContext;

/// A new, empty context; kResamplerOutOfMemory when memory is short.
int32_t ResamplerCreate(ResamplerContext** out);
/// Prepares a scaling from source to target. Targets narrower or lower than 4 pixels
/// use kind 0 whatever was asked.
int32_t ResamplerBegin(const PictureDescription* source, const PictureDescription* target,
                       int32_t filterKind, int32_t rowMode, ResamplerContext* context);
/// Gives the next source row; the result is the number of target rows now ready.
int32_t ResamplerPutRow(const void* sourceRow, ResamplerContext* context);
/// Writes the next ready target row.
int32_t ResamplerGetRow(void* targetRow, ResamplerContext* context);
/// Frees the working state; the context cannot be begun again.
int32_t ResamplerEnd(ResamplerContext* context);
/// Ends and frees the context; null is accepted.
void ResamplerDestroy(ResamplerContext* context);

}  // namespace vx
