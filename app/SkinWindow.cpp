#include "app/SkinWindow.h"

#include "platform/gdi/Gdi.h"
#include "platform/window/Menu.h"
#include "platform/window/Messages.h"
#include "platform/window/Wnd.h"

#include <algorithm>

namespace {

bool IsMouseMessage(UINT message) {
    return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONUP) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

POINT ScreenPointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

void CSkinWindow::Attach(HWND hwnd, LPCSTR section, CSkinFrame* skin) {
    if (!IsWindow(hwnd))
        return;
    if (CSkinWindow* old = FromWindow(hwnd))
        old->Detach();
    if (skin)
        new CSkinWindow(hwnd, section, skin);
    UpdateWindow(hwnd);
}

CSkinWindow* CSkinWindow::FromWindow(HWND hwnd) {
    if (!IsWindow(hwnd) ||
        reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWL_WNDPROC)) != &CSkinWindow::StaticProc)
        return nullptr;
    return reinterpret_cast<CSkinWindow*>(GetWindowLongPtr(hwnd, GWL_USERDATA));
}

CSkinWindow::CSkinWindow(HWND hwnd, LPCSTR section, CSkinFrame* skin)
    : m_pSkin(skin), m_hWnd(hwnd), m_dwStyle(DWORD(GetWindowLong(hwnd, GWL_STYLE))) {
    const CString name = section ? section : "";
    for (int i = 0; i < int(skin->m_userButtons.size()); ++i) {
        const CString& group = skin->m_userButtons[i].group;
        if ((group.IsEmpty() || group == name) && int(m_aButtons.size()) < kMaxShownButtons)
            m_aButtons.push_back(i);
    }
    SetWindowLongPtr(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_pfnOldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&CSkinWindow::StaticProc)));
    // The same size again makes the window ask for its client area anew.
    RECT rect;
    GetWindowRect(hwnd, &rect);
    SetWindowPos(hwnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    HRGN region = skin::MakeRegion(*m_pSkin, rect.right - rect.left, rect.bottom - rect.top);
    SetWindowRgn(hwnd, region, TRUE);
    if (m_wndTip.Create(CWnd::FromHandle(hwnd))) {
        m_wndTip.AddTool(CWnd::FromHandle(hwnd), "");
        m_wndTip.Activate(FALSE);
    }
}

CSkinWindow::~CSkinWindow() {
    if (m_wndTip.GetSafeHwnd())
        m_wndTip.DestroyWindow();
}

void CSkinWindow::Detach() {
    if (m_bDetached)
        return;
    m_bDetached = true;
    if (IsWindow(m_hWnd)) {
        if (m_bHoverTimer)
            KillTimer(m_hWnd, kHoverTimer);
        SetWindowLongPtr(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOldProc));
        SetWindowLongPtr(m_hWnd, GWL_USERDATA, 0);
    }
    if (!m_bInPressLoop)
        delete this;
}

LRESULT CALLBACK CSkinWindow::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CSkinWindow*>(GetWindowLongPtr(hwnd, GWL_USERDATA));
    if (!self)
        return DefWindowProc(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC old = self->m_pfnOldProc;
        self->Detach();
        return CallWindowProc(old, hwnd, message, wParam, lParam);
    }
    return self->WindowProc(message, wParam, lParam);
}

LRESULT CSkinWindow::Old(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProc(m_pfnOldProc, m_hWnd, message, wParam, lParam);
}

void CSkinWindow::RelayToTip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_wndTip.GetSafeHwnd() || !IsMouseMessage(message))
        return;
    MSG msg{m_hWnd, message, wParam, lParam, 0, {}};
    GetCursorPos(&msg.pt);
    m_wndTip.RelayEvent(&msg);
}

skin::FrameState CSkinWindow::State() const {
    skin::FrameState state;
    RECT rect;
    GetWindowRect(m_hWnd, &rect);
    state.width = rect.right - rect.left;
    state.height = rect.bottom - rect.top;
    state.style = m_dwStyle;
    state.active = m_bActive;
    state.zoomed = IsZoomed(m_hWnd);
    state.userButtons = m_aButtons;
    return state;
}

int CSkinWindow::HitAtScreen(POINT screen) const {
    RECT rect;
    GetWindowRect(m_hWnd, &rect);
    if (!PtInRect(&rect, screen))
        return HTNOWHERE;
    return skin::HitTest(*m_pSkin, State(), POINT{screen.x - rect.left, screen.y - rect.top});
}

void CSkinWindow::PaintFrame() {
    HDC dc = GetWindowDC(m_hWnd);
    if (!dc)
        return;
    char caption[201] = "";
    GetWindowText(m_hWnd, caption, sizeof caption);
    skin::PaintFrame(*m_pSkin, dc, State(), caption);
    ReleaseDC(m_hWnd, dc);
}

