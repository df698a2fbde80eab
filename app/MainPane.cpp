#include "app/MainPane.h"

#include "app/AppServices.h"
#include "app/GameApp.h"
#include "app/SkinWindow.h"
#include "app/ToolWnd.h"
#include "platform/controls/ControlDefs.h"
#include "platform/gdi/DcEx.h"
#include "platform/window/Cursor.h"
#include "platform/window/WindowDcs.h"
#include "sprite/GdiRoutines.h"
#include "table/window/GameWnd.h"
#include "table/client/ReceiveGate.h"

namespace {

const COLORREF kHiddenBarLine = RGB(44, 48, 53);

void PostToMain(UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(message, wParam, lParam);
}

} // namespace

CMainPane::CMainPane() = default;

void CMainPane::SetSplitterBitmaps(CBitmap* bar, CBitmap* barHidden, CBitmap* openStrip,
                                   CBitmap* closeStrip) {
    m_pBarBitmap = bar;
    m_pBarBitmapAlt = barHidden;
    m_pOpenStrip = openStrip;
    m_pCloseStrip = closeStrip;
    if (bar != nullptr && bar->GetSafeHandle() != nullptr)
        m_nBarWidth = GetBitmapSize(*bar).cx;
    if (openStrip != nullptr && openStrip->GetSafeHandle() != nullptr) {
        const CSize strip = GetBitmapSize(*openStrip);
        m_nBtnWidth = strip.cx / 4;
        m_nBtnHeight = strip.cy;
    }
}

void CMainPane::SetBarWidths(int maxWidth, int minWidth, int width) {
    m_nMaxWidth = maxWidth;
    m_nMinWidth = minWidth;
    m_nSavedWidth = m_nToolWidth = width;
}

CMainPane::Places CMainPane::Compute(const CRect& client) const {
    Places p;
    const int m = m_nMargin, b = m_nBarWidth, w = m_nToolWidth;
    p.left = CRect(m, m, client.right - m - b - w, client.bottom - m);
    p.right = CRect(p.left.right + b, m, client.right - m, client.bottom - m);
    p.bar = CRect(p.left.right, m, p.left.right + b, client.bottom - m);
    const int x = p.bar.left + (b - m_nBtnWidth) / 2;
    const int y = p.bar.top + (p.bar.Height() - m_nBtnHeight) / 2;
    p.button = CRect(x, y, x + m_nBtnWidth, y + m_nBtnHeight);
    return p;
}

BOOL CMainPane::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    return CWnd::PreCreateWindow(cs);
}

BOOL CMainPane::CreateViews(const CRuntimeClass* left, const CRuntimeClass* right) {
    CRect client;
    GetClientRect(&client);
    const Places places = Compute(client);
    CWnd* views[2] = {nullptr, nullptr};
    const CRuntimeClass* classes[2] = {left, right};
    const UINT ids[2] = {kTableId, kToolId};
    const CRect rects[2] = {places.left, places.right};
    for (int i = 0; i < 2; ++i) {
        CObject* made = classes[i] != nullptr ? classes[i]->CreateObject() : nullptr;
        views[i] = dynamic_cast<CWnd*>(made);
        if (views[i] == nullptr) {
            delete made;
            WriteLog("The main pane could not make its view %u", ids[i]);
            return FALSE;
        }
        if (CGameWnd* table = dynamic_cast<CGameWnd*>(views[i]))
            table->SetLayout(&theApp.m_layout);
        // A view that fails its creation deletes itself, as views do.
        if (!views[i]->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rects[i], this, ids[i])) {
            WriteLog("The main pane could not create its view %u", ids[i]);
            return FALSE;
        }
    }
    m_btnClose.Create("close", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, places.button, this, kCloseId);
    m_btnOpen.Create("open", WS_CHILD | BS_OWNERDRAW, places.button, this, kOpenId);
    if (m_pCloseStrip != nullptr && m_pCloseStrip->GetSafeHandle() != nullptr)
        m_btnClose.SetBitmapStrip(m_pCloseStrip, 4, FALSE);
    if (m_pOpenStrip != nullptr && m_pOpenStrip->GetSafeHandle() != nullptr)
        m_btnOpen.SetBitmapStrip(m_pOpenStrip, 4, FALSE);
    m_btnClose.SetToolTipText("隐藏聊天区域", TRUE);
    m_btnOpen.SetToolTipText("显示聊天区域", TRUE);
    return TRUE;
}

