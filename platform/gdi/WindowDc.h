#pragma once

// What the display driver uses to give windows device contexts. A window's
// pixels live in a bitmap the driver owns (one per top-level window, or the
// screen); a window DC draws on it at the window's offset, clipped to the part
// of the window that is visible. GetDC(hwnd), GetWindowDC(hwnd) and
// ReleaseDC(hwnd, dc) go to the display driver (DisplayDriver.h).

#include "platform/gdi/Gdi.h"

namespace platform {

class Surface;

// A DC over target with its (0, 0) at origin; visible (device units, copied,
// null = all of it) limits drawing before any clip region the program selects.
HDC CreateSurfaceDC(HBITMAP target, POINT origin, HRGN visible);
// Points an existing surface DC elsewhere (a moved or resized window); the
// program's clip region and colours stay.
BOOL SetSurfaceDCTarget(HDC hdc, HBITMAP target, POINT origin, HRGN visible);
// The pixels of a bitmap (for saving a window as a picture, and for the text
// engine's glyph drawing); null for a bad handle.
Surface* SurfaceOfBitmap(HBITMAP bitmap);

// The size GetDeviceCaps reports for the screen (HORZRES, VERTRES).
void SetScreenSize(int width, int height);
SIZE GetScreenSize();

} // namespace platform
