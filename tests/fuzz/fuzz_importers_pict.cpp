// PICT files are untrusted: probe, describe and decode them as the importers do.

#include <cstddef>
#include <cstdint>

#include "imaging/MemoryByteSource.h"
#include "importers/PictReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vx::MemoryByteSource file(data, size);
    if (!vx::PictReader::Probe(file)) return 0;
    (void)vx::PictReader::Describe(file);
    int messageId = 0;
    (void)vx::PictReader::Decode(file, messageId);
    return 0;
}
