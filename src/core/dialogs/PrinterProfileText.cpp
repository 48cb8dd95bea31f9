#include "dialogs/PrinterProfileText.h"

#include <optional>

#include "colourmanagement/ProfileCatalogue.h"
#include "model/CLayoutSetting.h"
#include "platform/system/StringTable.h"
#include "printing/CPrinterManager.h"
#include "printing/PrinterEntries.h"
#include "printing/PrinterQueries.h"

namespace vx {

std::string GetRecommendedProfileName(const CLayoutSetting& layout, const std::vector<OptionEntry>& mediaProfiles) {
    if (layout.GetColorMatchPrinter() == 1) return std::string(kDefaultRgbProfileFile);
    for (const OptionEntry& e : mediaProfiles)
        if (e.value == layout.GetMediaType()) {
            if (!e.name.empty()) return e.name;
            break;
        }
    return std::string(kDefaultRgbProfileFile);
}

namespace {
const std::vector<OptionEntry>& ManagerMediaProfiles() {
    static const std::vector<OptionEntry> none;
    CPrinterManager* manager = CPrinterManager::GetInstance();
    return manager ? manager->List(CPrinterManager::OptionList::MediaProfile) : none;
}
}  // namespace

std::string GetRecommendedProfileName(const CLayoutSetting& layout) {
    return GetRecommendedProfileName(layout, ManagerMediaProfiles());
}

std::string PrinterProfileText(const CLayoutSetting& layout, const std::vector<OptionEntry>& mediaProfiles) {
    if (layout.GetColorMatchPrinter() != 0) return LoadString(IDS_RECOMMENDED_PROFILE);
    const std::string& stored = layout.Texts().printerProfile;
    if (layout.GetRecommend() != 0) {
        const std::optional<std::string> file = FindProfileFileByDescription(stored);
        if (file && *file == GetRecommendedProfileName(layout, mediaProfiles))
            return LoadString(IDS_RECOMMENDED_PROFILE);
    }
    return stored;
}

std::string PrinterProfileText(const CLayoutSetting& layout) {
    return PrinterProfileText(layout, ManagerMediaProfiles());
}

int PrinterModelIcon(std::string_view model) {
    switch (GetPrinterModelClass(model)) {
    case 2: return 347;
    case 3: return 345;
    default: return 346;
    }
}

}  // namespace vx