CGameWnd* CMainPane::GetGameWnd() const {
    return dynamic_cast<CGameWnd*>(CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, kTableId)));
}

CToolWnd* CMainPane::GetToolWnd() const {
    return dynamic_cast<CToolWnd*>(CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, kToolId)));
}

void CMainPane::RecalcLayout() {
    if (m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    const Places places = Compute(client);
    if (HWND left = ::GetDlgItem(m_hWnd, kTableId))
        ::MoveWindow(left, places.left.left, places.left.top, places.left.Width(),
                     places.left.Height(), TRUE);
    if (HWND right = ::GetDlgItem(m_hWnd, kToolId))
        ::MoveWindow(right, places.right.left, places.right.top, places.right.Width(),
                     places.right.Height(), TRUE);
    if (m_btnOpen.m_hWnd != nullptr)
        m_btnOpen.MoveWindow(&places.button);
    if (m_btnClose.m_hWnd != nullptr)
        m_btnClose.MoveWindow(&places.button);
    Invalidate(FALSE);
    // Of the two watch buttons only the one that switches shows.
    PostToMain(WM_SKIN_SHOWBUTTON, theApp.m_settings.m_bAllowWatch ? 0 : 1, 0);
}

void CMainPane::ShowChatArea() {
    m_btnOpen.ShowWindow(SW_HIDE);
    m_btnClose.ShowWindow(SW_SHOW);
    m_nToolWidth = m_nSavedWidth;
    RecalcLayout();
}

void CMainPane::HideChatArea() {
    m_btnOpen.ShowWindow(SW_SHOW);
    m_btnClose.ShowWindow(SW_HIDE);
    m_nSavedWidth = m_nToolWidth;
    m_nToolWidth = 0;
    RecalcLayout();
}

BOOL CMainPane::TableReadyForBarButton() {
    CGameWnd* table = GetGameWnd();
    if (table != nullptr && table->ReceiveGate().IsHeld())
        return FALSE;
    // No record may come in while the table is laid out anew.
    if (table != nullptr)
        table->ReceiveGate().Hold(CReceiveGate::kLayout);
    return TRUE;
}

BOOL CMainPane::OnCommand(WPARAM wParam, LPARAM lParam) {
    // The frame's skin is attached once at start-up: attaching it again here
    // would bring back hidden user buttons and could delete the skin while
    // its own press loop runs.
    const UINT id = LOWORD(wParam);
    if (id == kOpenId || id == kCloseId) {
        if (!TableReadyForBarButton())
            return TRUE;
        PostToMain(WM_SKIN_ALTLOOK, id == kCloseId ? 1 : 0, 0);
        if (id == kOpenId)
            ShowChatArea();
        else
            HideChatArea();
        // The table has been laid out anew by now: it takes clicks and
        // records again.
        if (CGameWnd* table = GetGameWnd())
            table->ReceiveGate().Release(CReceiveGate::kLayout);
        return TRUE;
    }
    if (CWnd* table = GetGameWnd(); table != nullptr && table->OnCommand(wParam, lParam))
        return TRUE;
    if (CWnd* tool = GetToolWnd(); tool != nullptr && tool->OnCommand(wParam, lParam))
        return TRUE;
    return CWnd::OnCommand(wParam, lParam);
}

void CMainPane::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (type != SIZE_MINIMIZED && cx > 0 && cy > 0)
        RecalcLayout();
}

