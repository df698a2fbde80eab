#pragma once

// Which pixels of a window show. Windows draw on their top-level window's
// surface; a window's drawing is kept inside its rectangle and window region,
// inside every ancestor's, off the visible siblings above it at every level,
// and off its own visible children (children are always clipped, so a parent's
// drawing never covers them).

#include "platform/gdi/Region.h"
#include "platform/window/WindowRecord.h"

namespace platform {

// The top-level window under a window (itself for a top-level one), and the
// window's offset on that window's surface.
WindowRecord* TopLevelOf(WindowRecord* record, POINT* offset);

// A window's rectangle cut to its window region, in its parent's coordinates
// (the screen's for a top-level window).
Region WindowShape(const WindowRecord* record);

// The visible part of a window in its window coordinates ((0, 0) at the top
// left of its frame).
Region VisibleRegion(WindowRecord* record);

// The visible part of a window's client area in client coordinates.
Region VisibleClientRegion(WindowRecord* record);

// The region of a window region handle (empty for a bad handle).
Region RegionOfHandle(HRGN region);

} // namespace platform
