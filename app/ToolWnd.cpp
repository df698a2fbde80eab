#include "app/ToolWnd.h"

#include "app/AppServices.h"
#include "app/GameApp.h"
#include "platform/controls/ControlHost.h"
#include "platform/window/WindowDcs.h"
#include "sprite/GdiRoutines.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"

IMPLEMENT_DYNCREATE(CToolWnd, CWnd)

int CToolWnd::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (!m_wndChat.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(), this,
                          kChatId)) {
        // The pane lives on without chat; nobody may call the control then.
        WriteLog("The chat control could not be created; the chat area stays empty");
        return 0;
    }
    m_wndChat.MoveWindow(0, 207, 240, 621);
    m_wndChat.CallMember53();
    m_wndChat.CallMember50(500);
    m_wndChat.CallMember70(FALSE);
    m_wndChat.CallMember41();
    m_wndChat.ShowWindow(SW_HIDE);
    m_wndChat.CallMember87(TRUE);
    theApp.m_pChatCtrl = &m_wndChat;
    return 0;
}

void CToolWnd::OnDestroy() {
    if (theApp.m_pChatCtrl == &m_wndChat)
        theApp.m_pChatCtrl = nullptr;
    CWnd::OnDestroy();
}

int CToolWnd::HeaderHeight() const {
    const CGameLayout& layout = theApp.m_layout;
    return GetBitmapSize(layout.m_bmpLogo).cy + GetBitmapSize(layout.m_bmpChatHeader).cy;
}

void CToolWnd::OnPaint() {
    CPaintDC dc(this);
    CGameLayout& layout = theApp.m_layout;
    const CSize logo = GetBitmapSize(layout.m_bmpLogo);
    const CSize header = GetBitmapSize(layout.m_bmpChatHeader);
    if (layout.m_bmpLogo.GetSafeHandle() != nullptr)
        BlitBitmap(dc.GetSafeHdc(), 0, 0, logo.cx, logo.cy, layout.m_bmpLogo, 0, 0, SRCCOPY);
    if (layout.m_bmpChatHeader.GetSafeHandle() != nullptr)
        BlitBitmap(dc.GetSafeHdc(), 0, logo.cy, header.cx, header.cy, layout.m_bmpChatHeader, 0, 0,
                   SRCCOPY);
}

void CToolWnd::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (m_wndChat.m_hWnd == nullptr)
        return;
    const int top = HeaderHeight();
    m_wndChat.MoveWindow(0, top, cx, std::max(0, cy - top));
    m_wndChat.ShowWindow(SW_SHOW);
}

void CToolWnd::OnKick(LPCSTR userName) {
    if (userName == nullptr)
        return;
    if (theClient.m_bWatcher) {
        if (CGameWnd* table = dynamic_cast<CGameWnd*>(
                CWnd::FromHandlePermanent(::GetDlgItem(::GetParent(m_hWnd), 100))))
            table->ShowNotice("对不起，旁观不能使用踢人功能！");
        return;
    }
    char name[20] = {};
    strncpy(name, userName, sizeof name - 1);
    theClient.Standup(name);
}

LRESULT CToolWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CONTROLEVENT) {
        const ControlEvent* event = reinterpret_cast<const ControlEvent*>(lParam);
        if (event != nullptr && event->control == m_wndChat.m_hWnd && event->id == kKickEvent) {
            const DispatchArgs* args = event->args;
            OnKick(args != nullptr && !args->empty() && (*args)[0].type == VT_BSTR
                       ? (LPCSTR)(*args)[0].text
                       : nullptr);
            return 0;
        }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
