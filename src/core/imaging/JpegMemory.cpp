#include "imaging/JpegMemory.h"

#include <cstdlib>

namespace vx {
namespace {

/// Where libjpeg's memory destination reports its block; kept in the compressor's
/// permanent pool and found through client_data.
struct DestinationSlot {
    unsigned char* block = nullptr;
    unsigned long size = 0;
};

DestinationSlot* Slot(j_compress_ptr info) {
    return static_cast<DestinationSlot*>(info->client_data);
}

}  // namespace

void SetJpegMemorySource(j_decompress_ptr info, const uint8_t* data, size_t length) {
    // Longer data than an unsigned long counts is not a JPEG we read.
    jpeg_mem_src(info, data, static_cast<unsigned long>(length));
}

void SetJpegMemoryDestination(j_compress_ptr info) {
    FreeJpegMemoryDestination(info);
    auto* slot = static_cast<DestinationSlot*>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT,
                                  sizeof(DestinationSlot)));
    *slot = DestinationSlot{};
    jpeg_mem_dest(info, &slot->block, &slot->size);
    info->client_data = slot;  // only now is there a block to free
}

bool GetJpegMemoryDestinationBuffer(j_compress_ptr info, uint8_t** block, size_t* size) {
    DestinationSlot* slot = Slot(info);
    if (!slot || !slot->block) return false;
    *block = slot->block;
    *size = slot->size;
    info->client_data = nullptr;
    return true;
}

void FreeJpegMemoryDestination(j_compress_ptr info) {
    DestinationSlot* slot = Slot(info);
    if (!slot) return;
    // libjpeg moves to a larger block as it goes and tells only its termination where
    // the current one is; before that the slot may still name a freed block.
    if (info->dest) (*info->dest->term_destination)(info);
    std::free(slot->block);
    info->client_data = nullptr;
}

}  // namespace vx
