#include "kngif/KNMemBitmap.h"

#include "kngif/MemBitmapAccess.h"
#include "kngif/MemBitmapClip.h"
#include "kngif/Rgb565Math.h"
#include "kngif/Rgb565Rows.h"

#include <cstring>
#include <new>

using membitmap::ClipSource;
using membitmap::CopyPart;
using membitmap::CutRect;
using membitmap::HasKey;
using membitmap::KeyValue;
using membitmap::Row;

CKNMemBitmap::~CKNMemBitmap() {
    if (m_hDC) {
        ReleaseDC(m_hDC); // an open DC would otherwise outlive its image
    }
    Destroy();
}

WORD CKNMemBitmap::RGBTo565(COLORREF color) {
    return rgb565::FromRgb(color);
}

COLORREF CKNMemBitmap::RGB565ToRGB(WORD color) {
    return rgb565::ToRgb(color);
}

BOOL CKNMemBitmap::Create(int width, int height) {
    Destroy();
    if (width <= 0 || height <= 0) {
        return FALSE;
    }
    const long long pitch = (2LL * width + 3) & ~3LL;
    if (pitch * height > kMaxBytes) {
        return FALSE;
    }
    // The header and the three channel masks.
    BYTE* info = new (std::nothrow) BYTE[sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD)];
    if (!info) {
        return FALSE;
    }
    m_pBits = new (std::nothrow) BYTE[(size_t)(pitch * height)];
    if (!m_pBits) {
        delete[] info;
        return FALSE;
    }
    m_pBmi = reinterpret_cast<BITMAPINFO*>(info);
    BITMAPINFOHEADER& h = m_pBmi->bmiHeader;
    std::memset(&h, 0, sizeof h);
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = -height; // rows run top-down
    h.biPlanes = 1;
    h.biBitCount = 16;
    h.biCompression = BI_BITFIELDS;
    h.biSizeImage = (DWORD)(pitch * height);
    h.biClrUsed = 3;
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(info + sizeof(BITMAPINFOHEADER), masks, sizeof masks);
    m_nWidth = width;
    m_nHeight = height;
    m_nPitch = (int)pitch;
    return TRUE;
}

void CKNMemBitmap::Destroy() {
    delete[] m_pBits;
    delete[] reinterpret_cast<BYTE*>(m_pBmi);
    m_pBits = nullptr;
    m_pBmi = nullptr;
    m_nWidth = m_nHeight = m_nPitch = 0;
    m_crKey = 0;
    m_nKeyMode = 0;
}

void CKNMemBitmap::SetColorKey(COLORREF color) {
    m_crKey = color;
    m_nKeyMode = 1;
}

void CKNMemBitmap::SetColorKey565(WORD color) {
    SetColorKey(RGB565ToRGB(color));
}

void CKNMemBitmap::SetColorKeyFromOrigin() {
    m_nKeyMode = 2;
}

void CKNMemBitmap::SetColorKeyFromPixel(int x, int y) {
    if (m_pBits && x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight) {
        SetColorKey(GetPixel(x, y));
    }
}

BOOL CKNMemBitmap::GetColorKey(COLORREF* out) const {
    if (m_nKeyMode == 0) {
        return FALSE;
    }
    if (out) {
        *out = m_nKeyMode == 1 ? m_crKey : GetPixel(0, 0);
    }
    return TRUE;
}

void CKNMemBitmap::SetClipRect(const RECT* rect) {
    SetRectEmpty(&m_rcClip);
    if (!rect) {
        return;
    }
    RECT r{std::max<LONG>(rect->left, 0), std::max<LONG>(rect->top, 0),
           std::min<LONG>(rect->right, m_nWidth), std::min<LONG>(rect->bottom, m_nHeight)};
    if (r.left < r.right && r.top < r.bottom) {
        m_rcClip = r;
    }
}

COLORREF CKNMemBitmap::GetPixel(int x, int y) const {
    if (!m_pBits || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) {
        return 0;
    }
    return RGB565ToRGB(Row(*this, y)[x]);
}

WORD CKNMemBitmap::GetPixel565(int x, int y) const {
    if (!m_pBits || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) {
        return 0;
    }
    return Row(*this, y)[x];
}

bool membitmap::CutRect(const CKNMemBitmap& image, const RECT* rect, RECT* out) {
    if (!image.GetBits()) {
        return false;
    }
    const RECT bounds{0, 0, image.GetWidth(), image.GetHeight()};
    return IntersectRect(out, rect ? rect : &bounds, &bounds) != FALSE;
}

void CKNMemBitmap::FillRect565(int x, int y, int width, int height, WORD color) {
    RECT r;
    const RECT asked{x, y, (LONG)std::min<long long>((long long)x + width, 0x7FFFFFFF),
                     (LONG)std::min<long long>((long long)y + height, 0x7FFFFFFF)};
    if (width <= 0 || height <= 0 || !CutRect(*this, &asked, &r)) {
        return;
    }
    for (int row = r.top; row < r.bottom; ++row) {
        WORD* p = Row(*this, row);
        std::fill(p + r.left, p + r.right, color);
    }
}

