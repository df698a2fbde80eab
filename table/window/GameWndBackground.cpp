// The table's background: the table picture through its mask onto black,
// the centre picture and the seat frames, from the layout values.

#include "platform/gdi/Dc.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "table/window/GameWnd.h"
#include "table/window/TablePicture.h"

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
    if (!DrawTablePicture(pDC, *m_fields.pLayout, cx, cy))
        WriteLog("The table picture is missing; the table stays black");
}

void CGameWnd::DrawSeatFrames(CDC* pDC) {
    for (int view = 0; view < kSeatCount; ++view) {
        const POINT at = ResolvePos(m_fields.AvatarPoint(view));
        DrawMaskedStrip(pDC, m_fields.pLayout->m_bmpAvatarBack, at.x, at.y);
    }
}
