// Region handles: creation, algebra and queries.

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Shapes.h"

#include <cstring>

using namespace platform;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegionHandle(Region(NormalizedRect(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight) {
    return NewRegionHandle(
        RoundRectRegion(NormalizedRect(left, top, right, bottom), ellipseWidth, ellipseHeight));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return NewRegionHandle(EllipseRegion(NormalizedRect(left, top, right, bottom)));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
    return rect ? CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if (!points || count < 0)
        return nullptr;
    return NewRegionHandle(PolygonRegion(points, count, fillMode == WINDING));
}

HRGN ExtCreateRegion(const XFORM* transform, DWORD size, const RGNDATA* data) {
    if (transform || !data || size < sizeof(RGNDATAHEADER) ||
        data->rdh.dwSize < sizeof(RGNDATAHEADER) || data->rdh.iType != RDH_RECTANGLES)
        return nullptr;
    // The rectangles must lie inside the bytes the caller handed over.
    uint64_t needed = uint64_t(data->rdh.dwSize) + uint64_t(data->rdh.nCount) * sizeof(RECT);
    if (needed > size)
        return nullptr;
    std::vector<RECT> rects(data->rdh.nCount);
    if (!rects.empty())
        std::memcpy(rects.data(), reinterpret_cast<const char*>(data) + data->rdh.dwSize,
                    rects.size() * sizeof(RECT));
    return NewRegionHandle(Region::FromRects(rects.data(), rects.size()));
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    RegionObject* d = LookupRegion(dest);
    RegionObject* a = LookupRegion(src1);
    if (!d || !a || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    if (mode == RGN_COPY) {
        d->region = a->region;
    } else {
        RegionObject* b = LookupRegion(src2);
        if (!b)
            return ERROR;
        d->region = Region::Combine(a->region, b->region, mode);
    }
    return d->region.Complexity();
}

int OffsetRgn(HRGN region, int dx, int dy) {
    RegionObject* r = LookupRegion(region);
    if (!r || !r->region.CanOffset(dx, dy))
        return ERROR;
    r->region.Offset(dx, dy);
    return r->region.Complexity();
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    RegionObject* r = LookupRegion(region);
    if (!r)
        return FALSE;
    r->region = Region(NormalizedRect(left, top, right, bottom));
    return TRUE;
}

BOOL PtInRegion(HRGN region, int x, int y) {
    RegionObject* r = LookupRegion(region);
    return r && r->region.Contains(x, y);
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
    RegionObject* r = LookupRegion(region);
    if (!r || !rect)
        return FALSE;
    return r->region.Intersects(NormalizedRect(rect->left, rect->top, rect->right, rect->bottom));
}

int GetRgnBox(HRGN region, LPRECT rect) {
    RegionObject* r = LookupRegion(region);
    if (!r || !rect)
        return ERROR;
    *rect = r->region.Bounds();
    return r->region.Complexity();
}

BOOL EqualRgn(HRGN a, HRGN b) {
    RegionObject* ra = LookupRegion(a);
    RegionObject* rb = LookupRegion(b);
    return ra && rb && ra->region == rb->region;
}

DWORD GetRegionData(HRGN region, DWORD size, LPRGNDATA data) {
    RegionObject* r = LookupRegion(region);
    if (!r)
        return 0;
    const std::vector<RECT>& rects = r->region.Rects();
    DWORD needed = DWORD(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    if (!data || size < needed)
        return needed;
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(rects.size());
    data->rdh.nRgnSize = DWORD(rects.size() * sizeof(RECT));
    data->rdh.rcBound = r->region.Bounds();
    if (!rects.empty())
        std::memcpy(reinterpret_cast<char*>(data) + sizeof(RGNDATAHEADER), rects.data(),
                    rects.size() * sizeof(RECT));
    return needed;
}
