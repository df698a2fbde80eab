// Rectangles, lines and shapes drawn with the DC's pen and brush.

#include "platform/gdi/Shapes.h"

#include "platform/gdi/Path.h"
#include "platform/gdi/Raster.h"
#include <climits>

using namespace platform;

namespace {

// Fills a region given in logical units, through the DC's clip.
void FillRegion(DeviceContext& dc, Region region, DWORD rop, uint32_t pixel) {
    Surface& surface = dc.TargetOrDummy();
    uint32_t pattern = PatternPixel(surface, pixel);
    region.Offset(dc.SurfaceX(0), dc.SurfaceY(0));
    for (const RECT& r : region.Rects())
        ForEachClipRect(dc, r,
                        [&](const RECT& part) { FillSurfaceRect(surface, part, rop, pattern); });
}

void FillRectWith(DeviceContext& dc, const RECT& r, DWORD rop, uint32_t pixel) {
    Surface& surface = dc.TargetOrDummy();
    uint32_t pattern = PatternPixel(surface, pixel);
    RECT target = dc.SurfaceRect(r.left, r.top, r.right, r.bottom);
    ForEachClipRect(dc, target,
                    [&](const RECT& part) { FillSurfaceRect(surface, part, rop, pattern); });
}

PenObject* CurrentPen(const DeviceContext& dc) {
    auto* pen = static_cast<PenObject*>(dc.state.pen);
    return pen && !pen->IsNull() ? pen : nullptr;
}

uint32_t PenPixel(const PenObject& pen) {
    return PixelFromColor(pen.pen.lopnColor);
}

// A closed shape: the outer outline in the pen (drawn inside the bounds), the
// rest in the brush. Without a pen the shape is one pixel smaller each way, as
// the originals draw it.
template <class MakeShape> BOOL DrawClosedShape(HDC hdc, RECT bounds, MakeShape shape) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return FALSE;
    if (int64_t(bounds.right) - bounds.left > kMaxShapeExtent ||
        int64_t(bounds.bottom) - bounds.top > kMaxShapeExtent)
        return TRUE; // refused, as the shape's region would be
    if (OpenPath(*dc)) {
        AddAreaToPath(*dc, shape(bounds, 0));
        return TRUE;
    }
    PenObject* pen = CurrentPen(*dc);
    if (!pen) {
        bounds.right -= 1;
        bounds.bottom -= 1;
        if (dc->HasBrush())
            FillRegion(*dc, shape(bounds, 0), PATCOPY, dc->BrushPixel());
        return TRUE;
    }
    int w = pen->Width();
    Region outer = shape(bounds, 0);
    RECT inner{bounds.left + w, bounds.top + w, bounds.right - w, bounds.bottom - w};
    Region inside =
        inner.left < inner.right && inner.top < inner.bottom ? shape(inner, 2 * w) : Region();
    if (dc->HasBrush())
        FillRegion(*dc, inside, PATCOPY, dc->BrushPixel());
    FillRegion(*dc, Region::Combine(outer, inside, RGN_DIFF), PATCOPY, PenPixel(*pen));
    return TRUE;
}

// The pixels p of a region with all of [p - dx, p + dx] x [p - dy, p + dy] in it
// (one of dx, dy is 0), by intersecting shifted copies: each step doubles the
// run of pixels covered, so it takes O(log size) steps.
Region Shrink(const Region& region, int dx, int dy) {
    int64_t need = 2 * int64_t(std::max(dx, dy)), have = 0;
    Region covered = region;
    while (have < need && !covered.IsEmpty()) {
        int64_t step = std::min(have + 1, need - have);
        Region moved = covered;
        moved.Offset(dx ? -int(step) : 0, dy ? -int(step) : 0);
        covered = Region::Combine(covered, moved, RGN_AND);
        have += step;
    }
    covered.Offset(dx, dy);
    return covered;
}

