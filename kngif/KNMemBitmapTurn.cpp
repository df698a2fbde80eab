// The memory image's quarter turns, half turn, mirror and flip, and the sizes
// of rotated images.
//
// Each turn draws the turned image of the whole source rectangle at (x, y)
// and then cuts it: a destination pixel is written only when it lies inside
// the destination (and its clip rectangle, except for the quarter turns) and
// the source pixel it shows lies inside the source. So a picture half past an
// edge shows exactly the half that would be seen, and nothing is read or
// written outside either image.

#include "kngif/KNMemBitmap.h"

#include "kngif/MemBitmapAccess.h"
#include "platform/Geometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Destination pixel (i, j) (row, column) shows source pixel
// (r0 + ri i + rj j, c0 + ci i + cj j).
struct TurnMap {
    long long r0, ri, rj;
    long long c0, ci, cj;
};

// Narrows [lo, hi) to the j for which 0 <= p0 + k j < n.
void NarrowTo(long long p0, long long k, long long n, long long* lo, long long* hi) {
    if (k == 0) {
        if (p0 < 0 || p0 >= n) {
            *hi = *lo;
        }
    } else if (k > 0) {
        *lo = std::max(*lo, -p0);
        *hi = std::min(*hi, n - p0);
    } else {
        *lo = std::max(*lo, p0 - n + 1);
        *hi = std::min(*hi, p0 + 1);
    }
}

enum class TurnKind { Rotate90, Rotate270, Rotate180, Mirror, Flip };

BOOL Turn(CKNMemBitmap& dest, const CKNMemBitmap* src, const RECT* srcRect, int x, int y,
          TurnKind kind) {
    using membitmap::Row;
    if (!src || !src->GetBits() || !dest.GetBits()) {
        return FALSE;
    }
    const RECT whole{0, 0, src->GetWidth(), src->GetHeight()};
    const RECT s = srcRect ? *srcRect : whole;
    const long long t = s.top;
    const long long l = s.left;
    const long long w = (long long)s.right - s.left;
    const long long h = (long long)s.bottom - s.top;
    if (w <= 0 || h <= 0) {
        return TRUE;
    }
    const bool quarter = kind == TurnKind::Rotate90 || kind == TurnKind::Rotate270;
    TurnMap m{};
    switch (kind) {
    case TurnKind::Rotate90:
        m = {t, 0, 1, l + w - 1, -1, 0};
        break;
    case TurnKind::Rotate270:
        m = {t + h - 1, 0, -1, l, 1, 0};
        break;
    case TurnKind::Rotate180:
        m = {t + h - 1, -1, 0, l + w - 1, 0, -1};
        break;
    case TurnKind::Mirror:
        m = {t, 1, 0, l + w - 1, 0, -1};
        break;
    case TurnKind::Flip:
        m = {t + h - 1, -1, 0, l, 0, 1};
        break;
    }
    // The destination rows and columns, cut to the image and its clip.
    RECT bounds{0, 0, dest.GetWidth(), dest.GetHeight()};
    const RECT clip = dest.GetClipRect();
    if (!quarter && !IsRectEmpty(&clip)) {
        bounds = clip;
    }
    const long long rowLo = std::max<long long>(0, bounds.top - (long long)y);
    const long long rowHi = std::min<long long>(quarter ? w : h, bounds.bottom - (long long)y);
    const long long colLo = std::max<long long>(0, bounds.left - (long long)x);
    const long long colHi = std::min<long long>(quarter ? h : w, bounds.right - (long long)x);
    if (rowLo >= rowHi || colLo >= colHi) {
        return TRUE;
    }
    // Turning an image onto itself reads from a copy of it.
    CKNMemBitmap copy;
    if (src == &dest) {
        if (!membitmap::CopyPart(copy, dest, whole)) {
            return FALSE;
        }
        src = &copy;
    }
    for (long long i = rowLo; i < rowHi; ++i) {
        long long lo = colLo;
        long long hi = colHi;
        const long long row0 = m.r0 + m.ri * i;
        const long long col0 = m.c0 + m.ci * i;
        NarrowTo(row0, m.rj, src->GetHeight(), &lo, &hi);
        NarrowTo(col0, m.cj, src->GetWidth(), &lo, &hi);
        if (lo >= hi) {
            continue;
        }
        // Indices, not moved pointers, so no pointer ever leaves its row.
        WORD* d = Row(dest, (int)(y + i));
        if (m.rj == 0) { // a source row, walked one way or the other
            const WORD* sp = Row(*src, (int)row0);
            for (long long j = lo; j < hi; ++j) {
                d[x + j] = sp[col0 + m.cj * j];
            }
        } else { // a source column
            for (long long j = lo; j < hi; ++j) {
                d[x + j] = Row(*src, (int)(row0 + m.rj * j))[col0];
            }
        }
    }
    return TRUE;
}

} // namespace

BOOL CKNMemBitmap::BltRotate90(const CKNMemBitmap* src, const RECT* srcRect, int x, int y) {
    return Turn(*this, src, srcRect, x, y, TurnKind::Rotate90);
}

BOOL CKNMemBitmap::BltRotate270(const CKNMemBitmap* src, const RECT* srcRect, int x, int y) {
    return Turn(*this, src, srcRect, x, y, TurnKind::Rotate270);
}

BOOL CKNMemBitmap::BltRotate180(const CKNMemBitmap* src, const RECT* srcRect, int x, int y) {
    return Turn(*this, src, srcRect, x, y, TurnKind::Rotate180);
}

BOOL CKNMemBitmap::BltMirror(const CKNMemBitmap* src, const RECT* srcRect, int x, int y) {
    return Turn(*this, src, srcRect, x, y, TurnKind::Mirror);
}

BOOL CKNMemBitmap::BltFlip(const CKNMemBitmap* src, const RECT* srcRect, int x, int y) {
    return Turn(*this, src, srcRect, x, y, TurnKind::Flip);
}

namespace {

// Packs a width and a height into the high and low 16 bits, each held at
// 0xFFFF rather than spilling into the other.
DWORD PackSize(double width, double height) {
    const auto part = [](double v) { return (DWORD)std::clamp(v, 0.0, 65535.0); };
    return (part(width) << 16) | part(height);
}

} // namespace

DWORD CKNMemBitmap::GetRotateBoundSize(int width, int height) {
    const double n = std::floor(std::sqrt((double)width * width + (double)height * height)) + 1;
    return PackSize(n, n);
}

DWORD CKNMemBitmap::GetRotatedSize(double angle, int width, int height) {
    if (!std::isfinite(angle)) {
        return 0;
    }
    angle = std::fmod(angle, 360.0);
    if (angle < 0) {
        angle += 360.0;
    }
    double w = width;
    double h = height;
    if (angle > 45 && angle <= 135) {
        std::swap(w, h);
        angle -= 90;
    } else if (angle > 135 && angle <= 225) {
        angle -= 180;
    } else if (angle > 225 && angle <= 315) {
        std::swap(w, h);
        angle -= 270;
    }
    if (angle == 0) {
        return PackSize(w, h);
    }
    const double theta = angle * 3.141592653589793 / 180;
    const double sine = std::fabs(std::sin(theta));
    const double cosine = std::cos(theta);
    return PackSize(std::floor(h * sine + w * cosine) + 1, std::floor(w * sine + h * cosine) + 1);
}
