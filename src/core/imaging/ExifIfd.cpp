#include "imaging/ExifIfd.h"

#include <vector>

#include "imaging/TiffBlock.h"

namespace vx {
namespace {

constexpr uint16_t kTagMake = 271;
constexpr uint16_t kTagModel = 272;
constexpr uint16_t kTagXResolution = 282;
constexpr uint16_t kTagYResolution = 283;
constexpr uint16_t kTagResolutionUnit = 296;

/// numerator / denominator as the record keeps it: 0 for a zero denominator, and no
/// more than a 16-bit field holds.
uint16_t Resolution(const TiffBlock& block, const TiffBlock::Entry& e) {
    const auto r = block.Rational(e);
    if (!r || r->second == 0) return 0;
    const uint32_t value = r->first / r->second;
    return value > 0xFFFF ? uint16_t(0xFFFF) : uint16_t(value);
}

}  // namespace

void ParseExifIfd(ExifRecord& record, const uint8_t* data, size_t length) {
    record.presence = ExifRecord::kExifIfd;
    TiffBlock block(data, length);
    std::vector<TiffBlock::Entry> entries;
    if (!block.ReadHeader() || !block.ReadIfd(block.FirstIfdOffset(), entries)) return;
    for (const TiffBlock::Entry& e : entries) {
        switch (e.tag) {
            case kTagMake: record.maker = block.Text(e, ExifRecord::kMakerCapacity); break;
            case kTagModel: record.model = block.Text(e, ExifRecord::kMakerCapacity); break;
            case kTagXResolution: record.xResolution = Resolution(block, e); break;
            case kTagYResolution: record.yResolution = Resolution(block, e); break;
            case kTagResolutionUnit:
                if (auto unit = block.Unsigned(e)) record.resolutionUnit = uint16_t(*unit);
                break;
            default: break;
        }
    }
}

}  // namespace vx
