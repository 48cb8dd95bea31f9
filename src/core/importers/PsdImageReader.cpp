#include "importers/PsdImageReader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "imaging/ByteSource.h"
#include "imaging/DecodeTarget.h"
#include "imaging/ImageResources.h"
#include "imaging/PsdReader.h"
#include "importers/ImporterLimits.h"
#include "importers/PackBits.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr uint64_t kHeaderBytes = 26;
constexpr uint16_t kResolutionInfo = 1005;
constexpr size_t kPaletteBytes = 768;
// Raw rows are read in bands of about this many bytes.
constexpr uint64_t kBandBytes = 1 << 20;

enum Mode : uint32_t { kBitmap = 0, kGrey = 1, kIndexed = 2, kRgb = 3, kCmyk = 4, kMulti = 7, kDuotone = 8, kLab = 9 };

/// Where the sections of a document lie; every one checked to lie inside the file.
struct PsdLayout {
    uint32_t channels = 0, height = 0, width = 0, bits = 0, mode = 0;
    uint64_t colourModeAt = 0, colourModeBytes = 0;
    uint64_t resourcesAt = 0, resourcesBytes = 0;
    bool mergedAlpha = false;
    uint64_t imageDataAt = 0;
};

bool ReadBig(ByteSource& file, uint64_t offset, int bytes, uint32_t& value) {
    uint8_t b[4];
    if (!file.Read(offset, b, size_t(bytes))) return false;
    value = BigEndianValue(b, bytes);
    return true;
}

// A section: its 4-byte length, then that many bytes, all inside the file.
bool ReadSection(ByteSource& file, uint64_t at, uint64_t& dataAt, uint64_t& bytes) {
    uint32_t length = 0;
    if (!ReadBig(file, at, 4, length)) return false;
    dataAt = at + 4;
    bytes = length;
    return bytes <= file.Size() - dataAt;
}

bool ReadLayout(ByteSource& file, PsdLayout& l) {
    uint8_t h[kHeaderBytes];
    if (!file.Read(0, h, sizeof h) || std::memcmp(h, "8BPS", 4) != 0 || BigEndianValue(h + 4, 2) != 1)
        return false;
    l.channels = BigEndianValue(h + 12, 2);
    l.height = BigEndianValue(h + 14, 4);
    l.width = BigEndianValue(h + 18, 4);
    l.bits = BigEndianValue(h + 22, 2);
    l.mode = BigEndianValue(h + 24, 2);
    if (l.channels < 1 || l.channels > 56) return false;
    if (!ReadSection(file, kHeaderBytes, l.colourModeAt, l.colourModeBytes)) return false;
    if (!ReadSection(file, l.colourModeAt + l.colourModeBytes, l.resourcesAt, l.resourcesBytes)) return false;
    uint64_t layersAt = 0, layersBytes = 0;
    if (!ReadSection(file, l.resourcesAt + l.resourcesBytes, layersAt, layersBytes)) return false;
    uint32_t layerInfoBytes = 0, count = 0;
    if (layersBytes >= 6 && ReadBig(file, layersAt, 4, layerInfoBytes) && layerInfoBytes >= 2 &&
        ReadBig(file, layersAt + 4, 2, count))
        l.mergedAlpha = int16_t(count) < 0;
    l.imageDataAt = layersAt + layersBytes;
    return true;
}

// The integer part of the 16.16 value. It is pixels per inch whatever unit follows it:
// that unit only says how the resolution is shown (118 per cm is stored as 299.72).
uint32_t ResolutionPpi(const uint8_t* p) {
    const uint32_t ppi = BigEndianValue(p, 2);
    return ppi ? ppi : 72;
}

void ReadResolution(ByteSource& file, const PsdLayout& l, uint32_t& hRes, uint32_t& vRes) {
    hRes = vRes = 72;
    std::vector<uint8_t> resources(size_t(l.resourcesBytes));
    if (!file.Read(l.resourcesAt, resources.data(), resources.size())) return;
    const std::optional<ImageResource> info = FindImageResource(resources, kResolutionInfo);
    if (!info || info->data.size() < 16) return;
    hRes = ResolutionPpi(info->data.data());
    vRes = ResolutionPpi(info->data.data() + 8);
}

