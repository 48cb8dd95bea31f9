#pragma once
#include <cstdint>
#include <functional>

#include "imaging/DibBuffer.h"
#include "imaging/Rect16.h"

namespace vx {

class CImageObj;

/// Modes of LoadPictureBuffer, passed on to colour management: 0 a preview without
/// colour management (CMYK pictures excepted), 1 and 2 the screen, 3 printing at full
/// size.
inline constexpr int kPictureModePreview = 0;
inline constexpr int kPictureModePrint = 3;

/// The stages of picture loading that other parts of the program provide. Each has a
/// default that keeps loading working without it.
struct PictureLoaderHooks {
    using Decoder = std::function<DibBufferPtr(CImageObj& item, const Rect16& target, int& messageId)>;
    /// Zel conversion of the item's file when its `mUseZelFile` asks for it; null lets
    /// the ordinary decoders run. Default: null.
    Decoder zelConvert;
    /// The Zel pass over a decoded picture when `mTuneMode` is 1: the buffer itself, a
    /// new buffer (the loader frees the old one) or null with messageId set (it comes
    /// in as 10413). Default: the buffer itself.
    std::function<DibBuffer*(DibBuffer* buffer, CImageObj& item, int& messageId)> zelTunePass;
    /// Colour management in a mode; false fails the load. Default: true, unchanged.
    std::function<bool(DibBuffer* buffer, CImageObj& item, int mode)> colorManage;
    /// Decoders by codec type: "raw " EPS, "WRLE" bitmap, "tiff"; and the importers'
    /// for every other codec. Defaults: the own file decoders (DecodeEpsImage,
    /// DecodeBitmapFile, DecodeTiffImage); for the importers null with 10526
    /// "Bildformat nicht unterstützt.".
    Decoder decodeEps;
    Decoder decodeBmp;
    Decoder decodeTiff;
    Decoder import;
};

/// Installs hooks (empty members take the defaults); returns the previous ones.
PictureLoaderHooks SetPictureLoaderHooks(PictureLoaderHooks hooks);

/// The size LoadPictureBuffer decodes for: the target in the picture's own orientation
/// (width and height exchanged for a quarter turn in `rotate`), no larger than the
/// picture's own pixel count, and unless mode is 3 no more than 1,000,000 pixels (the
/// longer side then 1000).
Rect16 ChoosePictureTarget(Rect16 target, int rotate, int pictureWidth, int pictureHeight, int mode);

/// Decodes the item's picture by its description's codec for a target size (Zel first
/// when the item asks for it). With `cover` (in the picture's own orientation) a JPEG
/// comes at the largest reduction still covering it, unscaled. Null with messageId set
/// on failure.
DibBufferPtr DecodeImageByType(CImageObj& item, const Rect16& target, int& messageId,
                               const Rect16* cover = nullptr);

/// The item's picture as a finished buffer: decoded for `target` (which becomes the
/// size chosen by ChoosePictureTarget), through the Zel pass when `mTuneMode` is 1,
/// colour-managed when the item is CMYK or the mode is not 0 and the item is not grey,
/// then turned and mirrored by `mRotate`. On failure the reason is shown (error icon)
/// and the result is null; the item is left as it was. `cover`, in the turned
/// orientation like `target`, is the smallest size a JPEG may come at (see
/// DecodeImageByType); other formats ignore it.
DibBufferPtr LoadPictureBuffer(CImageObj& item, int mode, Rect16& target, const Rect16* cover = nullptr);

}  // namespace vx
