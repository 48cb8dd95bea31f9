#include "imaging/EpsReader.h"

#include <algorithm>
#include <memory>
#include <new>

#include "imaging/DecodeTarget.h"
#include "imaging/EmbeddedThumbnail.h"
#include "imaging/EpsClipMask.h"
#include "imaging/EpsFile.h"
#include "imaging/ImageResources.h"
#include "imaging/JpegDecompressor.h"
#include "imaging/TiffMemoryStream.h"
#include "imaging/TiffReader.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

constexpr char kEpsfHeader[] = "%!PS-Adobe-3.0 EPSF-3.0";
constexpr char kImageDataKeyword[] = "%ImageData:";
constexpr char kPhotoshopKeyword[] = "%BeginPhotoshop:";
constexpr char kBinaryKeyword[] = "%%BeginBinary:";
constexpr char kIccKeyword[] = "%%BeginICCProfile:";
constexpr uint16_t kResolutionResource = 1005;
constexpr uint16_t kThumbnailResource = 1036;
// Planes are read and converted in bands of about this size.
constexpr size_t kBandBytes = 1u << 20;

enum class Refusal { None, Unreadable, Unsupported };

int MessageFor(Refusal refusal) {
    return refusal == Refusal::Unsupported ? IDS_IMAGE_FORMAT_UNSUPPORTED : IDS_FILE_NOT_READABLE;
}

Refusal ReadImageData(EpsFile& file, EpsImageData& values) {
    // PostScript without picture data of this kind (a drawing, an older EPS) is a kind
    // not read here; a file that is no PostScript at all is damaged.
    uint8_t magic[2] = {};
    const bool postScript = file.Read(magic, 2) && magic[0] == '%' && magic[1] == '!';
    file.Rewind();
    if (!file.FindKeyword(kEpsfHeader) || !file.FindKeyword(kImageDataKeyword))
        return postScript ? Refusal::Unsupported : Refusal::Unreadable;
    uint8_t line[64];
    const size_t length = size_t(std::min<uint64_t>(sizeof line, file.Remaining()));
    if (!file.Read(line, length)) return Refusal::Unreadable;
    // Seven runs of digits, each a whole number in 16 bits.
    size_t at = 0;
    for (int16_t& value : values) {
        while (at < length && (line[at] < '0' || line[at] > '9')) ++at;
        if (at == length) return Refusal::Unreadable;
        int32_t v = 0;
        for (; at < length && line[at] >= '0' && line[at] <= '9'; ++at) {
            v = v * 10 + (line[at] - '0');
            if (v > 32767) return Refusal::Unsupported;
        }
        value = int16_t(v);
    }
    const int mode = values[kEpsMode];
    if (values[kEpsDepth] != 8 || (mode != 1 && mode != 3 && mode != 4) || values[kEpsColumns] < 1 ||
        values[kEpsRows] < 1 || values[kEpsBlockSize] < values[kEpsColumns] || values[kEpsFormat] < 1 ||
        values[kEpsFormat] > 6)
        return Refusal::Unsupported;
    return Refusal::None;
}

bool ReadPhotoshopBlock(EpsFile& file, std::vector<uint8_t>& block) {
    file.Rewind();
    return file.ReadHexBlock(kPhotoshopKeyword, block);
}

bool Resolution(std::span<const uint8_t> resources, uint32_t& horizontal, uint32_t& vertical) {
    const std::optional<ImageResource> r = FindImageResource(resources, kResolutionResource);
    // Integer parts of the 16.16 horizontal (offset 0) and vertical (offset 8) values.
    if (!r || r->data.size() < 10) return false;
    horizontal = BigEndianValue(r->data.data(), 2);
    vertical = BigEndianValue(r->data.data() + 8, 2);
    return horizontal > 0 && vertical > 0;
}

/// The JPEG of the pixel data; CMYK data comes out as C,M,Y,K bytes. Null when it is
/// damaged, of another kind than the mode says, or not of the described size.
DibBufferPtr DecodeJpegData(const uint8_t* data, size_t length, const EpsImageData& v) {
    const bool cmyk = v[kEpsMode] == 4;
    JpegDecompressor d;
    if (!d.Open(data, length) || !d.ReadHeader()) return nullptr;
    const jpeg_decompress_struct& info = d.Info();
    if (info.image_width != JDIMENSION(v[kEpsColumns]) || info.image_height != JDIMENSION(v[kEpsRows]))
        return nullptr;
    const bool cmykData = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    if (cmyk != cmykData || !d.PrepareOutput(1)) return nullptr;
    // Set after PrepareOutput: libjpeg works the output out again when it starts.
    if (cmyk) d.Info().out_color_space = JCS_CMYK;
    DibBufferPtr picture = NewDibBuffer(v[kEpsColumns], v[kEpsRows]);
    if (!picture || !d.ReadPicture(picture.get())) return nullptr;
    return picture;
}

