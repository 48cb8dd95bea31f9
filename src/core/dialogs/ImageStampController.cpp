#include "dialogs/ImageStampController.h"

#include <cmath>

#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/GreyConversion.h"
#include "model/ImageAdding.h"
#include "model/ImageGeometry.h"
#include "model/ImageMemoryBudget.h"
#include "model/LayoutLimits.h"
#include "model/LengthUnits.h"
#include "model/PictureLoader.h"
#include "model/UndoStore.h"
#include "platform/system/MessagePort.h"
#include "platform/system/Ports.h"
#include "platform/system/StringTable.h"
#include "platform/system/Numbers.h"

namespace vx {
namespace {

constexpr double kMaxUnits = 212598.4251968504;  // 15 m
constexpr int32_t kMaxUnitsWhole = 212598;
constexpr double kMinSizeUnits = 14.173228346456694;  // 1 mm
constexpr uint16_t kUndoStamp = 20;

double UnitsPer(int unit) { return unit == 1 ? kUnitsPerMm : kUnitsPerInch; }

// The field's number (an empty text is 0) in units, rounded half up and truncated.
int32_t ReadUnits(std::string_view text, int unit) {
    double v = 0;
    if (!text.empty()) v = ParseDouble(text).value_or(0);
    return TruncToInt32(v * UnitsPer(unit) + 0.5);
}

}  // namespace

void ShowStampBuildFailure(int result) {
    const int id = result == kStampSizeOutOfRange ? IDS_IMAGE_SIZE_OUT_OF_RANGE
                   : result == kStampOutOfMemory  ? IDS_NOT_ENOUGH_MEMORY
                                                  : IDS_IMAGE_FORMAT_UNSUPPORTED;
    Messages().Show(id, {}, Icon::Error, Buttons::Ok);
}

void ImageStampController::Load() {
    if (!mLayout) return;
    const CLayoutSetting& l = *mLayout;
    mPositionUnit = mSizeUnit = l.GetUnit() == 1 ? 1 : 2;
    mX = l.GetImageStampPosition().x;
    mY = l.GetImageStampPosition().y;
    mWidth = l.GetImageStampSize().x;
    mHeight = l.GetImageStampSize().y;
    mRatio = mWidth != 0 && mHeight != 0 ? double(mHeight) / mWidth : 1.0;
    mKeep = l.GetImageStampConstrainPropotion() != 0;
    mPath = l.Texts().imageStampPath;
    mCustom = l.GetImageStampSettings() == 1;
    mOn = l.GetImageStampInUse() == 1;
    if ((mWidth == 0 || mHeight == 0) && mOn && mCustom)
        Messages().Show(IDS_KEEP_PROPORTIONS_ZERO, {}, Icon::Error, Buttons::Ok);
}

std::string ImageStampController::XText() const { return FormatLengthInUnit(mX, mPositionUnit, 360); }
std::string ImageStampController::YText() const { return FormatLengthInUnit(mY, mPositionUnit, 360); }
std::string ImageStampController::WidthText() const { return FormatLengthInUnit(mWidth, mSizeUnit, 360); }
std::string ImageStampController::HeightText() const { return FormatLengthInUnit(mHeight, mSizeUnit, 360); }

ImageStampController::Range ImageStampController::PositionRange() const {
    return mPositionUnit == 1 ? Range{0, 15000.0, 1, 9} : Range{0, 590.55, 2, 9};
}

ImageStampController::Range ImageStampController::WidthRange() const {
    Range r = mSizeUnit == 1 ? Range{0, 15000.0, 1, 8} : Range{0, 590.55, 2, 7};
    if (mRatio > 1.0) r.maximum /= mRatio;
    return r;
}

ImageStampController::Range ImageStampController::HeightRange() const {
    Range r = mSizeUnit == 1 ? Range{0, 15000.0, 1, 8} : Range{0, 590.55, 2, 7};
    if (mRatio < 1.0) r.maximum *= mRatio;
    return r;
}

void ImageStampController::PositionEdited(std::string_view xText, std::string_view yText) {
    mX = ReadUnits(xText, mPositionUnit);
    mY = ReadUnits(yText, mPositionUnit);
}

std::string ImageStampController::FollowText(int32_t units) const {
    return mSizeUnit == 1 ? FormatFixed(units * 0.07055555555555555, 2) : FormatFixed(units * 0.002777777777777778, 3);
}

ImageStampController::SizeFollow ImageStampController::SizeEdited(bool widthEdited, std::string_view widthText,
                                                                   std::string_view heightText) {
    mWidth = ReadUnits(widthText, mSizeUnit);
    mHeight = ReadUnits(heightText, mSizeUnit);
    SizeFollow f;
    if (!mKeep || mRatio <= 0) return f;
    if (widthEdited) {
        const double h = mWidth * mRatio;
        f.heightChanged = true;
        if (h > kMaxUnits) {
            mHeight = kMaxUnitsWhole;
            mWidth = TruncToInt32(mHeight / mRatio);
            f.widthChanged = true;
        } else {
            mHeight = TruncToInt32(h);
        }
    } else {
        const double w = mHeight / mRatio;
        f.widthChanged = true;
        if (w > kMaxUnits) {
            mWidth = kMaxUnitsWhole;
            mHeight = TruncToInt32(mWidth * mRatio);
            f.heightChanged = true;
        } else {
            mWidth = TruncToInt32(w);
        }
    }
    return f;
}

void ImageStampController::ZeroSideCheck() {
    if ((mWidth == 0 || mHeight == 0) && mCustom && mKeep) {
        Messages().Show(IDS_KEEP_PROPORTIONS_ZERO, {}, Icon::Error, Buttons::Ok);
        mKeep = false;
    }
}

void ImageStampController::SetOn(bool on, bool sizeFieldEmpty) {
    mOn = on;
    if (on && !sizeFieldEmpty) ZeroSideCheck();
}

void ImageStampController::SetCustom(bool custom) {
    mCustom = custom;
    if (custom) ZeroSideCheck();
}

void ImageStampController::SetKeep(bool keep) {
    mKeep = keep;
    if (!keep) {
        mRatio = 1.0;
    } else if (mWidth != 0 && mHeight != 0) {
        mRatio = double(mHeight) / mWidth;
    } else {
        mKeep = false;
        Messages().Show(IDS_KEEP_PROPORTIONS_ZERO, {}, Icon::Error, Buttons::Ok);
    }
}

int ImageStampController::ChooseFile(const std::filesystem::path& path) {
    const std::string previous = mPath;
    mPath = path.string();
    const int result = BuildStamp(path, 1);
    if (result != kStampBuilt) {
        ShowStampBuildFailure(result);
        mPath = previous;
        // The previous file gives its size back; when it no longer builds, the size stays.
        if (!previous.empty()) BuildStamp(previous, 1);
        return result;
    }
    if (mKeep && mWidth != 0) mRatio = double(mHeight) / mWidth;
    return result;
}

std::unique_ptr<CImageObj> ImageStampController::MakeStampItem(const std::filesystem::path& path, int& result,
                                                               bool keepPicture) const {
    result = kStampUnsupported;
    std::unique_ptr<CImageObj> item(CreateImageObj(mLayout->GetStampImage(), nullptr, "StampImage"));
    if (!item) return nullptr;
    item->SetOwner(mLayout);
    item->SetType(2);
    if (!OpenImageFile(item.get(), path)) return nullptr;
    if (!IsImageSizeSupported(*item)) {
        result = kStampSizeOutOfRange;
        return nullptr;
    }
    // The new stamp replaces the old one: count the layout's images and the new picture.
    const uint64_t others = LayoutPictureBytes(*mLayout) - PictureBytes(mLayout->GetStampImage());
    if (others + PictureBytes(item.get()) > kImageMemoryBudgetBytes) {
        result = kStampOutOfMemory;
        return nullptr;
    }
    item->SetSizeMethod(1);
    const LayoutPoint size = GetImagePrintSize(*item, true);
    item->SetSize(size.x, size.y);
    if (!ImageSizeCheckSwitch && (size.x < 1 || size.x > 30000 || size.y < 1 || size.y > 30000)) {
        result = kStampSizeOutOfRange;
        return nullptr;
    }
    if (keepPicture) {
        if (!item->RebuildBitmap()) return nullptr;
        if (mLayout->GetColor() != 2) ConvertToGrey(*item, false);
    } else {
        // A file that is only tried must still decode; its picture is not kept.
        const ImageDescription& d = *item->GetDescription();
        Rect16 target;
        if (item->GetRotate() & 5) target.Set(0, 0, d.height, d.width);
        else target.Set(0, 0, d.width, d.height);
        if (!LoadPictureBuffer(*item, kPictureModePrint, target)) return nullptr;
    }
    result = kStampBuilt;
    return item;
}

int ImageStampController::BuildStamp(const std::filesystem::path& path, int mode) {
    if (!mLayout) return kStampUnsupported;
    int result = kStampUnsupported;
    std::unique_ptr<CImageObj> item = MakeStampItem(path, result, mode == 0);
    if (!item) return result;
    if (mode == 1) {
        const LayoutPoint size = item->GetSize();
        mWidth = size.x;
        mHeight = size.y;
        mRatio = mWidth != 0 ? double(mHeight) / mWidth : 1.0;
    } else {
        mLayout->SetStampImage(std::move(item));
    }
    return kStampBuilt;
}

DialogCheck ImageStampController::Apply() {
    if (!mLayout) return {};
    if (mOn && mCustom) {
        for (const auto& [value, id] : {std::pair{mWidth, kIdWidth}, std::pair{mHeight, kIdHeight}}) {
            if (value < kMinSizeUnits) {
                ShowValueRangeError(mSizeUnit == 1 ? 1 : 2, kMinSizeUnits, kMaxUnits);
                return {id};
            }
        }
    }
    // Check and build before anything is written, so that a refusal leaves the layout.
    std::unique_ptr<CImageObj> stamp;
    if (!mPath.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(mPath, ec)) {
            Messages().Show(IDS_FILE_NOT_READABLE, {}, Icon::Error, Buttons::Ok);
            return {1148};
        }
        int result = kStampUnsupported;
        stamp = MakeStampItem(mPath, result, true);
        if (!stamp) {
            ShowStampBuildFailure(result);
            return {1148};
        }
    }
    if (mOn)
        if (ApplicationState* app = HostService<ApplicationState>()) app->GetUndoStore().PushUndo(*mLayout, kUndoStamp);
    CLayoutSetting& l = *mLayout;
    l.SetImageStampInUse(mOn ? 1 : 0);
    l.SetImageStampSettings(mCustom ? 1 : 0);
    l.Texts().imageStampPath = mPath;
    l.SetImageStampPosition({mX, mY});
    l.SetImageStampSize({mWidth, mHeight});
    l.SetImageStampConstrainPropotion(mKeep ? 1 : 0);
    if (stamp) l.SetStampImage(std::move(stamp));
    return {};
}

}  // namespace vx
