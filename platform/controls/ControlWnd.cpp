// CControlWnd: subclassing, fonts and reflected notifications of controls.

#include "platform/controls/ControlWnd.h"

BOOL CControlWnd::SubclassWindow(HWND hwnd) {
    if (!Attach(hwnd))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

BOOL CControlWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent)
        return FALSE;
    HWND control = ::GetDlgItem(parent->GetSafeHwnd(), int(id));
    return control && SubclassWindow(control);
}

HWND CControlWnd::UnsubclassWindow() {
    return Detach();
}

BOOL CControlWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x,
                           int y, int width, int height, HWND parent, HMENU idOrMenu,
                           LPVOID param) {
    if (!CWnd::CreateEx(exStyle, className, windowName, style, x, y, width, height, parent,
                        idOrMenu, param))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

void CControlWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

CFont* CControlWnd::GetFont() const {
    return AfxGetWindowFont(const_cast<CControlWnd*>(this));
}

BOOL CControlWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

CFont* AfxGetWindowFont(CWnd* wnd) {
    if (!wnd || !wnd->GetSafeHwnd())
        return nullptr;
    HFONT font = reinterpret_cast<HFONT>(wnd->SendMessage(WM_GETFONT));
    return font ? CFont::FromHandle(font) : nullptr;
}
