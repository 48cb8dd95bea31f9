#include "platform/colour/ProgramProfiles.h"

#include <string>

#include "platform/colour/ColourLog.h"

namespace vx {

std::span<const uint8_t> ProgramProfileBytes(int resourceId) {
    for (const ProgramProfileResource* r = kProgramProfileResources; r->id != 0; ++r)
        if (r->id == resourceId) return {r->data, r->size};
    return {};
}

ColourProfile OpenProgramProfile(int resourceId) {
    std::span<const uint8_t> bytes = ProgramProfileBytes(resourceId);
    if (bytes.empty()) {
        LogColourError("the program carries no profile " + std::to_string(resourceId));
        return {};
    }
    return ColourProfile::OpenMemory(bytes);
}

}  // namespace vx