uint32_t BaseChannels(uint32_t mode) {
    switch (mode) {
        case kRgb: return 3;
        case kCmyk: return 4;
        default: return 1;
    }
}

/// Writes one decoded channel row (8-bit values) into its place in the B,G,R,A row.
class ChannelWriter {
public:
    ChannelWriter(const PsdLayout& l, uint32_t channel, const uint8_t* palette)
        : mMode(l.mode), mChannel(channel), mAlpha(channel == BaseChannels(l.mode)), mPalette(palette) {}

    void Put(const uint8_t* values, uint8_t* out, uint32_t width) const {
        if (mAlpha) {
            for (uint32_t x = 0; x < width; ++x) out[4 * x + 3] = values[x];
            return;
        }
        switch (mMode) {
            case kRgb:
                for (uint32_t x = 0; x < width; ++x) out[4 * x + 2 - mChannel] = values[x];
                break;
            case kCmyk:  // stored as 255 minus the ink
                for (uint32_t x = 0; x < width; ++x) out[4 * x + mChannel] = uint8_t(255 - values[x]);
                break;
            case kIndexed:
                for (uint32_t x = 0; x < width; ++x) {
                    const uint8_t i = values[x];
                    out[4 * x] = mPalette[512 + i];
                    out[4 * x + 1] = mPalette[256 + i];
                    out[4 * x + 2] = mPalette[i];
                }
                break;
            default:
                for (uint32_t x = 0; x < width; ++x) out[4 * x] = out[4 * x + 1] = out[4 * x + 2] = values[x];
                break;
        }
    }

private:
    uint32_t mMode, mChannel;
    bool mAlpha;
    const uint8_t* mPalette;
};

// One stored row to 8-bit values: the high byte of 16-bit samples, 1-bit set as black.
void ToBytes(const uint8_t* stored, uint32_t bits, uint32_t width, uint8_t* values) {
    if (bits == 8) {
        std::memcpy(values, stored, width);
    } else if (bits == 16) {
        for (uint32_t x = 0; x < width; ++x) values[x] = stored[2 * x];
    } else {
        for (uint32_t x = 0; x < width; ++x) values[x] = (stored[x >> 3] >> (7 - (x & 7))) & 1 ? 0 : 255;
    }
}

}  // namespace

bool PsdImageReader::Probe(ByteSource& file) {
    uint8_t h[6];
    return file.Read(0, h, sizeof h) && std::memcmp(h, "8BPS", 4) == 0 && BigEndianValue(h + 4, 2) == 1;
}

std::optional<ImportedImageInfo> PsdImageReader::Describe(ByteSource& file) {
    PsdLayout l;
    uint32_t space = 0;
    uint16_t depth = 0;
    if (!ReadLayout(file, l) || !ReadPsdHeader(file, space, depth)) return std::nullopt;
    if (space == FourCC("Lab ") || space == FourCC("Mult") || !ImportSizeAllowed(l.width, l.height))
        return std::nullopt;
    ImportedImageInfo answer;
    answer.fileType = FourCC("8BPS");
    ImageDescription& d = answer.description;
    d.codecType = FourCC("8BPS");
    d.width = int16_t(l.width);
    d.height = int16_t(l.height);
    d.depth = depth;
    ReadResolution(file, l, d.hRes, d.vRes);
    std::vector<uint8_t> profile;
    answer.hasEmbeddedProfile = LoadPsdIccProfile(file, profile);
    return answer;
}

