// CWnd: binding objects to windows, creation and destruction, the wrappers.

#include "platform/window/Wnd.h"

#include "platform/text/CFont.h"
#include "platform/window/WindowRecord.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <tuple>

using namespace platform;

// What the window tree needs of CWnd's private state.
struct CWndAccess {
    static void EndModalFrames(CWnd* wnd) {
        for (CWnd::ModalFrame* frame = wnd->m_modal; frame; frame = frame->outer) {
            frame->running = false;
            frame->windowGone = true;
        }
        wnd->m_modal = nullptr;
    }
};

namespace {
CWnd* g_mainWnd = nullptr;

// The message being handled on this thread, for CWnd::Default.
struct CurrentMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
thread_local CurrentMessage t_current;
} // namespace

namespace platform {

LRESULT CallWndObject(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const CurrentMessage saved = t_current;
    t_current = {message, wParam, lParam};
    // The object may delete itself in the handler: nothing touches it afterwards.
    const LRESULT result = wnd->WindowProc(message, wParam, lParam);
    t_current = saved;
    return result;
}

void AttachWndObject(CWnd* wnd, HWND hwnd) {
    wnd->m_hWnd = hwnd;
    if (WindowRecord* record = FindWindowRecord(hwnd))
        record->wnd = wnd;
}

void DetachWndObject(CWnd* wnd, bool callPostNcDestroy) {
    wnd->m_hWnd = nullptr;
    CWndAccess::EndModalFrames(wnd);
    if (!callPostNcDestroy) {
        if (g_mainWnd == wnd)
            g_mainWnd = nullptr;
        delete wnd; // a wrapper made by FromHandle
        return;
    }
    // The main window's last step still finds itself the main window (to end
    // the program, say); it is not the main window afterwards, deleted or not.
    wnd->PostNcDestroy();
    if (g_mainWnd == wnd)
        g_mainWnd = nullptr;
}

} // namespace platform

IMPLEMENT_DYNCREATE(CWnd, CObject)

CWnd::CWnd() : m_hWnd(nullptr), m_modal(nullptr) {}

CWnd::~CWnd() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd); // PostNcDestroy of a dying object is the base one
    CWndAccess::EndModalFrames(this);
    if (g_mainWnd == this)
        g_mainWnd = nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return nullptr;
    if (record->wnd)
        return record->wnd;
    if (!record->wrapper) {
        record->wrapper = new CWnd;
        record->wrapper->m_hWnd = hwnd;
    }
    return record->wrapper;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    return record ? record->wnd : nullptr;
}

BOOL CWnd::Attach(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (m_hWnd || !record || record->wnd)
        return FALSE;
    if (record->wrapper) {
        delete record->wrapper;
        record->wrapper = nullptr;
    }
    AttachWndObject(this, hwnd);
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (WindowRecord* record = FindWindowRecord(hwnd); record && record->wnd == this)
        record->wnd = nullptr;
    m_hWnd = nullptr;
    return hwnd;
}

LRESULT CWnd::Default() {
    return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU idOrMenu, LPVOID param) {
    if (m_hWnd)
        return FALSE;
    CREATESTRUCT cs{param, nullptr, idOrMenu,    parent,     height,    width,
                    y,     x,       LONG(style), windowName, className, exStyle};
    if (!PreCreateWindow(cs))
        return FALSE;
    HWND hwnd = CreateWindowWithObject(cs.dwExStyle, cs.lpszClass, cs.lpszName, DWORD(cs.style),
                                       cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu,
                                       cs.hInstance, cs.lpCreateParams, this);
    if (!hwnd)
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!Attach(hwnd))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent)
        return FALSE;
    HWND control = ::GetDlgItem(parent->GetSafeHwnd(), int(id));
    return control && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
    return Detach();
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

CFont* CWnd::GetFont() const {
    if (!m_hWnd)
        return nullptr;
    HFONT font = reinterpret_cast<HFONT>(::SendMessage(m_hWnd, WM_GETFONT, 0, 0));
    return font ? CFont::FromHandle(font) : nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT nID, LPVOID param) {
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), param);
}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT nID, void*) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, nID);
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    // The insert-after constants (top, bottom, topmost, not topmost) travel as
    // small values in the pointer.
    const intptr_t value = reinterpret_cast<intptr_t>(insertAfter);
    HWND after = value >= -2 && value <= 1 ? reinterpret_cast<HWND>(value) : insertAfter->m_hWnd;
    return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
}

void CWnd::ClientToScreen(LPRECT rect) const {
    POINT origin{0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    OffsetRect(rect, origin.x, origin.y);
}

void CWnd::ScreenToClient(LPRECT rect) const {
    POINT origin{0, 0};
    ::ScreenToClient(m_hWnd, &origin);
    OffsetRect(rect, origin.x, origin.y);
}

// Changes a style long; flags other than 0 are SetWindowPos flags applied after.
static BOOL ModifyStyleLong(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags) {
    const DWORD style = DWORD(::GetWindowLong(hwnd, index));
    const DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLong(hwnd, index, LONG(changed));
    if (flags)
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    return ModifyStyleLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    return ModifyStyleLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

void CWnd::GetWindowText(CString& text) const {
    const int length = GetWindowTextLength();
    LPSTR buffer = text.GetBufferSetLength(length);
    const int copied = ::GetWindowText(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer(copied);
}

CWnd* AfxGetMainWnd() {
    return g_mainWnd;
}
void AfxSetMainWnd(CWnd* wnd) {
    g_mainWnd = wnd;
}

LPCTSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    static std::mutex lock;
    static std::map<std::tuple<UINT, HCURSOR, HBRUSH, HICON>, std::string> names;
    std::lock_guard<std::mutex> guard(lock);
    auto key = std::make_tuple(classStyle, cursor, background, icon);
    auto it = names.find(key);
    if (it != names.end())
        return it->second.c_str();
    char name[96];
    snprintf(name, sizeof name, "PlatformWnd:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
             static_cast<void*>(background), static_cast<void*>(icon));
    WNDCLASS wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    RegisterClass(&wc);
    return names.emplace(key, name).first->second.c_str();
}
