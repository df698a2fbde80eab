// The memory image's rotation by any angle (a quarter turn, then three
// shears), the position of a point after it, and scaled copies.
//
// Every shear is bounded by the buffers and the destination it writes: the
// final size comes from the whole source rectangle while the pixels come
// from the part of it left after clipping, so rows and columns past either
// are filled with the background instead of being read or written.

#include "kngif/KNMemBitmap.h"

#include "kngif/MemBitmapAccess.h"

#include "platform/Geometry.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;
const int kShift[3] = {11, 5, 0};
const int kMax[3] = {31, 63, 31};

// The angle in [0, 360), and the turn it starts with: 0 none, 90 a quarter
// turn counter-clockwise, 180 a half turn, 270 a quarter turn clockwise.
// The rest of the angle lies within 45 degrees of 0 either way.
struct Reduced {
    int turn;
    double rest;
};

Reduced Reduce(double angle) {
    angle = std::fmod(angle, 360.0);
    if (angle < 0) {
        angle += 360.0;
    }
    if (angle > 45 && angle <= 135) {
        return {90, angle - 90};
    }
    if (angle > 135 && angle <= 225) {
        return {180, angle - 180};
    }
    if (angle > 225 && angle <= 315) {
        return {270, angle - 270};
    }
    return {0, angle > 315 ? angle - 360 : angle};
}

long long Floor(double v) {
    return (long long)std::floor(std::clamp(v, -4e18, 4e18));
}

// The sizes and starting values of the three shears for a W x H picture.
struct Shears {
    double sine, cosine, tanHalf;
    int w1, h2, h3, w3;
    double start2, start3;
};

Shears ShearsFor(double angle, int w, int h) {
    Shears s{};
    const double theta = angle * kPi / 180;
    s.sine = std::sin(theta);
    s.cosine = std::cos(theta);
    s.tanHalf = std::tan(theta / 2);
    s.w1 = w + (int)Floor(h * std::fabs(s.tanHalf));
    s.h2 = (int)Floor(w * std::fabs(s.sine) + h * s.cosine) + 1;
    s.w3 = (int)Floor(h * std::fabs(s.sine) + w * s.cosine) + 1;
    s.h3 = s.h2;
    s.start2 = s.sine > 0 ? (w - 1) * s.sine : (double)(w - s.w1) * -s.sine;
    s.start3 =
        s.sine >= 0 ? -s.tanHalf * (w - 1) * s.sine : s.tanHalf * ((1 - s.h3) + -s.sine * (w - 1));
    return s;
}

// One row or column of a shear: the source line of m pixels moved by k
// whole pixels, each pixel giving the fraction f of itself to its
// neighbour; what lies outside the moved line is the background, which
// gives its shares to the line's two end pixels like any other pixel.
// Writes stay within the n destination pixels.
void Skew(WORD* dst, ptrdiff_t dstStep, long long n, const WORD* src, ptrdiff_t srcStep,
          long long m, long long k, double f, WORD background) {
    int carry[3];
    int bg[3];
    for (int c = 0; c < 3; ++c) {
        bg[c] = (background >> kShift[c]) & kMax[c];
        // The background stands left of the line, so its share carries in.
        carry[c] = (int)(bg[c] * f);
    }
    for (long long i = 0; i < std::min(k, n); ++i) {
        dst[i * dstStep] = background;
    }
    for (long long i = 0; i < m; ++i) {
        const WORD p = src[i * srcStep];
        int out = 0;
        for (int c = 0; c < 3; ++c) {
            const int value = (p >> kShift[c]) & kMax[c];
            const int left = (int)(value * f);
            out |= std::min(value - left + carry[c], kMax[c]) << kShift[c];
            carry[c] = left;
        }
        if (i + k >= 0 && i + k < n) {
            dst[(i + k) * dstStep] = (WORD)out;
        }
    }
    if (m + k >= 0 && m + k < n) {
        // The last pixel's share, and the rest from the background beyond.
        int out = 0;
        for (int c = 0; c < 3; ++c) {
            out |= std::min(carry[c] + bg[c] - (int)(bg[c] * f), kMax[c]) << kShift[c];
        }
        dst[(m + k) * dstStep] = (WORD)out;
    }
    for (long long i = std::max(m + k + 1, 0LL); i < n; ++i) {
        dst[i * dstStep] = background;
    }
}