void CMainPane::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const CRect bar = Compute(client).bar;
    CBitmap* tile = IsChatShown() ? m_pBarBitmap : m_pBarBitmapAlt;
    if (tile == nullptr || tile->GetSafeHandle() == nullptr) {
        dc.FillSolidRect(&bar, kHiddenBarLine);
        return;
    }
    const CSize size = GetBitmapSize(*tile);
    for (int y = bar.top; size.cy > 0 && y < bar.bottom; y += size.cy) {
        const int h = std::min<int>(size.cy, bar.bottom - y);
        BlitBitmap(dc.GetSafeHdc(), bar.left, y, bar.Width(), h, *tile, 0, 0, SRCCOPY);
        if (!IsChatShown())
            dc.FillSolidRect(CRect(bar.right - 1, y, bar.right, y + h), kHiddenBarLine);
    }
    if (IsChatShown() && m_pBarBitmapAlt != nullptr && m_pBarBitmapAlt->GetSafeHandle()) {
        BlitBitmap(dc.GetSafeHdc(), bar.left, bar.top, bar.Width(), 1, *m_pBarBitmapAlt, 0, 0,
                   SRCCOPY);
        BlitBitmap(dc.GetSafeHdc(), bar.left, bar.top + 141, bar.Width(), 148, *m_pBarBitmapAlt, 0,
                   141, SRCCOPY);
    }
}

BOOL CMainPane::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (CanDrag() && wnd == this) {
        CPoint point;
        GetCursorPos(&point);
        ScreenToClient(&point);
        CRect client;
        GetClientRect(&client);
        if (Compute(client).bar.PtInRect(point)) {
            SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CMainPane::OnLButtonDown(UINT flags, CPoint point) {
    CWnd::OnLButtonDown(flags, point);
    CRect client;
    GetClientRect(&client);
    const CRect bar = Compute(client).bar;
    if (!CanDrag() || !bar.PtInRect(point))
        return;
    m_bDragging = TRUE;
    m_nGrabOffset = point.x - bar.left;
    SetCapture();
    m_nTrackerX = bar.left;
    InvertTracker(m_nTrackerX);
}

int CMainPane::SideWidthFor(int barLeft) const {
    CRect client;
    GetClientRect(&client);
    return client.right - m_nMargin - barLeft - m_nBarWidth;
}

void CMainPane::InvertTracker(int x) {
    CRect client;
    GetClientRect(&client);
    HDC dc = ::GetDCEx(m_hWnd, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (dc == nullptr)
        return;
    // Inverting with mid grey keeps what lies under the tracker readable and
    // is undone by the same call.
    HBRUSH brush = ::CreateSolidBrush(RGB(128, 128, 128));
    HGDIOBJ old = ::SelectObject(dc, brush);
    ::PatBlt(dc, x, client.top + m_nMargin, m_nBarWidth, client.Height() - 2 * m_nMargin,
             PATINVERT);
    ::SelectObject(dc, old);
    ::DeleteObject(brush);
    ::ReleaseDC(m_hWnd, dc);
}

void CMainPane::OnMouseMove(UINT flags, CPoint point) {
    CWnd::OnMouseMove(flags, point);
    if (!m_bDragging)
        return;
    const int barLeft = point.x - m_nGrabOffset;
    const int width = SideWidthFor(barLeft);
    if (width < m_nMinWidth || width > m_nMaxWidth || barLeft == m_nTrackerX)
        return;
    InvertTracker(m_nTrackerX);
    m_nTrackerX = barLeft;
    InvertTracker(m_nTrackerX);
}

void CMainPane::OnLButtonUp(UINT flags, CPoint point) {
    if (m_bDragging) {
        ReleaseCapture();
        InvertTracker(m_nTrackerX);
        m_bDragging = FALSE;
        const int width = SideWidthFor(point.x - m_nGrabOffset);
        m_nToolWidth = std::clamp(width, m_nMinWidth, m_nMaxWidth);
        m_nSavedWidth = m_nToolWidth;
        RecalcLayout();
        if (m_btnOpen.IsWindowVisible() && m_nToolWidth > 0) {
            m_btnOpen.ShowWindow(SW_HIDE);
            m_btnClose.ShowWindow(SW_SHOW);
        }
    }
    CWnd::OnLButtonUp(flags, point);
}

void CMainPane::OnRButtonDown(UINT flags, CPoint point) {
    if (m_bDragging) {
        ReleaseCapture();
        InvertTracker(m_nTrackerX);
        m_bDragging = FALSE;
    }
    CWnd::OnRButtonDown(flags, point);
}
