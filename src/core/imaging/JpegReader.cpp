#include "imaging/JpegReader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <tuple>
#include <utility>

#include "imaging/CopyDib.h"
#include "imaging/ExifIfd.h"
#include "imaging/JpegDecompressor.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

/// An open JPEG file; read whole through a large buffer of its own, as libjpeg asks for
/// 4 KiB at a time, a system call each: thousands for a photograph.
class JpegFile {
public:
    JpegFile(const std::filesystem::path& path, bool whole) : mFile(std::fopen(path.c_str(), "rb")) {
        if (mFile && whole) {
            mBuffer.reset(new char[kBufferBytes]);
            std::setvbuf(mFile.get(), mBuffer.get(), _IOFBF, kBufferBytes);
        }
    }
    std::FILE* get() const { return mFile.get(); }
    explicit operator bool() const { return mFile != nullptr; }

private:
    static constexpr size_t kBufferBytes = size_t(1) << 18;
    std::unique_ptr<char[]> mBuffer;  // outlives the file, which closes first
    File mFile;
};

bool StartsWith(const jpeg_marker_struct* m, const char* text, size_t length) {
    return m->data_length >= length && std::memcmp(m->data, text, length) == 0;
}

bool IsEffJpeg(const jpeg_decompress_struct& info) {
    for (const jpeg_marker_struct* m = info.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 5 && StartsWith(m, "EFFHEAD", 8)) return true;
    return false;
}

/// The first APP1 marker that is Exif; an XMP or other APP1 is not.
const jpeg_marker_struct* FindExifMarker(const jpeg_decompress_struct& info) {
    for (const jpeg_marker_struct* m = info.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && StartsWith(m, "Exif\0\0", 6)) return m;
    return nullptr;
}

/// Pixels per inch from a density and its unit (inch or centimetre, truncated); both 0
/// for any other unit or when either value is 0.
std::pair<uint32_t, uint32_t> PerInch(uint32_t x, uint32_t y, bool centimetres) {
    if (centimetres) {
        x = uint32_t(uint64_t(x) * 254 / 100);
        y = uint32_t(uint64_t(y) * 254 / 100);
    }
    if (x == 0 || y == 0) return {0, 0};
    return {x, y};
}

std::pair<uint32_t, uint32_t> Resolution(const ExifRecord& exif, const jpeg_decompress_struct& info) {
    std::pair<uint32_t, uint32_t> r{0, 0};
    // A missing unit tag means inches, the TIFF default.
    if (exif.resolutionUnit == 0 || exif.resolutionUnit == 2 || exif.resolutionUnit == 3)
        r = PerInch(exif.xResolution, exif.yResolution, exif.resolutionUnit == 3);
    if (r.first == 0 && info.saw_JFIF_marker && (info.density_unit == 1 || info.density_unit == 2))
        r = PerInch(info.X_density, info.Y_density, info.density_unit == 2);
    if (r.first == 0) r = {72, 72};
    return r;
}

int DenominatorFor(int imageWidth, int targetWidth) {
    const int ratio = imageWidth / targetWidth;
    return ratio >= 8 ? 8 : ratio >= 4 ? 4 : ratio >= 2 ? 2 : 1;
}

DibBufferPtr NewBuffer(int width, int height) {
    Rect16 rect;
    rect.Set(0, 0, int16_t(width), int16_t(height));
    DibBuffer* raw = nullptr;
    DibBuffer::Create(&raw, 32, rect);
    return DibBufferPtr(raw);
}

}  // namespace

int JpegCoveringDenominator(uint32_t imageWidth, uint32_t imageHeight, int coverWidth, int coverHeight) {
    // libjpeg rounds the reduced size up.
    for (int d : {8, 4, 2})
        if ((imageWidth + uint32_t(d) - 1) / uint32_t(d) >= uint32_t(std::max(coverWidth, 1)) &&
            (imageHeight + uint32_t(d) - 1) / uint32_t(d) >= uint32_t(std::max(coverHeight, 1)))
            return d;
    return 1;
}

bool ReadJpegInfo(JpegDecompressor& d, JpegFileInfo& out) {
    if (!d.ReadHeader({JPEG_APP0 + 1, JPEG_APP0 + 5, JPEG_APP0 + 2})) return false;
    const jpeg_decompress_struct& info = d.Info();
    if (info.image_width > uint32_t(DibBuffer::kMaxSide) ||
        info.image_height > uint32_t(DibBuffer::kMaxSide))
        return false;

    out = JpegFileInfo{};
    ImageDescription& desc = out.description;
    if (IsEffJpeg(info)) {
        desc.codecType = FourCC("EFF ");
    } else {
        desc.codecType = FourCC("jpeg");
        out.cmyk = info.out_color_space == JCS_CMYK;
    }
    if (const jpeg_marker_struct* exif = FindExifMarker(info))
        ParseExifIfd(out.exif, exif->data + 6, exif->data_length - 6);
    desc.width = int16_t(info.image_width);
    desc.height = int16_t(info.image_height);
    std::tie(desc.hRes, desc.vRes) = Resolution(out.exif, info);
    desc.depth = uint16_t(info.num_components * 8);
    std::vector<uint8_t> profile;
    out.hasIccProfile = d.ReadIccProfile(profile);
    return true;
}

