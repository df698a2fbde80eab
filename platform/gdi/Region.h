#pragma once

// A set of pixels kept as y-bands of x-spans: rectangles sorted by top, then
// left; the rectangles of one band share top and bottom, spans in a band do not
// touch, and two touching bands never hold the same spans. That form is unique,
// so equal sets compare equal rectangle for rectangle.

#include "platform/Types.h"

#include <vector>

namespace platform {

struct Span {
    int left;
    int right;
    bool operator==(const Span&) const = default;
};

class Region {
public:
    Region() = default;
    explicit Region(const RECT& rect);
    // The union of any rectangles (empty ones are ignored).
    static Region FromRects(const RECT* rects, size_t count);
    // Rows of spans from top down: row i covers y = top + i.
    static Region FromRows(int top, const std::vector<std::vector<Span>>& rows);
    // RGN_AND, RGN_OR, RGN_XOR or RGN_DIFF.
    static Region Combine(const Region& a, const Region& b, int mode);

    bool IsEmpty() const { return m_rects.empty(); }
    const std::vector<RECT>& Rects() const { return m_rects; }
    RECT Bounds() const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Complexity() const;
    // Coordinates saturate at kCoordinateLimit (far outside any bitmap);
    // CanOffset says whether a move stays exact.
    static constexpr int64_t kCoordinateLimit = int64_t(1) << 30;
    bool CanOffset(int dx, int dy) const;
    void Offset(int dx, int dy);
    bool Contains(int x, int y) const;
    bool Intersects(const RECT& rect) const;
    Region Intersected(const RECT& rect) const;
    bool operator==(const Region& other) const;

private:
    std::vector<RECT> m_rects;
    friend class BandWriter;
};

} // namespace platform
