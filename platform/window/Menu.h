#pragma once

// Menus: lists of command items, the window's system menu, and popup menus
// tracked at a screen point.
//
// A popup menu shows as a window of our own (class "#32768"), drawn in the
// system font. While it is open a modal loop pumps the thread's messages; the
// mouse picks an item by releasing a button over it (a press outside the menu
// closes it), the keyboard by the arrow keys and Enter or an item's &-letter,
// Escape closes it. Items are identified by command (MF_BYCOMMAND) or by
// position (MF_BYPOSITION). A popup item (MF_POPUP) holds a submenu for
// GetSubMenu; it is shown but does not open.

#include "platform/Types.h"

#define MF_INSERT 0x00000000L
#define MF_STRING 0x00000000L
#define MF_ENABLED 0x00000000L
#define MF_UNCHECKED 0x00000000L
#define MF_BYCOMMAND 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_CHECKED 0x00000008L
#define MF_POPUP 0x00000010L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

#define WM_CONTEXTMENU 0x007B
#define WM_INITMENU 0x0116
#define WM_INITMENUPOPUP 0x0117
#define WM_MENUSELECT 0x011F
#define WM_ENTERMENULOOP 0x0211
#define WM_EXITMENULOOP 0x0212

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its submenus.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// With MF_POPUP, idOrPopup is the submenu (which then belongs to this menu).
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
// Before the item at `position` (by command or by position); at the end when
// there is no such item.
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
// RemoveMenu leaves a submenu alive; DeleteMenu destroys it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
// The previous MF_ENABLED/MF_GRAYED/MF_DISABLED state, or (UINT)-1 when there
// is no such item.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
// The previous MF_CHECKED state, or (DWORD)-1.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
// -1 for a bad menu.
int GetMenuItemCount(HMENU menu);
// The command of the item at a position; (UINT)-1 for a submenu or no item.
UINT GetMenuItemID(HMENU menu, int position);
// The item's MF_ flags; (UINT)-1 when there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int bufferSize, UINT flags);
HMENU GetSubMenu(HMENU menu, int position);

// Sends WM_INITMENUPOPUP (menu, MAKELPARAM(0, is-the-system-menu)) to the
// owner, shows the menu at (x, y) kept on the screen, and runs until an item
// is chosen or the menu is closed. With TPM_RETURNCMD the chosen command is
// returned (0: none); without it the command goes to the owner as
// WM_COMMAND (WM_SYSCOMMAND for its system menu) and the result is TRUE.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* ignored);

// The window's system menu (restore, move, size, minimise, maximise, close),
// made on first use and owned by the window. revert TRUE puts back the
// standard one and returns null.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);

// MFC's menu object over a menu handle.
class CMenu {
public:
    CMenu() = default;
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    // A temporary wrapper, kept for the menu's life; null for a bad handle.
    static CMenu* FromHandle(HMENU menu);
    BOOL Attach(HMENU menu);
    HMENU Detach();

    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL DestroyMenu();
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) {
        return ::AppendMenu(m_hMenu, flags, id, text);
    }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) {
        return ::InsertMenu(m_hMenu, position, flags, id, text);
    }
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
    UINT EnableMenuItem(UINT item, UINT enable) { return ::EnableMenuItem(m_hMenu, item, enable); }
    UINT CheckMenuItem(UINT item, UINT check) {
        return UINT(::CheckMenuItem(m_hMenu, item, check));
    }
    UINT GetMenuItemCount() const { return UINT(::GetMenuItemCount(m_hMenu)); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    CMenu* GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, class CWnd* owner, LPCRECT rect = nullptr);
};
