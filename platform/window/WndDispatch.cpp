// CWnd's message dispatch: the standard messages unpacked into virtual handlers.

#include "platform/window/Wnd.h"

#include "platform/DisplayDriver.h"
#include "platform/window/HotKey.h"
#include "platform/window/Menu.h"
#include "platform/window/WindowRecord.h"

using namespace platform;

namespace {
CPoint PointOf(LPARAM lParam) {
    return CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}
CWnd* WndOf(WPARAM handle) {
    return CWnd::FromHandle(reinterpret_cast<HWND>(handle));
}
CWnd* WndOfL(LPARAM handle) {
    return CWnd::FromHandle(reinterpret_cast<HWND>(handle));
}
} // namespace

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A window of a registered class with its own procedure falls back on that.
    WindowRecord* record = FindWindowRecord(m_hWnd);
    if (record && record->classProc && record->classProc != ::DefWindowProc)
        return record->classProc(m_hWnd, message, wParam, lParam);
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    LRESULT r = 0;
    switch (message) {
    case WM_CREATE:
        r = OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_NCDESTROY:
        OnNcDestroy();
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_SIZE:
        OnSize(UINT(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_MOVE:
        OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_SHOWWINDOW:
        OnShowWindow(BOOL(wParam), UINT(lParam));
        break;
    case WM_ENABLE:
        OnEnable(BOOL(wParam));
        break;
    case WM_PAINT:
        OnPaint();
        break;
    case WM_ERASEBKGND:
        r = OnEraseBkgnd(GetDisplayDriver().DCFromHandle(reinterpret_cast<HDC>(wParam)));
        break;
    case WM_TIMER:
        OnTimer(wParam);
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(UINT(wParam), PointOf(lParam));
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(UINT(wParam), PointOf(lParam));
        break;
    case WM_LBUTTONUP:
        OnLButtonUp(UINT(wParam), PointOf(lParam));
        break;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(UINT(wParam), PointOf(lParam));
        break;
    case WM_RBUTTONDOWN:
        OnRButtonDown(UINT(wParam), PointOf(lParam));
        break;
    case WM_RBUTTONUP:
        OnRButtonUp(UINT(wParam), PointOf(lParam));
        break;
    case WM_RBUTTONDBLCLK:
        OnRButtonDblClk(UINT(wParam), PointOf(lParam));
        break;
    case WM_MOUSEWHEEL:
        r = OnMouseWheel(LOWORD(wParam), short(HIWORD(wParam)), PointOf(lParam));
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        break;
    case WM_KEYDOWN:
        OnKeyDown(UINT(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_KEYUP:
        OnKeyUp(UINT(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_CHAR:
        OnChar(UINT(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_GETDLGCODE:
        r = OnGetDlgCode();
        break;
    case WM_SETFOCUS:
        OnSetFocus(WndOf(wParam));
        break;
    case WM_KILLFOCUS:
        OnKillFocus(WndOf(wParam));
        break;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(WndOfL(lParam));
        break;
    case WM_CANCELMODE:
        OnCancelMode();
        break;
    case WM_SETCURSOR:
        r = OnSetCursor(WndOf(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam), WndOfL(lParam), HIWORD(wParam));
        break;
    case WM_COPYDATA:
        r = OnCopyData(WndOf(wParam), reinterpret_cast<COPYDATASTRUCT*>(lParam));
        break;
    case WM_NCHITTEST:
        r = OnNcHitTest(PointOf(lParam));
        break;
    case WM_NCCALCSIZE:
        OnNcCalcSize(BOOL(wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
        break;
    case WM_NCPAINT:
        OnNcPaint();
        break;
    case WM_NCACTIVATE:
        r = OnNcActivate(BOOL(wParam));
        break;
    case WM_NCMOUSEMOVE:
        OnNcMouseMove(UINT(wParam), PointOf(lParam));
        break;
    case WM_NCLBUTTONDOWN:
        OnNcLButtonDown(UINT(wParam), PointOf(lParam));
        break;
    case WM_NCLBUTTONUP:
        OnNcLButtonUp(UINT(wParam), PointOf(lParam));
        break;
    case WM_NCLBUTTONDBLCLK:
        OnNcLButtonDblClk(UINT(wParam), PointOf(lParam));
        break;
    case WM_NCRBUTTONDOWN:
        OnNcRButtonDown(UINT(wParam), PointOf(lParam));
        break;
    case WM_NCRBUTTONUP:
        OnNcRButtonUp(UINT(wParam), PointOf(lParam));
        break;
    case WM_SYSCOMMAND:
        OnSysCommand(UINT(wParam), lParam);
        break;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case WM_HOTKEY:
        OnHotKey(UINT(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam),
                        HIWORD(lParam));
        break;
    case WM_COMMAND:
        if (!OnCommand(wParam, lParam))
            return FALSE;
        r = 1;
        break;
    default:
        return FALSE;
    }
    *result = r;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) {
    return FALSE;
}

int CWnd::OnCreate(LPCREATESTRUCT) {
    return int(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnNcDestroy() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnMove(int, int) {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
void CWnd::OnEnable(BOOL) {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return BOOL(Default());
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return BOOL(Default());
}
void CWnd::OnMouseLeave() {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
UINT CWnd::OnGetDlgCode() {
    return UINT(Default());
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnCaptureChanged(CWnd*) {
    Default();
}
void CWnd::OnCancelMode() {
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return BOOL(Default());
}
void CWnd::OnActivate(UINT, CWnd*, BOOL) {
    Default();
}
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) {
    return BOOL(Default());
}
LRESULT CWnd::OnNcHitTest(CPoint) {
    return Default();
}
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {
    Default();
}
void CWnd::OnNcPaint() {
    Default();
}
BOOL CWnd::OnNcActivate(BOOL) {
    return BOOL(Default());
}
void CWnd::OnNcMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnNcLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnNcLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnNcLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnNcRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnNcRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {
    Default();
}
void CWnd::OnHotKey(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) {
    Default();
}
CMenu* CWnd::GetSystemMenu(BOOL revert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert));
}
