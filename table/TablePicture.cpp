#include "table/TablePicture.h"

#include "sprite/GameLayout.h"

namespace {

// The picture stretched over a new bitmap of cx x cy selected into dc.
BOOL StretchInto(CDC* pDC, CDC& dc, CBitmap& target, CBitmap& picture, int cx, int cy) {
    const SIZE size = TableBitmapSize(picture);
    if (size.cx <= 0 || size.cy <= 0 || !dc.CreateCompatibleDC(pDC) ||
        !target.CreateCompatibleBitmap(pDC, cx, cy))
        return FALSE;
    dc.SelectObject(&target);
    CDC src;
    src.CreateCompatibleDC(pDC);
    CBitmap* old = src.SelectObject(&picture);
    dc.SetStretchBltMode(COLORONCOLOR);
    dc.StretchBlt(0, 0, cx, cy, &src, 0, 0, size.cx, size.cy, SRCCOPY);
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

BOOL CTablePicture::Draw(CDC* pDC, CGameLayout& layout, int cx, int cy) {
    const HGDIOBJ made[3] = {layout.m_bmpBack.m_hObject, layout.m_bmpBackF.m_hObject,
                             layout.m_bmpBackA.m_hObject};
    const bool same = m_bits.m_hObject != nullptr && m_cx == cx && m_cy == cy &&
                      std::equal(made, made + 3, m_made);
    if (!same && !Compose(pDC, layout, cx, cy))
        return FALSE;
    std::copy(made, made + 3, m_made);
    CDC dc;
    dc.CreateCompatibleDC(pDC);
    CBitmap* old = dc.SelectObject(&m_bits);
    pDC->BitBlt(0, 0, cx, cy, &dc, 0, 0, SRCCOPY);
    dc.SelectObject(old);
    return TRUE;
}

BOOL CTablePicture::Compose(CDC* pDC, CGameLayout& layout, int cx, int cy) {
    m_bits.DeleteObject();
    CBitmap maskBits;
    CDC table, mask;
    if (!StretchInto(pDC, table, m_bits, layout.m_bmpBack, cx, cy)) {
        m_bits.DeleteObject();
        return FALSE;
    }
    const SIZE centre = TableBitmapSize(layout.m_bmpBackF);
    DrawMaskedStrip(&table, layout.m_bmpBackF, (cx - centre.cx / 2) / 2, (cy - centre.cy) / 2);
    // Without a mask the whole table shows; black in the mask stays black.
    if (StretchInto(pDC, mask, maskBits, layout.m_bmpBackA, cx, cy))
        table.BitBlt(0, 0, cx, cy, &mask, 0, 0, SRCAND);
    m_cx = cx;
    m_cy = cy;
    return TRUE;
}
