#pragma once
#include <cstdint>
#include <filesystem>

namespace vx {

/// Results of the image-file library: 0 or one of these negative codes.
enum ImageFileResult : int {
    kImageFileOk = 0,
    kImageFileNoMemory = -10000,
    kImageFileNotReadable = -10001,  // a kind of file this library does not read, or a side of 0
    kImageFileUnsupported = -10002,
    kImageFileOpenFailed = -10100,
    kImageFileReadFailed = -10101,  // a read failed, or the file is cut or damaged
    kImageFileWriteFailed = -10102,
    kImageFileSizeFailed = -10103,
};

/// What GetInfo tells about a picture; resolutions in dots per inch, 0 when unknown.
struct ImageFileInfo {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitCount = 0;
    int32_t hRes = 0;
    int32_t vRes = 0;
};

/// One image file of the library. Readers are used as GetInfo, LoadPalette, ReadRows
/// (any number of bands), FreePalette. Operations a reader does not have give
/// kImageFileUnsupported.
class CImageFileBase {
public:
    CImageFileBase(const std::filesystem::path& name, uint32_t flags) : mName(name), mFlags(flags) {}
    virtual ~CImageFileBase() = default;
    CImageFileBase(const CImageFileBase&) = delete;
    CImageFileBase& operator=(const CImageFileBase&) = delete;

    virtual int GetInfo(ImageFileInfo& info) = 0;
    /// Makes the pixel data ready for ReadRows.
    virtual int LoadPalette() = 0;
    /// Rows first .. first + count - 1, counted from the top, into `rows` as R,G,B without
    /// row padding (count x width x 3 bytes); `alpha`, when given, gets count x width
    /// bytes of 255.
    virtual int ReadRows(uint8_t* rows, uint8_t* alpha, int first, int count) = 0;
    /// Frees what LoadPalette made ready.
    virtual int FreePalette() = 0;

    virtual int CreateBitmapFile(const ImageFileInfo& info) { return kImageFileUnsupported; }
    virtual int WriteRows(const uint8_t* rows, int first, int count) { return kImageFileUnsupported; }
    virtual int Close() { return kImageFileOk; }
    virtual int ReadScaled(uint8_t* picture, ImageFileInfo& size) { return kImageFileUnsupported; }
    virtual int BeginBand(uint8_t** buffer, int first, int count) { return kImageFileUnsupported; }
    virtual int ReadBand(uint8_t* band) { return kImageFileUnsupported; }

    const std::filesystem::path& Name() const { return mName; }
    uint32_t Flags() const { return mFlags; }

private:
    std::filesystem::path mName;
    uint32_t mFlags;
};

}  // namespace vx
