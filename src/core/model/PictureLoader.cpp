#include "model/PictureLoader.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "host/QuickTimePresent.h"
#include "imaging/BmpReader.h"
#include "imaging/EpsReader.h"
#include "imaging/JpegReader.h"
#include "imaging/TiffReader.h"
#include "imaging/TransformPixelBuffer.h"
#include "model/CImageObj.h"
#include "platform/system/FourCC.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

DibBufferPtr Unsupported(CImageObj&, const Rect16&, int& messageId) {
    messageId = IDS_IMAGE_FORMAT_UNSUPPORTED;
    return nullptr;
}

/// One of the own decoders of a file, for the item's file.
template <DibBufferPtr (*Decode)(const std::filesystem::path&, const Rect16*, int&)>
DibBufferPtr FileDecoder(CImageObj& item, const Rect16& target, int& messageId) {
    return Decode(item.GetFilePath(), &target, messageId);
}

PictureLoaderHooks WithDefaults(PictureLoaderHooks h) {
    if (!h.zelConvert) h.zelConvert = [](CImageObj&, const Rect16&, int&) { return DibBufferPtr(); };
    if (!h.zelTunePass) h.zelTunePass = [](DibBuffer* buffer, CImageObj&, int&) { return buffer; };
    if (!h.colorManage) h.colorManage = [](DibBuffer*, CImageObj&, int) { return true; };
    if (!h.decodeEps) h.decodeEps = FileDecoder<DecodeEpsImage>;
    if (!h.decodeBmp) h.decodeBmp = FileDecoder<DecodeBitmapFile>;
    if (!h.decodeTiff) h.decodeTiff = FileDecoder<DecodeTiffImage>;
    if (!h.import) h.import = Unsupported;
    return h;
}

PictureLoaderHooks& Hooks() {
    static PictureLoaderHooks hooks = WithDefaults({});
    return hooks;
}

bool ExchangesSides(int rotate) { return (rotate & 5) != 0; }

void ShowError(int messageId) { Messages().Show(messageId, {}, Icon::Error, Buttons::Ok); }

}  // namespace

PictureLoaderHooks SetPictureLoaderHooks(PictureLoaderHooks hooks) {
    return std::exchange(Hooks(), WithDefaults(std::move(hooks)));
}

Rect16 ChoosePictureTarget(Rect16 target, int rotate, int pictureWidth, int pictureHeight, int mode) {
    int64_t w = std::max(0, target.Width());
    int64_t h = std::max(0, target.Height());
    if (ExchangesSides(rotate)) std::swap(w, h);
    if (int64_t(pictureWidth) * pictureHeight < w * h) {
        w = pictureWidth;
        h = pictureHeight;
    }
    constexpr int64_t kPreviewPixels = 1000000;
    constexpr int64_t kPreviewSide = 1000;
    if (mode != kPictureModePrint && w * h > kPreviewPixels) {
        if (w >= h) {
            h = kPreviewSide * h / w;
            w = kPreviewSide;
        } else {
            w = kPreviewSide * w / h;
            h = kPreviewSide;
        }
    }
    Rect16 chosen;
    chosen.Set(0, 0, int16_t(w), int16_t(h));
    return chosen;
}

DibBufferPtr DecodeImageByType(CImageObj& item, const Rect16& target, int& messageId, const Rect16* cover) {
    PictureLoaderHooks& hooks = Hooks();
    if (item.GetUseZelFile())
        if (DibBufferPtr converted = hooks.zelConvert(item, target, messageId)) return converted;
    const std::optional<ImageDescription>& description = item.GetDescription();
    if (!description) {
        messageId = IDS_FILE_NOT_READABLE;
        return nullptr;
    }
    switch (description->codecType) {
        case FourCC("raw "): return hooks.decodeEps(item, target, messageId);
        case FourCC("WRLE"): return hooks.decodeBmp(item, target, messageId);
        case FourCC("jpeg"):
            return cover ? DecodeJpegCovering(item.GetFilePath(), *cover, messageId)
                         : DecodeJpegFile(item.GetFilePath(), &target, messageId);
        case FourCC("tiff"): return hooks.decodeTiff(item, target, messageId);
        default: break;
    }
    if (QuickTimePresent == 1) return hooks.import(item, target, messageId);
    return nullptr;
}

DibBufferPtr LoadPictureBuffer(CImageObj& item, int mode, Rect16& target, const Rect16* cover) {
    int messageId = IDS_NOT_ENOUGH_MEMORY;
    const std::optional<ImageDescription>& description = item.GetDescription();
    target = ChoosePictureTarget(target, item.GetRotate(), description ? description->width : 0,
                                 description ? description->height : 0, mode);
    std::optional<Rect16> ownCover;
    if (cover) {
        int w = cover->Width();
        int h = cover->Height();
        if (ExchangesSides(item.GetRotate())) std::swap(w, h);
        ownCover.emplace();
        ownCover->Set(0, 0, int16_t(std::clamp(w, 0, 32767)), int16_t(std::clamp(h, 0, 32767)));
    }

    DibBufferPtr picture = DecodeImageByType(item, target, messageId, ownCover ? &*ownCover : nullptr);
    if (picture && item.GetTuneMode() == 1) {
        messageId = IDS_NOT_ENOUGH_MEMORY;
        DibBuffer* tuned = Hooks().zelTunePass(picture.get(), item, messageId);
        if (tuned != picture.get()) picture.reset(tuned);
    }
    const uint32_t space = item.GetColorSpace();
    if (picture && (space == FourCC("CMYK") || (mode != kPictureModePreview && space != FourCC("GRAY")))) {
        if (!Hooks().colorManage(picture.get(), item, mode)) {
            ShowError(IDS_UNKNOWN_ERROR);
            return nullptr;
        }
    }
    if (!picture) {
        ShowError(messageId);
        return nullptr;
    }
    if (!TransformPixelBuffer(picture, item.GetRotate())) {
        ShowError(IDS_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return picture;
}

}  // namespace vx
