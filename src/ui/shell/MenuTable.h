#pragma once
#include <span>
#include <string>

class wxMenu;
class wxMenuBar;

namespace vx {

/// One entry of the menu table (resources/MenuTable.inc).
struct MenuEntry {
    int menu;     // 128 the main menu, 201 to 206 the context menus
    int depth;    // 0 the menu's own items
    int command;  // 0 a submenu of the deeper entries that follow, -1 a separator
    const char* text;
};

inline constexpr int kMainMenu = 128;
inline constexpr int kSeparator = -1;

std::span<const MenuEntry> MenuEntries();

/// Whether the command's menu item carries a tick (layout mode, grid snapping,
/// background colour).
bool IsCheckCommand(int command);
/// The main menu as a menu bar, with the accelerators of its texts.
wxMenuBar* BuildMenuBar();
/// A context menu (201 to 206) as one popup menu; null for an unknown id.
wxMenu* BuildMenu(int menuId);
/// A command's main-menu text without mnemonic, dots and accelerator (tooltips); empty
/// for a command the main menu does not hold.
std::string CommandLabel(int command);
/// The submenu of the main menu with this text as the table has it, or null.
wxMenu* FindSubMenu(wxMenuBar* bar, const char* text);

}  // namespace vx