void CSkinWindow::DrawButton(int hit, int state) {
    HDC dc = GetWindowDC(m_hWnd);
    if (!dc)
        return;
    skin::DrawButton(*m_pSkin, dc, State(), hit, state);
    ReleaseDC(m_hWnd, dc);
}

LRESULT CSkinWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    RelayToTip(message, wParam, lParam);
    switch (message) {
    case WM_NCLBUTTONDOWN:
        OnNcLButtonDown(int(wParam), lParam);
        return 0;
    case WM_SIZE: {
        RECT rect;
        GetWindowRect(m_hWnd, &rect);
        SetWindowRgn(m_hWnd,
                     skin::MakeRegion(*m_pSkin, rect.right - rect.left, rect.bottom - rect.top),
                     TRUE);
        return Old(message, wParam, lParam);
    }
    case WM_ACTIVATE: {
        m_bActive = LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE;
        m_bActivating = TRUE;
        PaintFrame();
        return Old(message, wParam, lParam);
    }
    case WM_SETTEXT: {
        Old(message, wParam, lParam);
        PaintFrame();
        return TRUE;
    }
    case WM_NCCALCSIZE:
        if (!wParam)
            return Old(message, wParam, lParam);
        OnNcCalcSize(wParam, lParam);
        return 0;
    case WM_NCHITTEST: {
        RECT rect;
        GetWindowRect(m_hWnd, &rect);
        const POINT pt = ScreenPointOf(lParam);
        return skin::HitTest(*m_pSkin, State(), POINT{pt.x - rect.left, pt.y - rect.top});
    }
    case WM_NCPAINT:
        PaintFrame();
        return 0;
    case WM_NCACTIVATE:
        if (m_bActivating)
            m_bActivating = FALSE;
        else
            m_bActive = wParam != 0;
        PaintFrame();
        return m_bActive ? FALSE : TRUE;
    case WM_NCMOUSEMOVE:
        OnNcMouseMove(int(wParam), lParam);
        return 0;
    case WM_NCLBUTTONUP:
        OnNcLButtonUp(int(wParam));
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION)
            PostMessage(m_hWnd, WM_SYSCOMMAND, IsZoomed(m_hWnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
        return 0;
    case WM_NCRBUTTONDOWN:
        return 0;
    case WM_NCRBUTTONUP:
        if (m_nHover == HTCAPTION)
            ShowSystemMenu(ScreenPointOf(lParam));
        return 0;
    case WM_TIMER:
        if (wParam != kHoverTimer)
            break;
        OnTimer();
        return 0;
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam) || m_bInMenu) {
            PaintFrame();
            return 0;
        }
        break;
    case WM_SKIN_ENABLEBUTTON:
        if (std::find(m_aButtons.begin(), m_aButtons.end(), int(wParam)) != m_aButtons.end()) {
            m_pSkin->m_userButtons[wParam].art.enabled = lParam != 0;
            PaintFrame();
        }
        return 0;
    case WM_SKIN_SHOWBUTTON:
        ShowButton(int(wParam), lParam != 0);
        return 0;
    case WM_SKIN_ALTLOOK:
        m_pSkin->m_bAltLook = wParam != 0;
        PaintFrame();
        return 0;
    default:
        break;
    }
    return Old(message, wParam, lParam);
}

void CSkinWindow::OnNcCalcSize(WPARAM, LPARAM lParam) {
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    params->rgrc[0] = skin::ClientInside(*m_pSkin, params->rgrc[0]);
}

void CSkinWindow::ShowButton(int index, bool show) {
    if (index < 0 || index >= int(m_pSkin->m_userButtons.size()))
        return;
    auto at = std::lower_bound(m_aButtons.begin(), m_aButtons.end(), index);
    const bool shown = at != m_aButtons.end() && *at == index;
    if (show && !shown && int(m_aButtons.size()) < kMaxShownButtons)
        m_aButtons.insert(at, index);
    else if (!show && shown)
        m_aButtons.erase(at);
    PaintFrame();
}

void CSkinWindow::OnNcMouseMove(int hit, LPARAM lParam) {
    if (!m_bHoverTimer) {
        SetTimer(m_hWnd, kHoverTimer, kHoverTimerMs, nullptr);
        m_bHoverTimer = TRUE;
    }
    if ((hit >= HTLEFT && hit <= HTBOTTOMRIGHT) || (hit == HTCAPTION && !IsZoomed(m_hWnd)))
        Old(WM_NCMOUSEMOVE, WPARAM(hit), lParam);
    m_nHover = hit;
    if (hit == m_nHot) {
        if (hit < skin::kUserHitBase && m_wndTip.GetSafeHwnd())
            m_wndTip.Activate(FALSE);
        return;
    }
    if (skin::IsButtonHit(m_nHot) && (!m_nPressed || m_nHot == m_nPressed))
        DrawButton(m_nHot, skin::BS_NORMAL);
    if (skin::IsButtonHit(hit)) {
        const int state = !m_nPressed         ? skin::BS_HOT
                          : hit == m_nPressed ? skin::BS_PRESSED
                                              : skin::BS_NORMAL;
        DrawButton(hit, state);
    }
    if (m_wndTip.GetSafeHwnd()) {
        const bool user = hit >= skin::kUserHitBase &&
                          hit - skin::kUserHitBase < int(m_pSkin->m_userButtons.size());
        if (user)
            m_wndTip.UpdateTipText(m_pSkin->m_userButtons[hit - skin::kUserHitBase].tip,
                                   CWnd::FromHandle(m_hWnd));
        m_wndTip.Activate(user);
    }
    m_nHot = hit;
}

