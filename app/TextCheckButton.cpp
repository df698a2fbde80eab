#include "app/TextCheckButton.h"

#include "platform/controls/ControlDefs.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Font.h"
#include "platform/text/Text.h"

#include "sprite/GdiRoutines.h"
#include <cstring>

void CTextCheckButton::SetBitmap(CBitmap* unchecked, CBitmap* checked) {
    m_pBmpUnchecked = unchecked;
    m_pBmpChecked = checked;
    const CSize size = unchecked ? GetBitmapSize(*unchecked) : CSize();
    m_nBmpWidth = size.cx;
    m_nBmpHeight = size.cy;
}

void CTextCheckButton::PreSubclassWindow() {
    SendMessage(BM_SETSTYLE, GetStyle() | BS_OWNERDRAW, TRUE);
    CButton::PreSubclassWindow();
}

void CTextCheckButton::OnLButtonUp(UINT flags, CPoint point) {
    m_bChecked = !m_bChecked;
    Paint();
    CButton::OnLButtonUp(flags, point);
}

void CTextCheckButton::DrawItem(LPDRAWITEMSTRUCT item) {
    if (item && (item->itemAction & ODA_DRAWENTIRE))
        Paint();
}

void CTextCheckButton::Paint() {
    HDC dc = ::GetDC(m_hWnd);
    if (!dc)
        return;
    // The owner's button colour under the text, as its other buttons get it:
    // no box of the control's own colour on the owner's face.
    if (HWND owner = ::GetParent(m_hWnd)) {
        const auto brush = reinterpret_cast<HBRUSH>(
            ::SendMessage(owner, WM_CTLCOLORBTN, WPARAM(dc), LPARAM(m_hWnd)));
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        if (brush != nullptr)
            ::FillRect(dc, &client, brush);
    }
    CBitmap* face = m_bChecked ? m_pBmpChecked : m_pBmpUnchecked;
    if (face && face->GetSafeHandle())
        BlitBitmap(dc, 0, 0, m_nBmpWidth, m_nBmpHeight, *face, 0, 0, SRCCOPY);
    char text[256] = "";
    ::GetWindowText(m_hWnd, text, sizeof text);
    HFONT font = CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "宋体");
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    TextOut(dc, m_nBmpWidth + kTextGap, 0, text, int(strlen(text)));
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    ::ReleaseDC(m_hWnd, dc);
}
