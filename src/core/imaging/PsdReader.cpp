#include "imaging/PsdReader.h"

#include <algorithm>
#include <cstring>

#include "imaging/EmbeddedThumbnail.h"
#include "imaging/FileByteSource.h"
#include "imaging/ImageResources.h"
#include "platform/system/FourCC.h"

namespace vx {
namespace {

constexpr size_t kHeaderBytes = 26;
constexpr uint16_t kIccProfile = 1039;

bool ReadLength(ByteSource& file, uint64_t offset, uint32_t& length) {
    uint8_t b[4];
    if (!file.Read(offset, b, sizeof b)) return false;
    length = BigEndianValue(b, 4);
    return true;
}

/// The image resource section: after the header and the colour-mode data, as far as it
/// lies inside the file. False for another signature or a file cut before it.
bool ReadImageResources(ByteSource& file, std::vector<uint8_t>& resources) {
    uint8_t signature[4];
    uint32_t colourModeBytes = 0;
    uint32_t resourceBytes = 0;
    if (!file.Read(0, signature, sizeof signature) || std::memcmp(signature, "8BPS", 4) != 0 ||
        !ReadLength(file, kHeaderBytes, colourModeBytes))
        return false;
    const uint64_t lengthAt = kHeaderBytes + 4 + uint64_t(colourModeBytes);
    if (!ReadLength(file, lengthAt, resourceBytes)) return false;
    resources.resize(size_t(std::min<uint64_t>(resourceBytes, file.Size() - (lengthAt + 4))));
    return file.Read(lengthAt + 4, resources.data(), resources.size());
}

}  // namespace

bool ReadPsdHeader(ByteSource& file, uint32_t& code, uint16_t& depth) {
    uint8_t h[kHeaderBytes];
    if (!file.Read(0, h, sizeof h) || std::memcmp(h, "8BPS", 4) != 0) return false;
    const uint32_t channels = BigEndianValue(h + 12, 2);
    const uint32_t bits = BigEndianValue(h + 22, 2);
    const uint32_t mode = BigEndianValue(h + 24, 2);
    if (channels < 1 || channels > 56 || (bits != 1 && bits != 8 && bits != 16 && bits != 32))
        return false;
    bool withDepth = true;
    switch (mode) {
        case 0: code = FourCC(" B&W"), withDepth = false; break;
        case 1: code = FourCC("GRAY"); break;
        case 2:
        case 3: code = FourCC("RGB "); break;
        case 4: code = FourCC("CMYK"); break;
        case 7: code = FourCC("Mult"); break;
        case 8: code = FourCC(" Duo"), withDepth = false; break;
        case 9: code = FourCC("Lab "), withDepth = false; break;
        default: return false;
    }
    depth = withDepth ? uint16_t(channels * bits) : 0;
    return true;
}

DibBufferPtr ReadPsdThumbnail(ByteSource& file) {
    std::vector<uint8_t> resources;
    return ReadImageResources(file, resources) ? DecodeResourceThumbnail(resources) : nullptr;
}

DibBufferPtr ReadPsdThumbnail(const std::filesystem::path& path) {
    FileByteSource file;
    return file.Open(path) ? ReadPsdThumbnail(file) : nullptr;
}

bool LoadPsdIccProfile(ByteSource& file, std::vector<uint8_t>& profile) {
    profile.clear();
    std::vector<uint8_t> resources;
    if (!ReadImageResources(file, resources)) return false;
    const std::optional<ImageResource> icc = FindImageResource(resources, kIccProfile);
    if (!icc || icc->data.empty()) return false;
    profile.assign(icc->data.begin(), icc->data.end());
    return true;
}

bool LoadPsdIccProfile(const std::filesystem::path& path, std::vector<uint8_t>& profile) {
    FileByteSource file;
    if (!file.Open(path)) {
        profile.clear();
        return false;
    }
    return LoadPsdIccProfile(file, profile);
}

}  // namespace vx
