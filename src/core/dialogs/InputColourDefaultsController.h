#pragma once
#include <string>
#include <vector>

#include "dialogs/ColourDialogValues.h"
#include "dialogs/ProfileLists.h"

namespace vx {

class CLayoutSetting;
struct OptionEntry;

/// The input colour defaults dialog without its window: the layout's Zel use, default
/// source profile and intent, embedded-profile use and print simulation, loaded from
/// the layout and written back by Apply.
class InputColourDefaultsController {
public:
    struct Values {
        bool zel = false;
        int sourceProfile = 0;
        int sourceIntent = 0;
        bool embed = false;
        SimulationChoice simulation;
    };

    /// Fills the lists and loads the values from layout; mediaProfiles replaces the
    /// printer manager's media-profile list when given.
    explicit InputColourDefaultsController(CLayoutSetting& layout,
                                           const std::vector<OptionEntry>* mediaProfiles = nullptr);

    const InputProfileLists& Lists() const { return mLists; }
    Values& GetValues() { return mValues; }
    const Values& GetValues() const { return mValues; }

    bool RgbSimulationEnabled() const { return mValues.simulation.mode == Simulation::Rgb; }
    bool CmykSimulationEnabled() const { return mValues.simulation.mode == Simulation::Cmyk; }

    const std::string& MonitorProfileText() const { return mMonitorText; }
    const std::string& PrinterProfileText() const { return mPrinterText; }
    int PrinterIcon() const { return mPrinterIcon; }

    /// OK: writes the values into the layout and marks it modified.
    void Apply();

private:
    CLayoutSetting& mLayout;
    InputProfileLists mLists;
    Values mValues;
    std::string mMonitorText;
    std::string mPrinterText;
    int mPrinterIcon = 346;
};

}  // namespace vx
