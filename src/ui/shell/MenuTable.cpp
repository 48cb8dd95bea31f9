#include "ui/shell/MenuTable.h"

#include <cstring>
#include <vector>

#include <wx/menu.h>

#include "ui/shell/CommandIds.h"

namespace vx {
namespace {

constexpr MenuEntry kEntries[] = {
#define VX_MENU(menu, depth, command, text) {menu, depth, command, text},
#include "resources/MenuTable.inc"
#undef VX_MENU
};

wxString Wx(const char* text) { return wxString::FromUTF8(text); }

/// Fills menu from the entries of one menu starting at index i with depth; returns the
/// index after the last entry taken.
size_t Fill(wxMenu* menu, int menuId, size_t i, int depth) {
    const size_t n = std::size(kEntries);
    while (i < n && kEntries[i].menu == menuId && kEntries[i].depth >= depth) {
        const MenuEntry& e = kEntries[i];
        if (e.depth > depth) {  // deeper entries without a submenu entry: skip them
            ++i;
            continue;
        }
        if (e.command == kSeparator) {
            menu->AppendSeparator();
            ++i;
        } else if (e.command == 0) {
            auto* sub = new wxMenu;
            i = Fill(sub, menuId, i + 1, depth + 1);
            menu->AppendSubMenu(sub, Wx(e.text));
        } else {
            menu->Append(ToWxId(e.command), Wx(e.text), wxString(),
                         IsCheckCommand(e.command) ? wxITEM_CHECK : wxITEM_NORMAL);
            ++i;
        }
    }
    return i;
}

size_t FirstOf(int menuId) {
    for (size_t i = 0; i < std::size(kEntries); ++i)
        if (kEntries[i].menu == menuId) return i;
    return std::size(kEntries);
}

}  // namespace

std::span<const MenuEntry> MenuEntries() { return kEntries; }

bool IsCheckCommand(int command) {
    switch (command) {
        case 32900:  // automatic layout
        case 32901:  // free layout
        case 33304:  // snap to the grid
        case 33909:  // leave the grid
        case 32923:  // white background
        case 32924:  // black background
        case 32925:  // other background
        case 33212:  // rotate the image with its frame
        case 33908:  // rotate the image inside its frame
            return true;
        default: return false;
    }
}

wxMenuBar* BuildMenuBar() {
    auto* bar = new wxMenuBar;
    size_t i = FirstOf(kMainMenu);
    const size_t n = std::size(kEntries);
    while (i < n && kEntries[i].menu == kMainMenu) {
        const MenuEntry& top = kEntries[i];
        auto* menu = new wxMenu;
        i = Fill(menu, kMainMenu, i + 1, 1);
        bar->Append(menu, Wx(top.text));
    }
    return bar;
}

wxMenu* BuildMenu(int menuId) {
    const size_t first = FirstOf(menuId);
    if (first == std::size(kEntries)) return nullptr;
    auto* menu = new wxMenu;
    Fill(menu, menuId, first, 0);
    return menu;
}

std::string CommandLabel(int command) {
    for (const MenuEntry& e : kEntries) {
        if (e.menu != kMainMenu || e.command != command) continue;
        std::string text = e.text;
        if (const size_t tab = text.find('\t'); tab != std::string::npos) text.erase(tab);
        if (const size_t mnemonic = text.find("(&"); mnemonic != std::string::npos) text.erase(mnemonic, 4);
        while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
        return text;
    }
    return {};
}

wxMenu* FindSubMenu(wxMenuBar* bar, const char* text) {
    if (!bar) return nullptr;
    const wxString wanted = Wx(text);
    std::vector<wxMenu*> menus;
    for (size_t m = 0; m < bar->GetMenuCount(); ++m) menus.push_back(bar->GetMenu(m));
    while (!menus.empty()) {
        wxMenu* menu = menus.back();
        menus.pop_back();
        for (wxMenuItem* item : menu->GetMenuItems()) {
            if (!item->IsSubMenu()) continue;
            if (item->GetItemLabel() == wanted) return item->GetSubMenu();
            menus.push_back(item->GetSubMenu());
        }
    }
    return nullptr;
}

}  // namespace vx