/// Grey, RGB or CMYK pixels from rows of channel planes (block size bytes each, pad
/// planes after them), binary or hexadecimal.
bool DecodePlanes(EpsFile& file, const EpsImageData& v, DibBuffer* picture) {
    const size_t columns = size_t(v[kEpsColumns]);
    const size_t block = size_t(v[kEpsBlockSize]);
    const int mode = v[kEpsMode];
    const size_t rowBytes = size_t(mode + v[kEpsPadChannels]) * block;
    const bool hex = v[kEpsFormat] == 2;
    const size_t bandRows = std::clamp<size_t>(kBandBytes / rowBytes, 1, size_t(v[kEpsRows]));
    std::unique_ptr<uint8_t[]> band(new (std::nothrow) uint8_t[bandRows * rowBytes]);
    if (!band) return false;
    uint8_t* out = DibBuffer::GetBits(picture);
    for (size_t first = 0, rows = size_t(v[kEpsRows]); first < rows; first += bandRows) {
        const size_t count = std::min(bandRows, rows - first);
        if (!(hex ? file.ReadHex(band.get(), count * rowBytes) : file.Read(band.get(), count * rowBytes)))
            return false;
        for (size_t r = 0; r < count; ++r) {
            const uint8_t* p = band.get() + r * rowBytes;
            if (mode == 1) {
                for (size_t x = 0; x < columns; ++x, out += 4) {
                    out[0] = out[1] = out[2] = p[x];
                    out[3] = 255;
                }
            } else if (mode == 3) {
                const uint8_t* green = p + block;
                const uint8_t* blue = p + 2 * block;
                for (size_t x = 0; x < columns; ++x, out += 4) {
                    out[0] = blue[x];
                    out[1] = green[x];
                    out[2] = p[x];
                    out[3] = 255;
                }
            } else {
                for (size_t x = 0; x < columns; ++x, out += 4)
                    for (size_t c = 0; c < 4; ++c) out[c] = p[c * block + x];
            }
        }
    }
    return true;
}

DibBufferPtr DecodePixels(EpsFile& file, const EpsImageData& v, int& messageId) {
    uint64_t count = 0;
    file.Rewind();
    if (!file.FindKeyword(kBinaryKeyword, &count, 2)) {
        messageId = IDS_FILE_NOT_READABLE;
        return nullptr;
    }
    if (v[kEpsFormat] >= 3) {
        std::vector<uint8_t> data;
        if (count == 0 || count > file.Remaining()) {
            messageId = IDS_FILE_NOT_READABLE;
            return nullptr;
        }
        data.resize(size_t(count));
        DibBufferPtr picture;
        if (file.Read(data.data(), data.size())) picture = DecodeJpegData(data.data(), data.size(), v);
        if (!picture) {
            messageId = IDS_FILE_NOT_READABLE;
            return nullptr;
        }
        if (v[kEpsMode] == 4) InvertPixelBytes(picture.get());
        return picture;
    }
    DibBufferPtr picture = NewDibBuffer(v[kEpsColumns], v[kEpsRows]);
    if (!picture) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    if (!DecodePlanes(file, v, picture.get())) {
        messageId = IDS_FILE_NOT_READABLE;
        return nullptr;
    }
    return picture;
}

}  // namespace

bool ReadEpsImageData(const std::filesystem::path& path, EpsImageData& values) {
    EpsFile file;
    EpsImageData read{};
    if (!file.Open(path) || ReadImageData(file, read) != Refusal::None) return false;
    values = read;
    return true;
}

bool ReadEpsResolution(const std::filesystem::path& path, uint32_t& horizontal, uint32_t& vertical) {
    EpsFile file;
    std::vector<uint8_t> block;
    return file.Open(path) && file.FindKeyword(kEpsfHeader) && ReadPhotoshopBlock(file, block) &&
           Resolution(block, horizontal, vertical);
}

