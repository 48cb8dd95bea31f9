#include "imaging/JpegMetadata.h"

#include <cstring>
#include <vector>

#include "imaging/EmbeddedThumbnail.h"
#include "imaging/ExifIfd.h"
#include "imaging/FileByteSource.h"
#include "imaging/JpegMarkerWalker.h"
#include "imaging/MemoryByteSource.h"

namespace vx {
namespace {

constexpr uint8_t kApp1 = 0xE1;
constexpr uint8_t kApp13 = 0xED;
constexpr uint8_t kSos = 0xDA;
constexpr uint8_t kEoi = 0xD9;

constexpr char kExifHeader[] = "Exif\0";  // with its terminator: six bytes
constexpr size_t kExifHeaderBytes = 6;
constexpr char kPhotoshopHeader[] = "Photoshop 3.0";  // with its terminator
constexpr size_t kPhotoshopHeaderBytes = 14;

bool SegmentStartsWith(ByteSource& file, const JpegMarkerWalker::Segment& s, const char* id, size_t length) {
    uint8_t head[16];
    return s.length >= length && length <= sizeof head && file.Read(s.offset, head, length) &&
           std::memcmp(head, id, length) == 0;
}

}  // namespace

DibBufferPtr ReadJpegMetadata(ByteSource& file, ExifRecord& record) {
    JpegMarkerWalker walker(file);
    if (!walker.Start()) return nullptr;
    bool sawExif = false;
    bool sawApp13 = false;
    DibBufferPtr thumbnail;
    std::vector<uint8_t> resources;  // of the first APP13, decoded only without an Exif thumbnail
    JpegMarkerWalker::Segment s;
    while (!(sawExif && sawApp13) && walker.Next(s)) {
        if (s.marker == kSos || s.marker == kEoi) break;
        if (s.marker == kApp1 && !sawExif && SegmentStartsWith(file, s, kExifHeader, kExifHeaderBytes)) {
            sawExif = true;
            record = ExifRecord{};
            record.presence = ExifRecord::kExifIfd;  // an Exif block, as ParseExifIfd says too
            std::vector<uint8_t> block(s.length - kExifHeaderBytes);
            if (!file.Read(s.offset + kExifHeaderBytes, block.data(), block.size())) break;
            MemoryByteSource source(block.data(), block.size());
            ReadExifIfdFromFile(record, source, &thumbnail);
        } else if (s.marker == kApp13 && !sawApp13) {
            sawApp13 = true;
            if (!SegmentStartsWith(file, s, kPhotoshopHeader, kPhotoshopHeaderBytes)) continue;
            resources.resize(s.length - kPhotoshopHeaderBytes);
            if (!file.Read(s.offset + kPhotoshopHeaderBytes, resources.data(), resources.size())) break;
        }
    }
    if (!thumbnail && !resources.empty()) thumbnail = DecodeResourceThumbnail(resources);
    return thumbnail;
}

DibBufferPtr ReadJpegMetadata(const std::filesystem::path& path, ExifRecord& record) {
    FileByteSource file;
    return file.Open(path) ? ReadJpegMetadata(file, record) : nullptr;
}

bool ReadJpegFrameHeader(ByteSource& file, int& width, int& height, int& components) {
    JpegMarkerWalker walker(file);
    if (!walker.Start()) return false;
    JpegMarkerWalker::Segment s;
    while (walker.Next(s)) {
        if (s.marker == kSos || s.marker == kEoi) return false;
        if (s.marker < 0xC0 || s.marker > 0xC2) continue;  // baseline, extended, progressive
        uint8_t h[6];  // precision, height, width, components
        if (s.length < sizeof h || !file.Read(s.offset, h, sizeof h)) return false;
        if (h[5] != 1 && h[5] != 3 && h[5] != 4) return false;
        height = h[1] << 8 | h[2];
        width = h[3] << 8 | h[4];
        components = h[5];
        return true;
    }
    return false;
}

}  // namespace vx
