#pragma once
#include <string>

namespace vx {

inline constexpr int kQuickPrintPaneBlank = 9;

/// "TEVRA Vellicor EX", the main window's title before " - " and the layout's title.
std::string ShellTitle();
/// "Bereit".
std::string ReadyText();
/// The quick-print pane's text for a state (9 to 12) with the preference as it stands.
std::string QuickPrintText(int state);

}  // namespace vx
