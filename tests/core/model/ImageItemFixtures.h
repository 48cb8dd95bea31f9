#pragma once
#include <filesystem>
#include <memory>
#include <vector>

#include "../imaging/JpegFixtures.h"
#include "PropertyChecks.h"
#include "model/CImageObj.h"
#include "model/ImageInfoReaders.h"

namespace vx::test {

/// The image item's own 55 names, types and new-record values, in declaration order.
inline std::vector<ExpectedProperty> ImageItemOwnProperties() {
    const auto code = [](std::string_view n) { return ExpectedProperty{n, ValueType::Code, uint32_t(0)}; };
    // The working bitmap is written only with a picture; its write is tested on its own.
    const ExpectedProperty world{"mWorld", ValueType::Bitmap, static_cast<DibBuffer*>(nullptr),
                                 ExpectedProperty::ReadOnly};
    return {
        Rect("mViewLabel"), code("mFileType"), Flag("mFileEmbedded"), Short("mZelFile"),
        Short("mUseZelFile"), Short("mSizeMethod"), Flag("mSizeRatioMode"), Point("mSizePixel"),
        Point("mSizeRatio"), Short("mFrameMode"), Rect("mFrame"), Flag("mFrameColor"),
        Flag("mFrameRotation"), Short("mImageOption"), Short("mImageOptionDimens"), Rect("mCrop"),
        Short("mCropOut"), Short("mCropMode"), Short("mCropSizeUnit"), Long("mCropRes"),
        Short("mCropResUnit"), Point("mCropRatio"), Short("mRotate"), Short("mFrameRotate"),
        Short("mLabelItems"), code("mLabelSelection"), Short("mLabelNumber"), Short("mLabelLocation"),
        Flag("mLabelUpsideDown"), Short("mLabelAlign"), Short("mLabelFontSize"), Flag("mLabelFontSizeAuto"),
        Short("mCaptionAlign"), Short("mCaptionLocation"), Flag("mCaptionUpsideDown"),
        Short("mCaptionFontSize"), Flag("mCaptionFontSizeAuto"), Flag("mProfileUseEmbed"),
        Short("mProfileSource"), Short("mProfileIntent"), Short("mColorProof"),
        Short("mColorProfSimulation"), Short("mColorIntentSimulation"), Short("mTuneBright"),
        Short("mTuneContrast"), Short("mTuneVivid"), Short("mTuneMode"), code("mColorSpace"),
        Short("mColorDepth"), Short("mColorBright"), Point("mOffsetFromPageTop"),
        Flag("mResizeWithShiftkey"), Flag("mEnableColorMatch"), Flag("mColorMatched"), world,
    };
}

/// An image item described from the JPEG of fixture, written to path.
inline std::unique_ptr<CImageObj> DescribedJpegItem(const std::filesystem::path& path, const JpegFixture& fixture) {
    WriteBytes(path, EncodeJpeg(fixture));
    auto item = std::make_unique<CImageObj>(true, "StdImage");
    item->SetFilePath(path);
    EXPECT_TRUE(ReadJpegInfo(*item));
    return item;
}

}  // namespace vx::test
