#include "table/panes/PaneImage.h"

#include "platform/text/Font.h"
#include "sprite/AppServices.h"

#include <string>

CPaneImage::CPaneImage(int nId) {
    m_nId = nId;
    m_bAutoFree = TRUE;
}

CPaneImage::~CPaneImage() {
    FreeBitmap();
}

void CPaneImage::FreeBitmap() {
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    m_cx = m_cy = 0;
}

BOOL CPaneImage::LoadBackground(LPCSTR layoutFile, LPCSTR section, LPCSTR key, int cells) {
    FreeBitmap();
    if (!layoutFile || !section || cells <= 0)
        return FALSE;
    std::string folder = layoutFile;
    const size_t dot = folder.rfind('.');
    if (dot != std::string::npos)
        folder.resize(dot);
    HBITMAP bitmap = LoadThemeBitmap(layoutFile, section, key, folder.c_str());
    if (!bitmap) {
        WriteLog("Pane [%s] %s: the bitmap does not load", section, key);
        return FALSE;
    }
    const CSize size = GetHBitmapSize(bitmap);
    if (size.cx < cells || size.cy <= 0) {
        WriteLog("Pane [%s] %s: the bitmap of %dx%d is too small for %d cells", section, key,
                 int(size.cx), int(size.cy), cells);
        DeleteObject(bitmap);
        return FALSE;
    }
    m_hBitmap = bitmap;
    m_cx = int(size.cx) / cells;
    m_cy = int(size.cy);
    return TRUE;
}

void CPaneImage::DrawHalfBackground(HDC dc) const {
    AlphaBlit(dc, 0, 0, m_cx, m_cy, m_hBitmap, 0, 0, m_hBitmap, m_cx, 0);
}

BOOL CAlphaHalfImage::SetBitmap(HBITMAP hBitmap) {
    const CSize size = GetHBitmapSize(hBitmap);
    const LONG half = size.cx / 2;
    return SetBitmap(hBitmap, RECT{0, 0, half, size.cy}, RECT{half, 0, 2 * half, size.cy});
}

BOOL CAlphaHalfImage::SetBitmap(HBITMAP hBitmap, const RECT& picture, const RECT& alpha) {
    const CSize size = GetHBitmapSize(hBitmap);
    auto inside = [&](const RECT& r) {
        return r.left >= 0 && r.top >= 0 && r.right <= size.cx && r.bottom <= size.cy &&
               r.right > r.left && r.bottom > r.top;
    };
    const bool sameSize = picture.right - picture.left == alpha.right - alpha.left &&
                          picture.bottom - picture.top == alpha.bottom - alpha.top;
    if (!hBitmap || !inside(picture) || !inside(alpha) || !sameSize) {
        WriteLog("Pane %d: the alpha-half bitmap does not fit its rectangles", m_nId);
        return FALSE;
    }
    FreeBitmap();
    m_hBitmap = hBitmap;
    m_picture = picture;
    m_alpha = alpha;
    m_cx = picture.right - picture.left;
    m_cy = picture.bottom - picture.top;
    return TRUE;
}

void CAlphaHalfImage::Draw(HDC hdc, int, SPRITEINFO*, int dx, int dy, int w, int h, int sx, int sy,
                           int nAlpha) {
    DrawPane(hdc, dx, dy, w, h, sx, sy, nAlpha, [&](HDC dc) {
        AlphaBlit(dc, 0, 0, m_cx, m_cy, m_hBitmap, m_picture.left, m_picture.top, m_hBitmap,
                  m_alpha.left, m_alpha.top);
    });
}

HFONT CreatePaneFont(int height, int weight, BYTE charset) {
    return CreateFont(height, 0, 0, 0, weight, 0, 0, 0, charset, OUT_STROKE_PRECIS,
                      CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH, "宋体");
}