void CSkinWindow::OnNcLButtonDown(int hit, LPARAM lParam) {
    if (!skin::IsButtonHit(hit)) {
        if (hit == HTSYSMENU)
            ShowSystemMenu(ScreenPointOf(lParam));
        else if (!IsZoomed(m_hWnd)) // a maximised window is neither moved nor sized
            Old(WM_NCLBUTTONDOWN, WPARAM(hit), lParam);
        return;
    }
    m_nPressed = hit;
    m_nHot = hit;
    DrawButton(hit, skin::BS_PRESSED);
    RunPressLoop();
}

// Follows the mouse until the button goes up. The window holds the capture
// meanwhile, so the release is seen wherever it happens; it counts as a click
// only over the pressed button. The loop also ends when the capture is taken
// away, the window goes, or the thread is told to quit.
void CSkinWindow::RunPressLoop() {
    m_bInPressLoop = true;
    SetCapture(m_hWnd);
    MSG msg;
    bool released = false;
    while (!released && !m_bDetached && GetCapture() == m_hWnd) {
        // A release that came before the capture went elsewhere: the button
        // is up with nothing left to read.
        if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000) &&
            !PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            GetCursorPos(&msg.pt);
            released = true;
            break;
        }
        if (!GetMessage(&msg, nullptr, 0, 0)) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
            OnNcMouseMove(HitAtScreen(msg.pt), MAKELPARAM(msg.pt.x, msg.pt.y));
            break;
        case WM_LBUTTONUP:
        case WM_NCLBUTTONUP:
            released = true;
            break;
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
            break; // the button is already down
        default:
            TranslateMessage(&msg);
            DispatchMessage(&msg);
            break;
        }
    }
    m_bInPressLoop = false;
    if (m_bDetached) {
        if (GetCapture() == m_hWnd)
            ReleaseCapture();
        delete this;
        return;
    }
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    OnNcLButtonUp(released ? HitAtScreen(msg.pt) : -1);
}

void CSkinWindow::OnNcLButtonUp(int hit) {
    if (m_nPressed && hit == m_nPressed) {
        switch (hit) {
        case HTMINBUTTON:
            PostMessage(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case HTCLOSE:
            PostMessage(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case HTMAXBUTTON:
            PostMessage(m_hWnd, WM_SYSCOMMAND, IsZoomed(m_hWnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
            break;
        default:
            PostMessage(m_hWnd, WM_SKIN_USERBUTTON, WPARAM(hit - skin::kUserHitBase), 0);
            break;
        }
    }
    const bool wasPressed = m_nPressed != 0;
    if (wasPressed)
        DrawButton(m_nPressed, skin::BS_NORMAL);
    m_nPressed = 0;
    m_nHot = 0;
    // The button under the mouse turns hot again, and is remembered as hot so
    // that the mouse leaving it puts its face back.
    if (wasPressed && skin::IsButtonHit(m_nHover)) {
        DrawButton(m_nHover, skin::BS_HOT);
        m_nHot = m_nHover;
    }
}

void CSkinWindow::OnTimer() {
    POINT cursor;
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) == m_hWnd)
        return;
    OnNcMouseMove(-1, 0);
    m_bHoverTimer = FALSE;
    KillTimer(m_hWnd, kHoverTimer);
}

void CSkinWindow::ShowSystemMenu(POINT screen) {
    HMENU menu = GetSystemMenu(m_hWnd, FALSE);
    if (!menu)
        return;
    const bool zoomed = IsZoomed(m_hWnd);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_SEPARATOR)
            continue;
        bool enabled = true;
        if (id == SC_SIZE || id == SC_MOVE || id == SC_MAXIMIZE)
            enabled = !zoomed;
        else if (id == SC_RESTORE)
            enabled = zoomed;
        EnableMenuItem(menu, UINT(i), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    }
    m_bInMenu = TRUE;
    const UINT command = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTBUTTON, screen.x,
                                             screen.y, 0, m_hWnd, nullptr));
    m_bInMenu = FALSE;
    if (command)
        PostMessage(m_hWnd, WM_SYSCOMMAND, command, 0);
}
