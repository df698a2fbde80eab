#include "platform/gdi/Shapes.h"

#include <cmath>
#include <cstdlib>

namespace platform {
namespace {

int RoundHalfUp(double v) {
    return int(std::floor(v + 0.5));
}

// The first pixel whose centre lies at or right of x (kept within int range).
int PixelEdge(double x) {
    constexpr double kFar = double(1 << 30);
    return int(std::clamp(std::ceil(x - 0.5), -kFar, kFar));
}

// Half the width of an ellipse of radii (a, b) at distance dy from its centre.
double HalfWidth(double a, double b, double dy) {
    if (b <= 0 || std::abs(dy) >= b)
        return 0;
    double t = dy / b;
    return a * std::sqrt(1.0 - t * t);
}

} // namespace

Region EllipseRegion(const RECT& r) {
    // Corner ellipses as large as the rectangle (the size is capped to it).
    return RoundRectRegion(r, INT32_MAX, INT32_MAX);
}

Region RoundRectRegion(const RECT& r, int ellipseWidth, int ellipseHeight) {
    int64_t width = int64_t(r.right) - r.left, height = int64_t(r.bottom) - r.top;
    if (width <= 0 || height <= 0 || width > kMaxShapeExtent || height > kMaxShapeExtent)
        return Region();
    double a = std::clamp<int64_t>(std::abs(int64_t(ellipseWidth)), 0, width) / 2.0;
    double b = std::clamp<int64_t>(std::abs(int64_t(ellipseHeight)), 0, height) / 2.0;
    if (a <= 0 || b <= 0)
        return Region(r);
    std::vector<std::vector<Span>> rows(static_cast<size_t>(height));
    for (int y = r.top; y < r.bottom; ++y) {
        double centre = y + 0.5;
        double dy = 0;
        if (centre < r.top + b)
            dy = r.top + b - centre;
        else if (centre > r.bottom - b)
            dy = centre - (r.bottom - b);
        double inset = a - HalfWidth(a, b, dy);
        int left = RoundHalfUp(r.left + inset), right = RoundHalfUp(r.right - inset);
        if (left < right)
            rows[size_t(y - r.top)].push_back(Span{left, right});
    }
    return Region::FromRows(r.top, rows);
}

Region PolygonRegion(const POINT* points, int count, bool winding) {
    if (count < 3)
        return Region();
    int top = points[0].y, bottom = points[0].y;
    for (int i = 1; i < count; ++i) {
        top = std::min<int>(top, points[i].y);
        bottom = std::max<int>(bottom, points[i].y);
    }
    if (int64_t(bottom) - top > kMaxShapeExtent)
        return Region();
    std::vector<std::vector<Span>> rows(size_t(bottom - top));
    struct Crossing {
        double x;
        int direction;
    };
    std::vector<Crossing> crossings;
    for (int y = top; y < bottom; ++y) {
        double cy = y + 0.5;
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            POINT p = points[i], q = points[(i + 1) % count];
            if ((p.y <= cy) == (q.y <= cy))
                continue;
            double x = p.x + (cy - p.y) * (double(q.x) - p.x) / (double(q.y) - p.y);
            crossings.push_back(Crossing{x, q.y > p.y ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        int inside = 0;
        for (size_t k = 0; k + 1 < crossings.size(); ++k) {
            inside += winding ? crossings[k].direction : 1;
            bool filled = winding ? inside != 0 : (inside & 1) != 0;
            if (!filled)
                continue;
            int left = PixelEdge(crossings[k].x), right = PixelEdge(crossings[k + 1].x);
            if (left < right)
                rows[size_t(y - top)].push_back(Span{left, right});
        }
    }
    return Region::FromRows(top, rows);
}

Region LineRegion(POINT a, POINT b, int width) {
    if (std::abs(int64_t(b.x) - a.x) > kMaxShapeExtent ||
        std::abs(int64_t(b.y) - a.y) > kMaxShapeExtent ||
        (std::max(std::abs(int64_t(b.x) - a.x), std::abs(int64_t(b.y) - a.y)) + 1) * width >
            kMaxShapeExtent * 64)
        return Region();
    std::vector<RECT> rects;
    int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int error = dx + dy;
    int x = a.x, y = a.y;
    Region disc;
    if (width > 1) {
        int half = width / 2;
        disc = EllipseRegion(RECT{-half, -half, width - half, width - half});
    }
    while (x != b.x || y != b.y) {
        if (width > 1) {
            for (const RECT& d : disc.Rects())
                rects.push_back(RECT{d.left + x, d.top + y, d.right + x, d.bottom + y});
        } else {
            rects.push_back(RECT{x, y, x + 1, y + 1});
        }
        int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y += sy;
        }
    }
    return Region::FromRects(rects.data(), rects.size());
}

} // namespace platform
