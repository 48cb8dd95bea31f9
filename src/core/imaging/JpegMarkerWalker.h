#pragma once
#include <cstdint>

namespace vx {

class ByteSource;

/// Walks the markers of a JPEG file from its start of image without reading their data:
/// each step reads a marker and its length, passing fill bytes (FF FF ...). Markers 01
/// and D0 to D9 have no length. The walk ends after a start of scan (DA) or an end of
/// image (D9), at a byte that is not a marker, and at a segment that runs past the file.
class JpegMarkerWalker {
public:
    struct Segment {
        uint8_t marker = 0;       // the byte after FF
        uint64_t offset = 0;      // where the segment's data starts (after its length)
        uint32_t length = 0;      // bytes of data, without the two length bytes
    };

    explicit JpegMarkerWalker(ByteSource& file) : mFile(file) {}

    /// False when the file does not start with FF D8.
    bool Start();
    /// The next marker; false when the walk has ended.
    bool Next(Segment& segment);

private:
    bool SkipFill();
    bool Stop() {
        mDone = true;
        return false;
    }

    ByteSource& mFile;
    uint64_t mPos = 0;
    bool mDone = true;
};

}  // namespace vx
