#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vx::dialogs {

/// Grey of disabled entries, as RGB.
inline constexpr uint8_t kDisabledItemGrey = 128;

/// Whether the entry at index is enabled: bit 0 of its item data. An index outside the
/// list (-1 included) counts as enabled.
bool IsItemEnabled(const std::vector<uintptr_t>& itemData, long index);

/// Rows of the opened list: one more than the entries, at most 15.
int PopupRows(size_t entries);

/// After a choice was confirmed: the index to put back when the chosen entry is
/// disabled (the previous choice), else nothing; the owner is then told once.
std::optional<long> RestoreAfterConfirm(const std::vector<uintptr_t>& itemData, long chosen, long previous);

}  // namespace vx::dialogs
