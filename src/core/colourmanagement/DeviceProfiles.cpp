#include "colourmanagement/DeviceProfiles.h"

#include <mutex>
#include <utility>

#include "colourmanagement/ProfileCatalogue.h"

namespace vx {
namespace {

std::mutex gMutex;
std::function<std::string()> gMonitorPreference;
std::function<std::string()> gDefaultPrinter;

std::string Ask(const std::function<std::string()>& source) {
    std::function<std::string()> copy;
    {
        std::lock_guard lock(gMutex);
        copy = source;
    }
    return copy ? copy() : std::string();
}

}  // namespace

void SetMonitorProfilePreference(std::function<std::string()> preference) {
    std::lock_guard lock(gMutex);
    gMonitorPreference = std::move(preference);
}

std::string GetMonitorProfileName() {
    std::string name = Ask(gMonitorPreference);
    return name.empty() ? std::string(kDefaultRgbProfileFile) : name;
}

void SetDefaultPrinterProvider(std::function<std::string()> provider) {
    std::lock_guard lock(gMutex);
    gDefaultPrinter = std::move(provider);
}

std::optional<std::string> GetDefaultPrinterName() {
    std::string name = Ask(gDefaultPrinter);
    if (name.empty()) return std::nullopt;
    return name;
}

}  // namespace vx
