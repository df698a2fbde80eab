#include "app/SkinButton.h"

#include "platform/text/Text.h"
#include "platform/window/Input.h"
#include "sprite/Picture.h"
#include "sprite/Theme.h"

BOOL CSkinButton::SetImage(LPCSTR name) {
    CPicture* picture = name ? kn::theTheme.GetImage(name, FALSE) : nullptr;
    if (!picture)
        return FALSE;
    m_pImage = picture;
    m_nFrameWidth = int(unsigned(picture->GetWidth()) / 4);
    m_nFrameHeight = picture->GetHeight();
    if (!m_bCheckBox && !m_bRadio && m_hWnd) {
        CRect client;
        GetClientRect(&client);
        if (client.Width() != m_nFrameWidth || client.Height() != m_nFrameHeight)
            SetWindowPos(nullptr, 0, 0, m_nFrameWidth, m_nFrameHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Invalidate();
    }
    return TRUE;
}

void CSkinButton::PreSubclassWindow() {
    const DWORD kind = GetStyle() & 0xFF;
    if (kind == BS_CHECKBOX) {
        m_bCheckBox = TRUE;
        SetImage("checkbox");
    } else if (kind == BS_AUTORADIOBUTTON) {
        m_bRadio = TRUE;
        SetImage("RADIO");
    }
    ModifyStyle(0, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

int CSkinButton::FrameToDraw(UINT itemState) const {
    if (m_bCheckBox || m_bRadio) {
        if (m_bChecked)
            return m_bHover ? 2 : 3;
        return m_bHover ? 1 : 0;
    }
    if (itemState & ODS_DISABLED)
        return 3;
    if (m_bDown)
        return 2;
    return m_bHover ? 1 : 0;
}

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT item) {
    if (!m_pImage || !item)
        return;
    HDC dc = item->hDC;
    const int sx = FrameToDraw(item->itemState) * m_nFrameWidth;
    if (m_crKey)
        m_pImage->DrawTransparent(dc, 0, 0, m_nFrameWidth, m_nFrameHeight, sx, 0, m_nFrameWidth,
                                  m_nFrameHeight, m_crKey);
    else
        m_pImage->Draw(dc, 0, 0, m_nFrameWidth, m_nFrameHeight, sx, 0, SRCCOPY);
    if (!m_bCheckBox && !m_bRadio)
        return;
    char text[261] = "";
    GetWindowText(text, sizeof text);
    RECT label = item->rcItem;
    label.left = m_nFrameWidth + 2;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, kTextColour);
    DrawText(dc, text, -1, &label, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

void CSkinButton::OnLButtonDown(UINT, CPoint point) {
    // Held while hovered, the button also sees presses beside it: those are
    // not its own.
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
        if (GetCapture() == this)
            ReleaseCapture();
        m_bHover = FALSE;
        Invalidate();
        return;
    }
    m_bDown = TRUE;
    Invalidate();
}

void CSkinButton::OnLButtonDblClk(UINT flags, CPoint point) {
    OnLButtonDown(flags, point); // a quick second click is a click too
}

void CSkinButton::OnLButtonUp(UINT, CPoint) {
    if (!m_bDown)
        return;
    m_bDown = FALSE;
    if (m_bCheckBox) {
        m_bChecked = !m_bChecked;
    } else if (m_bRadio) {
        m_bChecked = TRUE;
    } else {
        if (GetCapture() == this)
            ReleaseCapture();
        m_bHover = FALSE;
        if (CWnd* parent = GetParent())
            parent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                                reinterpret_cast<LPARAM>(m_hWnd));
    }
    Invalidate();
}

void CSkinButton::OnMouseMove(UINT, CPoint point) {
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
        TrackMouseEvent(&track);
        // Held while hovered, so the move that leaves the button comes here.
        if (GetCapture() != this)
            SetCapture();
        m_bHover = TRUE;
    } else {
        if (GetCapture() == this)
            ReleaseCapture();
        m_bHover = FALSE;
    }
    Invalidate();
}

void CSkinButton::OnMouseLeave() {
    m_bDown = FALSE;
    if (GetCapture() == this)
        ReleaseCapture();
    m_bHover = FALSE;
    Invalidate();
}

BOOL CSkinButton::OnEraseBkgnd(CDC*) {
    return TRUE;
}

BOOL CSkinButton::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == 0 && (m_bCheckBox || m_bRadio)) {
        m_bChecked = m_bCheckBox ? !m_bChecked : TRUE;
        Invalidate();
    }
    return CButton::OnCommand(wParam, lParam);
}