void CKNMemBitmap::ReplaceColor565(WORD from, WORD to) {
    for (int row = 0; m_pBits && row < m_nHeight; ++row) {
        WORD* p = Row(*this, row);
        std::replace(p, p + m_nWidth, from, to);
    }
}

void CKNMemBitmap::Grayscale(const RECT* rect) {
    RECT r;
    if (!CutRect(*this, rect, &r)) {
        return;
    }
    for (int row = r.top; row < r.bottom; ++row) {
        WORD* p = Row(*this, row);
        for (int x = r.left; x < r.right; ++x) {
            p[x] = rgb565::Grey(p[x]);
        }
    }
}

BOOL membitmap::CopyPart(CKNMemBitmap& image, const CKNMemBitmap& other, const RECT& part) {
    const int w = part.right - part.left;
    const int h = part.bottom - part.top;
    if (!image.Create(w, h)) {
        return FALSE;
    }
    for (int row = 0; row < h; ++row) {
        std::memcpy(Row(image, row), Row(other, part.top + row) + part.left, (size_t)w * 2);
    }
    return TRUE;
}

namespace {

// Constant alpha over one row, two pixels at a time; a pixel whose source
// (or, for a fill, whose destination) equals the key is left alone and its
// partner blended by itself.
void AlphaRow(WORD* d, const WORD* s, int sStep, int count, unsigned a, bool keyed, WORD key,
              bool keyOnDest = false) {
    const WORD* k = keyOnDest ? d : s;
    const int kStep = keyOnDest ? 1 : sStep;
    int i = 0;
#ifdef __SSE2__
    // Sixteen or eight at a time (whole pairs) while no key pixel is among
    // them.
    if (sStep == 1 && !keyOnDest) {
        i = BlendRowWide(d, s, count, a, keyed, key);
        const __m128i keys = _mm_set1_epi16((short)key);
        for (; i + 8 <= count; i += 8) {
            const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            if (keyed && _mm_movemask_epi8(_mm_cmpeq_epi16(sv, keys)) != 0) {
                break;
            }
            const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), rgb565::BlendEight(sv, dv, a));
        }
    }
#endif
    for (; i + 1 < count; i += 2) {
        const WORD s0 = s[i * sStep];
        const WORD s1 = s[(i + 1) * sStep];
        const bool k0 = keyed && k[i * kStep] == key;
        const bool k1 = keyed && k[(i + 1) * kStep] == key;
        if (!k0 && !k1) {
            const uint32_t r =
                rgb565::BlendPair(s0 | ((uint32_t)s1 << 16), d[i] | ((uint32_t)d[i + 1] << 16), a);
            d[i] = (WORD)r;
            d[i + 1] = (WORD)(r >> 16);
        } else if (!k0) {
            d[i] = rgb565::BlendLone(s0, d[i], a);
        } else if (!k1) {
            d[i + 1] = rgb565::BlendLone(s1, d[i + 1], a);
        }
    }
    if (i < count && !(keyed && k[i * kStep] == key)) {
        d[i] = rgb565::BlendLone(s[i * sStep], d[i], a);
    }
}

} // namespace

BOOL CKNMemBitmap::FillAlpha(COLORREF color, const RECT* rect, BYTE alpha, BOOL useKey) {
    RECT r;
    if (!CutRect(*this, rect, &r)) {
        return FALSE;
    }
    const WORD fill = RGBTo565(color);
    const bool keyed = useKey && m_nKeyMode != 0;
    for (int row = r.top; row < r.bottom; ++row) {
        // The key is read per row: in origin mode the first row may change it.
        AlphaRow(Row(*this, row) + r.left, &fill, 0, r.right - r.left, alpha, keyed,
                 keyed ? KeyValue(*this) : 0, true);
    }
    return TRUE;
}

bool membitmap::ClipSource(const CKNMemBitmap& dest, const CKNMemBitmap& src, const RECT* srcRect,
                           int x, int y, RECT* part, POINT* at) {
    const RECT whole{0, 0, src.GetWidth(), src.GetHeight()};
    return ClipMemBlit(srcRect ? *srcRect : whole, src.GetWidth(), src.GetHeight(), x, y,
                       dest.GetWidth(), dest.GetHeight(), dest.GetClipRect(), part, at) != FALSE;
}

