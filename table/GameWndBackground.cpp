// The table's background: the table picture through its mask onto black,
// the centre picture and the seat frames, from the layout values.

#include "platform/gdi/Dc.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "table/GameWnd.h"

namespace {

SIZE BitmapSize(const CBitmap& bitmap) {
    BITMAP bm{};
    if (bitmap.m_hObject == nullptr || bitmap.GetBitmap(&bm) == 0)
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

// A strip whose left half is the picture (black outside) and right half its
// mask (black where opaque), drawn through the mask with its top left at (x, y).
void DrawMaskedStrip(CDC* pDC, CBitmap& strip, int x, int y) {
    const SIZE size = BitmapSize(strip);
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

// The picture stretched over a new bitmap of cx x cy selected into dc.
BOOL StretchInto(CDC* pDC, CDC& dc, CBitmap& target, CBitmap& picture, int cx, int cy) {
    const SIZE size = BitmapSize(picture);
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

void CGameWnd::DrawBackground(CDC* pDC, int cx, int cy) {
    pDC->FillSolidRect(0, 0, cx, cy, RGB(0, 0, 0));
    if (m_fields.pLayout == nullptr || cx <= 0 || cy <= 0)
        return;
    MoveMagnifier(cx, cy);
    DrawTable(pDC, cx, cy);
    DrawSeatFrames(pDC);
    DrawSeatPlates(pDC);
}

void CGameWnd::MoveMagnifier(int cx, int cy) {
    if (m_pMagnifier == nullptr || m_pMagnifier->m_hWnd == nullptr || cx <= 0 || cy <= 0)
        return;
    const int w = cx / 4;
    const int h = cy / 5;
    POINT at{(cx - w) / 2, (cy - h) / 2};
    ClientToScreen(&at);
    m_pMagnifier->MoveWindow(at.x, at.y, w, h, TRUE);
}

void CGameWnd::DrawTable(CDC* pDC, int cx, int cy) {
    CGameLayout& layout = *m_fields.pLayout;
    // The bitmaps outlive the device contexts they are selected into.
    CBitmap tableBits, maskBits;
    CDC table, mask;
    if (!StretchInto(pDC, table, tableBits, layout.m_bmpBack, cx, cy)) {
        WriteLog("The table picture is missing; the table stays black");
        return;
    }
    const SIZE centre = BitmapSize(layout.m_bmpBackF);
    DrawMaskedStrip(&table, layout.m_bmpBackF, (cx - centre.cx / 2) / 2, (cy - centre.cy) / 2);
    pDC->BitBlt(0, 0, cx, cy, &table, 0, 0, SRCCOPY);
    // Without a mask the whole table shows; black in the mask stays black.
    if (StretchInto(pDC, mask, maskBits, layout.m_bmpBackA, cx, cy))
        pDC->BitBlt(0, 0, cx, cy, &mask, 0, 0, SRCAND);
}

void CGameWnd::DrawSeatFrames(CDC* pDC) {
    for (int view = 0; view < kSeatCount; ++view) {
        const POINT at = ResolvePos(m_fields.AvatarPoint(view));
        DrawMaskedStrip(pDC, m_fields.pLayout->m_bmpAvatarBack, at.x, at.y);
    }
}
