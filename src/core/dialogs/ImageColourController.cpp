#include "dialogs/ImageColourController.h"

#include "colourmanagement/ImageProfiles.h"
#include "colourmanagement/ProfileCatalogue.h"
#include "dialogs/PrinterProfileText.h"
#include "host/ApplicationState.h"
#include "host/HostService.h"
#include "model/CImageObj.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutOperations.h"
#include "model/UndoStore.h"
#include "platform/colour/ColourProfile.h"

namespace vx {
namespace {

constexpr int kIntentEntryProfile = 4;  // "Von Profil unterstützt"
constexpr uint16_t kUndoImageColour = 29;

CImageObj* SelectedImage(CLayoutObj* item) {
    return item && item->GetKind() == kKindImage && item->GetSelected() ? static_cast<CImageObj*>(item) : nullptr;
}

template <class F>
void ForEachSelectedImage(const CLayoutSetting& layout, F f) {
    for (CLayoutObj* item = layout.GetFirstItem(); item; item = item->NextItem())
        if (CImageObj* image = SelectedImage(item)) f(*image);
}

}  // namespace

const CImageObj* ImageColourController::FindGreySelectedImage(const CLayoutSetting& layout) {
    const CImageObj* grey = nullptr;
    ForEachSelectedImage(layout, [&](CImageObj& image) {
        if (!grey && image.GetColorSpace() == kSpaceGray) grey = &image;
    });
    return grey;
}

ImageColourController::ImageColourController(CLayoutSetting& layout, const std::vector<OptionEntry>* mediaProfiles)
    : mLayout(layout) {
    FillInputProfileLists(mLists);
    const LayoutTexts& t = layout.Texts();
    mMonitorText = t.monitorProfile;
    mPrinterText = mediaProfiles ? vx::PrinterProfileText(layout, *mediaProfiles) : vx::PrinterProfileText(layout);
    mPrinterIcon = PrinterModelIcon(t.printerModel);

    // The current item may be a text or a line: then the first selected image speaks.
    mCurrent = SelectedImage(layout.GetCurrentItem());
    if (!mCurrent) ForEachSelectedImage(layout, [&](CImageObj& image) { if (!mCurrent) mCurrent = &image; });
    if (!mCurrent) return;

    const CImageObj& image = *mCurrent;
    const int use = image.GetUseZelFile();
    if (use == 6 || use == 4) mValues.source = Source::Zel;
    else if (use == 2) mValues.source = Source::Exif;
    else if (image.GetProfileUseEmbed() != 0) mValues.source = Source::Embedded;
    else mValues.source = Source::Rgb;
    SetEmbeddedText();

    if (use < 2 && image.GetProfileUseEmbed() != 1) {
        mValues.sourceProfile = FindProfileComboItem(kSpaceRgb, mLists.source, image.GetSourceProfile());
        mValues.sourceIntent = IntentEntryForCode(image.GetProfileIntent());
    } else {
        mValues.sourceProfile = FindProfileComboItem(kSpaceRgb, mLists.source, t.rgbSourceProfile);
        mValues.sourceIntent = kIntentEntryProfile;
    }
    mValues.simulation = LoadSimulation(mLists, image.GetColorProof(), image.GetSimulationProfile(),
                                        image.GetColorIntentSimulation());
}

void ImageColourController::SetEmbeddedText() {
    mEmbeddedText.clear();
    if (mValues.source == Source::Embedded && mCurrent) mEmbeddedText = " : " + GetImageProfileDescription(*mCurrent);
}

ImageColourController::ControlState ImageColourController::State() const {
    ControlState s;
    bool exifMissing = false;
    ForEachSelectedImage(mLayout, [&](CImageObj& image) {
        switch (image.GetZelFile()) {
        case 4: s.exifEnabled = false; exifMissing = true; break;
        case 2: s.zelEnabled = false; break;
        case 0: s.zelEnabled = false; s.exifEnabled = false; exifMissing = true; break;
        default: break;
        }
        if (image.GetFileEmbedded() == 0) s.embeddedEnabled = false;
    });
    const Source src = mValues.source;
    s.zelPicture = src == Source::Zel;
    s.exifPicture = (src == Source::Zel && !exifMissing) || src == Source::Exif;
    s.sourceListEnabled = src == Source::Rgb;
    s.rgbSimulationEnabled = mValues.simulation.mode == Simulation::Rgb;
    s.cmykSimulationEnabled = mValues.simulation.mode == Simulation::Cmyk;
    const bool chosenEnabled = src == Source::Zel        ? s.zelEnabled
                               : src == Source::Exif     ? s.exifEnabled
                               : src == Source::Embedded ? s.embeddedEnabled
                                                         : true;
    s.okEnabled = chosenEnabled && mCurrent != nullptr;
    return s;
}

void ImageColourController::ChooseSource(Source source) {
    mValues.source = source;
    mValues.sourceIntent = source == Source::Rgb ? 0 : kIntentEntryProfile;
    SetEmbeddedText();
}

void ImageColourController::LoadLayoutDefaults() {
    if (!mCurrent) return;
    const CImageObj& image = *mCurrent;
    const bool zel = mLayout.GetZel() != 0;
    const int file = image.GetZelFile();
    if (zel && (file == 6 || file == 4)) mValues.source = Source::Zel;
    else if (zel && file == 2) mValues.source = Source::Exif;
    else if (mLayout.GetColorEmbedRGB() != 0 && image.GetFileEmbedded() != 0) mValues.source = Source::Embedded;
    else mValues.source = Source::Rgb;
    mValues.sourceProfile = FindProfileComboItem(kSpaceRgb, mLists.source, mLayout.Texts().rgbSourceProfile);
    mValues.sourceIntent =
        mValues.source == Source::Rgb ? IntentEntryForCode(mLayout.GetColorIntentRGB()) : kIntentEntryProfile;
    SetEmbeddedText();
    mValues.simulation = LoadSimulation(mLists, mLayout.GetColorProof(), mLayout.Texts().simulationProfile,
                                        mLayout.GetColorIntentSimulation());
}

bool ImageColourController::Apply() {
    if (!State().okEnabled) return false;
    if (ApplicationState* app = HostService<ApplicationState>()) app->GetUndoStore().PushUndo(mLayout, kUndoImageColour);

    std::string working;
    if (mValues.source == Source::Zel || mValues.source == Source::Exif) working = GetEmbeddedProfileDescription();
    const std::string chosen = mValues.source == Source::Rgb
                                   ? GetComboProfileDescription(mLists.source, mValues.sourceProfile)
                                   : std::string();
    const SimulationResult sim = StoreSimulation(mLists, mValues.simulation);

    ForEachSelectedImage(mLayout, [&](CImageObj& image) {
        switch (mValues.source) {
        case Source::Zel:
            image.SetUseZelFile(image.GetZelFile() == 6 ? 6 : 4);
            image.SetProfileUseEmbed(0);
            image.SetSourceProfile(working);
            break;
        case Source::Exif:
            image.SetUseZelFile(2);
            image.SetProfileUseEmbed(0);
            image.SetSourceProfile(working);
            break;
        case Source::Embedded:
            image.SetUseZelFile(0);
            image.SetProfileUseEmbed(1);
            image.SetSourceProfile(GetImageProfileDescription(image));
            break;
        case Source::Rgb:
            image.SetUseZelFile(0);
            image.SetProfileUseEmbed(0);
            image.SetSourceProfile(chosen);
            image.SetProfileIntent(int16_t(mValues.sourceIntent + 1));
            break;
        }
        image.SetColorProof(int16_t(sim.colorProof));
        if (sim.writeProfile) {
            image.SetSimulationProfile(sim.profile);
            image.SetColorIntentSimulation(int16_t(sim.intentCode));
        }
    });
    UpdateImageInfoWindow(mLayout.GetCurrentItem());
    mLayout.SetDirty(1);
    return true;
}

}  // namespace vx
