#pragma once

// Icons and cursors as objects: a colour picture with an AND mask (or, for a
// monochrome cursor, an AND and an XOR plane), a hot spot and whether it is
// an icon or a cursor. An icon handle is also a cursor handle (SetCursor
// takes either); the window layer's cursor shows the picture.
//
// Drawing follows the Windows rules: where the mask bit is 0 the colour
// replaces the screen, where it is 1 the colour is XORed onto the screen
// (black leaves the screen, other colours invert it); a 32-bit picture with
// alpha is blended instead.

#include "platform/Types.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/Cursor.h"

struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;  // 1 bit; for a monochrome cursor AND plane over XOR plane
    HBITMAP hbmColor; // null for a monochrome cursor
};
typedef ICONINFO* PICONINFO;

#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_DEFAULTSIZE 0x0008

#define LR_MONOCHROME 0x0001
#define LR_DEFAULTSIZE 0x0040
#define LR_SHARED 0x8000

// The bitmaps are new copies the caller deletes.
BOOL GetIconInfo(HICON icon, PICONINFO info);
// From a mask bitmap (required) and a colour bitmap of any depth; the
// bitmaps stay the caller's.
HICON CreateIconIndirect(PICONINFO info);
// From the bytes of an RT_ICON or RT_CURSOR resource (a cursor's starts with
// its hot spot, two WORDs) or a whole animated cursor ("RIFF" "ACON"):
// BITMAPINFOHEADER images of 1, 4, 8, 16, 24 or 32 bits with their AND mask,
// or PNG. version must be 0x30000 (0x20000 is taken as well). cx, cy 0 keep
// the image's size (LR_DEFAULTSIZE: the system size); other sizes scale.
// Broken bytes give null with ERROR_INVALID_DATA.
HICON CreateIconFromResource(PBYTE bits, DWORD size, BOOL icon, DWORD version);
HICON CreateIconFromResourceEx(PBYTE bits, DWORD size, BOOL icon, DWORD version, int cx, int cy,
                               UINT flags);
// Which RT_ICON (or RT_CURSOR) id of an icon group suits cx x cy best; 0
// when the group bytes are broken.
int LookupIconIdFromDirectoryEx(PBYTE group, BOOL icon, int cx, int cy, UINT flags);
int LookupIconIdFromDirectory(PBYTE group, BOOL icon);
// A new icon with the same pictures; the caller destroys it.
HICON CopyIcon(HICON icon);
#define CopyCursor(c) reinterpret_cast<HCURSOR>(CopyIcon(reinterpret_cast<HICON>(c)))
// Shared icons (LoadIcon, LR_SHARED) stay; FALSE for a handle that is no icon.
BOOL DestroyIcon(HICON icon);
// At the icon's own size, DI_NORMAL.
BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);
// Stretched to cx x cy (0: the icon's own size; DI_DEFAULTSIZE: the system
// size). DI_MASK alone copies the mask, DI_IMAGE alone copies the colour,
// both draw the icon. step and flicker are ignored.
BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flicker,
                UINT flags);

namespace platform {

// An animated cursor: how many frames it holds, the display time of each
// step in 1/60 s and the frame each step shows. The cursor handle itself
// looks like the first frame, which is what the display shows (SDL has no
// animated cursors).
struct AnimatedCursorInfo {
    int frameCount = 0;
    std::vector<DWORD> rates;  // per step
    std::vector<int> sequence; // frame of each step
};
bool GetAnimatedCursorInfo(HCURSOR cursor, AnimatedCursorInfo& info);
// The frame an animated cursor shows elapsedMs after it was set (the
// sequence repeats); -1 for a cursor that is not animated.
int AnimatedCursorFrameAt(HCURSOR cursor, DWORD elapsedMs);
// A frame's picture as straight-alpha 0xAARRGGBB pixels; false when out of
// range.
bool GetAnimatedCursorFrame(HCURSOR cursor, int frame, CursorShape& shape);

} // namespace platform
