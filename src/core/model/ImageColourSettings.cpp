// The colour settings and the automatic rotation a new image item takes from its layout.
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ImageAdding.h"
#include "model/ProfileDescriptions.h"
#include "platform/system/FourCC.h"

namespace vx {
namespace {

// Rendering intent of pictures whose source colour comes with the file (an embedded
// profile or the Zel working space).
constexpr int16_t kIntentOfFileSource = 5;

}  // namespace

void ApplyLayoutColorSettings(CImageObj& item) {
    if (item.GetType() != kRecordTypeLayout || item.GetKind() != kKindImage) return;
    const CLayoutSetting* layout = item.GetOwner();
    if (!layout) return;
    const uint32_t space = item.GetColorSpace();
    if (space == FourCC("RGB ")) {
        item.SetProfileSource(layout->GetColorProfRGB());
        item.SetUseZelFile(layout->GetZel() == 1 ? item.GetZelFile() : 0);
        const bool useEmbed = layout->GetColorEmbedRGB() && item.GetFileEmbedded();
        item.SetProfileUseEmbed(useEmbed ? 1 : 0);
        item.SetProfileIntent(item.GetUseZelFile() != 0 || useEmbed ? kIntentOfFileSource : layout->GetColorIntentRGB());
        if (layout->GetZel() == 1 && item.GetZelFile() != 0 && item.GetUseZelFile() != 0)
            item.SetSourceProfile(ZelWorkingSpaceDescription());
        else if (!useEmbed)
            item.SetSourceProfile(layout->Texts().rgbSourceProfile);
        else
            item.SetSourceProfile(EmbeddedProfileDescription(item));
    } else {
        if (space != FourCC("CMYK")) {
            item.SetProfileIntent(0);
            item.SetProfileSource(layout->GetColorProfRGB());
            item.SetProfileUseEmbed(0);
        }
        // Never the prototype's value: only RGB pictures take the Zel conversion.
        item.SetUseZelFile(0);
    }
    item.SetColorProof(layout->GetColorProof());
    item.SetColorProfSimulation(layout->GetColorProfSimulation());
    item.SetColorIntentSimulation(layout->GetColorIntentSimulation());
    item.SetSimulationProfile(layout->Texts().simulationProfile);
}

int ChooseAutoRotation(const CImageObj& item, int mode) {
    int64_t width = 0, height = 0;
    if (item.GetCropOut() == 1) {
        const LayoutPoint size = item.GetSize();
        const LayoutRect crop = item.GetCrop();
        width = int64_t(size.x) - crop.left - crop.right;
        height = int64_t(size.y) - crop.top - crop.bottom;
    } else if (const std::optional<ImageDescription>& d = item.GetDescription()) {
        width = d->width;
        height = d->height;
    }
    switch (mode) {
        case 1: {
            static constexpr int kByExif[] = {0, 8, 2, 10, 12, 1, 9, 4};
            const int orientation = item.GetExif().orientation;
            return orientation >= 1 && orientation <= 8 ? kByExif[orientation - 1] : 0;
        }
        case 2:
        case 3:
        case 4:
        case 5: {
            if (width == height) return 0;
            const bool portrait = height > width;
            if (portrait == (mode >= 4)) return 0;
            return mode == 2 || mode == 4 ? 1 : 4;
        }
        default: return 0;
    }
}

}  // namespace vx
