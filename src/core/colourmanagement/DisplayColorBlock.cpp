#include "colourmanagement/DisplayColorBlock.h"

#include <mutex>

#include "colourmanagement/DeviceProfiles.h"

namespace vx {
namespace {

std::mutex gMutex;
std::function<std::string()> gMonitorName;
std::function<std::optional<std::filesystem::path>(const std::string&)> gPrinterProfile;

}  // namespace

void SetMonitorNameProvider(std::function<std::string()> provider) {
    std::lock_guard lock(gMutex);
    gMonitorName = std::move(provider);
}

void SetPrinterProfileProvider(
    std::function<std::optional<std::filesystem::path>(const std::string& printer)> provider) {
    std::lock_guard lock(gMutex);
    gPrinterProfile = std::move(provider);
}

bool FillDisplayColorBlock(DisplayColorBlock& block) {
    std::function<std::string()> monitorName;
    std::function<std::optional<std::filesystem::path>(const std::string&)> printerProfile;
    {
        std::lock_guard lock(gMutex);
        monitorName = gMonitorName;
        printerProfile = gPrinterProfile;
    }
    block.monitorName = monitorName ? monitorName() : std::string();
    block.monitorProfile = GetMonitorProfileName();
    block.printerName.clear();
    block.printerProfile.clear();
    block.printerProfileCopy.clear();
    if (std::optional<std::string> printer = GetDefaultPrinterName()) {
        block.printerName = *printer;
        if (printerProfile)
            if (std::optional<std::filesystem::path> profile = printerProfile(*printer))
                block.printerProfile = profile->filename().string();
        block.printerProfileCopy = block.printerProfile;
    }
    return true;
}

std::unique_ptr<DisplayColorBlock> CreateDisplayColorBlock() {
    auto block = std::make_unique<DisplayColorBlock>();
    if (!FillDisplayColorBlock(*block)) return nullptr;
    return block;
}

}  // namespace vx
