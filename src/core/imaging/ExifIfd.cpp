#include "imaging/ExifIfd.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "imaging/EmbeddedThumbnail.h"
#include "imaging/MemoryByteSource.h"
#include "imaging/TiffBlock.h"

namespace vx {
namespace {

using Entries = std::vector<TiffBlock::Entry>;

enum Tag : uint16_t {
    kTagCompression = 0x0103,
    kTagMake = 0x010F,
    kTagModel = 0x0110,
    kTagOrientation = 0x0112,
    kTagXResolution = 0x011A,
    kTagYResolution = 0x011B,
    kTagResolutionUnit = 0x0128,
    kTagJpegOffset = 0x0201,
    kTagJpegLength = 0x0202,
    kTagExposureTime = 0x829A,
    kTagFNumber = 0x829D,
    kTagPhotoshop = 0x8649,
    kTagExifIfd = 0x8769,
    kTagIsoSpeedRatings = 0x8827,
    kTagExifVersion = 0x9000,
    kTagDateTimeOriginal = 0x9003,
    kTagDateTimeDigitized = 0x9004,
    kTagExposureBiasValue = 0x9204,
    kTagLightSource = 0x9208,
    kTagFlash = 0x9209,
    kTagColorSpace = 0xA001,
    kTagWhiteBalance = 0xA403,
    kTagContrast = 0xA408,
    kTagSaturation = 0xA409,
};

constexpr uint16_t kCompressionJpeg = 6;

/// numerator / denominator as the record keeps it: 0 for a zero denominator, and no
/// more than a 16-bit field holds.
uint16_t Resolution(const TiffBlock& block, const TiffBlock::Entry& e) {
    const auto r = block.Rational(e);
    if (!r || r->second == 0) return 0;
    const uint32_t value = r->first / r->second;
    return value > 0xFFFF ? uint16_t(0xFFFF) : uint16_t(value);
}

/// Maker, model and resolution: what both parsers read from IFD0.
void ReadIfd0Basics(ExifRecord& record, const TiffBlock& block, const Entries& entries) {
    for (const TiffBlock::Entry& e : entries) {
        switch (e.tag) {
            case kTagMake: record.maker = block.Text(e, ExifRecord::kMakerCapacity); break;
            case kTagModel: record.model = block.Text(e, ExifRecord::kMakerCapacity); break;
            case kTagXResolution: record.xResolution = Resolution(block, e); break;
            case kTagYResolution: record.yResolution = Resolution(block, e); break;
            case kTagResolutionUnit:
                if (auto unit = block.Short(e)) record.resolutionUnit = *unit;
                break;
            default: break;
        }
    }
}

/// Stores a 16-bit value and its presence bit when the entry is a SHORT.
void TakeShort(const TiffBlock& block, const TiffBlock::Entry& e, uint16_t& field,
               uint32_t& presence, uint32_t bit) {
    if (auto v = block.Short(e)) {
        field = *v;
        presence |= bit;
    }
}

void ReadExifValues(ExifRecord& r, const TiffBlock& block, const Entries& entries) {
    for (const TiffBlock::Entry& e : entries) {
        switch (e.tag) {
            case kTagExifVersion:
                if (block.Bytes(e, r.exifVersion.data(), r.exifVersion.size()))
                    r.presence |= ExifRecord::kExifVersion;
                break;
            case kTagDateTimeOriginal: r.dateTimeOriginal = block.Text(e, ExifRecord::kDateCapacity); break;
            case kTagDateTimeDigitized: r.dateTimeDigitized = block.Text(e, ExifRecord::kDateCapacity); break;
            case kTagFlash: TakeShort(block, e, r.flash, r.presence, ExifRecord::kFlash); break;
            case kTagLightSource: TakeShort(block, e, r.lightSource, r.presence, ExifRecord::kLightSource); break;
            case kTagWhiteBalance: TakeShort(block, e, r.whiteBalance, r.presence, ExifRecord::kWhiteBalance); break;
            case kTagContrast: TakeShort(block, e, r.contrast, r.presence, ExifRecord::kContrast); break;
            case kTagSaturation: TakeShort(block, e, r.saturation, r.presence, ExifRecord::kSaturation); break;
            case kTagColorSpace:
                if (auto v = block.Short(e)) {
                    r.colorSpace = *v;
                    r.presence |= ExifRecord::kColorSpace;
                }
                break;
            case kTagIsoSpeedRatings:
                if (auto v = block.Unsigned(e)) {
                    r.isoSpeedRatings = uint16_t(std::min<uint32_t>(*v, 0xFFFF));
                    r.presence |= ExifRecord::kIsoSpeedRatings;
                }
                break;
            case kTagExposureTime:
                if (auto v = block.Rational(e)) {
                    r.exposureTimeNumerator = v->first;
                    r.exposureTimeDenominator = v->second;
                    r.presence |= ExifRecord::kExposureTime;
                }
                break;
            case kTagExposureBiasValue:
                if (auto v = block.SRational(e)) {
                    r.exposureBiasValue = v->second == 0 ? 0.0 : double(v->first) / double(v->second);
                    r.presence |= ExifRecord::kExposureBiasValue;
                }
                break;
            case kTagFNumber:
                if (auto v = block.Rational(e)) {
                    r.fNumber = v->second == 0 ? 0.0 : double(v->first) / double(v->second);
                    r.presence |= ExifRecord::kFNumber;
                }
                break;
            default: break;
        }
    }
}

const TiffBlock::Entry* FindTag(const Entries& entries, uint16_t tag) {
    for (const TiffBlock::Entry& e : entries)
        if (e.tag == tag) return &e;
    return nullptr;
}

/// The JPEG thumbnail that IFD1 points to, read no further than the block reaches.
DibBufferPtr DecodeIfd1Thumbnail(const TiffBlock& block, const Entries& ifd1) {
    const TiffBlock::Entry* compression = FindTag(ifd1, kTagCompression);
    const TiffBlock::Entry* offsetTag = FindTag(ifd1, kTagJpegOffset);
    const TiffBlock::Entry* lengthTag = FindTag(ifd1, kTagJpegLength);
    if (!compression || !offsetTag || !lengthTag || block.Short(*compression) != kCompressionJpeg)
        return nullptr;
    const std::optional<uint32_t> offset = block.Offset(*offsetTag);
    const std::optional<uint32_t> length = block.Unsigned(*lengthTag);
    if (!offset || !length || *offset == 0 || *length == 0 || *offset >= block.Size()) return nullptr;
    std::vector<uint8_t> jpeg(size_t(std::min<uint64_t>(*length, block.Size() - *offset)));
    if (!block.ReadAt(*offset, jpeg.data(), jpeg.size())) return nullptr;
    return DecodeEmbeddedThumbnail(jpeg.data(), jpeg.size());
}

/// The thumbnail in the Photoshop image resources that IFD0 carries.
DibBufferPtr DecodePhotoshopThumbnail(const TiffBlock& block, const Entries& ifd0) {
    const TiffBlock::Entry* e = FindTag(ifd0, kTagPhotoshop);
    if (!e) return nullptr;
    std::vector<uint8_t> resources(e->valueBytes);
    if (!block.Bytes(*e, resources.data(), resources.size())) return nullptr;
    return DecodeResourceThumbnail(resources);
}

}  // namespace

void ParseExifIfd(ExifRecord& record, const uint8_t* data, size_t length) {
    record.presence = ExifRecord::kExifIfd;
    MemoryByteSource source(data, length);
    TiffBlock block(source);
    Entries entries;
    if (!block.ReadHeader() || !block.ReadIfd(block.FirstIfdOffset(), entries)) return;
    ReadIfd0Basics(record, block, entries);
}

bool ReadExifIfdFromFile(ExifRecord& record, ByteSource& source, DibBufferPtr* thumbnail) {
    if (thumbnail) thumbnail->reset();
    TiffBlock block(source);
    Entries ifd0;
    uint32_t ifd1Offset = 0;
    if (!block.ReadHeader() || !block.ReadIfd(block.FirstIfdOffset(), ifd0, &ifd1Offset))
        return false;
    ReadIfd0Basics(record, block, ifd0);
    if (const TiffBlock::Entry* e = FindTag(ifd0, kTagOrientation))
        if (auto v = block.Short(*e)) record.orientation = *v;

    if (const TiffBlock::Entry* e = FindTag(ifd0, kTagExifIfd)) {
        Entries exif;
        const std::optional<uint32_t> offset = block.Offset(*e);
        if (offset && block.ReadIfd(*offset, exif)) {
            record.presence = ExifRecord::kExifIfd;
            ReadExifValues(record, block, exif);
        }
    }

    if (!thumbnail) return true;
    Entries ifd1;
    if (ifd1Offset != 0 && block.ReadIfd(ifd1Offset, ifd1)) *thumbnail = DecodeIfd1Thumbnail(block, ifd1);
    if (!*thumbnail) *thumbnail = DecodePhotoshopThumbnail(block, ifd0);
    return true;
}

}  // namespace vx
