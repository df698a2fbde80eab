#include "sprite/StateImage.h"

BOOL CStateImage::SetBitmaps(HBITMAP hStrip, HBITMAP hAlpha, BOOL bOneAlphaCell) {
    const CSize size = GetHBitmapSize(hStrip);
    const int cells = hAlpha ? 4 : bOneAlphaCell ? 5 : 8;
    if (size.cx < cells || size.cy <= 0)
        return FALSE;
    m_hStrip = hStrip;
    m_cell = SIZE{size.cx / cells, size.cy};
    m_hAlpha = hAlpha ? hAlpha : hStrip;
    m_nAlphaFirstCell = hAlpha ? 0 : 4;
    m_bAlphaPerState = !hAlpha && !bOneAlphaCell;
    return TRUE;
}

void CStateImage::Draw(HDC hdc, int nFrame, SPRITEINFO*, int dx, int dy, int w, int h, int sx,
                       int sy, int nAlpha) {
    if (!m_hStrip || nFrame < 0 || nFrame >= kStates)
        return;
    const int alphaCell = m_nAlphaFirstCell + (m_bAlphaPerState ? nFrame : 0);
    ComposeImage(hdc, dx, dy, w, h, nAlpha, [&](HDC target, int x, int y) {
        AlphaBlit(target, x, y, w, h, m_hStrip, nFrame * m_cell.cx + sx, sy, m_hAlpha,
                  alphaCell * m_cell.cx + sx, sy);
    });
}
