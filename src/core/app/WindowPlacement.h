#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class SettingsStore;

/// A rectangle on the desktop in logical pixels; right and bottom are exclusive.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

/// The main window's placement as "Settings"/"WindowPos" keeps it: flags, show command,
/// minimised and maximised positions and the normal rectangle.
struct WindowPlacement {
    uint32_t flags = 0;
    uint32_t showCommand = 1;
    int32_t minX = 0, minY = 0;
    int32_t maxX = 0, maxY = 0;
    ScreenRect normal;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

/// Show commands of the stored placement and of "Window"/"show".
enum ShowCommand : int32_t { kShowHide = 0, kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3 };

/// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d"; null unless all ten numbers are there.
std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text);
std::string FormatWindowPlacement(const WindowPlacement& placement);

/// Where the main window opens: the stored placement (shown hidden, the application
/// shows it afterwards), then a non-empty "Window" rectangle over it; a rectangle that
/// lies on none of the displays (displays[0] is the primary one) is moved onto the
/// primary display. Null when neither is stored.
std::optional<ScreenRect> ReadStartupRect(const SettingsStore& store, const std::vector<ScreenRect>& displays);
/// "Window"/"show", default kShowNormal; a hidden or unknown state shows normally.
int32_t ReadShowState(const SettingsStore& store);

/// On close: the placement with flags 0 into "Settings"/"WindowPos".
void WriteWindowPlacement(SettingsStore& store, WindowPlacement placement);
/// On destroy: the normal rectangle into "Window"/"left".."bottom" and the show command.
void WriteWindowRect(SettingsStore& store, const ScreenRect& normal, int32_t showCommand);

/// rect itself when it overlaps a display; else moved (and shrunk when larger) so that
/// it lies on the primary display. Without displays, rect itself.
ScreenRect MoveOntoDisplays(const ScreenRect& rect, const std::vector<ScreenRect>& displays);

}  // namespace vx
