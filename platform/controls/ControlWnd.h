#pragma once

// CControlWnd: what the MFC control classes (CButton, CStatic, CEdit,
// CListBox, CComboBox, CToolTipCtrl) share beyond CWnd: taking over a control
// that already exists (subclassing: the object sees the control's messages
// first, the control's own procedure does the rest), its font, and the
// notifications its parent hands back to it (owner drawing).

#include "platform/controls/ControlDefs.h"
#include "platform/text/CFont.h"
#include "platform/window/Wnd.h"

class CControlWnd : public CWnd {
public:
    // Binds this object to an existing window and calls PreSubclassWindow.
    // FALSE when the object is bound already or the window has an object.
    BOOL SubclassWindow(HWND hwnd);
    // The parent's child with the given id.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    // Called when the object takes over a window, by subclassing or by
    // creating it; a class adds its styles here.
    virtual void PreSubclassWindow() {}

    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU idOrMenu,
                  LPVOID param = nullptr) override;
    using CWnd::CreateEx;

    void SetFont(CFont* font, BOOL redraw = TRUE);
    // The control's font; a wrapper when it has none of its own objects.
    CFont* GetFont() const;

    // A message the parent handed back (WM_DRAWITEM); TRUE when handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

// Sends WM_GETFONT: the font of any window (dialogs and controls), or null.
CFont* AfxGetWindowFont(CWnd* wnd);
