#pragma once
#include <functional>
#include <string>

namespace vx {

class ApplicationState;
class SettingsStore;
class BusyIndicator;
class CPrinterManager;
class Shell;
namespace gfx {
class TextMeasurer;
}
class ToolWindows;

/// What the window side hands to start-up for binding; null members stay unbound.
struct HostBindingPorts {
    ApplicationState* application = nullptr;
    Shell* shell = nullptr;
    ToolWindows* toolWindows = nullptr;
    gfx::TextMeasurer* textMeasurer = nullptr;
    BusyIndicator* busy = nullptr;
    /// The monitor profile chosen (empty: none); used when settings is null.
    std::function<std::string()> monitorProfile;
    /// The settings store whose "Settings"/"MonitorProfile" names the monitor's profile
    /// (empty: none chosen); it must outlive the bindings.
    SettingsStore* settings = nullptr;
};

/// Binds the services that lower layers call upward: the host services, colour
/// management with the monitor profile and the default printer, the importers and Zel
/// conversion, and (once the printers are listed) the printer manager's model, imaging
/// and busy services. The destructor takes the host services back out.
class StartupBindings {
public:
    explicit StartupBindings(HostBindingPorts ports);
    ~StartupBindings();
    StartupBindings(const StartupBindings&) = delete;
    StartupBindings& operator=(const StartupBindings&) = delete;

    /// The shell and the tool windows, once the main frame exists.
    void BindShell(Shell* shell, ToolWindows* toolWindows);

    /// Gives the printer manager the model's layout services, the imaging services on
    /// the profile catalogue and the busy indicator (which must outlive the manager).
    void BindPrinterManager(CPrinterManager& manager);

private:
    HostBindingPorts mPorts;
};

}  // namespace vx
