#pragma once

// Calls the engine finds by name at run time, as it would in the system
// libraries: AlphaBlend in "MSIMG32", _TrackMouseEvent in "COMCTL32" and
// SetLayeredWindowAttributes in "User32.DLL". Each is null while its module or
// export is missing; callers then do without (opaque drawing, no mouse-leave
// notice, opaque layered windows). A missing call is looked for again at the
// next use, a found one is kept.

#include "platform/gdi/Gdi.h"
#include "platform/window/Input.h"

using AlphaBlendProc = BOOL (*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using TrackMouseEventProc = BOOL (*)(TRACKMOUSEEVENT*);
using SetLayeredWindowAttributesProc = BOOL (*)(HWND, COLORREF, BYTE, DWORD);

AlphaBlendProc FindAlphaBlend();
TrackMouseEventProc FindTrackMouseEvent();
SetLayeredWindowAttributesProc FindSetLayeredWindowAttributes();

// Constant-alpha blend through the looked-up AlphaBlend; FALSE (nothing drawn)
// when it is missing.
BOOL BlendConstantAlpha(HDC dest, int x, int y, int cx, int cy, HDC src, int sx, int sy,
                        BYTE alpha);