// The quarter-turn clipping of a source rectangle drawn as a picture of
// width x height at (x, y): the part of the source to use and the part of
// the destination to draw.
bool ClipTurned(RECT s, int srcW, int srcH, int x, int y, long long width, long long height,
                int dstW, int dstH, RECT* srcOut, RECT* dstOut) {
    const RECT srcBounds{0, 0, srcW, srcH};
    const RECT dstBounds{0, 0, dstW, dstH};
    RECT d{x, y, (LONG)std::min<long long>(x + width, 0x7FFFFFFF),
           (LONG)std::min<long long>(y + height, 0x7FFFFFFF)};
    RECT a;
    RECT b;
    if (!IntersectRect(&a, &s, &srcBounds) || !IntersectRect(&b, &d, &dstBounds)) {
        return false;
    }
    d.left += a.left - s.left;
    d.top += a.top - s.top;
    d.right += a.right - s.right;
    d.bottom += a.bottom - s.bottom;
    if (!IntersectRect(&b, &d, &dstBounds)) {
        return false;
    }
    a.left += b.left - d.left;
    a.top += b.top - d.top;
    a.right += b.right - d.right;
    a.bottom += b.bottom - d.bottom;
    *dstOut = b;
    return IntersectRect(srcOut, &a, &srcBounds) != FALSE;
}

} // namespace

BOOL CKNMemBitmap::BltRotate(double angle, const CKNMemBitmap* src, const RECT* srcRect, int x,
                             int y, COLORREF background) {
    if (!std::isfinite(angle) || !src || !src->m_pBits || !m_pBits) {
        return FALSE;
    }
    const Reduced r = Reduce(angle);
    if (r.turn == 0) {
        return BltRotateShear(r.rest, src, srcRect, x, y, background);
    }
    // The turn goes into an image of its own; only the part of the source
    // rectangle inside the source is turned.
    const RECT whole{0, 0, src->m_nWidth, src->m_nHeight};
    RECT part;
    if (!IntersectRect(&part, srcRect ? srcRect : &whole, &whole)) {
        return TRUE;
    }
    const int w = part.right - part.left;
    const int h = part.bottom - part.top;
    CKNMemBitmap turned;
    if (!(r.turn == 180 ? turned.Create(w, h) : turned.Create(h, w))) {
        return FALSE;
    }
    if (r.turn == 90) {
        turned.BltRotate90(src, &part, 0, 0);
    } else if (r.turn == 180) {
        turned.BltRotate180(src, &part, 0, 0);
    } else {
        turned.BltRotate270(src, &part, 0, 0);
    }
    return BltRotateShear(r.rest, &turned, nullptr, x, y, background);
}

