#pragma once

// Invalidating and validating by region, and RedrawWindow.

#include "platform/Types.h"

#define RDW_INVALIDATE 0x0001
#define RDW_INTERNALPAINT 0x0002
#define RDW_ERASE 0x0004
#define RDW_VALIDATE 0x0008
#define RDW_NOINTERNALPAINT 0x0010
#define RDW_NOERASE 0x0020
#define RDW_NOCHILDREN 0x0040
#define RDW_ALLCHILDREN 0x0080
#define RDW_UPDATENOW 0x0100
#define RDW_ERASENOW 0x0200
#define RDW_FRAME 0x0400
#define RDW_NOFRAME 0x0800

// Null region: the whole window.
BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL ValidateRgn(HWND hwnd, HRGN region);
// Sets region to the invalid area; returns its complexity (NULLREGION when none).
int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase);
// The area is the rectangle, else the region, else the whole window (client
// coordinates). RDW_ALLCHILDREN takes the children's parts of it along;
// RDW_UPDATENOW and RDW_ERASENOW paint at once. The internal-paint and frame
// flags change nothing here (there is no non-client area).
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
