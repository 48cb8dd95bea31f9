#pragma once
#include <functional>
#include <string>

namespace vx {

class CImageObj;

/// Descriptions of profiles that the profile catalogue knows. The catalogue builds on
/// the model and binds them at start-up (InstallColourManagement); unbound, they give
/// empty texts.
struct ProfileDescriptions {
    std::function<std::string()> zelWorkingSpace;                  // the program's Zel profile
    std::function<std::string(const CImageObj&)> embeddedProfile;  // the item's file's profile
};

/// Binds the descriptions (empty members unbind).
void SetProfileDescriptions(ProfileDescriptions descriptions);

/// The description of the program's Zel working-space profile; empty when unbound.
std::string ZelWorkingSpaceDescription();
/// The description of the profile embedded in the item's file; empty when unbound.
std::string EmbeddedProfileDescription(const CImageObj& item);

}  // namespace vx
