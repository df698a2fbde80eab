#include "app/MagnifierWnd.h"

#include "platform/gdi/Dc.h"
#include "platform/window/Cursor.h"
#include "platform/window/Input.h"
#include "platform/window/WindowDcs.h"
#include "sprite/AppServices.h"
#include "sprite/MemDC.h"
#include "sprite/Picture.h"
#include "sprite/Theme.h"

CMagnifierWnd::CMagnifierWnd() = default;

CMagnifierWnd::~CMagnifierWnd() {
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CMagnifierWnd::Create(CWnd* owner, LPCSTR title) {
    if (GetSafeHwnd() || !owner)
        return FALSE;
    m_pOwner = owner;
    LPCTSTR windowClass = AfxRegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW));
    if (!CreateEx(0, windowClass, title, WS_POPUP, 0, 0, kWidth, kHeight, owner->GetSafeHwnd(),
                  nullptr)) {
        WriteLog("Magnifier: the pop-up could not be made");
        return FALSE;
    }
    m_pMouseImage = kn::theTheme.GetImage("Magnifier_Mouse", FALSE);
    CentreOnOwner();
    return TRUE;
}

void CMagnifierWnd::Show() {
    if (!GetSafeHwnd())
        return;
    TakeSnapshot();
    SetTimer(kFollowTimer, kFollowMs, nullptr);
    SetTimer(kRefreshTimer, kRefreshMs, nullptr);
    m_bHiddenByMouse = FALSE;
    if (m_pOwner && ::IsWindow(m_pOwner->GetSafeHwnd()))
        CentreOnOwner();
    ShowWindow(SW_SHOW);
}

void CMagnifierWnd::Hide() {
    if (!GetSafeHwnd())
        return;
    KillTimer(kFollowTimer);
    KillTimer(kRefreshTimer);
    ShowWindow(SW_HIDE);
}

CRect CMagnifierWnd::PlaceOnOwner() const {
    CRect client;
    m_pOwner->GetClientRect(&client);
    m_pOwner->ClientToScreen(&client);
    const int left = client.left + (client.Width() - kWidth) / 2;
    const int top = client.top + (client.Height() - kHeight) / 2;
    return CRect(left, top, left + kWidth, top + kHeight);
}

void CMagnifierWnd::CentreOnOwner() {
    if (!m_pOwner || !::IsWindow(m_pOwner->GetSafeHwnd()))
        return;
    const CRect place = PlaceOnOwner();
    SetWindowPos(nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMagnifierWnd::TakeSnapshot() {
    if (!m_pOwner || !::IsWindow(m_pOwner->GetSafeHwnd()))
        return;
    CRect window;
    m_pOwner->GetWindowRect(&window);
    CClientDC ownerDC(m_pOwner);
    m_pSnapDC = std::make_unique<CMemDC>(&ownerDC, window.Width(), window.Height());
    m_pSnapDC->BitBlt(0, 0, window.Width(), window.Height(), &ownerDC, 0, 0, SRCCOPY);
}

void CMagnifierWnd::Follow() {
    if (!m_pOwner)
        return;
    if (!::IsWindow(m_pOwner->GetSafeHwnd())) {
        Hide();
        return;
    }
    CentreOnOwner();
    POINT cursor{};
    GetCursorPos(&cursor);
    CRect client;
    m_pOwner->GetClientRect(&client);
    m_pOwner->ClientToScreen(&client);
    if (!client.PtInRect(cursor)) {
        m_bHiddenByMouse = TRUE;
        ShowWindow(SW_HIDE);
    } else if (m_bHiddenByMouse && !PlaceOnOwner().PtInRect(cursor)) {
        m_bHiddenByMouse = FALSE;
        ShowWindow(SW_SHOW);
    }
    m_pOwner->SetFocus();
}

void CMagnifierWnd::DrawView(CDC& dc) {
    if (!m_pSnapDC || !m_pOwner)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    m_pOwner->ScreenToClient(&cursor);
    dc.FillSolidRect(kMargin, kMargin, kWidth - 2 * kMargin, kHeight - 2 * kMargin, kBackColour);
    const int oldMode = dc.SetStretchBltMode(COLORONCOLOR);
    // The layer clips the source to the snapshot; outside it nothing is read.
    dc.StretchBlt(kMargin, kMargin, kWidth - 2 * kMargin, kHeight - 2 * kMargin, m_pSnapDC.get(),
                  cursor.x - kSourceWidth / 2, cursor.y - kSourceHeight / 2, kSourceWidth,
                  kSourceHeight, SRCCOPY);
    dc.SetStretchBltMode(oldMode);
    if (m_pMouseImage)
        m_pMouseImage->DrawTransparent(dc.GetSafeHdc(), kWidth / 2, kHeight / 2,
                                       m_pMouseImage->GetWidth(), m_pMouseImage->GetHeight(), 0, 0,
                                       m_pMouseImage->GetWidth(), m_pMouseImage->GetHeight(),
                                       kKeyColor);
    HRGN frame = CreateRectRgn(1, 1, kWidth, kHeight);
    HBRUSH brush = CreateSolidBrush(kFrameColour);
    FrameRgn(dc.GetSafeHdc(), frame, brush, kMargin, kMargin);
    DeleteObject(brush);
    // The window owns the region from here; no redraw, which would paint
    // the view again and set the region again without end.
    SetWindowRgn(frame, FALSE);
}

void CMagnifierWnd::OnPaint() {
    CPaintDC dc(this);
    DrawView(dc);
}

BOOL CMagnifierWnd::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void CMagnifierWnd::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (m_bMoving)
        return;
    // Back to the corner; the next follow tick centres it again.
    m_bMoving = true;
    MoveWindow(0, 0, cx, cy, TRUE);
    m_bMoving = false;
}

void CMagnifierWnd::OnMouseMove(UINT flags, CPoint point) {
    m_bHiddenByMouse = TRUE;
    ShowWindow(SW_HIDE);
    CWnd::OnMouseMove(flags, point);
}

void CMagnifierWnd::OnTimer(UINT_PTR id) {
    if (id == kFollowTimer) {
        Follow();
    } else if (id == kRefreshTimer) {
        TakeSnapshot();
        CClientDC dc(this);
        DrawView(dc);
    } else {
        CWnd::OnTimer(id);
    }
}
