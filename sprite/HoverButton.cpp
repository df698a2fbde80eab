#include "sprite/HoverButton.h"

#include "platform/gdi/Gdi.h"
#include "platform/window/Input.h"
#include "sprite/GdiRoutines.h"

void CHoverButton::SetBitmapStrip(CBitmap* strip, int frames, BOOL mask) {
    m_pStrip = strip;
    m_bMask = mask;
    const CSize size = strip ? GetBitmapSize(*strip) : CSize();
    const int cells = frames + (mask ? 1 : 0);
    m_nFrameWidth = cells > 0 ? size.cx / cells : 0;
    m_nFrameHeight = size.cy;
    // Without a picture the button keeps its size, so that it stays a place
    // to click.
    if (m_hWnd && m_nFrameWidth > 0 && m_nFrameHeight > 0)
        SetWindowPos(nullptr, 0, 0, m_nFrameWidth, m_nFrameHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CHoverButton::SubclassAndSetStrip(HWND control, CBitmap* strip, int frames, BOOL mask) {
    if (!SubclassWindow(control))
        return FALSE;
    SetBitmapStrip(strip, frames, mask);
    return TRUE;
}

void CHoverButton::EnsureToolTip() {
    if (!m_toolTip.GetSafeHwnd() && m_hWnd && m_toolTip.Create(this))
        m_toolTip.Activate(FALSE);
}

void CHoverButton::SetToolTipText(LPCSTR text, BOOL activate) {
    if (!text || !*text)
        return;
    EnsureToolTip();
    if (!m_toolTip.GetSafeHwnd())
        return;
    if (!m_bHasTool) {
        CRect client;
        GetClientRect(&client);
        m_bHasTool = m_toolTip.AddTool(this, text, &client, 1) != FALSE;
    }
    m_toolTip.UpdateTipText(text, this, 1);
    m_toolTip.Activate(activate);
}

void CHoverButton::ActivateToolTip(BOOL activate) {
    if (m_bHasTool)
        m_toolTip.Activate(activate);
}

void CHoverButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

BOOL CHoverButton::PreTranslateMessage(MSG* msg) {
    EnsureToolTip();
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(msg);
    return CButton::PreTranslateMessage(msg);
}

LRESULT CHoverButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEHOVER) {
        m_bHover = TRUE;
        Invalidate();
        return 0;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

void CHoverButton::OnMouseMove(UINT flags, CPoint point) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, m_hWnd, 1};
        m_bTracking = TrackMouseEvent(&track);
        // The hover time is 1 ms: the hover is as good as there at once, and
        // the window layer only tracks the leave.
        PostMessage(WM_MOUSEHOVER, flags, MAKELPARAM(point.x, point.y));
        if (m_pfnOnHover && IsWindowEnabled())
            m_pfnOnHover();
    }
    CButton::OnMouseMove(flags, point);
}

void CHoverButton::OnMouseLeave() {
    m_bTracking = FALSE;
    m_bHover = FALSE;
    // Repainted at once, or the hover face would stay until something else
    // repaints the button.
    Invalidate();
    CButton::OnMouseLeave();
}

void CHoverButton::OnLButtonUp(UINT flags, CPoint point) {
    if (m_pfnOnClick)
        m_pfnOnClick(this);
    CButton::OnLButtonUp(flags, point);
}

BOOL CHoverButton::OnEraseBkgnd(CDC*) {
    return TRUE;
}

int CHoverButton::FrameFor(UINT itemState) const {
    if (itemState & ODS_SELECTED)
        return 2;
    if (itemState & ODS_DISABLED)
        return 3;
    return m_bHover ? 1 : 0;
}

void CHoverButton::DrawItem(LPDRAWITEMSTRUCT item) {
    if (!item || !m_pStrip || !m_pStrip->GetSafeHandle())
        return;
    const RECT& r = item->rcItem;
    const int sx = FrameFor(item->itemState) * m_nFrameWidth;
    const int w = r.right - r.left, h = r.bottom - r.top;
    HBITMAP strip = *m_pStrip;
    if (!m_bMask) {
        BlitBitmap(item->hDC, r.left, r.top, w, h, strip, sx, 0, SRCCOPY);
        return;
    }
    BlitBitmap(item->hDC, r.left, r.top, w, h, strip, 4 * m_nFrameWidth, 0, SRCAND);
    BlitBitmap(item->hDC, r.left, r.top, w, h, strip, sx, 0, SRCPAINT);
}
