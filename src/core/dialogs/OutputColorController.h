#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/ProfileLists.h"

namespace vx {

class CLayoutSetting;
class CPrinterManager;
struct OptionEntry;

/// Colour control of the output colour dialog: the values `mColorMatchPrinter` takes.
enum ColourControl : int { kControlByApplication = 0, kControlByDriver = 1, kControlPhotoType = 2 };

/// The output colour dialog ("Management Ausgabefarben"): the monitor profile, who
/// manages the printed colours, and the printer profile of a layout.
class OutputColorController {
public:
    /// manager: the printer manager when it holds layout, so that a change is reconciled
    /// with the printer; null for a layout no printer is bound to (the default layout).
    /// mediaProfiles: the media-profile list of the layout's printer.
    OutputColorController(CLayoutSetting& layout, CPrinterManager* manager,
                          std::vector<OptionEntry> mediaProfiles);

    const ProfileListModel& MonitorList() const { return mMonitor; }
    /// Entry 0 is the recommended profile ("Von TEVRA empfohlen").
    const ProfileListModel& PrinterList() const { return mPrinter; }
    int MonitorIndex() const { return mMonitorIndex; }
    int PrinterIndex() const { return mPrinterIndex; }
    int Control() const { return mControl; }
    bool PrinterListEnabled() const { return mControl == kControlByApplication; }
    /// The recommended profile's description while entry 0 is chosen, else empty.
    const std::string& PathText() const { return mPathText; }
    const std::string& RecommendedFile() const { return mRecommended; }

    void ChooseMonitor(int index);
    void ChoosePrinter(int index);
    /// Driver and photo type set the printer list on entry 0 and disable it;
    /// application enables it again on the entry chosen before.
    void ChooseControl(int control);

    /// OK: writes the values that differ and marks the layout dirty. A change of a bound
    /// layout is reconciled with the printer; when the printer refuses it, the old
    /// values are back and the answer is false (the dialog ends as Cancel).
    bool Commit();

private:
    void Recommend();
    std::string PrinterDescription(int index) const;

    CLayoutSetting& mLayout;
    CPrinterManager* mManager;
    std::vector<OptionEntry> mMediaProfiles;
    ProfileListModel mMonitor;
    ProfileListModel mPrinter{true};
    std::string mRecommended;
    std::string mPathText;
    int mMonitorIndex = 0;
    int mPrinterIndex = 0;
    int mRememberedIndex = 0;
    int mControl = kControlByApplication;
};

}  // namespace vx
