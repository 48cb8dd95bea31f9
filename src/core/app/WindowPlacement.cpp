#include "app/WindowPlacement.h"

#include "app/SettingsStore.h"

namespace vx {

std::optional<WindowPlacement> ParseWindowPlacement(std::string_view) { return std::nullopt; }
std::string FormatWindowPlacement(const WindowPlacement&) { return {}; }
std::optional<ScreenRect> ReadStartupRect(const SettingsStore&, const std::vector<ScreenRect>&) { return std::nullopt; }
int32_t ReadShowState(const SettingsStore&) { return kShowNormal; }
void WriteWindowPlacement(SettingsStore&, WindowPlacement) {}
void WriteWindowRect(SettingsStore&, const ScreenRect&, int32_t) {}
ScreenRect MoveOntoDisplays(const ScreenRect& rect, const std::vector<ScreenRect>&) { return rect; }

}  // namespace vx