bool ReadEpsInfo(const std::filesystem::path& path, ImageDescription& description, bool& hasIccProfile,
                 int* messageId) {
    EpsFile file;
    EpsImageData values{};
    const Refusal refusal = file.Open(path) ? ReadImageData(file, values) : Refusal::Unreadable;
    if (refusal != Refusal::None) {
        if (messageId) *messageId = MessageFor(refusal);
        return false;
    }
    uint32_t horizontal = 72;
    uint32_t vertical = 72;
    std::vector<uint8_t> block;
    if (!ReadPhotoshopBlock(file, block) || !Resolution(block, horizontal, vertical)) horizontal = vertical = 72;
    file.Rewind();
    hasIccProfile = file.ReadHexBlock(kIccKeyword, block);

    description = ImageDescription{};
    description.codecType = FourCC("raw ");
    description.width = values[kEpsColumns];
    description.height = values[kEpsRows];
    description.hRes = horizontal;
    description.vRes = vertical;
    description.depth = uint16_t(values[kEpsDepth] * values[kEpsMode]);
    description.epsImageData = values;
    return true;
}

DibBufferPtr DecodeEpsImage(const std::filesystem::path& path, const Rect16* target, int& messageId) {
    EpsFile file;
    if (!file.Open(path)) {
        messageId = IDS_FILE_NOT_READABLE;
        return nullptr;
    }
    EpsImageData values{};
    if (const Refusal refusal = ReadImageData(file, values); refusal != Refusal::None) {
        messageId = MessageFor(refusal);
        return nullptr;
    }
    DibBufferPtr picture = DecodePixels(file, values, messageId);
    if (!picture) return nullptr;
    // Grey and RGB pixels come with full alpha, which the clipping path narrows. CMYK
    // pictures keep their black plane in byte 3: no mask for them.
    std::vector<uint8_t> block;
    std::vector<uint8_t> mask;
    if (values[kEpsMode] != 4 && ReadPhotoshopBlock(file, block) &&
        BuildEpsClipMask(block, values[kEpsColumns], values[kEpsRows], mask)) {
        uint8_t* alpha = DibBuffer::GetBits(picture.get()) + 3;
        for (size_t i = 0; i < mask.size(); ++i) alpha[i * 4] = mask[i];
    }
    return ScaleToTarget(std::move(picture), target, messageId);
}

DibBufferPtr ReadEpsThumbnail(const std::filesystem::path& path) {
    EpsFile file;
    if (!file.Open(path)) return nullptr;
    if (file.Dos() && file.Dos()->tiffLength > 0) {
        std::vector<uint8_t> tiff(size_t(file.Dos()->tiffLength));
        if (!file.ReadAt(file.Dos()->tiffOffset, tiff.data(), tiff.size())) return nullptr;
        TiffMemoryStream stream = TiffMemoryStream::ForReading(tiff.data(), tiff.size());
        TiffFile handle = OpenTiffFromMemory(stream);
        ImageDescription d;
        bool icc = false;
        if (!handle || !DescribeTiff(handle.get(), d, icc) || d.width > kMaxThumbnailSide ||
            d.height > kMaxThumbnailSide)
            return nullptr;
        int messageId = 0;
        return DecodeTiff(handle.get(), messageId);
    }
    std::vector<uint8_t> block;
    if (!ReadPhotoshopBlock(file, block)) return nullptr;
    const std::optional<ImageResource> r = FindImageResource(block, kThumbnailResource);
    if (!r) return nullptr;
    // The JPEG starts at the first FF D8, behind the thumbnail's own header.
    const uint8_t soi[2] = {0xFF, 0xD8};
    const auto start = std::search(r->data.begin(), r->data.end(), soi, soi + 2);
    if (start == r->data.end()) return nullptr;
    const size_t offset = size_t(start - r->data.begin());
    return DecodeEmbeddedThumbnail(r->data.data() + offset, r->data.size() - offset);
}

bool LoadEpsIccProfile(const std::filesystem::path& path, std::vector<uint8_t>& profile) {
    profile.clear();
    EpsFile file;
    if (file.Open(path) && file.ReadHexBlock(kIccKeyword, profile)) return true;
    profile.clear();
    return false;
}

void InvertPixelBytes(DibBuffer* buffer) {
    if (!buffer) return;
    uint64_t bytes = 0;
    uint8_t* p = DibBuffer::GetBitsAndCount(buffer, &bytes);
    for (uint64_t i = 0; i < bytes; ++i) p[i] = uint8_t(255 - p[i]);
}

}  // namespace vx
