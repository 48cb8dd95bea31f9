#include "imaging/JpegMarkerWalker.h"

#include <algorithm>

#include "imaging/ByteSource.h"

namespace vx {
namespace {

constexpr uint8_t kSos = 0xDA;
constexpr uint8_t kEoi = 0xD9;

bool HasNoLength(uint8_t marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9); }

}  // namespace

bool JpegMarkerWalker::Start() {
    uint8_t soi[2];
    mPos = 2;
    mDone = !mFile.Read(0, soi, sizeof soi) || soi[0] != 0xFF || soi[1] != 0xD8;
    return !mDone;
}

// Leaves mPos on the last FF of a run of fill bytes.
bool JpegMarkerWalker::SkipFill() {
    uint8_t chunk[256];
    uint64_t at = mPos + 1;
    while (at < mFile.Size()) {
        const size_t n = size_t(std::min<uint64_t>(sizeof chunk, mFile.Size() - at));
        if (!mFile.Read(at, chunk, n)) return false;
        const uint8_t* other = std::find_if(chunk, chunk + n, [](uint8_t b) { return b != 0xFF; });
        if (other != chunk + n) {
            mPos = at + uint64_t(other - chunk) - 1;
            return true;
        }
        at += n;
    }
    return false;
}

bool JpegMarkerWalker::Next(Segment& segment) {
    if (mDone || mPos >= mFile.Size()) return Stop();
    uint8_t b[4];
    const size_t n = size_t(std::min<uint64_t>(sizeof b, mFile.Size() - mPos));
    if (n < 2 || !mFile.Read(mPos, b, n) || b[0] != 0xFF) return Stop();
    if (b[1] == 0xFF) {
        if (!SkipFill()) return Stop();
        return Next(segment);  // now on a marker that is not FF
    }
    segment.marker = b[1];
    if (b[1] == 0x00) return Stop();  // a stuffed zero is no marker
    if (HasNoLength(b[1])) {
        segment.offset = mPos + 2;
        segment.length = 0;
        mPos += 2;
        mDone = b[1] == kEoi;
        return true;
    }
    const uint32_t length = n == 4 ? uint32_t(b[2]) << 8 | b[3] : 0;
    if (length < 2) return Stop();
    segment.offset = mPos + 4;
    segment.length = length - 2;
    if (segment.length > mFile.Size() - segment.offset) return Stop();
    mPos = segment.offset + segment.length;
    mDone = b[1] == kSos;
    return true;
}

}  // namespace vx
