#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/JpegError.h"

namespace vx {

/// Reads the decompressor's data from memory; the data must outlive the decompressor.
/// Empty data is a libjpeg error; data that ends early is finished with a warning and an
/// end-of-image marker. Call inside the caller's jump point.
void SetJpegMemorySource(j_decompress_ptr info, const uint8_t* data, size_t length);

/// Gathers the compressor's output in one malloc'd block; running out of memory is a
/// libjpeg error. Call inside the caller's jump point.
void SetJpegMemoryDestination(j_compress_ptr info);
/// After jpeg_finish_compress: hands over the block and its size (the caller frees it
/// with free()); false when there is none.
bool GetJpegMemoryDestinationBuffer(j_compress_ptr info, uint8_t** block, size_t* size);
/// Frees what the destination still holds; call after an error and before
/// jpeg_destroy_compress.
void FreeJpegMemoryDestination(j_compress_ptr info);

}  // namespace vx
