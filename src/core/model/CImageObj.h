#pragma once
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/DibBuffer.h"
#include "imaging/ExifRecord.h"
#include "imaging/ImageDescription.h"
#include "imaging/TempBuffer.h"
#include "model/CLayoutObj.h"

namespace vx {

class CImageBitmapLock;

template <class R> class PropertyTable;

/// The face that label and caption texts use unless the user chose another.
inline constexpr std::string_view kDefaultImageFontFace = "DejaVu Sans";

// The named properties of an image item in declaration order (the order of Access and
// InitPropertyNames), before the working bitmap "mWorld": value type and name without
// the "m". Each has a typed getter Get<Name> and a setter Set<Name> that stores exactly
// its field.
#define VX_IMAGE_PROPERTIES(PROP)                                                        \
    PROP(Rect, ViewLabel)                                                                \
    PROP(Code, FileType)       /* 'JPEG', 'TIFF' ... from the file, 0 when unknown */    \
    PROP(Flag, FileEmbedded)   /* the file carries an ICC profile */                     \
    PROP(Short, ZelFile)       /* the file's Zel level: 0, 2, 4 or 6 */                  \
    PROP(Short, UseZelFile)                                                              \
    PROP(Short, SizeMethod)    /* 1 dimensions, 2 ratio */                               \
    PROP(Flag, SizeRatioMode)                                                            \
    PROP(Point, SizePixel)     /* size box, 1/360 inch */                                \
    PROP(Point, SizeRatio)     /* per mille */                                           \
    PROP(Short, FrameMode)                                                               \
    PROP(Rect, Frame)                                                                    \
    PROP(Flag, FrameColor)     /* the frame is painted in GetFrameColorValue() */        \
    PROP(Flag, FrameRotation)                                                            \
    PROP(Short, ImageOption)                                                             \
    PROP(Short, ImageOptionDimens)                                                       \
    PROP(Rect, Crop)           /* insets of the unrotated image, pixels */               \
    PROP(Short, CropOut)                                                                 \
    PROP(Short, CropMode)                                                                \
    PROP(Short, CropSizeUnit)                                                            \
    PROP(Long, CropRes)                                                                  \
    PROP(Short, CropResUnit)                                                             \
    PROP(Point, CropRatio)                                                               \
    PROP(Short, Rotate)        /* orientation code, see TransformPixelBuffer */          \
    PROP(Short, FrameRotate)                                                             \
    PROP(Short, LabelItems)                                                              \
    PROP(Code, LabelSelection) /* bit i: label field i */                                \
    PROP(Short, LabelNumber)                                                             \
    PROP(Short, LabelLocation)                                                           \
    PROP(Flag, LabelUpsideDown)                                                          \
    PROP(Short, LabelAlign)                                                              \
    PROP(Short, LabelFontSize)                                                           \
    PROP(Flag, LabelFontSizeAuto)                                                        \
    PROP(Short, CaptionAlign)                                                            \
    PROP(Short, CaptionLocation)                                                         \
    PROP(Flag, CaptionUpsideDown)                                                        \
    PROP(Short, CaptionFontSize)                                                         \
    PROP(Flag, CaptionFontSizeAuto)                                                      \
    PROP(Flag, ProfileUseEmbed)                                                          \
    PROP(Short, ProfileSource)                                                           \
    PROP(Short, ProfileIntent)                                                           \
    PROP(Short, ColorProof)                                                              \
    PROP(Short, ColorProfSimulation)                                                     \
    PROP(Short, ColorIntentSimulation)                                                   \
    PROP(Short, TuneBright)                                                              \
    PROP(Short, TuneContrast)                                                            \
    PROP(Short, TuneVivid)                                                               \
    PROP(Short, TuneMode)                                                                \
    PROP(Code, ColorSpace)     /* 'RGB ', 'GRAY' or 'CMYK' */                            \
    PROP(Short, ColorDepth)                                                              \
    PROP(Short, ColorBright)                                                             \
    PROP(Point, OffsetFromPageTop)                                                       \
    PROP(Flag, ResizeWithShiftkey)                                                       \
    PROP(Flag, EnableColorMatch)                                                         \
    PROP(Flag, ColorMatched)

/// The image item (kind 1): one image file on a page with its size rule, frame, crop,
/// orientation, label and caption, colour settings, what its file says about itself
/// (description, Exif record) and its working bitmap, a DibBuffer kept in a TempBuffer
/// that duplicates share until one of them changes it. Layouts also keep two that are
/// never placed: "BaseImage", the prototype of new image items, and "StampImage", the
/// image stamp.
class CImageObj : public CLayoutObj {
public:
    using Time = std::chrono::system_clock::time_point;

