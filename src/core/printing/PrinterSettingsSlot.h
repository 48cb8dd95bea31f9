#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "model/CLayoutSetting.h"

namespace vx {

/// A settings slot: a full copy of the bound layout (items included), the driver's
/// settings record and the printer name, taken together so that a change can be rolled
/// back. The slot remembers which layout it copied, so that it is never restored into
/// another document.
struct PrinterSettingsSlot {
    bool taken = false;                      // saved, and nothing failed
    std::unique_ptr<CLayoutSetting> layout;  // null: no layout was bound
    const CLayoutSetting* takenFrom = nullptr;
    uint32_t takenFromId = 0;
    std::string settings;  // empty: no printer was open
    std::string printerName;
};

}  // namespace vx