DibBufferPtr PsdImageReader::Decode(ByteSource& file, int& messageId) {
    messageId = IDS_FILE_NOT_READABLE;
    PsdLayout l;
    if (!ReadLayout(file, l)) return nullptr;
    const bool supportedMode = l.mode == kBitmap || l.mode == kGrey || l.mode == kIndexed || l.mode == kRgb ||
                               l.mode == kCmyk || l.mode == kDuotone;
    if (!supportedMode || l.bits == 32) {
        messageId = IDS_IMAGE_FORMAT_UNSUPPORTED;
        return nullptr;
    }
    if ((l.mode == kBitmap) != (l.bits == 1) || (l.bits != 1 && l.bits != 8 && l.bits != 16)) return nullptr;
    const uint32_t base = BaseChannels(l.mode);
    if (l.channels < base) return nullptr;
    const uint32_t used = l.mergedAlpha && l.channels > base ? base + 1 : base;
    if (l.mode == kIndexed && l.colourModeBytes < kPaletteBytes) return nullptr;
    uint8_t palette[kPaletteBytes] = {};
    if (l.mode == kIndexed && !file.Read(l.colourModeAt, palette, sizeof palette)) return nullptr;

    uint32_t compression = 0;
    if (!ReadBig(file, l.imageDataAt, 2, compression)) return nullptr;
    if (compression == 2 || compression == 3) {
        messageId = IDS_IMAGE_FORMAT_UNSUPPORTED;
        return nullptr;
    }
    if (compression > 1) return nullptr;
    if (!ImportSizeAllowed(l.width, l.height)) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    const uint64_t rowBytes = l.bits == 1 ? (uint64_t(l.width) + 7) / 8 : uint64_t(l.width) * (l.bits / 8);
    const uint64_t dataAt = l.imageDataAt + 2;
    const uint64_t remaining = file.Size() - dataAt;

    // Every length is checked against the file before any pixel memory is taken.
    std::vector<uint32_t> counts;
    if (compression == 0) {
        if (rowBytes * l.height * used > remaining) return nullptr;
    } else {
        const uint64_t rows = uint64_t(l.channels) * l.height;
        if (rows * 2 > remaining) return nullptr;
        std::vector<uint8_t> table;
        try {
            table.resize(size_t(rows * 2));
            counts.resize(size_t(rows));
        } catch (const std::bad_alloc&) {
            messageId = IDS_NOT_ENOUGH_MEMORY;
            return nullptr;
        }
        if (!file.Read(dataAt, table.data(), table.size())) return nullptr;
        uint64_t total = rows * 2;
        for (size_t i = 0; i < counts.size(); ++i) total += counts[i] = BigEndianValue(&table[2 * i], 2);
        if (total > remaining) return nullptr;
    }

    DibBufferPtr picture = NewDibBuffer(int(l.width), int(l.height));
    std::unique_ptr<uint8_t[]> stored(new (std::nothrow) uint8_t[size_t(rowBytes)]);
    std::unique_ptr<uint8_t[]> values(new (std::nothrow) uint8_t[l.width]);
    std::vector<uint8_t> band;
    try {
        band.resize(compression == 0 ? size_t(std::max<uint64_t>(rowBytes, std::min<uint64_t>(kBandBytes, rowBytes * l.height)))
                                     : size_t(std::min<uint64_t>(0xFFFF, rowBytes * 2 + 2)));
    } catch (const std::bad_alloc&) {
        band.clear();
    }
    if (!picture || !stored || !values || band.empty()) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    uint8_t* bits = DibBuffer::GetBits(picture.get());
    const size_t stride = size_t(DibBuffer::GetRowBytes(picture.get()));
    if (used == base)
        for (size_t i = 3, n = stride * l.height; i < n; i += 4) bits[i] = 255;

    uint64_t at = dataAt + (compression == 1 ? uint64_t(l.channels) * l.height * 2 : 0);
    for (uint32_t c = 0; c < used; ++c) {
        const ChannelWriter writer(l, c, palette);
        if (compression == 0) {
            const uint32_t bandRows = uint32_t(std::max<uint64_t>(1, band.size() / rowBytes));
            for (uint32_t first = 0; first < l.height; first += bandRows) {
                const uint32_t n = std::min(bandRows, l.height - first);
                if (!file.Read(at, band.data(), size_t(rowBytes * n))) return nullptr;
                at += rowBytes * n;
                for (uint32_t r = 0; r < n; ++r) {
                    ToBytes(band.data() + r * rowBytes, l.bits, l.width, values.get());
                    writer.Put(values.get(), bits + (first + r) * stride, l.width);
                }
            }
        } else {
            for (uint32_t r = 0; r < l.height; ++r) {
                const uint32_t packed = counts[size_t(c) * l.height + r];
                if (packed > band.size() || !file.Read(at, band.data(), packed) ||
                    !UnpackBits(band.data(), packed, stored.get(), size_t(rowBytes)))
                    return nullptr;
                at += packed;
                ToBytes(stored.get(), l.bits, l.width, values.get());
                writer.Put(values.get(), bits + r * stride, l.width);
            }
        }
    }
    return picture;
}

}  // namespace vx
