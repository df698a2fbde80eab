#include "table/panes/CellPaneImages.h"

BOOL CRemnantPaneImage::LoadRemnantCardPane(LPCSTR layoutFile, LPCSTR section, BOOL shortStrip) {
    m_bShortStrip = shortStrip ? 1 : 0;
    return LoadBackground(layoutFile, section, "RemnantCard_bmp", 2 * CellCount());
}

void CRemnantPaneImage::Draw(HDC hdc, int, SPRITEINFO*, int dx, int dy, int w, int h, int sx,
                             int sy, int nAlpha) {
    // The short strip has five cells: a larger value would blend an alpha
    // cell as its picture through pixels past the strip.
    if (m_nValue < 1 || m_nValue > CellCount())
        return;
    DrawPane(hdc, dx, dy, w, h, sx, sy, nAlpha, [&](HDC dc) {
        const int cell = m_nValue - 1;
        AlphaBlit(dc, 0, 0, m_cx, m_cy, m_hBitmap, cell * m_cx, 0, m_hBitmap,
                  (cell + CellCount()) * m_cx, 0);
    });
}

BOOL CCountdownPaneImage::LoadCountDownPane(LPCSTR layoutFile, LPCSTR section) {
    return LoadBackground(layoutFile, section, "CountDown_bmp", 10);
}

void CCountdownPaneImage::Draw(HDC hdc, int, SPRITEINFO*, int dx, int dy, int w, int h, int sx,
                               int sy, int nAlpha) {
    DrawPane(hdc, dx, dy, w, h, sx, sy, nAlpha, [&](HDC dc) {
        // Two cells are all there is: other values would index past the strip.
        const int value = m_nValue < 0 ? 0 : m_nValue > 99 ? 99 : m_nValue;
        const int digit = m_cx / 2;
        const int digits[2] = {value / 10, value % 10};
        for (int i = 0; i < 2; ++i)
            AlphaBlit(dc, 10 * i, 0, digit, m_cy, m_hBitmap, digits[i] * digit, 0, m_hBitmap,
                      (digits[i] + 10) * digit, 0);
    });
}

BOOL CGouSJPaneImage::LoadGouSJPane(LPCSTR layoutFile, LPCSTR section) {
    return LoadBackground(layoutFile, section, "GouSJ_bmp", 4);
}

void CGouSJPaneImage::Draw(HDC hdc, int, SPRITEINFO*, int dx, int dy, int w, int h, int sx, int sy,
                           int nAlpha) {
    if (m_nValue < 1 || m_nValue > 3)
        return;
    DrawPane(hdc, dx, dy, w, h, sx, sy, nAlpha, [&](HDC dc) {
        AlphaBlit(dc, 0, 0, m_cx, m_cy, m_hBitmap, (m_nValue - 1) * m_cx, 0, m_hBitmap, 3 * m_cx,
                  0);
    });
}