BOOL CKNMemBitmap::BltRotateShear(double angle, const CKNMemBitmap* src, const RECT* srcRect, int x,
                                  int y, COLORREF background) {
    if (!std::isfinite(angle) || !src || !src->m_pBits || !m_pBits) {
        return FALSE;
    }
    const Reduced r = Reduce(angle);
    if (r.turn != 0) {
        // Three shears only hold up to 45 degrees: turn first.
        return BltRotate(angle, src, srcRect, x, y, background);
    }
    if (r.rest == 0) {
        return Blt(src, srcRect, x, y);
    }
    const RECT whole{0, 0, src->m_nWidth, src->m_nHeight};
    const RECT asked = srcRect ? *srcRect : whole;
    if (asked.right <= asked.left || asked.bottom <= asked.top) {
        return TRUE;
    }
    const Shears full =
        ShearsFor(r.rest, (int)(asked.right - asked.left), (int)(asked.bottom - asked.top));
    RECT part;
    RECT dst;
    if (!ClipTurned(asked, src->m_nWidth, src->m_nHeight, x, y, full.w3, full.h3, m_nWidth,
                    m_nHeight, &part, &dst)) {
        return TRUE;
    }
    const int w = part.right - part.left;
    const int h = part.bottom - part.top;
    const Shears s = ShearsFor(r.rest, w, h);
    const WORD bg = RGBTo565(background);
    std::vector<WORD> first;
    std::vector<WORD> second;
    try {
        first.assign((size_t)s.w1 * h, bg);
        second.assign((size_t)s.w1 * s.h2, bg);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    // Horizontal shear of each source row.
    for (int u = 0; u < h; ++u) {
        const double v = s.tanHalf >= 0 ? u : u - h;
        const double shear = (v + 0.5) * s.tanHalf;
        const long long offset = Floor(shear);
        if (offset <= s.w1) {
            Skew(&first[(size_t)u * s.w1], 1, s.w1, membitmap::Row(*src, part.top + u) + part.left,
                 1, w, offset, shear - offset, bg);
        }
    }
    // Vertical shear of each column.
    double value = s.start2;
    for (int u = 0; u < s.w1; ++u) {
        const long long offset = Floor(value);
        if (offset <= s.h2) {
            Skew(&second[u], s.w1, s.h2, &first[u], s.w1, h, offset, value - offset, bg);
        }
        value -= s.sine;
    }
    // Horizontal shear into the destination, within what clipping left of it.
    const long long rows = std::min<long long>(full.h3, dst.bottom - dst.top);
    const long long length = std::min<long long>(full.w3, dst.right - dst.left);
    value = full.start3;
    for (long long u = 0; u < rows; ++u) {
        WORD* out = membitmap::Row(*this, (int)(dst.top + u)) + dst.left;
        const long long offset = Floor(value);
        if (u >= s.h2) {
            std::fill(out, out + length, bg);
        } else if (offset <= full.w3) {
            Skew(out, 1, length, &second[(size_t)u * s.w1], 1, s.w1, offset, value - offset, bg);
        }
        value += s.tanHalf;
    }
    return TRUE;
}

void CKNMemBitmap::MapRotatedPoint(double angle, const RECT* srcRect, POINT* point) {
    if (!srcRect || !point || !std::isfinite(angle)) {
        return;
    }
    long long w = (long long)srcRect->right - srcRect->left;
    long long h = (long long)srcRect->bottom - srcRect->top;
    long long x = (long long)point->x - srcRect->left;
    long long y = (long long)point->y - srcRect->top;
    const Reduced r = Reduce(angle);
    if (r.turn == 90) {
        const long long nx = y;
        y = w - x;
        x = nx;
        std::swap(w, h);
    } else if (r.turn == 180) {
        x = w - x;
        y = h - y;
    } else if (r.turn == 270) {
        const long long nx = h - y;
        y = x;
        x = nx;
        std::swap(w, h);
    }
    if (r.rest != 0) {
        const Shears s = ShearsFor(r.rest, (int)w, (int)h);
        const double v = s.tanHalf >= 0 ? (double)y : (double)(y - h);
        long long moved = x + Floor((v + 0.5) * s.tanHalf);
        if (moved >= 0 && moved < s.w1) {
            x = moved;
        }
        moved = y + Floor(s.start2 - x * s.sine);
        if (moved >= 0 && moved < s.h2) {
            y = moved;
        }
        // The last shear is held to the first buffer's width, not the final one.
        moved = x + Floor(s.start3 + y * s.tanHalf);
        if (moved >= 0 && moved < s.w1) {
            x = moved;
        }
    }
    point->x = (LONG)x;
    point->y = (LONG)y;
}

BOOL CKNMemBitmap::BltStretch(const CKNMemBitmap* src, const RECT* srcRect, const RECT* dstRect) {
    if (!src || !src->m_pBits || !m_pBits) {
        return FALSE;
    }
    const RECT srcBounds{0, 0, src->m_nWidth, src->m_nHeight};
    const RECT dstBounds{0, 0, m_nWidth, m_nHeight};
    const RECT s = srcRect ? *srcRect : srcBounds;
    RECT d = dstRect ? *dstRect : dstBounds;
    const long long sw = (long long)s.right - s.left;
    const long long sh = (long long)s.bottom - s.top;
    const long long dw = (long long)d.right - d.left;
    const long long dh = (long long)d.bottom - d.top;
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) {
        return FALSE;
    }
    const double scaleX = (double)dw / sw;
    const double scaleY = (double)dh / sh;
    RECT a;
    RECT b;
    if (!IntersectRect(&a, &s, &srcBounds) || !IntersectRect(&b, &d, &dstBounds)) {
        return FALSE;
    }
    // Each side of one rectangle follows the other's cut, scaled.
    d.left += (LONG)((a.left - s.left) * scaleX);
    d.right += (LONG)((a.right - s.right) * scaleX);
    d.top += (LONG)((a.top - s.top) * scaleY);
    d.bottom += (LONG)((a.bottom - s.bottom) * scaleY);
    if (!IntersectRect(&b, &d, &dstBounds)) {
        return FALSE;
    }
    a.left += (LONG)((b.left - d.left) / scaleX);
    a.right += (LONG)((b.right - d.right) / scaleX);
    a.top += (LONG)((b.top - d.top) / scaleY);
    a.bottom += (LONG)((b.bottom - d.bottom) / scaleY);
    RECT from;
    if (!IntersectRect(&from, &a, &srcBounds)) {
        return FALSE;
    }
    const int fw = from.right - from.left;
    const int fh = from.bottom - from.top;
    const int bw = b.right - b.left;
    const int bh = b.bottom - b.top;
    if (fw == bw && fh == bh) {
        return Blt(src, &from, b.left, b.top);
    }
    HDC dc = GetDC();
    if (!dc) {
        return FALSE;
    }
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    // The description is top-down; the source y counts from the bottom.
    const int lines =
        StretchDIBits(dc, b.left, b.top, bw, bh, from.left, src->m_nHeight - fh - from.top, fw, fh,
                      src->m_pBits, src->m_pBmi, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
    ReleaseDC(dc);
    return lines != 0;
}
