#include "dialogs/ColourDialogValues.h"

#include "platform/colour/ColourProfile.h"

namespace vx {

Simulation SimulationFromProof(int colorProof) {
    return colorProof == 2 ? Simulation::Rgb : colorProof == 1 ? Simulation::Cmyk : Simulation::Off;
}

int ProofFromSimulation(Simulation s) { return s == Simulation::Rgb ? 2 : s == Simulation::Cmyk ? 1 : 0; }

SimulationChoice LoadSimulation(const InputProfileLists& lists, int colorProof, const std::string& profile,
                                int intentCode) {
    SimulationChoice c;
    c.mode = SimulationFromProof(colorProof);
    if (c.mode == Simulation::Rgb) {
        c.rgbProfile = FindProfileComboItem(kSpaceRgb, lists.rgbSimulation, profile);
        c.rgbIntent = IntentEntryForCode(intentCode);
    } else if (c.mode == Simulation::Cmyk) {
        c.cmykProfile = FindProfileComboItem(kSpaceCmyk, lists.cmykSimulation, profile);
        c.cmykIntent = IntentEntryForCode(intentCode);
    }
    return c;
}

SimulationResult StoreSimulation(const InputProfileLists& lists, const SimulationChoice& choice) {
    SimulationResult r;
    r.colorProof = ProofFromSimulation(choice.mode);
    if (choice.mode == Simulation::Off) return r;
    const bool rgb = choice.mode == Simulation::Rgb;
    const ProfileListModel& list = rgb ? lists.rgbSimulation : lists.cmykSimulation;
    const int entry = rgb ? choice.rgbProfile : choice.cmykProfile;
    // An empty list offers no profile to resolve: the stored one stays.
    if (list.Empty() || entry < 0 || size_t(entry) >= list.Size()) return r;
    r.writeProfile = true;
    r.profile = GetComboProfileDescription(list, entry);
    r.intentCode = (rgb ? choice.rgbIntent : choice.cmykIntent) + 1;
    return r;
}

}  // namespace vx
