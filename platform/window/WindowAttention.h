#pragma once

// A top-level window as the desktop shows it: its icon (WM_SETICON) and its
// requests for the user's attention (FlashWindow). The display driver shows
// both (DisplayDriver.h).

#include "platform/Types.h"

#define WM_GETICON 0x007F
#define WM_SETICON 0x0080
// wParam of WM_SETICON and WM_GETICON. The window keeps both handles and
// does not own them; WM_SETICON returns the one it replaced.
#define ICON_SMALL 0
#define ICON_BIG 1

// Draws the user's attention to the window's top-level window (its taskbar
// entry flashes until it is activated; invert FALSE stops it). TRUE when that
// window was the active one.
BOOL FlashWindow(HWND hwnd, BOOL invert);
