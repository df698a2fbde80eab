#include "table/window/TablePicture.h"

#include "sprite/GameLayout.h"

namespace {

// The picture stretched over (0, 0, cx, cy) of the DC with the raster op.
BOOL StretchOver(CDC* pDC, CBitmap& picture, int cx, int cy, DWORD rop) {
    const SIZE size = TableBitmapSize(picture);
    if (size.cx <= 0 || size.cy <= 0)
        return FALSE;
    CDC src;
    src.CreateCompatibleDC(pDC);
    CBitmap* old = src.SelectObject(&picture);
    pDC->StretchBlt(0, 0, cx, cy, &src, 0, 0, size.cx, size.cy, rop);
    src.SelectObject(old);
    return TRUE;
}

} // namespace

SIZE TableBitmapSize(const CBitmap& bitmap) {
    BITMAP bm{};
    if (bitmap.m_hObject == nullptr || bitmap.GetBitmap(&bm) == 0)
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

void DrawMaskedStrip(CDC* pDC, CBitmap& strip, int x, int y) {
    const SIZE size = TableBitmapSize(strip);
    const int w = size.cx / 2;
    if (w <= 0 || size.cy <= 0)
        return;
    CDC dc;
    dc.CreateCompatibleDC(pDC);
    CBitmap* old = dc.SelectObject(&strip);
    pDC->BitBlt(x, y, w, size.cy, &dc, w, 0, SRCAND);
    pDC->BitBlt(x, y, w, size.cy, &dc, 0, 0, SRCPAINT);
    dc.SelectObject(old);
}

BOOL DrawTablePicture(CDC* pDC, CGameLayout& layout, int cx, int cy) {
    const int oldMode = pDC->SetStretchBltMode(COLORONCOLOR);
    const BOOL drawn = StretchOver(pDC, layout.m_bmpBack, cx, cy, SRCCOPY);
    if (drawn) {
        const SIZE centre = TableBitmapSize(layout.m_bmpBackF);
        DrawMaskedStrip(pDC, layout.m_bmpBackF, (cx - centre.cx / 2) / 2, (cy - centre.cy) / 2);
        // Without a mask the whole table shows; black in the mask stays black.
        StretchOver(pDC, layout.m_bmpBackA, cx, cy, SRCAND);
    }
    pDC->SetStretchBltMode(oldMode);
    return drawn;
}
