#pragma once

// CControlWnd: what the MFC control classes (CButton, CStatic, CEdit,
// CListBox, CComboBox, CToolTipCtrl) share beyond CWnd: the notifications
// their parent hands back to them (owner drawing). Subclassing and fonts are
// CWnd's.

#include "platform/controls/ControlDefs.h"
#include "platform/text/CFont.h"
#include "platform/window/Wnd.h"

class CControlWnd : public CWnd {
public:
    // A message the parent handed back (WM_DRAWITEM); TRUE when handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

// Sends WM_GETFONT: the font of any window (dialogs and controls), or null.
CFont* AfxGetWindowFont(CWnd* wnd);
