#include "knclubpub/HoverButton.h"

#include "knclubpub/FramePaint.h"
#include "kngif/KNMemBitmap.h"
#include "platform/text/CFont.h"
#include "platform/window/WindowDcs.h"

#include <algorithm>

namespace {

// One direction of the tiling: tile size and count. A source under three
// pixels has no thirds, so it repeats whole.
void TilesFor(int s, int d, int* p, int* n) {
    if (d <= s) {
        *p = d;
        *n = 1;
        return;
    }
    *p = s < 3 ? s : s / 3;
    *n = d / *p + (d % *p ? 1 : 0);
}

// The source offset of tile i of n (first, middle third, last).
int TileSource(int i, int n, int s0, int s, int p) {
    if (i == 0) {
        return s0;
    }
    return i == n - 1 ? s0 + s - p : s0 + (s < 3 ? 0 : p);
}

// The destination offset of tile i: the last one pulled back to end at the
// edge when the tiles overrun.
int TileDest(int i, int n, int d0, int d, int p) {
    const int at = d0 + i * p;
    return i == n - 1 && d % p ? at - (p - d % p) : at;
}

} // namespace

BOOL BlitBitmapPart(CDC* pDC, HBITMAP hBmp, int x, int y, int xSrc, int ySrc, int cx, int cy) {
    if (!pDC || !hBmp) {
        return FALSE;
    }
    BitmapDc source(pDC->GetSafeHdc(), hBmp);
    pDC->SetStretchBltMode(COLORONCOLOR);
    if (source.Ok()) {
        BitBlt(pDC->GetSafeHdc(), x, y, cx, cy, source.Get(), xSrc, ySrc, SRCCOPY);
    }
    return TRUE;
}

void CHoverBitmapButton::TileBitmapPart(CDC* pDC, HBITMAP hBmp, int dx, int dy, int dw, int dh,
                                        int sx, int sy, int sw, int sh) {
    if (!pDC || !hBmp || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    if ((dw == sw && dh == sh) || dw < sw || dh < sh) {
        BlitBitmapPart(pDC, hBmp, dx, dy, sx, sy, sw, sh);
        return;
    }
    int px;
    int nx;
    int py;
    int ny;
    TilesFor(sw, dw, &px, &nx);
    TilesFor(sh, dh, &py, &ny);
    BitmapDc source(pDC->GetSafeHdc(), hBmp);
    pDC->SetStretchBltMode(COLORONCOLOR);
    for (int j = 0; source.Ok() && j < ny; ++j) {
        for (int i = 0; i < nx; ++i) {
            BitBlt(pDC->GetSafeHdc(), TileDest(i, nx, dx, dw, px), TileDest(j, ny, dy, dh, py), px,
                   py, source.Get(), TileSource(i, nx, sx, sw, px), TileSource(j, ny, sy, sh, py),
                   SRCCOPY);
        }
    }
}

BOOL CHoverBitmapButton::SetBitmap(HBITMAP hBmp) {
    m_hBitmap = hBmp;
    int width;
    int height;
    if (!BitmapSize(hBmp, &width, &height)) {
        return FALSE;
    }
    CRect rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent()) {
        parent->ScreenToClient(&rect);
    }
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), height, SWP_NOZORDER);
    Invalidate(TRUE);
    return TRUE;
}

int CHoverBitmapButton::CurrentFrame() const {
    if (!IsWindowEnabled()) {
        return 3;
    }
    return m_bHover ? (m_bDown ? 2 : 1) : 0;
}

COLORREF CHoverBitmapButton::CurrentTextColor() const {
    if (!IsWindowEnabled()) {
        return m_crDisabled;
    }
    if (::GetFocus() == GetSafeHwnd()) {
        return m_crFocus;
    }
    if (m_bHover) {
        return m_bDown ? m_crPressed : m_crHover;
    }
    return m_crNormal;
}

void CHoverBitmapButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

BOOL CHoverBitmapButton::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= BS_OWNERDRAW;
    return CButton::PreCreateWindow(cs);
}

void CHoverBitmapButton::OnPaint() {
    CPaintDC dc(this);
    dc.SetBkMode(TRANSPARENT);
    CString text;
    GetWindowText(text);
    CFont font;
    font.CreatePointFont(90, "宋体");
    CFont* oldFont = dc.SelectObject(&font);
    CRect client;
    GetClientRect(&client);
    int width;
    int height;
    if (m_hBitmap) {
        if (!BitmapSize(m_hBitmap, &width, &height)) {
            dc.SelectObject(oldFont);
            return;
        }
        const int frameWidth = width / 4;
        TileBitmapPart(&dc, m_hBitmap, 0, 0, client.Width(), client.Height(),
                       CurrentFrame() * frameWidth, 0, frameWidth, height);
    } else {
        dc.FillSolidRect(&client, m_crBack);
    }
    dc.SetTextColor(CurrentTextColor());
    CRect textRect = client;
    if (m_pIcon) {
        textRect.OffsetRect(m_nIconOffset, 0);
        m_pIcon->DrawTransparent(dc.GetSafeHdc(), nullptr, textRect.left, textRect.top);
    }
    textRect.OffsetRect(m_nTextOffset, 0);
    dc.DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | m_nTextFormat);
    dc.SelectObject(oldFont);
}

void CHoverBitmapButton::OnMouseMove(UINT flags, CPoint point) {
    CButton::OnMouseMove(flags, point);
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        if (!m_bCaptured) {
            SetCapture();
            m_bCaptured = TRUE;
        }
        if (!m_bHover) {
            m_bHover = TRUE;
            Invalidate(TRUE);
        }
        return;
    }
    // Leaving with the button down keeps the capture until the release.
    if (m_bCaptured && !m_bDown) {
        m_bCaptured = FALSE;
        ReleaseCapture();
    }
    if (m_bHover) {
        m_bHover = FALSE;
        Invalidate(TRUE);
    }
}

void CHoverBitmapButton::OnLButtonDown(UINT flags, CPoint point) {
    m_bDown = TRUE;
    Invalidate(TRUE);
    CButton::OnLButtonDown(flags, point);
}

void CHoverBitmapButton::OnLButtonUp(UINT flags, CPoint point) {
    m_bDown = FALSE;
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point) && m_bCaptured) {
        m_bCaptured = FALSE;
        ReleaseCapture();
    }
    Invalidate(TRUE);
    CButton::OnLButtonUp(flags, point);
}

BOOL CHoverBitmapButton::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void CHoverBitmapButton::OnCaptureChanged(CWnd* wnd) {
    if (!wnd || wnd->GetSafeHwnd() != GetSafeHwnd()) {
        m_bCaptured = FALSE;
    }
    CButton::OnCaptureChanged(wnd);
}

void CHoverBitmapButton::OnSetFocus(CWnd* oldWnd) {
    CButton::OnSetFocus(oldWnd);
    Invalidate(TRUE);
}

void CHoverBitmapButton::OnKillFocus(CWnd* newWnd) {
    CButton::OnKillFocus(newWnd);
    Invalidate(TRUE);
}
