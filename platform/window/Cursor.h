#pragma once

// Cursors: the standard shapes, and bitmap cursors made from a monochrome
// AND/XOR pair or a colour picture. SetCursor changes the shape shown (a
// display driver shows it; headless keeps it); WM_SETCURSOR's default
// handling asks the parent first, then sets the class cursor (the arrow when
// the class has none).

#include "platform/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

#ifndef MAKEINTRESOURCE
#define MAKEINTRESOURCE(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#endif
#ifndef IS_INTRESOURCE
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#endif

#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_WAIT MAKEINTRESOURCE(32514)
#define IDC_CROSS MAKEINTRESOURCE(32515)
#define IDC_UPARROW MAKEINTRESOURCE(32516)
#define IDC_SIZENWSE MAKEINTRESOURCE(32642)
#define IDC_SIZENESW MAKEINTRESOURCE(32643)
#define IDC_SIZEWE MAKEINTRESOURCE(32644)
#define IDC_SIZENS MAKEINTRESOURCE(32645)
#define IDC_SIZEALL MAKEINTRESOURCE(32646)
#define IDC_NO MAKEINTRESOURCE(32648)
#define IDC_HAND MAKEINTRESOURCE(32649)
#define IDC_APPSTARTING MAKEINTRESOURCE(32650)

// A standard cursor (instance null, name one of the IDC_ values), or a
// module's cursor from its resources; null for anything else. Defined beside
// LoadIcon with the resources (resources/ResourceIcons.cpp), which a module's
// cursor needs.
HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name);
// A monochrome cursor: screen = (screen AND and) XOR xor, rows padded to 16 bits.
HCURSOR CreateCursor(HINSTANCE instance, int xHotSpot, int yHotSpot, int width, int height,
                     const void* andPlane, const void* xorPlane);
BOOL DestroyCursor(HCURSOR cursor);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// Returns the new display count; the cursor shows while it is 0 or more.
int ShowCursor(BOOL show);

namespace platform {

// The planes an icon or cursor was made from (see resources/Icon.h).
struct IconParts;

// What a cursor looks like.
struct CursorShape {
    int standardId = 0; // an IDC_ number, or 0 for a picture
    int width = 0, height = 0;
    POINT hotSpot{0, 0};
    std::vector<uint32_t> pixels;           // 0xAARRGGBB, straight alpha, rows top-down
    std::shared_ptr<const IconParts> parts; // set for icons and bitmap cursors
};
// A colour cursor from 0xAARRGGBB pixels (the icon layer makes its icons and
// cursors with this, keeping their planes in parts).
HCURSOR CreatePictureCursor(int width, int height, const uint32_t* pixels, POINT hotSpot,
                            std::shared_ptr<const IconParts> parts = nullptr);
const CursorShape* CursorShapeOf(HCURSOR cursor);
// One of the IDC_ shapes; null for any other name.
HCURSOR LoadStandardCursor(LPCSTR name);

// Tells the display driver the current shape (the driver is told of every
// change; a driver just installed learns it through this).
void ShowCurrentCursor();

// DefWindowProc's handling of WM_SETCURSOR.
LRESULT DefaultSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam);

} // namespace platform
