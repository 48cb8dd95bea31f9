#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/system/MessageArgs.h"

namespace vx {

class CLayoutSetting;

/// States of the quick-print pane.
inline constexpr int kQuickPrintBlank = 9;
inline constexpr int kQuickPrintOn = 10;
inline constexpr int kQuickPrintRunning = 11;
inline constexpr int kQuickPrintDone = 12;

/// What one status update changes in the status bar.
struct StatusUpdate {
    /// The message pane's new text; nullopt leaves the pane as it was.
    std::optional<std::string> message;
    /// The quick-print pane's state after the update; nullopt leaves it.
    std::optional<int> quickPrintState;
    /// Code 1: the zoom and page bar re-reads the pages of the view.
    bool refreshPages = false;
};

/// The status-bar texts by code (1 to 14) for layout, the active layout (null: nothing
/// changes). Values A and B come from args when given, else from
/// the layout's view state; codes 2 and 3 format them in the layout's unit and name
/// that unit, code 2 scaled by the zoom (nothing at a zoom numerator of 0).
StatusUpdate FormatStatusUpdate(int code, const Args& args, const CLayoutSetting* layout, bool quickPrintOn);

/// The text of the quick-print pane for a state (9 to 12).
std::string QuickPrintPaneText(int state, bool quickPrintOn);

/// The code of the last status update.
int16_t& LastStatusCode();

}  // namespace vx
