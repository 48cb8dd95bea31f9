#pragma once
#include <string>

namespace vx {

class CLayoutSetting;

/// The picture and profile services of imaging and colour that the reconciliation
/// calls. The application binds the real ones.
class ImagingServices {
public:
    virtual ~ImagingServices() = default;
    /// Loads the picture of the layout's stamp image at its `mSize` into its `mWorld`.
    virtual void ReloadStampPicture(CLayoutSetting& layout) = 0;
    /// Whether a profile description names a profile file of the colour directories.
    virtual bool ProfileFileExists(const std::string& description) = 0;
    /// True when the profile opens and carries no tag 'mdea'; false otherwise.
    virtual bool IsPlainProfile(const std::string& description) = 0;
};

}  // namespace vx
