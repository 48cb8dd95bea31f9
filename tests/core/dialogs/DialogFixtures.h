#pragma once
#include <lcms2.h>

#include <memory>
#include <string>
#include <vector>

#include "../colourmanagement/CatalogueFolders.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/ObjectList.h"

namespace vx::test {

/// A v2 profile of a class and space with this description; CMYK and RGB printer
/// profiles get small lookup tables both ways so that they pass as usable.
inline std::vector<uint8_t> ClassProfile(const std::string& description, cmsProfileClassSignature cls,
                                         cmsColorSpaceSignature space) {
    CmsProfile p;
    if (space == cmsSigRgbData) {
        p.reset(cmsCreate_sRGBProfile());
        cmsSetDeviceClass(p.get(), cls);
    } else {
        p.reset(cmsCreateProfilePlaceholder(nullptr));
        cmsSetDeviceClass(p.get(), cls);
        cmsSetColorSpace(p.get(), space);
        cmsSetPCS(p.get(), cmsSigLabData);
        cmsPipeline* a2b = cmsPipelineAlloc(nullptr, 4, 3);
        cmsPipelineInsertStage(a2b, cmsAT_END, cmsStageAllocCLut16bit(nullptr, 2, 4, 3, nullptr));
        cmsWriteTag(p.get(), cmsSigAToB0Tag, a2b);
        cmsPipelineFree(a2b);
        cmsPipeline* b2a = cmsPipelineAlloc(nullptr, 3, 4);
        cmsPipelineInsertStage(b2a, cmsAT_END, cmsStageAllocCLut16bit(nullptr, 2, 3, 4, nullptr));
        cmsWriteTag(p.get(), cmsSigBToA0Tag, b2a);
        cmsPipelineFree(b2a);
    }
    cmsSetProfileVersion(p.get(), 2.1);
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(mlu, "en", "US", description.c_str());
    cmsWriteTag(p.get(), cmsSigProfileDescriptionTag, mlu);
    cmsMLUfree(mlu);
    return SaveProfile(p.get());
}

/// The colour folder of the list tests: the defaults, an RGB display and an RGB printer
/// profile, a CMYK printer profile, the default CMYK name in other letters, two files
/// of one description and a broken file.
struct ProfileFolder {
    CatalogueFolders folders{1};
    ProfileFolder() {
        folders.AddDefaults();
        folders.Write(0, "Anzeige.icc", ClassProfile("Anzeige RGB", cmsSigDisplayClass, cmsSigRgbData));
        folders.Write(0, "Drucker.icm", ClassProfile("Drucker RGB", cmsSigOutputClass, cmsSigRgbData));
        folders.Write(0, "Offset.icc", ClassProfile("Offset CMYK", cmsSigOutputClass, cmsSigCmykData));
        folders.Write(0, "marlo_cmyk.ICC", ClassProfile("Marlo Zwilling", cmsSigOutputClass, cmsSigCmykData));
        folders.Write(0, "Zwei-A.icc", ClassProfile("Doppelt", cmsSigDisplayClass, cmsSigRgbData));
        folders.Write(0, "Zwei-B.icc", ClassProfile("Doppelt", cmsSigDisplayClass, cmsSigRgbData));
        folders.Write(0, "Kaputt.icc", std::vector<uint8_t>(300, 0x42));
    }
};

/// A selected image item appended to layout.
inline CImageObj& AddImage(CLayoutSetting& layout, int zelFile, bool embedded, bool selected = true) {
    auto owned = std::make_unique<CImageObj>(true);
    CImageObj* image = owned.get();
    image->SetOwner(&layout);
    image->SetZelFile(int16_t(zelFile));
    image->SetFileEmbedded(embedded ? 1 : 0);
    image->SetColorSpace(FourCC("RGB "));
    image->SetSelected(selected ? 1 : 0);
    AppendObject(layout.ItemListHead(), owned);
    return *image;
}

}  // namespace vx::test
