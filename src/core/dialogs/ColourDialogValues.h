#pragma once
#include <cstdint>
#include <string>

#include "dialogs/ProfileLists.h"

namespace vx {

/// The print simulation radios: "Aus", "RGB", "CMYK", and the stored `mColorProof`
/// codes they stand for (0, 2, 1).
enum class Simulation { Off, Rgb, Cmyk };
Simulation SimulationFromProof(int colorProof);
int ProofFromSimulation(Simulation s);

/// The simulation group of a colour dialog: the radio and both lists with their intents.
struct SimulationChoice {
    Simulation mode = Simulation::Off;
    int rgbProfile = 0;
    int rgbIntent = 0;
    int cmykProfile = 0;
    int cmykIntent = 0;
};

/// The simulation group loaded from a stored mode, profile description and intent code.
SimulationChoice LoadSimulation(const InputProfileLists& lists, int colorProof, const std::string& profile,
                                int intentCode);

/// What OK stores for the simulation group: the code, and the profile and intent unless
/// "Aus" is chosen or the chosen list is empty (both kept then).
struct SimulationResult {
    int colorProof = 0;
    bool writeProfile = false;
    std::string profile;
    int intentCode = 0;
};
SimulationResult StoreSimulation(const InputProfileLists& lists, const SimulationChoice& choice);

}  // namespace vx
