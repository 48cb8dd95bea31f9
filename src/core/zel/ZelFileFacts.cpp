#include "zel/ZelFileFacts.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/ExifIfd.h"
#include "imaging/ExifRecord.h"
#include "imaging/FileByteSource.h"
#include "imaging/JpegMarkerWalker.h"
#include "imaging/MemoryByteSource.h"
#include "imaging/TiffBlock.h"

namespace vx {
namespace {

constexpr uint8_t kBlockIdentifier[6] = {'V', 'X', 'Z', 'E', 'L', 0};
constexpr uint8_t kBlockVersion = 1;
constexpr uint8_t kMarkerApp1 = 0xE1;
constexpr uint8_t kMarkerApp11 = 0xEB;

bool IsExifPrint(const ExifRecord& exif) {
    if (!(exif.presence & ExifRecord::kExifVersion)) return false;
    const auto& v = exif.exifVersion;
    if (!std::all_of(v.begin(), v.end(), [](uint8_t c) { return c >= '0' && c <= '9'; })) return false;
    return std::memcmp(v.data(), "0220", 4) >= 0;
}

void TakeExif(ZelFileFacts& facts, const ExifRecord& exif) {
    facts.exifPrint = IsExifPrint(exif);
    if (exif.presence & ExifRecord::kColorSpace) facts.exifColorSpace = exif.colorSpace;
}

bool StartsWith(ByteSource& file, uint64_t offset, const void* prefix, size_t length) {
    std::vector<uint8_t> bytes(length);
    return file.Read(offset, bytes.data(), length) && std::memcmp(bytes.data(), prefix, length) == 0;
}

void ReadJpegFacts(ByteSource& file, ZelFileFacts& facts) {
    JpegMarkerWalker walker(file);
    if (!walker.Start()) return;
    bool exifSeen = false;
    bool blockSeen = false;
    JpegMarkerWalker::Segment s;
    while (!(exifSeen && blockSeen) && walker.Next(s)) {
        if (s.marker == kMarkerApp1 && !exifSeen && s.length > 6 && StartsWith(file, s.offset, "Exif\0\0", 6)) {
            exifSeen = true;
            std::vector<uint8_t> block(s.length - 6);
            if (!file.Read(s.offset + 6, block.data(), block.size())) continue;
            MemoryByteSource source(block.data(), block.size());
            ExifRecord exif;
            ReadExifIfdFromFile(exif, source);
            TakeExif(facts, exif);
        } else if (s.marker == kMarkerApp11 && !blockSeen && s.length >= sizeof kBlockIdentifier &&
                   StartsWith(file, s.offset, kBlockIdentifier, sizeof kBlockIdentifier)) {
            // The first block that names itself decides, parsed or not.
            blockSeen = true;
            std::vector<uint8_t> block(std::min<size_t>(s.length, kZelBlockBytes + 1));
            if (file.Read(s.offset, block.data(), block.size())) facts.curves = ParseZelBlock(block);
        }
    }
}

void ReadTiffFacts(ByteSource& file, ZelFileFacts& facts) {
    ExifRecord exif;
    ReadExifIfdFromFile(exif, file);
    TakeExif(facts, exif);
    TiffBlock tiff(file);
    std::vector<TiffBlock::Entry> entries;
    if (!tiff.ReadHeader() || !tiff.ReadIfd(tiff.FirstIfdOffset(), entries)) return;
    for (const TiffBlock::Entry& e : entries) {
        if (e.tag != kZelTiffTag || e.type != TiffBlock::kUndefined || e.count != kZelBlockBytes) continue;
        std::vector<uint8_t> block(kZelBlockBytes);
        if (tiff.Bytes(e, block.data(), block.size())) facts.curves = ParseZelBlock(block);
        return;
    }
}

}  // namespace

std::optional<ZelCurves> ParseZelBlock(std::span<const uint8_t> block) {
    if (block.size() != kZelBlockBytes) return std::nullopt;
    if (std::memcmp(block.data(), kBlockIdentifier, sizeof kBlockIdentifier) != 0) return std::nullopt;
    if (block[sizeof kBlockIdentifier] != kBlockVersion) return std::nullopt;
    ZelCurves curves;
    const uint8_t* p = block.data() + sizeof kBlockIdentifier + 1;
    for (auto& curve : curves) {
        std::memcpy(curve.data(), p, curve.size());
        p += curve.size();
    }
    return curves;
}

std::optional<ZelFileFacts> ReadZelFileFacts(const std::filesystem::path& path) {
    FileByteSource file;
    if (!file.Open(path)) return std::nullopt;
    return ReadZelFileFacts(file);
}

ZelFileFacts ReadZelFileFacts(ByteSource& file) {
    ZelFileFacts facts;
    uint8_t start[4] = {};
    if (!file.Read(0, start, sizeof start)) return facts;
    if (start[0] == 0xFF && start[1] == 0xD8) {
        facts.jpeg = true;
        ReadJpegFacts(file, facts);
    } else if ((std::memcmp(start, "II*\0", 4) == 0) || (std::memcmp(start, "MM\0*", 4) == 0)) {
        facts.tiff = true;
        ReadTiffFacts(file, facts);
    }
    return facts;
}

}  // namespace vx
