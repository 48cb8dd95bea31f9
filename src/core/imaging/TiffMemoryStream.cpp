#include "imaging/TiffMemoryStream.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

namespace vx {

TiffMemoryStream TiffMemoryStream::ForReading(const uint8_t* data, size_t size) {
    return TiffMemoryStream('r', data, data ? size : 0);
}

TiffMemoryStream TiffMemoryStream::ForWriting() { return TiffMemoryStream('w', nullptr, 0); }

TiffMemoryStream TiffMemoryStream::ForAppending(std::vector<uint8_t> bytes) {
    TiffMemoryStream s('a', nullptr, 0);
    s.mBlock = std::move(bytes);
    s.mData = s.mBlock.data();
    s.mSize = s.mBlock.size();
    return s;
}

int64_t TiffMemoryStream::Read(void* out, int64_t n) {
    if (n < 0) return -1;
    if (mPosition > Size() || n > Size() - mPosition) return 0;
    if (n > 0) std::memcpy(out, mData + mPosition, size_t(n));
    mPosition += n;
    return n;
}

int64_t TiffMemoryStream::Write(const void* in, int64_t n) {
    if (mMode == 'r' || n < 0) return -1;
    const uint64_t end = uint64_t(mPosition) + uint64_t(n);
    if (end > uint64_t(INT64_MAX)) return -1;
    if (end > mBlock.size()) {
        try {
            mBlock.resize(size_t(end), 0);
        } catch (const std::bad_alloc&) {
            return -1;
        } catch (const std::length_error&) {
            return -1;
        }
    }
    if (n > 0) std::memcpy(mBlock.data() + mPosition, in, size_t(n));
    mData = mBlock.data();
    mSize = mBlock.size();
    mPosition += n;
    return n;
}

int64_t TiffMemoryStream::Seek(int64_t offset, int whence) {
    int64_t base = 0;
    if (whence == SEEK_CUR) base = mPosition;
    else if (whence == SEEK_END) base = Size();
    else if (whence != SEEK_SET) return -1;
    if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0) return -1;
    mPosition = base + offset;
    return mPosition;
}

std::vector<uint8_t> TiffMemoryStream::TakeBlock() {
    std::vector<uint8_t> block = std::move(mBlock);
    mBlock.clear();
    mData = nullptr;
    mSize = 0;
    mPosition = 0;
    return block;
}

namespace {

TiffMemoryStream& StreamOf(thandle_t h) { return *static_cast<TiffMemoryStream*>(h); }

tmsize_t ReadProc(thandle_t h, void* out, tmsize_t n) { return tmsize_t(StreamOf(h).Read(out, n)); }
tmsize_t WriteProc(thandle_t h, void* in, tmsize_t n) { return tmsize_t(StreamOf(h).Write(in, n)); }
toff_t SeekProc(thandle_t h, toff_t offset, int whence) {
    // libtiff passes negative offsets (SEEK_CUR, SEEK_END) as wrapped unsigned values.
    return toff_t(StreamOf(h).Seek(int64_t(offset), whence));
}
int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t h) { return toff_t(StreamOf(h).Size()); }
// Not mapped: libtiff reads through ReadProc, which checks every length.
int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

}  // namespace

TiffFile OpenTiffFromMemory(TiffMemoryStream& stream) {
    const char mode[2] = {stream.Mode(), 0};
    return OpenTiffClient("FomMemory", mode, &stream, ReadProc, WriteProc, SeekProc, CloseProc,
                          SizeProc, MapProc, UnmapProc);
}

}  // namespace vx
