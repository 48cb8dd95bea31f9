#include "dialogs/OutputColorController.h"

#include <utility>

#include "colourmanagement/ProfileCatalogue.h"
#include "model/CLayoutSetting.h"
#include "model/LayoutOperations.h"
#include "platform/colour/ColourProfile.h"
#include "platform/system/StringTable.h"
#include "platform/system/Utf8.h"
#include "printing/CPrinterManager.h"
#include "printing/PrinterEntries.h"
#include "printing/SettingsTransaction.h"
#include "printing/TemplateMarksPort.h"

namespace vx {
namespace {

bool SameFile(const std::string& a, const std::string& b) { return a.size() == b.size() && EqualsNoCaseAscii(a, b); }

std::string DescriptionOf(const std::string& file) {
    std::string text;
    if (!file.empty() && ReadProfileDescription(file, text) && !text.empty()) return text;
    return file;
}

// An output-colour change marks no template row.
struct NoMarks final : TemplateMarksPort {
    void StoreMarks() override {}
    void LoadMarks() override {}
    void MarkChangedSettings(const CLayoutSetting&, const SettingsChangeRecord&) override {}
};

// The values the dialog writes.
struct OutputValues {
    int16_t display = 0;
    std::string monitor;
    int16_t control = 0;
    int recommend = 0;
    std::string printer;

    static OutputValues Of(const CLayoutSetting& l) {
        return {l.GetColorProfDisplay(), l.Texts().monitorProfile, l.GetColorMatchPrinter(),
                static_cast<int>(l.GetRecommend()), l.Texts().printerProfile};
    }
    void WriteInto(CLayoutSetting& l) const {
        l.SetColorProfDisplay(display);
        l.Texts().monitorProfile = monitor;
        l.SetColorMatchPrinter(control);
        l.SetRecommend(recommend);
        l.Texts().printerProfile = printer;
    }
    bool operator==(const OutputValues&) const = default;
};

}  // namespace

OutputColorController::OutputColorController(CLayoutSetting& layout, CPrinterManager* manager,
                                             std::vector<OptionEntry> mediaProfiles)
    : mLayout(layout), mManager(manager), mMediaProfiles(std::move(mediaProfiles)) {
    mControl = layout.GetColorMatchPrinter();
    if (mControl != kControlByDriver && mControl != kControlPhotoType) mControl = kControlByApplication;
    Recommend();

    const std::string monitorDefault = GetDefaultProfileName(kClassMonitor).value_or(std::string(kDefaultRgbProfileFile));
    const std::string printerDefault = GetDefaultProfileName(kClassPrinter).value_or(std::string(kDefaultRgbProfileFile));
    mMonitor.Add(DescriptionOf(monitorDefault), monitorDefault);
    mPrinter.Add(LoadString(IDS_RECOMMENDED_PROFILE), mRecommended);
    mPrinter.Add(DescriptionOf(printerDefault), printerDefault);
    for (const ProfileListing& p : ListProfiles()) {
        if (p.deviceClass == kClassMonitor && !SameFile(p.fileName, monitorDefault))
            mMonitor.Add(p.description, p.fileName);
        if ((p.deviceClass == kClassPrinter || p.deviceClass == kClassMonitor) && p.colourSpace == kSpaceRgb &&
            !SameFile(p.fileName, printerDefault))
            mPrinter.Add(p.description, p.fileName);
    }

    mMonitorIndex = FindProfileComboItem(kClassMonitor, mMonitor, layout.Texts().monitorProfile);
    mRememberedIndex =
        layout.GetRecommend() ? 0 : FindProfileComboItem(kClassPrinter, mPrinter, layout.Texts().printerProfile);
    mPrinterIndex = mControl == kControlByApplication ? mRememberedIndex : 0;
    mPathText = mPrinterIndex == 0 ? PrinterDescription(0) : std::string();
}

void OutputColorController::Recommend() {
    mRecommended = std::string(kDefaultRgbProfileFile);
    if (mControl == kControlByDriver) return;
    const int16_t media = static_cast<int16_t>(mLayout.GetMediaType());
    for (const OptionEntry& e : mMediaProfiles)
        if (static_cast<int16_t>(e.value) == media) {
            if (!e.name.empty()) mRecommended = e.name;
            return;
        }
}

std::string OutputColorController::PrinterDescription(int index) const {
    if (index != 0) return GetComboProfileDescription(mPrinter, index);
    // The recommended file, or the printer-class default's when it does not open.
    return GetProfileDescriptionOrDefault(kClassPrinter, mRecommended).value_or(std::string());
}

void OutputColorController::ChooseMonitor(int index) {
    if (index >= 0 && size_t(index) < mMonitor.Size()) mMonitorIndex = index;
}

void OutputColorController::ChoosePrinter(int index) {
    if (!PrinterListEnabled() || index < 0 || size_t(index) >= mPrinter.Size()) return;
    mPrinterIndex = index;
    mPathText = index == 0 ? PrinterDescription(0) : std::string();
}

void OutputColorController::ChooseControl(int control) {
    if (control != kControlByDriver && control != kControlPhotoType) control = kControlByApplication;
    if (control == kControlByApplication) {
        if (!PrinterListEnabled()) mPrinterIndex = mRememberedIndex;
    } else {
        // Only the list the user could choose from is worth remembering.
        if (PrinterListEnabled()) mRememberedIndex = mPrinterIndex;
        mPrinterIndex = 0;
    }
    mControl = control;
    Recommend();
    // Entry 0 holds the recommended file of the moment.
    ProfileListModel list(true);
    list.Reserve(mPrinter.Size());
    for (size_t i = 0; i < mPrinter.Size(); ++i)
        list.Add(mPrinter.At(i).description, i == 0 ? mRecommended : mPrinter.At(i).fileName);
    mPrinter = std::move(list);
    mPathText = mPrinterIndex == 0 ? PrinterDescription(0) : std::string();
}

bool OutputColorController::Commit() {
    const OutputValues before = OutputValues::Of(mLayout);
    OutputValues after = before;
    const int16_t display = static_cast<int16_t>(mMonitorIndex + 1);
    const std::string monitor = mMonitor.At(size_t(mMonitorIndex)).description;
    if (display != before.display || monitor != before.monitor) {
        after.display = display;
        after.monitor = monitor;
    }
    after.control = static_cast<int16_t>(mControl);
    after.recommend = mPrinterIndex == 0 ? 1 : 0;
    const std::string printer = PrinterDescription(mPrinterIndex);
    if (printer != before.printer) after.printer = printer;

    if (after != before) {
        if (mManager && mManager->GetLayout() == &mLayout) {
            SettingsChange change;
            change.write = [&after](CLayoutSetting& l) { after.WriteInto(l); };
            NoMarks marks;
            SettingsChangeRecord record;
            if (!SettingsTransaction(*mManager, marks).Run(change, record)) {
                // The slot does not keep these local values.
                before.WriteInto(mLayout);
                return false;
            }
        } else {
            // No printer holds this layout; a layout made from it is reconciled when bound.
            after.WriteInto(mLayout);
        }
    }
    if (mLayout.GetSelected() == 1) UpdateImageInfoWindow(mLayout.GetCurrentItem());
    mLayout.SetDirty(1);
    return true;
}

}  // namespace vx
