#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "imaging/CImageFileBase.h"

namespace vx {

/// Reader of Windows bitmap files: core (12-byte) and info (40 bytes or longer) headers,
/// 1, 4, 8, 16 (5-5-5), 24 and 32 (B,G,R,x) bits, RLE8 and RLE4, bottom-up or (when
/// uncompressed) top-down. Every header value is checked against the file before use.
class CBitmapFileReader : public CImageFileBase {
public:
    /// Takes over the open file descriptor `fd` of `name`.
    CBitmapFileReader(const std::filesystem::path& name, uint32_t flags, int fd);
    ~CBitmapFileReader() override;

    int GetInfo(ImageFileInfo& info) override;
    int LoadPalette() override;
    int ReadRows(uint8_t* rows, uint8_t* alpha, int first, int count) override;
    int FreePalette() override;

    /// Dots per inch from pixels per metre, rounded half up at the thousandth; 0 for 0
    /// and negative values.
    static int32_t DotsPerInch(int32_t pixelsPerMetre);

private:
    int ReadHeader();
    int ReadFileRange(uint8_t* out, uint64_t offset, uint64_t size) const;
    int DecodeRle(const uint8_t* data, size_t size);
    void ConvertRow(const uint8_t* source, uint8_t* rgb) const;

    int mFd;
    uint64_t mFileSize = 0;
    bool mHeaderRead = false;

    uint32_t mHeaderSize = 0;
    int32_t mWidth = 0;
    int32_t mHeight = 0;  // positive; mTopDown tells the row order
    bool mTopDown = false;
    uint16_t mBitCount = 0;
    uint32_t mCompression = 0;
    int32_t mXPelsPerMeter = 0;
    int32_t mYPelsPerMeter = 0;

    uint64_t mSourceRowBytes = 0;  // a stored row of an uncompressed file, with padding
    uint64_t mPixelOffset = 0;
    uint64_t mPixelBytes = 0;      // stored pixel data: rows, or the RLE stream
    std::array<std::array<uint8_t, 4>, 256> mPalette{};  // B, G, R, 0

    /// Palette images only: the stored rows as they are, or an RLE picture decoded to
    /// one index per pixel, bottom row first.
    std::vector<uint8_t> mData;
    bool mDataLoaded = false;
};

/// 2 when the file starts "BM" and has a header this library reads (a core header, or
/// one of 40 bytes or more with compression 0, 1 or 2 and one plane), -1 otherwise.
int IsBitmapFile(const std::filesystem::path& name);

/// A reader for the file when IsBitmapFile says 2; null otherwise or when memory is
/// short. The file stays open until the reader is destroyed. `result`, when given, says
/// why there is none: kImageFileOpenFailed, kImageFileReadFailed (no bitmap, or cut
/// inside its headers), kImageFileNotReadable (a bitmap of a kind not read here) or
/// kImageFileNoMemory; kImageFileOk with a reader.
std::unique_ptr<CImageFileBase> OpenBitmapFileReader(const std::filesystem::path& name,
                                                     uint32_t flags = 0, int* result = nullptr);

}  // namespace vx