HBRUSH BrushOrFail(HBRUSH brush, uint32_t& pixel) {
    BrushObject* b = LookupBrush(brush);
    if (!b)
        return nullptr;
    pixel = PixelFromColor(b->brush.lbColor);
    return b->IsNull() ? nullptr : brush;
}

} // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    DeviceContext* dc = LookupDC(hdc);
    BrushObject* b = LookupBrush(brush);
    if (!dc || !rect || !b)
        return FALSE;
    if (!b->IsNull())
        FillRectWith(*dc, *rect, PATCOPY, PixelFromColor(b->brush.lbColor));
    return TRUE;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    DeviceContext* dc = LookupDC(hdc);
    uint32_t pixel = 0;
    if (!dc || !rect || !LookupBrush(brush))
        return FALSE;
    if (!BrushOrFail(brush, pixel) || IsRectEmpty(rect))
        return TRUE;
    RECT r = *rect;
    Region frame = Region::Combine(
        Region(r), Region(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}), RGN_DIFF);
    FillRegion(*dc, frame, PATCOPY, pixel);
    return TRUE;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc || !rect)
        return FALSE;
    FillRectWith(*dc, *rect, PATINVERT, kWhitePixel);
    return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->state.position;
    MovePathTo(*dc, POINT{x, y});
    dc->state.position = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT position) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc || !position)
        return FALSE;
    *position = dc->state.position;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return FALSE;
    POINT from = dc->state.position;
    if (OpenPath(*dc)) {
        AddLineToPath(*dc, POINT{x, y});
        dc->state.position = POINT{x, y};
        return TRUE;
    }
    dc->state.position = POINT{x, y};
    if (PenObject* pen = CurrentPen(*dc))
        FillRegion(*dc, LineRegion(from, POINT{x, y}, pen->Width()), PATCOPY, PenPixel(*pen));
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    return DrawClosedShape(hdc, NormalizedRect(left, top, right, bottom),
                           [](const RECT& r, int) { return Region(r); });
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ellipseWidth,
               int ellipseHeight) {
    return DrawClosedShape(
        hdc, NormalizedRect(left, top, right, bottom), [=](const RECT& r, int shrink) {
            auto less = [shrink](int size) {
                return int(std::clamp<int64_t>(int64_t(size) - shrink, INT32_MIN, INT32_MAX));
            };
            return RoundRectRegion(r, less(ellipseWidth), less(ellipseHeight));
        });
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    return DrawClosedShape(hdc, NormalizedRect(left, top, right, bottom),
                           [](const RECT& r, int) { return EllipseRegion(r); });
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc || !points || count < 2)
        return FALSE;
    if (OpenPath(*dc)) {
        AddAreaToPath(*dc, PolygonRegion(points, count, dc->state.polyFillMode == WINDING));
        return TRUE;
    }
    if (dc->HasBrush())
        FillRegion(*dc, PolygonRegion(points, count, dc->state.polyFillMode == WINDING), PATCOPY,
                   dc->BrushPixel());
    if (PenObject* pen = CurrentPen(*dc)) {
        Region outline;
        for (int i = 0; i < count; ++i)
            outline = Region::Combine(
                outline, LineRegion(points[i], points[(i + 1) % count], pen->Width()), RGN_OR);
        FillRegion(*dc, outline, PATCOPY, PenPixel(*pen));
    }
    return TRUE;
}

BOOL FillRgn(HDC hdc, HRGN region, HBRUSH brush) {
    DeviceContext* dc = LookupDC(hdc);
    RegionObject* r = LookupRegion(region);
    uint32_t pixel = 0;
    if (!dc || !r || !LookupBrush(brush))
        return FALSE;
    if (BrushOrFail(brush, pixel))
        FillRegion(*dc, r->region, PATCOPY, pixel);
    return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN region) {
    DeviceContext* dc = LookupDC(hdc);
    return dc && FillRgn(hdc, region, static_cast<HBRUSH>(static_cast<HGDIOBJ>(dc->state.brush)));
}

BOOL FrameRgn(HDC hdc, HRGN region, HBRUSH brush, int width, int height) {
    DeviceContext* dc = LookupDC(hdc);
    RegionObject* r = LookupRegion(region);
    uint32_t pixel = 0;
    if (!dc || !r || !LookupBrush(brush) || width < 0 || height < 0)
        return FALSE;
    if (!BrushOrFail(brush, pixel))
        return TRUE;
    // The frame is what the region loses when shrunk by (width, height) each way.
    Region shrunk = Shrink(Shrink(r->region, width, 0), 0, height);
    FillRegion(*dc, Region::Combine(r->region, shrunk, RGN_DIFF), PATCOPY, pixel);
    return TRUE;
}

BOOL InvertRgn(HDC hdc, HRGN region) {
    DeviceContext* dc = LookupDC(hdc);
    RegionObject* r = LookupRegion(region);
    if (!dc || !r)
        return FALSE;
    FillRegion(*dc, r->region, PATINVERT, kWhitePixel);
    return TRUE;
}
