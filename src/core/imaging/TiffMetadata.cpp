#include "imaging/TiffMetadata.h"

#include <vector>

#include "imaging/ExifIfd.h"
#include "imaging/FileByteSource.h"
#include "imaging/TiffBlock.h"
#include "platform/system/FourCC.h"

namespace vx {
namespace {

constexpr uint16_t kTagPhotometric = 262;

}  // namespace

bool ReadTiffMetadata(const std::filesystem::path& path, ExifRecord& record, DibBufferPtr* thumbnail) {
    if (thumbnail) thumbnail->reset();
    FileByteSource file;
    if (!file.Open(path)) return false;
    record = ExifRecord{};
    return ReadExifIfdFromFile(record, file, thumbnail);
}

bool ReadTiffColorSpace(ByteSource& file, uint32_t& code) {
    TiffBlock block(file);
    std::vector<TiffBlock::Entry> entries;
    if (!block.ReadHeader() || !block.ReadIfd(block.FirstIfdOffset(), entries)) return false;
    for (const TiffBlock::Entry& e : entries) {
        if (e.tag != kTagPhotometric) continue;
        switch (block.Short(e).value_or(0xFFFF)) {
            case 0:
            case 1: code = FourCC("GRAY"); return true;
            case 2:
            case 3:
            case 6: code = FourCC("RGB "); return true;
            case 5: code = FourCC("CMYK"); return true;
            case 8: code = FourCC("Lab "); return true;
            default: return false;
        }
    }
    return false;
}

}  // namespace vx
