// The image item taking another item's image, and what it asks of its pixels.
#include <bit>
#include <cmath>
#include <cstring>

#include "imaging/TransformPixelBuffer.h"
#include "model/CImageBitmapLock.h"
#include "model/CImageObj.h"
#include "model/ImageGeometry.h"
#include "model/ImageLabels.h"
#include "platform/system/FourCC.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"

namespace vx {
namespace {

// 10 mm to 15 m.
constexpr double kMinItemSide = 141.73228346456693;
constexpr double kMaxItemSide = 212598.4251968504;

bool Refuse(int stringId) {
    Messages().Show(stringId, {}, Icon::Error, Buttons::Ok);
    return false;
}

/// Whether an alpha byte among the B,G,R,A pixels is below 255. Runs for every printed
/// image: whole blocks are ANDed word by word (which vectorises) and tested once each.
bool AnyAlphaBelowOpaque(std::span<const uint8_t> pixels) {
    static_assert(std::endian::native == std::endian::little, "alpha is the top byte of each pixel word");
    constexpr uint64_t kAlpha = 0xFF000000FF000000ull;
    constexpr size_t kBlockWords = 512;
    const uint8_t* p = pixels.data();
    size_t words = pixels.size() / 8;
    while (words > 0) {
        const size_t n = words < kBlockWords ? words : kBlockWords;
        uint64_t all = ~uint64_t(0);
        for (size_t i = 0; i < n; ++i) {
            uint64_t w;
            std::memcpy(&w, p + 8 * i, 8);
            all &= w;
        }
        if ((all & kAlpha) != kAlpha) return true;
        p += 8 * n;
        words -= n;
    }
    return pixels.size() % 8 >= 4 && p[3] != 255;  // an odd last pixel
}

}  // namespace

bool CImageObj::HasTransparency() {
    CImageBitmapLock lock(this, TempBuffer::kMapReadOnly);
    mTransparency = IsLockedBitmapOpaque(lock) ? 0 : 1;
    return mTransparency == 1;
}

bool CImageObj::IsLockedBitmapOpaque(const CImageBitmapLock& lock) const {
    const TempBuffer* buffer = lock.Buffer();
    // Nothing learnt while a writer holds the bitmap is kept: it may be writing still.
    const bool keep = buffer && !buffer->WriteLocked() && buffer->ContentGeneration() != 0;
    if (keep && mScannedContent == buffer->ContentGeneration()) return mScannedOpaque;
    const bool opaque = !AnyAlphaBelowOpaque(lock.Pixels());
    if (keep) {
        mScannedContent = buffer->ContentGeneration();
        mScannedOpaque = opaque;
    }
    return opaque;
}

void CImageObj::TakeColourSource(const CImageObj& source) {
    const uint32_t rgb = FourCC("RGB ");
    bool takeAll = false;
    if (mColorSpace == rgb && source.mColorSpace == rgb) {
        mFileEmbedded = source.mFileEmbedded;
        mZelFile = source.mZelFile;
        if (mUseZelFile != 0 && source.mZelFile != 0 && source.mZelFile >= mUseZelFile) {
            // the new file carries the Zel level the item converts with
        } else if (mProfileUseEmbed == 1 && source.mFileEmbedded) {
            mUseZelFile = 0;
        } else if (mUseZelFile == 0 && mProfileUseEmbed != 1) {
            // a chosen profile fits any RGB file
        } else {
            takeAll = true;
        }
    } else {
        takeAll = mColorSpace == FourCC("GRAY") && source.mColorSpace == rgb;
    }
    if (!takeAll) return;
    mUseZelFile = source.mUseZelFile;
    mZelFile = source.mZelFile;
    mProfileUseEmbed = source.mProfileUseEmbed;
    mFileEmbedded = source.mFileEmbedded;
    mProfileSource = source.mProfileSource;
    mSourceProfile = source.mSourceProfile;
    mProfileIntent = source.mProfileIntent;
}

bool CImageObj::TurnWorkingBitmap(int code) {
    // An edit in place must not reach the duplicates, undo copies and source sharing it.
    if (!ExchangesSides(code) && !MakeWorkingBitmapUnique()) return false;
    CImageBitmapLock lock(this);
    const std::span<uint8_t> pixels = lock.Pixels();
    if (pixels.empty()) return true;  // nothing stored yet
    const Rect16 rect = DibBuffer::GetRect(lock.Bitmap());
    if (pixels.size() != uint64_t(rect.Width()) * uint64_t(rect.Height()) * 4u) return false;  // a cut-short store
    DibBufferPtr picture(lock.Bitmap());     // a mapped view: freeing it does nothing
    if (!TransformPixelBuffer(picture, code)) {
        (void)picture.release();
        return false;
    }
    if (picture.get() == lock.Bitmap()) {
        (void)picture.release();  // turned in place
        return true;
    }
    return SetWorkingBitmap(std::move(picture));
}

bool CImageObj::TakeImageData(const CImageObj& source) {
    TakeColourSource(source);
    mColorSpace = source.mColorSpace;
    mColorDepth = source.mColorDepth;
    mColorBright = source.mColorBright;
    mFileType = source.mFileType;
    mFilePath = source.mFilePath;
    mFileSize = source.mFileSize;
    mCreationTime = source.mCreationTime;
    mLastWriteTime = source.mLastWriteTime;
    mExif = source.mExif;
    mDescription.reset();
    if (!DuplicateImageData(source)) return false;
    return mRotate == 0 || TurnWorkingBitmap(mRotate);
}

bool CImageObj::ReplaceImageFrom(const CImageObj& source) {
    if (!mDescription || !source.mDescription) return Refuse(IDS_UNKNOWN_ERROR);
    const bool byRatio = mSizeMethod == 2;
    double scaleX = 0, scaleY = 0;
    if (byRatio) {
        const LayoutPointD natural = GetImageNaturalSize(*this);
        if (natural.x == 0 || natural.y == 0) return Refuse(IDS_UNKNOWN_ERROR);
        scaleX = GetSizeD().x / natural.x;
        scaleY = GetSizeD().y / natural.y;
    }
    const int16_t oldWidth = mDescription->width;
    const int16_t oldHeight = mDescription->height;
    if (!TakeImageData(source)) return Refuse(IDS_NOT_ENOUGH_MEMORY);
    if (mDescription->width != oldWidth || mDescription->height != oldHeight) {
        mCrop = {};
        mCropOut = 0;
        mCropFrameColor = 0;  // black
    }
    if (byRatio) {
        const LayoutPointD natural = GetImageNaturalSize(*this);
        const double width = std::trunc(natural.x * scaleX);
        const double height = std::trunc(natural.y * scaleY);
        // Written so that NaN fails too.
        const auto inRange = [](double v) { return v >= kMinItemSide && v <= kMaxItemSide; };
        if (!inRange(width) || !inRange(height)) return Refuse(IDS_IMAGE_SIZE_OUT_OF_RANGE);
        const LayoutPoint position = GetPosition();
        SetPosition(position.x, position.y);
        SetSize(int32_t(width), int32_t(height));
    }
    BuildImageLabelText(*this);
    return true;
}

}  // namespace vx
