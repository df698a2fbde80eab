// Clip regions of device contexts.

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Shapes.h"

using namespace platform;

namespace {

// What "no clip region" stands for when a clip is narrowed: all of the DC.
Region WholeDevice(const DeviceContext& dc) {
    if (dc.visible)
        return *dc.visible;
    const Surface& s = dc.TargetOrDummy();
    return Region(
        RECT{-dc.origin.x, -dc.origin.y, s.Width() - dc.origin.x, s.Height() - dc.origin.y});
}

int ClipComplexity(DeviceContext& dc) {
    const std::vector<RECT>& rects = dc.ClipRects();
    if (rects.empty())
        return NULLREGION;
    return rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int SetClip(DeviceContext& dc, std::optional<Region> clip) {
    dc.state.clip = std::move(clip);
    dc.ClipChanged();
    return ClipComplexity(dc);
}

RECT DeviceRect(const DeviceContext& dc, int left, int top, int right, int bottom) {
    RECT r = NormalizedRect(left, top, right, bottom);
    OffsetRect(&r, dc.state.viewportOrg.x, dc.state.viewportOrg.y);
    return r;
}

} // namespace

int SelectClipRgn(HDC hdc, HRGN region) {
    return ExtSelectClipRgn(hdc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC hdc, HRGN region, int mode) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    if (!region) {
        // Only a copy of nothing makes sense: it removes the clip region.
        return mode == RGN_COPY ? SetClip(*dc, std::nullopt) : ERROR;
    }
    RegionObject* r = LookupRegion(region);
    if (!r)
        return ERROR;
    if (mode == RGN_COPY)
        return SetClip(*dc, r->region);
    Region current = dc->state.clip ? *dc->state.clip : WholeDevice(*dc);
    return SetClip(*dc, Region::Combine(current, r->region, mode));
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return ERROR;
    Region rect(DeviceRect(*dc, left, top, right, bottom));
    if (!dc->state.clip)
        return SetClip(*dc, rect);
    return SetClip(*dc, Region::Combine(*dc->state.clip, rect, RGN_AND));
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return ERROR;
    Region current = dc->state.clip ? *dc->state.clip : WholeDevice(*dc);
    return SetClip(
        *dc, Region::Combine(current, Region(DeviceRect(*dc, left, top, right, bottom)), RGN_DIFF));
}

int OffsetClipRgn(HDC hdc, int dx, int dy) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return ERROR;
    if (dc->state.clip) {
        if (!dc->state.clip->CanOffset(dx, dy))
            return ERROR;
        dc->state.clip->Offset(dx, dy);
        dc->ClipChanged();
    }
    return ClipComplexity(*dc);
}

int GetClipBox(HDC hdc, LPRECT rect) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc || !rect)
        return ERROR;
    const std::vector<RECT>& rects = dc->ClipRects();
    RECT box{0, 0, 0, 0};
    for (const RECT& r : rects)
        UnionRect(&box, &box, &r);
    if (!rects.empty())
        OffsetRect(&box, -dc->origin.x - dc->state.viewportOrg.x,
                   -dc->origin.y - dc->state.viewportOrg.y);
    *rect = box;
    return ClipComplexity(*dc);
}

int GetClipRgn(HDC hdc, HRGN region) {
    DeviceContext* dc = LookupDC(hdc);
    RegionObject* r = LookupRegion(region);
    if (!dc || !r)
        return -1;
    if (!dc->state.clip)
        return 0;
    r->region = *dc->state.clip;
    return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
    DeviceContext* dc = LookupDC(hdc);
    return dc && dc->PointVisible(x, y, nullptr);
}

BOOL RectVisible(HDC hdc, const RECT* rect) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc || !rect)
        return FALSE;
    RECT s = NormalizedRect(dc->SurfaceX(rect->left), dc->SurfaceY(rect->top),
                            dc->SurfaceX(rect->right), dc->SurfaceY(rect->bottom));
    RECT hit;
    for (const RECT& r : dc->ClipRects())
        if (IntersectRect(&hit, &r, &s))
            return TRUE;
    return FALSE;
}