namespace {

enum class Kind { Copy, Alpha, Add };

BOOL Blend(CKNMemBitmap& dest, const CKNMemBitmap* src, const RECT* srcRect, int x, int y,
           Kind kind, unsigned amount, bool keyed) {
    if (!src || !src->GetBits() || !dest.GetBits()) {
        return FALSE;
    }
    RECT s;
    POINT at;
    if (!ClipSource(dest, *src, srcRect, x, y, &s, &at)) {
        return TRUE;
    }
    const bool useKey = keyed && HasKey(*src);
    const WORD key = useKey ? KeyValue(*src) : 0;
    const int w = s.right - s.left;
    const int h = s.bottom - s.top;
    // Drawing an image onto itself reads from a copy, so overlapping rows
    // never read what this blit already wrote.
    CKNMemBitmap copy;
    if (src == &dest) {
        if (!CopyPart(copy, dest, s)) {
            return FALSE;
        }
        src = &copy;
        OffsetRect(&s, -s.left, -s.top);
    }
    for (int row = 0; row < h; ++row) {
        const WORD* sp = Row(*src, s.top + row) + s.left;
        WORD* dp = Row(dest, at.y + row) + at.x;
        switch (kind) {
        case Kind::Copy:
            if (!useKey) {
                std::memmove(dp, sp, (size_t)w * 2);
            } else {
                for (int i = 0; i < w; ++i) {
                    if (sp[i] != key) {
                        dp[i] = sp[i];
                    }
                }
            }
            break;
        case Kind::Alpha:
            AlphaRow(dp, sp, 1, w, amount, useKey, key);
            break;
        case Kind::Add:
            // A sum is the same whether taken in pairs or alone.
            for (int i = 0; i < w; ++i) {
                if (!useKey || sp[i] != key) {
                    dp[i] = rgb565::AddSaturated(sp[i], dp[i], amount);
                }
            }
            break;
        }
    }
    return TRUE;
}

} // namespace

BOOL CKNMemBitmap::Blt(const CKNMemBitmap* src, const RECT* srcRect, int x, int y) {
    return Blend(*this, src, srcRect, x, y, Kind::Copy, 0, false);
}

BOOL CKNMemBitmap::BltKeyed(const CKNMemBitmap* src, const RECT* srcRect, int x, int y) {
    return Blend(*this, src, srcRect, x, y, Kind::Copy, 0, true);
}

BOOL CKNMemBitmap::BltAlpha(const CKNMemBitmap* src, const RECT* srcRect, int x, int y, int alpha) {
    return Blend(*this, src, srcRect, x, y, Kind::Alpha, (unsigned)alpha & 0xFF, false);
}

BOOL CKNMemBitmap::BltAlphaKeyed(const CKNMemBitmap* src, const RECT* srcRect, int x, int y,
                                 int alpha) {
    return Blend(*this, src, srcRect, x, y, Kind::Alpha, (unsigned)alpha & 0xFF, true);
}

BOOL CKNMemBitmap::BltAdd(const CKNMemBitmap* src, const RECT* srcRect, int x, int y) {
    return Blend(*this, src, srcRect, x, y, Kind::Add, 256, false);
}

BOOL CKNMemBitmap::BltAddKeyed(const CKNMemBitmap* src, const RECT* srcRect, int x, int y) {
    return Blend(*this, src, srcRect, x, y, Kind::Add, 256, true);
}

BOOL CKNMemBitmap::BltAddScaled(const CKNMemBitmap* src, const RECT* srcRect, int x, int y,
                                int alpha) {
    return Blend(*this, src, srcRect, x, y, Kind::Add, (unsigned)alpha & 0xFF, false);
}

BOOL CKNMemBitmap::BltAddScaledKeyed(const CKNMemBitmap* src, const RECT* srcRect, int x, int y,
                                     int alpha) {
    return Blend(*this, src, srcRect, x, y, Kind::Add, (unsigned)alpha & 0xFF, true);
}

BOOL CKNMemBitmap::BltAlphaMask(const CKNMemBitmap* weights, const CKNMemBitmap* src,
                                const RECT* srcRect, int x, int y) {
    if (!weights || !weights->m_pBits || !src || !src->m_pBits || !m_pBits) {
        return FALSE;
    }
    RECT s;
    POINT at;
    if (!ClipSource(*this, *src, srcRect, x, y, &s, &at)) {
        return TRUE;
    }
    if (s.right > weights->m_nWidth || s.bottom > weights->m_nHeight) {
        return FALSE;
    }
    // Either source may be this image: read both from copies then.
    CKNMemBitmap srcCopy;
    CKNMemBitmap weightCopy;
    if (src == this || weights == this) {
        if (!CopyPart(srcCopy, *src, s) || !CopyPart(weightCopy, *weights, s)) {
            return FALSE;
        }
        src = &srcCopy;
        weights = &weightCopy;
        OffsetRect(&s, -s.left, -s.top);
    }
    for (int row = 0; row < s.bottom - s.top; ++row) {
        const WORD* sp = Row(*src, s.top + row) + s.left;
        const WORD* mp = Row(*weights, s.top + row) + s.left;
        WORD* dp = Row(*this, at.y + row) + at.x;
        for (int i = 0; i < s.right - s.left; ++i) {
            dp[i] = rgb565::BlendWeighted(sp[i], dp[i], mp[i]);
        }
    }
    return TRUE;
}