bool ReadJpegInfo(const std::filesystem::path& path, JpegFileInfo& info) {
    JpegFile file(path, false);
    if (!file) return false;
    JpegDecompressor d;
    return d.Open(file.get()) && ReadJpegInfo(d, info);
}

namespace {

// With `covering` the target only bounds the reduction: the decoded rows come back as
// they are, the caller scales them.
DibBufferPtr DecodeJpegFor(JpegDecompressor& d, const Rect16* target, bool covering, int& messageId) {
    if (!d.ReadHeader()) {
        messageId = d.MessageId();
        return nullptr;
    }
    const jpeg_decompress_struct& info = d.Info();
    if (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr &&
        info.jpeg_color_space != JCS_RGB) {
        messageId = IDS_IMAGE_FORMAT_UNSUPPORTED;  // CMYK and YCCK are not ours to decode
        return nullptr;
    }
    int targetWidth = 0;
    int targetHeight = 0;
    int denominator = 1;
    if (target) {
        targetWidth = std::max(1, target->Width());
        targetHeight = std::max(1, target->Height());
        denominator = covering ? JpegCoveringDenominator(info.image_width, info.image_height, targetWidth, targetHeight)
                               : DenominatorFor(int(std::min<JDIMENSION>(info.image_width, 65535)), targetWidth);
    }
    if (!d.PrepareOutput(denominator)) {
        messageId = d.MessageId();
        return nullptr;
    }
    if (info.output_width > uint32_t(DibBuffer::kMaxSide) ||
        info.output_height > uint32_t(DibBuffer::kMaxSide)) {
        messageId = IDS_IMAGE_FORMAT_UNSUPPORTED;
        return nullptr;
    }
    DibBufferPtr decoded = NewBuffer(int(info.output_width), int(info.output_height));
    if (!decoded) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    if (!d.ReadPicture(decoded.get())) {
        messageId = d.MessageId();
        return nullptr;
    }
    const Rect16 rect = DibBuffer::GetRect(decoded.get());
    if (!target || covering || (rect.Width() == targetWidth && rect.Height() == targetHeight)) return decoded;
    DibBufferPtr scaled = NewBuffer(targetWidth, targetHeight);
    if (!scaled || !CopyDib(decoded.get(), scaled.get())) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    return scaled;
}

}  // namespace

DibBufferPtr DecodeJpeg(JpegDecompressor& d, const Rect16* target, int& messageId) {
    return DecodeJpegFor(d, target, false, messageId);
}

DibBufferPtr DecodeJpegCovering(const std::filesystem::path& path, const Rect16& cover, int& messageId) {
    JpegFile file(path, true);
    if (!file) {
        messageId = IDS_FILE_NOT_READABLE;
        return nullptr;
    }
    JpegDecompressor d;
    if (!d.Open(file.get())) {
        messageId = d.MessageId();
        return nullptr;
    }
    return DecodeJpegFor(d, &cover, true, messageId);
}

DibBufferPtr DecodeJpegStream(std::FILE* file, const Rect16* target, int& messageId) {
    JpegDecompressor d;
    if (!d.Open(file)) {
        messageId = d.MessageId();
        return nullptr;
    }
    return DecodeJpeg(d, target, messageId);
}

DibBufferPtr DecodeJpegFile(const std::filesystem::path& path, const Rect16* target,
                            int& messageId) {
    JpegFile file(path, true);
    if (!file) {
        messageId = IDS_FILE_NOT_READABLE;
        return nullptr;
    }
    return DecodeJpegStream(file.get(), target, messageId);
}

DibBufferPtr DecodeJpegFromMemory(const uint8_t* data, size_t length) {
    JpegDecompressor d;
    int messageId = 0;
    if (!d.Open(data, length)) return nullptr;
    return DecodeJpeg(d, nullptr, messageId);
}

bool LoadJpegIccProfile(const std::filesystem::path& path, std::vector<uint8_t>& profile) {
    profile.clear();
    JpegFile file(path, false);
    if (!file) return false;
    JpegDecompressor d;
    return d.Open(file.get()) && d.ReadHeader({JPEG_APP0 + 2}) && d.ReadIccProfile(profile);
}

}  // namespace vx
