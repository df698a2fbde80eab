#pragma once

// The pixel sets of shapes, shared by the drawing calls and the region makers:
// a shape drawn and the region of the same shape cover the same pixels.

#include "platform/Geometry.h"
#include "platform/gdi/Region.h"

namespace platform {

inline RECT NormalizedRect(int left, int top, int right, int bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
}

// Shapes and lines longer than this many pixels either way are refused (left
// empty): no drawing of the system comes near it, and the pixel rows of a
// shape are worked out one by one.
constexpr int64_t kMaxShapeExtent = 1 << 16;

// The ellipse inscribed in rect (right and bottom excluded).
Region EllipseRegion(const RECT& rect);
// rect with its corners rounded by quarter ellipses of the given size.
Region RoundRectRegion(const RECT& rect, int ellipseWidth, int ellipseHeight);
// Pixels whose centres lie inside; even-odd unless winding.
Region PolygonRegion(const POINT* points, int count, bool winding);
// A line from a to b, not including b; wider pens stamp a disc on every point.
Region LineRegion(POINT a, POINT b, int width);

} // namespace platform
