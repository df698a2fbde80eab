// CControlWnd: reflected notifications of controls, and any window's font.

#include "platform/controls/ControlWnd.h"

BOOL CControlWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

CFont* AfxGetWindowFont(CWnd* wnd) {
    return wnd ? wnd->GetFont() : nullptr;
}