    /// Every value 0 or empty, with an empty working bitmap.
    explicit CImageObj(bool newId, std::string_view name = {});

    /// The 55 names below, then "IsSaveFile" (read-only: 1 once a bitmap is stored),
    /// then the item base's. Writing "mWorld" is SetWorkingBitmap, reading it
    /// GetWorkingBuffer.
    bool Access(std::string_view name, bool write, PropertyValue& value) override;
    std::vector<CPropertyMember> InitPropertyNames() override;
    /// The item base, the file facts, colours, texts, fonts, profile descriptions, the
    /// colour-mode mark, the Exif record and every property; never the description or
    /// the working bitmap. Throws std::invalid_argument when source is no image item.
    void CopyFrom(const CObjNode& source, bool copyLink) override;

    /// Stores dib (the item takes it over, and frees it) as the new working bitmap.
    /// False, keeping the old bitmap, for a null dib or when the bitmap cannot be
    /// stored (a full temporary folder). Throws WorkingBitmapError when not even an
    /// empty buffer can be had.
    bool SetWorkingBitmap(DibBufferPtr dib);
    /// The working bitmap while somebody keeps it mapped (a bitmap lock), else null.
    DibBuffer* GetWorkingBuffer() const;
    /// The counted buffer that holds the working bitmap; null only when memory ran out.
    TempBuffer* GetWorkingTempBuffer() const { return mWorking.Get(); }
    /// 1 once a bitmap has been stored, else 0.
    int32_t IsSaveFile() const;
    /// Gives the item its own copy of a working bitmap it shares with duplicates, so
    /// that an edit in place leaves them alone; call before mapping it for the edit.
    /// False when the copy cannot be made (the bitmap is still shared then).
    bool MakeWorkingBitmapUnique();
    /// Takes a copy of source's description and shares its working bitmap. False, and
    /// the item left without a description, when source has none.
    bool DuplicateImageData(const CImageObj& source);
    /// Decodes the picture again at its full pixel size for printing and stores it; a
    /// JPEG with `cover` (printed pixels, turned like the bitmap) at the largest DCT
    /// reduction still covering it. False when the item has no description or the
    /// picture cannot be loaded (the loader has shown why) or stored; the old bitmap
    /// stays then.
    bool RebuildBitmap(const Rect16* cover = nullptr);

    /// Takes the image of source, a freshly opened item, keeping the item's own layout
    /// settings: the ratio method keeps its scale, a new pixel size clears the crop, the
    /// label is rebuilt. False after a message when source cannot be taken; after a
    /// scaled size out of range the new image is already in (the caller undoes).
    bool ReplaceImageFrom(const CImageObj& source);
    /// Takes source's colour source where it fits the item's, its file facts, Exif
    /// record, description and (shared) bitmap, turned to the item's `mRotate`. False
    /// when source has no description or the turned bitmap cannot be stored.
    bool TakeImageData(const CImageObj& source);
    /// Turns and mirrors the working bitmap by the orientation code (made the item's own
    /// first when shared). True with nothing stored; false when the turned bitmap cannot
    /// be made or stored (the old one stays).
    bool TurnWorkingBitmap(int code);
    /// Whether some pixel of the working bitmap is not fully opaque; records the answer
    /// as the transparency flag. False without a stored bitmap.
    bool HasTransparency();
    /// Whether every pixel of the bitmap the lock holds (taken on this item) is fully
    /// opaque. The scan's answer is kept for that bitmap's content generation, so drawing
    /// the same picture again costs nothing until something writes it; the transparency
    /// flag is left as it is.
    bool IsLockedBitmapOpaque(const CImageBitmapLock& lock) const;

    const std::optional<ImageDescription>& GetDescription() const { return mDescription; }
    void SetDescription(std::optional<ImageDescription> d) { mDescription = std::move(d); }
    const ExifRecord& GetExif() const { return mExif; }
    void SetExif(ExifRecord exif) { mExif = std::move(exif); }

