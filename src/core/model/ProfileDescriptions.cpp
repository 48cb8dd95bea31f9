#include "model/ProfileDescriptions.h"

#include <utility>

namespace vx {
namespace {

ProfileDescriptions& Bound() {
    static ProfileDescriptions descriptions;
    return descriptions;
}

}  // namespace

void SetProfileDescriptions(ProfileDescriptions descriptions) {
    Bound() = std::move(descriptions);
}

std::string ZelWorkingSpaceDescription() {
    return Bound().zelWorkingSpace ? Bound().zelWorkingSpace() : std::string();
}

std::string EmbeddedProfileDescription(const CImageObj& item) {
    return Bound().embeddedProfile ? Bound().embeddedProfile(item) : std::string();
}

}  // namespace vx
