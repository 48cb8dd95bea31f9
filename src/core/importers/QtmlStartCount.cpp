#include "importers/QtmlStartCount.h"

#include <mutex>

#include "platform/system/FourCC.h"

namespace vx {
namespace {

std::mutex gMutex;
int32_t gStarts = 0;
bool gStartFails = false;

}  // namespace

int16_t QtmlInitialize(int32_t) {
    std::lock_guard lock(gMutex);
    if (gStarts < 1 && gStartFails) return kQtmlLibraryNotFound;
    gStarts = gStarts < 1 ? 1 : gStarts + 1;
    return 0;
}

void QtmlTerminate() {
    std::lock_guard lock(gMutex);
    gStarts = gStarts > 0 ? gStarts - 1 : 0;
}

int16_t QtGestalt(uint32_t selector, int32_t& value) {
    if (!ImportersStarted()) return kQtmlNotLoaded;
    if (selector != FourCC("qtim")) return kQtGestaltUndefined;
    value = kImportersVersion;
    return 0;
}

bool ImportersStarted() {
    std::lock_guard lock(gMutex);
    return gStarts > 0;
}

void SetQtmlStartFailsForTesting(bool fails) {
    std::lock_guard lock(gMutex);
    gStartFails = fails;
}

}  // namespace vx
