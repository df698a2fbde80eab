#pragma once

// A path being recorded on a DC (BeginPath .. EndPath): while it is open,
// shapes, lines and text add their outlines to it and draw nothing.

#include "platform/gdi/DeviceContext.h"

#include <vector>

namespace platform {

struct PathRecording {
    Region area;                             // closed shapes and text, device units
    std::vector<std::vector<POINT>> figures; // line figures, device units
    bool ended = false;
};

// The path a DC is recording into, or null when none is open.
PathRecording* OpenPath(DeviceContext& dc);
// Adds a filled area given in logical units.
void AddAreaToPath(DeviceContext& dc, Region area);
// Starts a new figure at a logical point, or continues the current one to it.
void MovePathTo(DeviceContext& dc, POINT to);
void AddLineToPath(DeviceContext& dc, POINT to);

} // namespace platform
