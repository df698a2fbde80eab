#pragma once

// The menu table's own records, for the menu files of the window manager.

#include "platform/window/Menu.h"

#include <string>
#include <vector>

namespace platform {

struct MenuItem {
    UINT flags = 0; // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_POPUP, MF_SEPARATOR
    UINT id = 0;
    HMENU submenu = nullptr;
    std::string text; // GBK; '&' marks the item's letter, '\t' starts its key
    bool Selectable() const {
        return !(flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_POPUP));
    }
};

struct MenuRecord {
    bool popup = false;
    std::vector<MenuItem> items;
};

// Null for a handle that is not (or no longer) a menu.
MenuRecord* FindMenuRecord(HMENU menu);
bool IsSystemMenuOf(HWND hwnd, HMENU menu);

} // namespace platform
