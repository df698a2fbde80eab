#pragma once

// Hot keys: a key combination registered for a window arrives there as
// WM_HOTKEY (wParam the id, lParam MAKELPARAM(modifiers, key)) instead of as
// a key press. They work while one of the program's windows has the
// keyboard; keys typed into other programs are not seen here.

#include "platform/Types.h"

#define WM_HOTKEY 0x0312

#define MOD_ALT 0x0001
#define MOD_CONTROL 0x0002
#define MOD_SHIFT 0x0004
#define MOD_NOREPEAT 0x4000

// FALSE when the window is not valid, the id is taken for the window, or
// another registration has the same combination.
BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk);
BOOL UnregisterHotKey(HWND hwnd, int id);
