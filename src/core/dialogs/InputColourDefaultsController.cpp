#include "dialogs/InputColourDefaultsController.h"

#include "dialogs/PrinterProfileText.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutOperations.h"
#include "platform/colour/ColourProfile.h"

namespace vx {

InputColourDefaultsController::InputColourDefaultsController(CLayoutSetting& layout,
                                                             const std::vector<OptionEntry>* mediaProfiles)
    : mLayout(layout) {
    FillInputProfileLists(mLists);
    const LayoutTexts& t = layout.Texts();
    mValues.zel = layout.GetZel() != 0;
    mValues.sourceProfile = FindProfileComboItem(kSpaceRgb, mLists.source, t.rgbSourceProfile);
    mValues.sourceIntent = IntentEntryForCode(layout.GetColorIntentRGB());
    mValues.embed = layout.GetColorEmbedRGB() != 0;
    mValues.simulation =
        LoadSimulation(mLists, layout.GetColorProof(), t.simulationProfile, layout.GetColorIntentSimulation());
    mMonitorText = t.monitorProfile;
    mPrinterText = mediaProfiles ? vx::PrinterProfileText(layout, *mediaProfiles) : vx::PrinterProfileText(layout);
    mPrinterIcon = PrinterModelIcon(t.printerModel);
}

void InputColourDefaultsController::Apply() {
    LayoutTexts& t = mLayout.Texts();
    mLayout.SetZel(mValues.zel ? 1 : 0);
    t.rgbSourceProfile = GetComboProfileDescription(mLists.source, mValues.sourceProfile);
    mLayout.SetColorIntentRGB(int16_t(mValues.sourceIntent + 1));
    mLayout.SetColorEmbedRGB(mValues.embed ? 1 : 0);
    const SimulationResult sim = StoreSimulation(mLists, mValues.simulation);
    mLayout.SetColorProof(int16_t(sim.colorProof));
    if (sim.writeProfile) {
        t.simulationProfile = sim.profile;
        mLayout.SetColorIntentSimulation(int16_t(sim.intentCode));
    }
    if (mLayout.GetSelected() == 1) UpdateImageInfoWindow(mLayout.GetCurrentItem());
    mLayout.SetDirty(1);
}

}  // namespace vx