    const std::filesystem::path& GetFilePath() const { return mFilePath; }
    void SetFilePath(std::filesystem::path p) { mFilePath = std::move(p); }
    uint64_t GetFileSize() const { return mFileSize; }
    Time GetCreationTime() const { return mCreationTime; }
    Time GetLastWriteTime() const { return mLastWriteTime; }
    /// Takes the path, size and times of the file at path: the creation time is the
    /// file system's birth time where it keeps one, else the last-write time. False,
    /// with nothing changed, when the file cannot be examined.
    bool TakeFileFacts(const std::filesystem::path& path);

    ColorRef GetFrameColorValue() const { return mFrameColorValue; }
    void SetFrameColorValue(ColorRef c) { mFrameColorValue = c; }
    ColorRef GetCropFrameColor() const { return mCropFrameColor; }
    void SetCropFrameColor(ColorRef c) { mCropFrameColor = c; }
    const std::string& GetLabelText() const { return mLabelText; }
    void SetLabelText(std::string t) { mLabelText = std::move(t); }
    const std::string& GetLabelFontName() const { return mLabelFontName; }
    void SetLabelFontName(std::string f) { mLabelFontName = std::move(f); }
    ColorRef GetLabelFontColor() const { return mLabelFontColor; }
    void SetLabelFontColor(ColorRef c) { mLabelFontColor = c; }
    const std::string& GetCaptionFontName() const { return mCaptionFontName; }
    void SetCaptionFontName(std::string f) { mCaptionFontName = std::move(f); }
    const std::string& GetCaptionText() const { return mCaptionText; }
    void SetCaptionText(std::string t) { mCaptionText = std::move(t); }
    ColorRef GetCaptionFontColor() const { return mCaptionFontColor; }
    void SetCaptionFontColor(ColorRef c) { mCaptionFontColor = c; }
    const std::string& GetSourceProfile() const { return mSourceProfile; }
    void SetSourceProfile(std::string d) { mSourceProfile = std::move(d); }
    const std::string& GetSimulationProfile() const { return mSimulationProfile; }
    void SetSimulationProfile(std::string d) { mSimulationProfile = std::move(d); }
    int32_t GetColorModeMark() const { return mColorModeMark; }
    void SetColorModeMark(int32_t v) { mColorModeMark = v; }
    int32_t GetTransparency() const { return mTransparency; }
    void SetTransparency(int32_t v) { mTransparency = v; }

#define VX_IMAGE_ACCESSORS(Type, Name)                                   \
    PropertyCType<ValueType::Type> Get##Name() const { return m##Name; } \
    void Set##Name(PropertyCType<ValueType::Type> v) { m##Name = v; }
    VX_IMAGE_PROPERTIES(VX_IMAGE_ACCESSORS)
#undef VX_IMAGE_ACCESSORS

private:
    static const PropertyTable<CImageObj>& Properties();
    DibBuffer* GetWorld() const { return GetWorkingBuffer(); }
    void SetWorld(DibBuffer* dib) { SetWorkingBitmap(DibBufferPtr(dib)); }
    static TempBuffer* NewTempBuffer();
    void TakeColourSource(const CImageObj& source);

    std::filesystem::path mFilePath;
    uint64_t mFileSize = 0;
    Time mCreationTime{};
    Time mLastWriteTime{};
    ColorRef mFrameColorValue = 0;
    ColorRef mCropFrameColor = 0;
    std::string mLabelText;
    std::string mLabelFontName;
    ColorRef mLabelFontColor = 0;
    std::string mCaptionFontName;
    std::string mCaptionText;
    ColorRef mCaptionFontColor = 0;
    std::string mSourceProfile;
    std::string mSimulationProfile;
    std::optional<ImageDescription> mDescription;
    int32_t mColorModeMark = 0;
    ExifRecord mExif;
    int32_t mTransparency = 0;
    TempBufferRef mWorking;
    // The last alpha scan: the content generation it looked at (0: none) and its answer.
    mutable uint64_t mScannedContent = 0;
    mutable bool mScannedOpaque = false;

#define VX_IMAGE_FIELD(Type, Name) PropertyCType<ValueType::Type> m##Name{};
    VX_IMAGE_PROPERTIES(VX_IMAGE_FIELD)
#undef VX_IMAGE_FIELD
};

}  // namespace vx
