#include "colourmanagement/PictureColourTransforms.h"

#include <optional>
#include <string>
#include <utility>

#include "colourmanagement/ChainTransformCache.h"
#include "colourmanagement/ImageProfiles.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "model/ProfileDescriptions.h"
#include "model/CImageObj.h"
#include "model/PictureLoader.h"
#include "platform/colour/ColourLog.h"
#include "platform/colour/ColourTransform.h"
#include "platform/system/FourCC.h"

namespace vx {
namespace {

// The settings printer colour matching 2 changes for its first pass.
class ColourFieldsGuard {
public:
    explicit ColourFieldsGuard(CImageObj& item)
        : mItem(item),
          mTuneMode(item.GetTuneMode()),
          mUseZelFile(item.GetUseZelFile()),
          mColorProof(item.GetColorProof()),
          mSourceProfile(item.GetSourceProfile()) {}
    ~ColourFieldsGuard() {
        mItem.SetTuneMode(mTuneMode);
        mItem.SetUseZelFile(mUseZelFile);
        mItem.SetColorProof(mColorProof);
        mItem.SetSourceProfile(std::move(mSourceProfile));
    }
    ColourFieldsGuard(const ColourFieldsGuard&) = delete;
    ColourFieldsGuard& operator=(const ColourFieldsGuard&) = delete;

private:
    CImageObj& mItem;
    int16_t mTuneMode, mUseZelFile, mColorProof;
    std::string mSourceProfile;
};

bool TransformItem(DibBuffer* buffer, CImageObj& item, const OutputColourSettings& output, int mode) {
    std::optional<ProfileChainPlan> plan = BuildImageProfileChain(item, output, mode, CatalogueProfiles());
    return plan && TransformBuffer(*plan, buffer, mode, item.GetColorSpace());
}

bool MatchThroughPrintProfile(DibBuffer* buffer, CImageObj& item, const OutputColourSettings& output) {
    ColourFieldsGuard guard(item);
    item.SetTuneMode(0);
    item.SetColorProof(0);
    // A Zel picture keeps its mode: its converted pixels are in the Zel working space,
    // not in the space its Exif data names, so its chain starts there as on screen.
    return TransformItem(buffer, item, output, kColourModePrint) &&
           TransformBufferThroughPrintProfile(item, kColourModePrint, buffer);
}

}  // namespace

bool TransformBuffer(const ProfileChainPlan& plan, DibBuffer* buffer, int mode, uint32_t pictureSpace) {
    if (!buffer) return false;
    const TransformQuality quality =
        mode == kColourModePrint ? TransformQuality::Best : TransformQuality::Proof;
    return SharedChainTransforms().With(
        plan, ChainTransformCache::Kind::Pixels, quality,
        [&](const ColourTransform& transform, uint32_t firstSpace) {
            if (firstSpace != pictureSpace) {
                LogColourError("the source profile is not in the picture's colour space " +
                               FourCCText(pictureSpace));
                return false;
            }
            const Rect16 rect = DibBuffer::GetRect(buffer);
            transform.ApplyToPixels(DibBuffer::GetBits(buffer), uint32_t(rect.Width()),
                                    uint32_t(rect.Height()), size_t(DibBuffer::GetRowBytes(buffer)));
            return true;
        });
}

bool TransformBufferThroughPrintProfile(CImageObj& item, int mode, DibBuffer* buffer) {
    std::optional<ProfileChainPlan> plan =
        BuildPrintProfileChain(OutputSettingsOf(item.GetOwner()), CatalogueProfiles());
    return plan && TransformBuffer(*plan, buffer, mode, kSpaceRgb);
}

bool ColorManageImage(DibBuffer* buffer, CImageObj& item, int mode) {
    if (!buffer) return false;
    const uint32_t space = item.GetColorSpace();
    if (space != kSpaceRgb && space != kSpaceCmyk) return true;
    const OutputColourSettings output = OutputSettingsOf(item.GetOwner());
    if (mode == kColourModePrint && output.colorMatchPrinter == 2)
        return MatchThroughPrintProfile(buffer, item, output);
    return TransformItem(buffer, item, output, mode);
}

void InstallColourManagement() {
    PictureLoaderHooks hooks = SetPictureLoaderHooks({});
    hooks.colorManage = ColorManageImage;
    SetPictureLoaderHooks(std::move(hooks));
    SetProfileDescriptions({GetEmbeddedProfileDescription, GetImageProfileDescription});
}

}  // namespace vx
