#include "imaging/BmpReader.h"

#include <algorithm>
#include <memory>
#include <new>

#include "imaging/CBitmapFileReader.h"
#include "imaging/DecodeTarget.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

// Rows are fetched from the reader in bands of about this many bytes.
constexpr size_t kBandBytes = 1u << 20;

int MessageFor(int result) {
    switch (result) {
        case kImageFileNoMemory: return IDS_NOT_ENOUGH_MEMORY;
        case kImageFileNotReadable: return IDS_IMAGE_FORMAT_UNSUPPORTED;
        default: return IDS_FILE_NOT_READABLE;
    }
}

}  // namespace

bool ReadBmpInfo(const std::filesystem::path& path, ImageDescription& description, int* messageId) {
    int status = kImageFileOk;
    std::unique_ptr<CImageFileBase> reader = OpenBitmapFileReader(path, 0, &status);
    ImageFileInfo info;
    if (reader) status = reader->GetInfo(info);
    if (status != kImageFileOk) {
        if (messageId) *messageId = MessageFor(status);
        return false;
    }
    description = ImageDescription{};
    description.codecType = FourCC("WRLE");
    description.width = int16_t(info.width);
    description.height = int16_t(info.height);
    description.hRes = info.hRes > 0 ? uint32_t(info.hRes) : 72;
    description.vRes = info.vRes > 0 ? uint32_t(info.vRes) : 72;
    description.depth = uint16_t(info.bitCount);
    return true;
}

DibBufferPtr DecodeBitmapFile(const std::filesystem::path& path, const Rect16* target,
                              int& messageId) {
    int status = kImageFileOk;
    std::unique_ptr<CImageFileBase> reader = OpenBitmapFileReader(path, 0, &status);
    ImageFileInfo info;
    if (reader) status = reader->GetInfo(info);
    if (status != kImageFileOk) {
        messageId = MessageFor(status);
        return nullptr;
    }
    DibBufferPtr picture = NewDibBuffer(info.width, info.height);
    const size_t rgbRow = size_t(info.width) * 3;
    const int bandRows = int(std::clamp<size_t>(kBandBytes / rgbRow, 1, size_t(info.height)));
    std::unique_ptr<uint8_t[]> band(new (std::nothrow) uint8_t[rgbRow * size_t(bandRows)]);
    if (!picture || !band) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        return nullptr;
    }
    if (const int rc = reader->LoadPalette(); rc != kImageFileOk) {
        messageId = MessageFor(rc);
        return nullptr;
    }
    uint8_t* out = DibBuffer::GetBits(picture.get());
    for (int first = 0; first < info.height; first += bandRows) {
        const int count = std::min(bandRows, info.height - first);
        if (const int rc = reader->ReadRows(band.get(), nullptr, first, count); rc != kImageFileOk) {
            messageId = MessageFor(rc);
            return nullptr;
        }
        const uint8_t* in = band.get();
        for (size_t i = 0, n = size_t(count) * size_t(info.width); i < n; ++i, in += 3, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = 255;
        }
    }
    reader->FreePalette();
    return ScaleToTarget(std::move(picture), target, messageId);
}

}  // namespace vx
