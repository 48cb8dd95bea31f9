#pragma once
#include <cstdint>
#include <string>

namespace vx {

class CLayoutSetting;

/// Services of the layout view that core code calls without holding a view. The window
/// side implements them (HostService<ViewServices>); without one nothing happens.
class ViewServices {
public:
    virtual ~ViewServices() = default;

    /// Rebuilds the layout's header and footer texts (date and page text); page 0
    /// rebuilds them for every page.
    virtual void FormatHeaderFooterText(int page, CLayoutSetting& layout) = 0;
    /// Whether the font face is installed. When it is not, face becomes the default face
    /// and, while warn is set, the user is told and may clear warn; returns false then.
    virtual bool EnsureFontAvailable(std::string& face, bool& warn) = 0;
};

}  // namespace vx
