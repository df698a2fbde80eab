#pragma once

// CWnd: a C++ object bound to a window. Each message reaches the virtual
// WindowProc; the standard messages are unpacked there and handed to virtual
// On... handlers, whose base versions do the default handling (Default()). A
// class handles a message by overriding its handler; private messages (WM_USER
// and up, or any id) are handled by overriding WindowProc and switching on the id.
//
// Lifetime: DestroyWindow sends WM_DESTROY and WM_NCDESTROY, detaches the object
// and calls PostNcDestroy, where a self-owning window may delete itself.

#include "platform/CString.h"
#include "platform/Geometry.h"
#include "platform/RuntimeClass.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"

class CDC;
class CFont;
class CMenu;

// RunModalLoop flags; accepted and ignored (there is no idle processing).
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

class CWnd : public CObject {
    DECLARE_DYNCREATE(CWnd)

public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd;
    HWND m_hWndOwner = nullptr; // see SetOwner

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The CWnd of a window; a window without one gets a wrapper that lives as long
    // as the window. Null for null or invalid handles.
    static CWnd* FromHandle(HWND hwnd);
    // Only a CWnd created or attached by the program, never a wrapper.
    static CWnd* FromHandlePermanent(HWND hwnd);
    BOOL Attach(HWND hwnd);
    HWND Detach();

    // Subclassing: binds this object to a window that exists already (it then
    // sees the window's messages first; the window's own procedure does the
    // rest) and calls PreSubclassWindow. FALSE when the object is bound already
    // or the window has an object.
    BOOL SubclassWindow(HWND hwnd);
    // The parent's child with the given id.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    // Called when the object takes over a window, by subclassing or by
    // creating it; a class adds its styles here.
    virtual void PreSubclassWindow() {}

    // Creation. The class name may be null or unregistered: a CWnd needs no
    // class procedure. A child's id is nID. FALSE when OnCreate returns -1.
    virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT nID, void* context = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x,
                          int y, int width, int height, HWND parent, HMENU idOrMenu,
                          LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT nID, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE) {
        MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                   repaint);
    }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(LPRECT rect) const;

    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    // The window a control reports to (its commands): the one SetOwner named,
    // else the parent. The framework keeps it, as MFC does, beside the window.
    void SetOwner(CWnd* owner) { m_hWndOwner = owner != nullptr ? owner->m_hWnd : nullptr; }
    CWnd* GetOwner() const {
        return m_hWndOwner != nullptr ? FromHandle(m_hWndOwner) : GetParent();
    }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return int(::SetWindowLongPtr(m_hWnd, GWL_ID, id)); }

    DWORD GetStyle() const { return DWORD(::GetWindowLong(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return DWORD(::GetWindowLong(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    // WM_SETFONT with the font's handle (null: the system font).
    void SetFont(CFont* font, BOOL redraw = TRUE);
    // WM_GETFONT's answer as a font object; null when the window keeps no font
    // (a plain window's default handling keeps none).
    CFont* GetFont() const;

    void SetWindowText(LPCTSTR text) { ::SetWindowText(m_hWnd, text); }
    int GetWindowText(LPTSTR buffer, int bufferSize) const {
        return ::GetWindowText(m_hWnd, buffer, bufferSize);
    }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessage(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessage(m_hWnd, message, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr) {
        return ::SetTimer(m_hWnd, id, elapseMs, proc);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    // The window's system menu (a wrapper); revert TRUE puts back the
    // standard one and returns null.
    CMenu* GetSystemMenu(BOOL revert) const;
    int SetWindowRgn(HRGN region, BOOL redraw) { return ::SetWindowRgn(m_hWnd, region, redraw); }
    BOOL SetLayeredWindowAttributes(COLORREF key, BYTE alpha, DWORD flags) {
        return ::SetLayeredWindowAttributes(m_hWnd, key, alpha, flags);
    }

    // Pumps messages until EndModalLoop (or the window's destruction: -1, or
    // WM_QUIT: -1, with the quit posted again for the outer loop).
    virtual int RunModalLoop(DWORD flags = 0);
    virtual void EndModalLoop(int result);
    virtual BOOL ContinueModal();

    // Sees each message the pump takes for this window or its children before it
    // is dispatched; TRUE swallows it.
    virtual BOOL PreTranslateMessage(MSG* msg);

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Unpacks the standard messages into the handlers; FALSE for the others.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message being handled now.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy() {}

    // Handlers; each base version does the default handling.
    virtual int OnCreate(LPCREATESTRUCT cs);
    virtual void OnDestroy();
    virtual void OnNcDestroy();
    virtual void OnClose();
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnShowWindow(BOOL show, UINT status);
    virtual void OnEnable(BOOL enable);
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* dc);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnRButtonDown(UINT flags, CPoint point);
    virtual void OnRButtonUp(UINT flags, CPoint point);
    virtual void OnRButtonDblClk(UINT flags, CPoint point);
    virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    virtual void OnMouseLeave();
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    virtual UINT OnGetDlgCode();
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);
    virtual void OnCaptureChanged(CWnd* wnd);
    virtual void OnCancelMode();
    virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    virtual void OnActivate(UINT state, CWnd* other, BOOL minimized);
    virtual BOOL OnCopyData(CWnd* from, COPYDATASTRUCT* data);
    virtual LRESULT OnNcHitTest(CPoint point);
    virtual void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    virtual void OnNcPaint();
    virtual BOOL OnNcActivate(BOOL active);
    virtual void OnNcMouseMove(UINT hitTest, CPoint point);
    virtual void OnNcLButtonDown(UINT hitTest, CPoint point);
    virtual void OnNcLButtonUp(UINT hitTest, CPoint point);
    virtual void OnNcLButtonDblClk(UINT hitTest, CPoint point);
    virtual void OnNcRButtonDown(UINT hitTest, CPoint point);
    virtual void OnNcRButtonUp(UINT hitTest, CPoint point);
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    virtual void OnGetMinMaxInfo(MINMAXINFO* info);
    virtual void OnHotKey(UINT id, UINT modifiers, UINT vk);
    virtual void OnInitMenuPopup(CMenu* menu, UINT index, BOOL systemMenu);

private:
    friend struct CWndAccess;
    // One running RunModalLoop, kept on its stack.
    struct ModalFrame {
        bool running = true;
        bool windowGone = false; // the window died: the loop must not touch the object
        int result = -1;
        ModalFrame* outer = nullptr;
    };
    ModalFrame* m_modal; // innermost running modal loop
};

// The application's main window; may be null.
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* wnd);

// A class for windows of the given style, cursor and background; the name is
// valid for the life of the process and the same arguments give the same name.
LPCTSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);

// Takes one message (waiting for it), lets the pre-translation see it, then
// translates and dispatches it. FALSE when the message was WM_QUIT.
BOOL AfxPumpMessage();
// The pre-translation: the application's hook when one is set, else the
// PreTranslateMessage of the message's window and its parents.
BOOL AfxPreTranslateMessage(MSG* msg);
using PreTranslateHook = BOOL (*)(MSG* msg);
void AfxSetPreTranslateHook(PreTranslateHook hook);
// The exit code of the last WM_QUIT AfxPumpMessage took.
int AfxGetQuitCode();
