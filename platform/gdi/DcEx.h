#pragma once

// GetDCEx: the client area's DC that may draw over the window's children, as
// a drag tracker does. Released with ReleaseDC.

#include "platform/gdi/Gdi.h"

#define DCX_WINDOW 0x00000001
#define DCX_CACHE 0x00000002
#define DCX_CLIPCHILDREN 0x00000008
#define DCX_INTERSECTRGN 0x00000080
#define DCX_LOCKWINDOWUPDATE 0x00000400

// Without DCX_CLIPCHILDREN the children are drawn over; DCX_WINDOW gives the
// whole window's DC. A clip region is taken only with DCX_INTERSECTRGN: the
// client area's DC (children clipped) then draws inside the region (client
// coordinates) alone, and only that part is shown again when it is released.
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
