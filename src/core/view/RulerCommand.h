#pragma once
#include "view/LayoutViewCommands.h"

namespace vx {

inline constexpr int kCmdViewRulers = 33311;

/// Ctrl+R: switches the rulers, repaints the print-settings pane while a layout is
/// open, and gives the layout view its new page offset and scroll sizes.
void ToggleRulers();
/// Always enabled; "Lineal anzeigen\tCtrl+R" while hidden, "Lineal ausblenden\tCtrl+R"
/// while shown.
CommandState RulerCommandState();

}  // namespace vx
