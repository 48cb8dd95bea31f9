#include "imaging/CBitmapFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>

#include "imaging/PackedDib.h"

namespace vx {
namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kProbeBytes = 54;  // file header and a 40-byte info header
constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr int32_t kMaxSide = 32767;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
// Stored rows are converted in bands of about this size.
constexpr uint64_t kBandBytes = 1u << 20;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

/// Reads up to `size` bytes at `offset`; the count read, or -1 on an error.
int64_t ReadAt(int fd, uint8_t* out, uint64_t offset, uint64_t size) {
    uint64_t done = 0;
    while (done < size) {
        const size_t chunk = size_t(std::min<uint64_t>(size - done, 1u << 30));
        const ssize_t n = ::pread(fd, out + done, chunk, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += uint64_t(n);
    }
    return int64_t(done);
}

/// The probe: kImageFileOk for "BM" and a header this library reads (a core header, or
/// one of 40 bytes or more with one plane and compression 0, 1 or 2);
/// kImageFileNotReadable for a bitmap of another kind; kImageFileReadFailed for a file
/// that is no bitmap or ends inside its headers.
int ProbeBitmap(const uint8_t* head, size_t got) {
    if (got < kFileHeaderBytes + 4 || head[0] != 'B' || head[1] != 'M') return kImageFileReadFailed;
    const uint32_t headerSize = U32(head + 14);
    if (headerSize == kCoreHeaderBytes) {
        if (got < kFileHeaderBytes + kCoreHeaderBytes) return kImageFileReadFailed;
        return U16(head + 22) == 1 ? kImageFileOk : kImageFileNotReadable;
    }
    if (headerSize < kInfoHeaderBytes) return kImageFileNotReadable;
    if (got < kProbeBytes) return kImageFileReadFailed;
    return U16(head + 26) == 1 && U32(head + 30) <= kRle4 ? kImageFileOk : kImageFileNotReadable;
}

struct FreeDeleter {
    void operator()(void* p) const noexcept { std::free(p); }
};

}  // namespace

CBitmapFileReader::CBitmapFileReader(const std::filesystem::path& name, uint32_t flags, int fd)
    : CImageFileBase(name, flags), mFd(fd) {}

CBitmapFileReader::~CBitmapFileReader() {
    if (mFd >= 0) ::close(mFd);
}

int32_t CBitmapFileReader::DotsPerInch(int32_t pixelsPerMetre) {
    if (pixelsPerMetre <= 0) return 0;
    // Thousandths of a dot, rounded half up; 64 bits hold any 32-bit input.
    const int64_t q = int64_t(pixelsPerMetre) * 254 * 2000 / 10000;
    const int64_t t = (q + 1) / 2;
    return int32_t(t / 1000 + (t % 1000 >= 501 ? 1 : 0));
}

int CBitmapFileReader::ReadFileRange(uint8_t* out, uint64_t offset, uint64_t size) const {
    return ReadAt(mFd, out, offset, size) == int64_t(size) ? kImageFileOk : kImageFileReadFailed;
}

int CBitmapFileReader::ReadHeader() {
    if (mHeaderRead) return kImageFileOk;
    struct stat st {};
    if (::fstat(mFd, &st) != 0 || !S_ISREG(st.st_mode)) return kImageFileSizeFailed;
    mFileSize = uint64_t(st.st_size);
    uint8_t head[kProbeBytes] = {};
    const int64_t got = ReadAt(mFd, head, 0, sizeof head);
    if (got < 0) return kImageFileReadFailed;
    if (const int rc = ProbeBitmap(head, size_t(got)); rc != kImageFileOk) return rc;

    // The probe has judged the header's size and kind; the shared reader takes its fields.
    const std::optional<PackedDibHeader> dib = ReadPackedDibHeader(head + kFileHeaderBytes, size_t(got) - kFileHeaderBytes);
    if (!dib) return kImageFileNotReadable;
    mHeaderSize = dib->headerSize;
    const bool core = dib->core;
    if (kFileHeaderBytes + uint64_t(mHeaderSize) > mFileSize) return kImageFileReadFailed;
    mWidth = dib->width;
    mBitCount = dib->bitCount;
    mCompression = dib->compression;
    mXPelsPerMeter = dib->xPelsPerMeter;
    mYPelsPerMeter = dib->yPelsPerMeter;
    const uint64_t paletteEntries = dib->colourEntries;
    mTopDown = dib->topDown;
    if (mWidth < 1 || mWidth > kMaxSide || dib->height < 1 || dib->height > kMaxSide)
        return kImageFileNotReadable;
    mHeight = dib->height;
    switch (mBitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: return kImageFileNotReadable;
    }
    if ((mCompression == kRle8 && mBitCount != 8) || (mCompression == kRle4 && mBitCount != 4))
        return kImageFileNotReadable;
    if (mCompression != 0 && mTopDown) return kImageFileNotReadable;

    // The whole palette must lie in the file, however many entries it claims.
    const uint64_t entryBytes = core ? 3 : 4;
    const uint64_t paletteOffset = kFileHeaderBytes + mHeaderSize;
    const uint64_t paletteEnd = paletteOffset + paletteEntries * entryBytes;
    if (paletteEnd > mFileSize) return kImageFileReadFailed;
    const size_t stored = size_t(std::min<uint64_t>(paletteEntries, 256));
    uint8_t raw[256 * 4];
    if (ReadFileRange(raw, paletteOffset, stored * entryBytes) != kImageFileOk) return kImageFileReadFailed;
    for (size_t i = 0; i < stored; ++i) {
        const uint8_t* e = raw + i * entryBytes;
        mPalette[i] = {e[0], e[1], e[2], 0};
    }

    // The file header's offset counts when it is plausible; writers leave gaps.
    const uint64_t declared = U32(head + 10);
    mPixelOffset = declared >= paletteEnd && declared < mFileSize ? declared : paletteEnd;
    if (mCompression == 0) {
        mSourceRowBytes = (uint64_t(mBitCount) * uint64_t(mWidth) + 31) / 32 * 4;
        mPixelBytes = mSourceRowBytes * uint64_t(mHeight);
        if (mPixelOffset + mPixelBytes > mFileSize) return kImageFileReadFailed;
    } else {
        mPixelBytes = mFileSize - mPixelOffset;
    }
    mHeaderRead = true;
    return kImageFileOk;
}

int CBitmapFileReader::GetInfo(ImageFileInfo& info) {
    if (const int rc = ReadHeader(); rc != kImageFileOk) return rc;
    info = ImageFileInfo{};
    info.width = mWidth;
    info.height = mHeight;
    info.bitCount = mBitCount;
    info.hRes = DotsPerInch(mXPelsPerMeter);
    info.vRes = DotsPerInch(mYPelsPerMeter);
    return kImageFileOk;
}

int CBitmapFileReader::LoadPalette() {
    if (const int rc = ReadHeader(); rc != kImageFileOk) return rc;
    // Stored rows are read band by band; only a run-length picture is decoded up front.
    if (mCompression == 0 || mDataLoaded) return kImageFileOk;
    std::unique_ptr<uint8_t, FreeDeleter> stream(static_cast<uint8_t*>(std::malloc(size_t(std::max<uint64_t>(mPixelBytes, 1)))));
    if (!stream) return kImageFileNoMemory;
    if (ReadFileRange(stream.get(), mPixelOffset, mPixelBytes) != kImageFileOk) return kImageFileReadFailed;
    return DecodeRle(stream.get(), size_t(mPixelBytes));
}

int CBitmapFileReader::FreePalette() {
    mData.clear();
    mData.shrink_to_fit();
    mDataLoaded = false;
    return kImageFileOk;
}

int CBitmapFileReader::DecodeRle(const uint8_t* data, size_t size) {
    const size_t width = size_t(mWidth);
    const size_t height = size_t(mHeight);
    // Pixels no run reaches keep palette entry 0.
    std::vector<uint8_t> indices;
    try {
        indices.assign(width * height, 0);
    } catch (const std::bad_alloc&) {
        return kImageFileNoMemory;
    }
    const bool rle4 = mCompression == kRle4;
    uint64_t x = 0;
    uint64_t y = 0;  // from the bottom row
    size_t p = 0;
    auto put = [&](uint64_t at, uint8_t index) {
        if (at < width) indices[size_t(y) * width + size_t(at)] = index;
    };
    while (y < height) {
        if (p == size) break;  // no end-of-bitmap mark: what came is the picture
        if (size - p < 2) return kImageFileReadFailed;
        const uint8_t n = data[p];
        const uint8_t v = data[p + 1];
        p += 2;
        if (n > 0) {
            const uint8_t high = rle4 ? uint8_t(v >> 4) : v;
            const uint8_t low = rle4 ? uint8_t(v & 15) : v;
            for (unsigned i = 0; i < n && x + i < width; ++i) put(x + i, (i & 1) ? low : high);
            x += n;
            continue;
        }
        if (v == 0) {  // end of line
            x = 0;
            ++y;
        } else if (v == 1) {  // end of bitmap
            break;
        } else if (v == 2) {  // delta: move right and up
            if (size - p < 2) return kImageFileReadFailed;
            x += data[p];
            y += data[p + 1];
            p += 2;
        } else {  // absolute run of v indices, padded to 16 bits
            const size_t bytes = rle4 ? (size_t(v) + 1) / 2 : v;
            if (size - p < bytes) return kImageFileReadFailed;
            for (unsigned i = 0; i < v && x + i < width; ++i) {
                const uint8_t b = data[p + (rle4 ? i / 2 : i)];
                put(x + i, rle4 ? ((i & 1) ? uint8_t(b & 15) : uint8_t(b >> 4)) : b);
            }
            x += v;
            p += std::min(size - p, bytes + (bytes & 1));
        }
    }
    mData = std::move(indices);
    mDataLoaded = true;
    return kImageFileOk;
}

void CBitmapFileReader::ConvertRow(const uint8_t* s, uint8_t* rgb) const {
    const int width = mWidth;
    auto putIndex = [&](int x, unsigned index) {
        const std::array<uint8_t, 4>& e = mPalette[index];
        rgb[x * 3] = e[2];
        rgb[x * 3 + 1] = e[1];
        rgb[x * 3 + 2] = e[0];
    };
    // Run-length pictures are held as one index per pixel.
    const int bits = mCompression != 0 ? 8 : mBitCount;
    switch (bits) {
        case 1:
            for (int x = 0; x < width; ++x) putIndex(x, (s[x >> 3] >> (7 - (x & 7))) & 1);
            break;
        case 4:
            for (int x = 0; x < width; ++x) putIndex(x, (x & 1) ? s[x >> 1] & 15 : s[x >> 1] >> 4);
            break;
        case 8:
            for (int x = 0; x < width; ++x) putIndex(x, s[x]);
            break;
        case 16:
            for (int x = 0; x < width; ++x, rgb += 3) {
                const unsigned v = U16(s + x * 2);
                const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                rgb[0] = uint8_t(r << 3 | r >> 2);
                rgb[1] = uint8_t(g << 3 | g >> 2);
                rgb[2] = uint8_t(b << 3 | b >> 2);
            }
            break;
        case 24:
        case 32: {
            const int step = bits / 8;  // B,G,R or B,G,R,x
            for (int x = 0; x < width; ++x, s += step, rgb += 3) {
                rgb[0] = s[2];
                rgb[1] = s[1];
                rgb[2] = s[0];
            }
            break;
        }
        default: break;
    }
}

int CBitmapFileReader::ReadRows(uint8_t* rows, uint8_t* alpha, int first, int count) {
    if (const int rc = ReadHeader(); rc != kImageFileOk) return rc;
    if (!rows || first < 0 || count < 1 || int64_t(first) + count > mHeight) return kImageFileReadFailed;
    const size_t outRow = size_t(mWidth) * 3;
    if (mCompression != 0) {
        if (const int rc = LoadPalette(); rc != kImageFileOk) return rc;
        for (int i = 0; i < count; ++i) {
            const size_t fileRow = size_t(mHeight - 1 - (first + i));
            ConvertRow(mData.data() + fileRow * size_t(mWidth), rows + size_t(i) * outRow);
        }
    } else {
        const int bandRows = int(std::clamp<uint64_t>(kBandBytes / mSourceRowBytes, 1, uint64_t(count)));
        std::unique_ptr<uint8_t, FreeDeleter> band(
            static_cast<uint8_t*>(std::malloc(size_t(mSourceRowBytes) * size_t(bandRows))));
        if (!band) return kImageFileNoMemory;
        for (int a = first; a < first + count; a += bandRows) {
            const int b = std::min(a + bandRows, first + count);
            // Bottom-up files store the band's rows in reverse order, ending at row a.
            const uint64_t firstStored = mTopDown ? uint64_t(a) : uint64_t(mHeight - b);
            if (ReadFileRange(band.get(), mPixelOffset + firstStored * mSourceRowBytes,
                              uint64_t(b - a) * mSourceRowBytes) != kImageFileOk)
                return kImageFileReadFailed;
            for (int r = a; r < b; ++r) {
                const size_t stored = size_t(mTopDown ? r - a : b - 1 - r);
                ConvertRow(band.get() + stored * mSourceRowBytes, rows + size_t(r - first) * outRow);
            }
        }
    }
    if (alpha) std::memset(alpha, 255, size_t(count) * size_t(mWidth));
    return kImageFileOk;
}

namespace {

/// An open file descriptor that the probe accepts, or -1 with `result` saying why.
int OpenProbed(const std::filesystem::path& name, int& result) {
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result = kImageFileOpenFailed;
        return -1;
    }
    uint8_t head[kProbeBytes];
    const int64_t got = ReadAt(fd, head, 0, sizeof head);
    result = got < 0 ? kImageFileReadFailed : ProbeBitmap(head, size_t(got));
    if (result == kImageFileOk) return fd;
    ::close(fd);
    return -1;
}

}  // namespace

int IsBitmapFile(const std::filesystem::path& name) {
    int result = kImageFileOk;
    const int fd = OpenProbed(name, result);
    if (fd < 0) return -1;
    ::close(fd);
    return 2;
}

std::unique_ptr<CImageFileBase> OpenBitmapFileReader(const std::filesystem::path& name, uint32_t flags,
                                                     int* result) {
    int rc = kImageFileOk;
    const int fd = OpenProbed(name, rc);
    std::unique_ptr<CImageFileBase> reader;
    if (fd >= 0) {
        reader.reset(new (std::nothrow) CBitmapFileReader(name, flags, fd));
        if (!reader) {
            ::close(fd);
            rc = kImageFileNoMemory;
        }
    }
    if (result) *result = rc;
    return reader;
}

}  // namespace vx
