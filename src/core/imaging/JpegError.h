#pragma once
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE

#include <jpeglib.h>

namespace vx {

/// libjpeg's standard error manager followed by the jump point that JpegErrorExit
/// returns to. Every function that sets the jump point keeps only trivial locals, so
/// that the jump skips no destructor.
struct JpegErrorManager {
    jpeg_error_mgr pub;  // first: libjpeg only sees this part
    std::jmp_buf jump;
};

/// The error exit of every compressor and decompressor: jumps back to the manager's
/// jump point with 1. Never returns.
[[noreturn]] void JpegErrorExit(j_common_ptr info);

/// Standard error routines with JpegErrorExit, printing nothing; warnings are still
/// counted in num_warnings. Returns the part to put in the object's `err`.
jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager& errors);

/// The message for the last error: 10413 when libjpeg ran out of memory or reached its
/// memory limit, 10417 for anything else (unreadable or damaged data).
int JpegErrorMessageId(const JpegErrorManager& errors);

}  // namespace vx
