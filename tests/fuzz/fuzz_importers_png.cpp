// PNG files are untrusted: probe, describe and decode them as the importers do.

#include <cstddef>
#include <cstdint>

#include "imaging/MemoryByteSource.h"
#include "importers/PngReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vx::MemoryByteSource file(data, size);
    if (!vx::PngReader::Probe(file)) return 0;
    (void)vx::PngReader::Describe(file);
    int messageId = 0;
    (void)vx::PngReader::Decode(file, messageId);
    (void)vx::PngReader::EmbeddedProfile(file);
    return 0;
}
