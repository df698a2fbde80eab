#pragma once

// What a display driver asks of the window tree, by handle: the tree's order,
// where windows are, their shapes and which pixels of them show. Windows draw
// on their top-level window's surface; a window's drawing is kept inside its
// rectangle and window region, inside every ancestor's, off the visible
// siblings above it at every level, and off its own visible children (children
// are always clipped, so a parent's drawing never covers them).
//
// User-interface thread. Bad handles give empty answers.

#include "platform/gdi/Region.h"

#include <string>
#include <vector>

namespace platform {

// The top-level windows, and a window's children, front first.
std::vector<HWND> TopLevelWindowList();
std::vector<HWND> ChildWindowList(HWND hwnd);
// The parent of a child window; null for a top-level window (whose owner
// GetParent gives).
HWND ParentWindowOf(HWND hwnd);
// The top-level window under a window (itself for a top-level one), and the
// window's offset on that window's surface.
HWND TopLevelWindowOf(HWND hwnd, POINT* offset);
// The window's rectangle in its parent's client coordinates (the screen's for
// a top-level window); false for a bad handle.
bool WindowRectInParent(HWND hwnd, RECT* rect);
// The window's own WS_VISIBLE (not its ancestors').
bool HasVisibleStyle(HWND hwnd);
// The window's text as stored, without sending WM_GETTEXT.
std::string StoredWindowText(HWND hwnd);

// The region set with SetWindowRgn, still owned by the window.
HRGN GetWindowRegion(HWND hwnd);
// A window's rectangle cut to its window region, in its parent's coordinates
// (the screen's for a top-level window).
Region WindowShape(HWND hwnd);
// The visible part of a window in its window coordinates ((0, 0) at the top
// left of its frame).
// clipChildren false leaves the window's own children in (a drag tracker
// drawn over them).
Region VisibleRegion(HWND hwnd, bool clipChildren = true);

// The visible part of a window's client area in client coordinates.
Region VisibleClientRegion(HWND hwnd, bool clipChildren = true);
// The client area in window coordinates (the frame around it is the
// non-client area); false for a bad handle.
bool ClientAreaInWindow(HWND hwnd, RECT* rect);

// The region of a window region handle (empty for a bad handle).
Region RegionOfHandle(HRGN region);

} // namespace platform
