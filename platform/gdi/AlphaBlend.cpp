// AlphaBlend and TransparentBlt: blits that mix or skip source pixels.

#include "platform/gdi/BlendRows.h"
#include "platform/gdi/Raster.h"

#include <cstring>

using namespace platform;

namespace {

// The part of a source row a destination row needs: straight or stretched.
class SourceRows {
public:
    SourceRows(const Surface& src, const SourceConversion& conv, AxisMap xmap, AxisMap ymap,
               bool stretched)
        : m_src(src), m_conv(conv), m_xmap(std::move(xmap)), m_ymap(std::move(ymap)),
          m_stretched(stretched) {}

    RECT Target() const {
        return RECT{m_xmap.start, m_ymap.start, m_xmap.start + m_xmap.Count(),
                    m_ymap.start + m_ymap.Count()};
    }
    const uint32_t* Row(int x, int y, int n) const {
        int from = x - m_xmap.start;
        int sy = m_ymap.source[size_t(y - m_ymap.start)];
        uint32_t* out = ScratchRow(0, size_t(n));
        if (!m_stretched)
            return SourceRow(m_src, m_conv, m_xmap.source[size_t(from)], sy, n, out);
        GatherRow(m_src, m_conv, m_xmap, from, n, sy, out);
        return out;
    }

private:
    const Surface& m_src;
    SourceConversion m_conv;
    AxisMap m_xmap, m_ymap;
    bool m_stretched;
};

// Runs rowOp(dest, source, n) over every drawable row part.
template <class RowOp>
BOOL BlendBlit(HDC hdest, int x, int y, int width, int height, HDC hsrc, int xSrc, int ySrc,
               int srcWidth, int srcHeight, bool requireInside, RowOp rowOp) {
    DeviceContext* dst = LookupDC(hdest);
    DeviceContext* src = LookupDC(hsrc);
    if (!dst || !src || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0)
        return FALSE;
    const Surface* sSurface = &src->TargetOrDummy();
    Surface& dSurface = dst->TargetOrDummy();
    int sx = src->SurfaceX(xSrc), sy = src->SurfaceY(ySrc);
    if (requireInside && (sx < 0 || sy < 0 || int64_t(sx) + srcWidth > sSurface->Width() ||
                          int64_t(sy) + srcHeight > sSurface->Height()))
        return FALSE;
    std::unique_ptr<Surface> copy;
    if (sSurface == &dSurface) {
        // Reading and writing one surface: blend from a copy.
        copy = CopyOfRect(*sSurface, RECT{0, 0, sSurface->Width(), sSurface->Height()});
        sSurface = copy.get();
    }
    SourceConversion conv = ConversionFor(*sSurface, src->state.bkColor, dSurface, dst->state);
    bool stretched = width != srcWidth || height != srcHeight;
    DestRow dest(dSurface);
    if (!stretched) {
        // Pixel for pixel: the source row at a fixed offset, as BitBlt reads it.
        const int tx = dst->SurfaceX(x), ty = dst->SurfaceY(y);
        RECT target{tx, ty, tx + width, ty + height};
        const RECT withSource{tx - sx, ty - sy, tx - sx + sSurface->Width(),
                              ty - sy + sSurface->Height()};
        const RECT bounds{0, 0, dSurface.Width(), dSurface.Height()};
        if (!IntersectRect(&target, &target, &withSource) ||
            !IntersectRect(&target, &target, &bounds))
            return TRUE;
        const int dx = sx - tx, dy = sy - ty;
        ForEachClipRect(*dst, target, [&](const RECT& r) {
            const int n = r.right - r.left;
            uint32_t* scratch = ScratchRow(0, size_t(n));
            for (int row = r.top; row < r.bottom; ++row) {
                const uint32_t* s = SourceRow(*sSurface, conv, r.left + dx, row + dy, n, scratch);
                rowOp(dest.Begin(r.left, row, n, true), s, n);
                dest.Commit();
            }
        });
        return TRUE;
    }
    SourceRows rows(
        *sSurface, conv,
        MapAxis(dst->SurfaceX(x), width, dSurface.Width(), sx, srcWidth, sSurface->Width()),
        MapAxis(dst->SurfaceY(y), height, dSurface.Height(), sy, srcHeight, sSurface->Height()),
        stretched);
    ForEachClipRect(*dst, rows.Target(), [&](const RECT& r) {
        int n = r.right - r.left;
        for (int row = r.top; row < r.bottom; ++row) {
            const uint32_t* s = rows.Row(r.left, row, n);
            rowOp(dest.Begin(r.left, row, n, true), s, n);
            dest.Commit();
        }
    });
    return TRUE;
}

} // namespace

BOOL AlphaBlend(HDC hdest, int x, int y, int width, int height, HDC hsrc, int xSrc, int ySrc,
                int srcWidth, int srcHeight, BLENDFUNCTION blend) {
    if (blend.BlendOp != AC_SRC_OVER)
        return FALSE;
    uint32_t constant = blend.SourceConstantAlpha;
    bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    const BlendRowKernels& kernels = BlendRows();
    return BlendBlit(hdest, x, y, width, height, hsrc, xSrc, ySrc, srcWidth, srcHeight, true,
                     [&](uint32_t* d, const uint32_t* s, int n) {
                         if (constant == 0)
                             return; // nothing of the source shows
                         if (perPixel)
                             kernels.premultiplied(d, s, n, constant);
                         else if (constant == 255)
                             std::memcpy(d, s, size_t(n) * 4);
                         else
                             kernels.constantAlpha(d, s, n, constant);
                     });
}

BOOL TransparentBlt(HDC hdest, int x, int y, int width, int height, HDC hsrc, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, UINT keyColor) {
    uint32_t key = PixelFromColor(keyColor);
    const BlendRowKernels& kernels = BlendRows();
    return BlendBlit(
        hdest, x, y, width, height, hsrc, xSrc, ySrc, srcWidth, srcHeight, false,
        [&](uint32_t* d, const uint32_t* s, int n) { kernels.colourKey(d, s, n, key); });
}
