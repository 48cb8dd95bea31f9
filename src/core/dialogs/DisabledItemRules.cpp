#include "dialogs/DisabledItemRules.h"

#include <algorithm>

namespace vx::dialogs {

bool IsItemEnabled(const std::vector<uintptr_t>& itemData, long index) {
    if (index < 0 || static_cast<size_t>(index) >= itemData.size()) return true;
    return (itemData[static_cast<size_t>(index)] & 1u) != 0;
}

int PopupRows(size_t entries) { return static_cast<int>(std::min<size_t>(entries + 1, 15)); }

std::optional<long> RestoreAfterConfirm(const std::vector<uintptr_t>& itemData, long chosen, long previous) {
    if (IsItemEnabled(itemData, chosen)) return std::nullopt;
    return previous;
}

}  // namespace vx::dialogs
