#include "importers/PictureImport.h"

#include <algorithm>
#include <utility>

#include "colourmanagement/ImageProfiles.h"
#include "imaging/DecodeTarget.h"
#include "imaging/FileByteSource.h"
#include "imaging/JpegReader.h"
#include "importers/PictReader.h"
#include "importers/PngReader.h"
#include "importers/PsdImageReader.h"
#include "importers/QtmlStartCount.h"
#include "model/CImageObj.h"
#include "model/PictureLoader.h"
#include "platform/system/FourCC.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

// Without a target the picture is drawn at most this large on a side.
constexpr int kMaxUntargetedSide = 10000;

enum class Format { None, Png, Psd, Pict };

Format ProbeFormat(ByteSource& file) {
    if (PngReader::Probe(file)) return Format::Png;
    if (PsdImageReader::Probe(file)) return Format::Psd;
    if (PictReader::Probe(file)) return Format::Pict;
    return Format::None;
}

int32_t ImportersVersion() {
    int32_t value = 0;
    return QtGestalt(FourCC("qtim"), value) == 0 ? (value >> 16) & 0xFFFF : 0;
}

void MakeOpaque(DibBuffer* picture) {
    uint64_t bytes = 0;
    uint8_t* p = DibBuffer::GetBitsAndCount(picture, &bytes);
    for (uint64_t i = 3; i < bytes; i += 4) p[i] = 255;
}

// The size a picture is drawn at without a target: its own, reduced in proportion
// when a side exceeds the limit.
Rect16 UntargetedSize(const DibBuffer* picture) {
    const Rect16 own = DibBuffer::GetRect(picture);
    int64_t w = own.Width(), h = own.Height();
    if (w > kMaxUntargetedSide || h > kMaxUntargetedSide) {
        const int64_t longer = std::max(w, h);
        w = std::max<int64_t>(1, w * kMaxUntargetedSide / longer);
        h = std::max<int64_t>(1, h * kMaxUntargetedSide / longer);
    }
    Rect16 size;
    size.Set(0, 0, int16_t(w), int16_t(h));
    return size;
}

}  // namespace

bool KeepsImportedAlpha(int32_t version, int colorDepth, uint32_t codec) {
    return version >= 0x600 && colorDepth == 32 && (codec == FourCC("png ") || codec == FourCC("8BPS"));
}

std::optional<ImportedImageInfo> DescribeImportedFile(const std::filesystem::path& path) {
    if (!ImportersStarted()) return std::nullopt;
    FileByteSource file;
    if (!file.Open(path)) return std::nullopt;
    switch (ProbeFormat(file)) {
        case Format::Png: return PngReader::Describe(file);
        case Format::Psd: return PsdImageReader::Describe(file);
        case Format::Pict: return PictReader::Describe(file);
        case Format::None: break;
    }
    return std::nullopt;
}

std::vector<uint8_t> ReadImportedProfile(const std::filesystem::path& path, uint32_t fileType) {
    FileByteSource file;
    if (!ImportersStarted() || !file.Open(path)) return {};
    if (fileType == FourCC("PNGf") && PngReader::Probe(file)) return PngReader::EmbeddedProfile(file);
    return {};
}

DibBufferPtr ImportPictureWithQuickTime(CImageObj& item, const Rect16* target, int& messageId) {
    if (!ImportersStarted()) {
        messageId = IDS_IMAGE_FORMAT_UNSUPPORTED;
        return nullptr;
    }
    const std::optional<ImageDescription>& description = item.GetDescription();
    const uint32_t codec = description ? description->codecType : 0;
    if (codec == FourCC("EFF ")) return DecodeJpegFile(item.GetFilePath(), target, messageId);

    FileByteSource file;
    if (!file.Open(item.GetFilePath())) {
        messageId = IDS_FILE_NOT_READABLE;
        return nullptr;
    }
    DibBufferPtr picture;
    switch (ProbeFormat(file)) {
        case Format::Png: picture = PngReader::Decode(file, messageId); break;
        case Format::Psd: picture = PsdImageReader::Decode(file, messageId); break;
        case Format::Pict: picture = PictReader::Decode(file, messageId); break;
        case Format::None: messageId = IDS_IMAGE_FORMAT_UNSUPPORTED; break;
    }
    if (!picture) return nullptr;
    const Rect16 size = target ? *target : UntargetedSize(picture.get());
    picture = ScaleToTarget(std::move(picture), &size, messageId);
    if (picture && !KeepsImportedAlpha(ImportersVersion(), item.GetColorDepth(), codec)) MakeOpaque(picture.get());
    return picture;
}

void InstallImporters() {
    ImageOpenHooks open = SetImageOpenHooks({});
    open.importer = DescribeImportedFile;
    SetImageOpenHooks(std::move(open));

    PictureLoaderHooks loading = SetPictureLoaderHooks({});
    loading.import = [](CImageObj& item, const Rect16& target, int& messageId) {
        return ImportPictureWithQuickTime(item, &target, messageId);
    };
    SetPictureLoaderHooks(std::move(loading));

    SetImporterProfileReader(ReadImportedProfile);
}

}  // namespace vx
