#include "kngif/MemBitmapClip.h"

BOOL ClipMemBlit(const RECT& src, int srcWidth, int srcHeight, int x, int y, int dstWidth,
                 int dstHeight, const RECT& clip, RECT* srcOut, POINT* dstOut) {
    const RECT srcBounds{0, 0, srcWidth, srcHeight};
    const RECT dstBounds{0, 0, dstWidth, dstHeight};
    // Widths are taken in 64 bits so a huge rectangle cannot wrap around.
    const long long right = (long long)x + ((long long)src.right - src.left);
    const long long bottom = (long long)y + ((long long)src.bottom - src.top);
    if (right <= x || bottom <= y) {
        return FALSE;
    }
    RECT dst{x, y, (LONG)std::min<long long>(right, 0x7FFFFFFF),
             (LONG)std::min<long long>(bottom, 0x7FFFFFFF)};
    RECT a;
    RECT b;
    if (!IntersectRect(&a, &src, &srcBounds) || !IntersectRect(&b, &dst, &dstBounds)) {
        return FALSE;
    }
    // Carry the source's cut over to the destination, then cut again.
    dst.left += a.left - src.left;
    dst.top += a.top - src.top;
    dst.right += a.right - src.right;
    dst.bottom += a.bottom - src.bottom;
    if (!IntersectRect(&b, &dst, &dstBounds)) {
        return FALSE;
    }
    if (!IsRectEmpty(&clip) && !IntersectRect(&b, &b, &clip)) {
        return FALSE;
    }
    // And the destination's cut back to the source.
    a.left += b.left - dst.left;
    a.top += b.top - dst.top;
    a.right += b.right - dst.right;
    a.bottom += b.bottom - dst.bottom;
    if (!IntersectRect(srcOut, &a, &srcBounds)) {
        return FALSE;
    }
    dstOut->x = b.left;
    dstOut->y = b.top;
    return TRUE;
}
