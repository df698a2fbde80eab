// StretchBlt: nearest-pixel scaling (COLORONCOLOR and the scan-dropping modes)
// and the box average of HALFTONE, with mirroring by negative extents.

#include "platform/gdi/Raster.h"
#include "platform/gdi/Shapes.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

AxisMap MapAxis(int dest, int destExtent, int destLimit, int src, int srcExtent, int srcLimit) {
    AxisMap map;
    bool mirror = (destExtent < 0) != (srcExtent < 0);
    int64_t dn = std::abs(int64_t(destExtent)), sn = std::abs(int64_t(srcExtent));
    int64_t d0 = destExtent < 0 ? int64_t(dest) + destExtent : dest;
    int64_t s0 = srcExtent < 0 ? int64_t(src) + srcExtent : src;
    if (dn == 0 || sn == 0)
        return map;
    // Only the destination pixels on the surface.
    int64_t first = std::max<int64_t>(0, -d0), last = std::min<int64_t>(dn, destLimit - d0);
    for (int64_t i = first; i < last; ++i) {
        // Unsigned: (2i + 1) * sn reaches 2^63 for the widest extents.
        int64_t j = int64_t((uint64_t(2 * i + 1) * uint64_t(sn)) / uint64_t(2 * dn));
        int64_t sx = s0 + (mirror ? sn - 1 - j : j);
        if (sx < 0 || sx >= srcLimit) {
            if (map.source.empty())
                continue; // not yet inside the source
            break;
        }
        if (map.source.empty())
            map.start = int(d0 + i);
        map.source.push_back(int(sx));
    }
    return map;
}

void GatherRow(const Surface& src, const SourceConversion& conv, const AxisMap& xmap, int from,
               int n, int sy, uint32_t* out) {
    auto [lo, hi] = std::minmax_element(xmap.source.begin() + from, xmap.source.begin() + from + n);
    int minX = *lo;
    uint32_t* scratch = ScratchRow(1, size_t(*hi - minX + 1));
    const uint32_t* row = SourceRow(src, conv, minX, sy, *hi - minX + 1, scratch);
    const int* xs = xmap.source.data() + from;
    for (int i = 0; i < n; ++i)
        out[i] = row[xs[i] - minX];
}

BOOL StretchFromSurface(DeviceContext& dst, int x, int y, int width, int height, const Surface& src,
                        COLORREF srcBkColor, int xSrc, int ySrc, int srcWidth, int srcHeight,
                        DWORD rop) {
    if (RopUsesPattern(rop) && !dst.HasBrush())
        return TRUE;
    Surface& dSurface = dst.TargetOrDummy();
    std::unique_ptr<Surface> copy;
    const Surface* from = &src;
    if (&src == &dSurface && RopUsesSource(rop)) {
        // Reading and writing one surface: stretch from a copy.
        copy = CopyOfRect(src, RECT{0, 0, src.Width(), src.Height()});
        from = copy.get();
    }
    SourceConversion conv = ConversionFor(*from, srcBkColor, dSurface, dst.state);
    if (dst.state.stretchMode == HALFTONE && RopUsesSource(rop)) {
        RECT target = dst.SurfaceExtent(x, y, width, height);
        RECT source =
            NormalizedRect(xSrc, ySrc, DeviceContext::ClampCoord(int64_t(xSrc) + srcWidth),
                           DeviceContext::ClampCoord(int64_t(ySrc) + srcHeight));
        HalftoneStretch(dst, target, *from, conv, source, (width < 0) != (srcWidth < 0),
                        (height < 0) != (srcHeight < 0), rop);
        return TRUE;
    }
    AxisMap xmap = MapAxis(dst.SurfaceX(x), width, dSurface.Width(), xSrc, srcWidth, src.Width());
    AxisMap ymap =
        MapAxis(dst.SurfaceY(y), height, dSurface.Height(), ySrc, srcHeight, src.Height());
    if (xmap.source.empty() || ymap.source.empty())
        return TRUE;
    RECT target{xmap.start, ymap.start, xmap.start + xmap.Count(), ymap.start + ymap.Count()};
    uint32_t pattern = PatternPixel(dSurface, dst.BrushPixel());
    bool needOld = RopUsesDest(rop);
    bool usesSource = RopUsesSource(rop);
    DestRow dest(dSurface);
    ForEachClipRect(dst, target, [&](const RECT& r) {
        int n = r.right - r.left;
        uint32_t* gathered = ScratchRow(0, size_t(n));
        for (int row = r.top; row < r.bottom; ++row) {
            if (usesSource)
                GatherRow(*from, conv, xmap, r.left - xmap.start, n,
                          ymap.source[size_t(row - ymap.start)], gathered);
            ApplyRop(rop, dest.Begin(r.left, row, n, needOld), usesSource ? gathered : nullptr,
                     pattern, n);
            dest.Commit();
        }
    });
    return TRUE;
}

} // namespace platform

using namespace platform;

BOOL StretchBlt(HDC hdest, int x, int y, int width, int height, HDC hsrc, int xSrc, int ySrc,
                int srcWidth, int srcHeight, DWORD rop) {
    DeviceContext* dst = LookupDC(hdest);
    if (!dst)
        return FALSE;
    if (!RopUsesSource(rop))
        return PatBlt(hdest, x, y, width, height, rop);
    DeviceContext* src = LookupDC(hsrc);
    if (!src)
        return FALSE;
    return StretchFromSurface(*dst, x, y, width, height, src->TargetOrDummy(), src->state.bkColor,
                              src->SurfaceX(xSrc), src->SurfaceY(ySrc), srcWidth, srcHeight, rop);
}
