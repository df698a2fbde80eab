// BitBlt, PatBlt and single pixels.

#include "platform/gdi/Raster.h"

using namespace platform;

namespace {

bool RectsOverlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc || RopUsesSource(rop))
        return FALSE;
    if (RopUsesPattern(rop) && !dc->HasBrush())
        return TRUE; // a hollow brush paints nothing
    Surface& surface = dc->TargetOrDummy();
    uint32_t pattern = PatternPixel(surface, dc->BrushPixel());
    RECT target = dc->SurfaceExtent(x, y, width, height);
    ForEachClipRect(*dc, target, [&](const RECT& r) { FillSurfaceRect(surface, r, rop, pattern); });
    return TRUE;
}

BOOL BitBlt(HDC hdest, int x, int y, int width, int height, HDC hsrc, int xSrc, int ySrc,
            DWORD rop) {
    if (!RopUsesSource(rop))
        return PatBlt(hdest, x, y, width, height, rop);
    if (width < 0 || height < 0)
        return StretchBlt(hdest, x, y, width, height, hsrc, xSrc, ySrc, width, height, rop);
    DeviceContext* dst = LookupDC(hdest);
    DeviceContext* src = LookupDC(hsrc);
    if (!dst || !src)
        return FALSE;
    if (RopUsesPattern(rop) && !dst->HasBrush())
        return TRUE;
    Surface& dSurface = dst->TargetOrDummy();
    const Surface* sSurface = &src->TargetOrDummy();
    RECT target = dst->SurfaceExtent(x, y, width, height);
    // Source pixel = destination pixel + (dx, dy); only pixels with a source are drawn.
    int64_t sourceDx = int64_t(src->SurfaceX(xSrc)) - target.left;
    int64_t sourceDy = int64_t(src->SurfaceY(ySrc)) - target.top;
    RECT withSource{DeviceContext::ClampCoord(-sourceDx), DeviceContext::ClampCoord(-sourceDy),
                    DeviceContext::ClampCoord(sSurface->Width() - sourceDx),
                    DeviceContext::ClampCoord(sSurface->Height() - sourceDy)};
    RECT bounds{0, 0, dSurface.Width(), dSurface.Height()};
    if (!IntersectRect(&target, &target, &withSource) || !IntersectRect(&target, &target, &bounds))
        return TRUE;
    // Both rectangles now lie on their bitmaps, so the offsets are small.
    int dx = int(sourceDx), dy = int(sourceDy);

    std::unique_ptr<Surface> snapshot;
    RECT sourceRect{target.left + dx, target.top + dy, target.right + dx, target.bottom + dy};
    if (sSurface == &dSurface && RectsOverlap(sourceRect, target)) {
        snapshot = CopyOfRect(*sSurface, sourceRect);
        sSurface = snapshot.get();
        dx = -target.left;
        dy = -target.top;
    }
    SourceConversion conv = ConversionFor(*sSurface, src->state.bkColor, dSurface, dst->state);
    uint32_t pattern = PatternPixel(dSurface, dst->BrushPixel());
    bool needOld = RopUsesDest(rop);
    DestRow dest(dSurface);
    ForEachClipRect(*dst, target, [&](const RECT& r) {
        int n = r.right - r.left;
        uint32_t* scratch = ScratchRow(0, size_t(n));
        for (int row = r.top; row < r.bottom; ++row) {
            const uint32_t* s = SourceRow(*sSurface, conv, r.left + dx, row + dy, n, scratch);
            ApplyRop(rop, dest.Begin(r.left, row, n, needOld), s, pattern, n);
            dest.Commit();
        }
    });
    return TRUE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    DeviceContext* dc = LookupDC(hdc);
    POINT p;
    if (!dc || !dc->PointVisible(x, y, &p))
        return CLR_INVALID;
    return ColorFromPixel(dc->TargetOrDummy().GetPixel(p.x, p.y) & kRgbMask);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DeviceContext* dc = LookupDC(hdc);
    POINT p;
    if (!dc || !dc->PointVisible(x, y, &p))
        return CLR_INVALID;
    Surface& s = dc->TargetOrDummy();
    s.SetPixel(p.x, p.y, PixelFromColor(color));
    return ColorFromPixel(s.GetPixel(p.x, p.y) & kRgbMask); // what the bitmap could hold
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) {
    return SetPixel(hdc, x, y, color) != CLR_INVALID;
}
