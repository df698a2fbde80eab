// Modal loops and the message pump shared by them.

#include "platform/window/Wnd.h"

#include <memory>

namespace {
PreTranslateHook g_preTranslateHook = nullptr;
int g_quitCode = 0;
} // namespace

BOOL AfxPreTranslateMessage(MSG* msg) {
    if (g_preTranslateHook)
        return g_preTranslateHook(msg);
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
        if (wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (!(::GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD))
            break; // the owner of a top-level window does not see its messages
    }
    return FALSE;
}

void AfxSetPreTranslateHook(PreTranslateHook hook) {
    g_preTranslateHook = hook;
}

BOOL AfxPumpMessage() {
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
        g_quitCode = int(msg.wParam);
        return FALSE;
    }
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    return TRUE;
}

int AfxGetQuitCode() {
    return g_quitCode;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

int CWnd::RunModalLoop(DWORD) {
    // Kept on the heap so the object never holds a stack address; the object
    // itself may die while the loop runs.
    auto frame = std::make_unique<ModalFrame>();
    frame->outer = m_modal;
    m_modal = frame.get();
    while (frame->running) {
        if (!AfxPumpMessage()) {
            // Let the outer loop see the quit too.
            ::PostQuitMessage(AfxGetQuitCode());
            frame->running = false;
            frame->result = -1;
        }
    }
    // A destroyed window's object may be gone: touch it only while it lives.
    if (!frame->windowGone)
        m_modal = frame->outer;
    return frame->result;
}

void CWnd::EndModalLoop(int result) {
    if (!m_modal)
        return;
    m_modal->result = result;
    m_modal->running = false;
    ::PostMessage(m_hWnd, WM_NULL, 0, 0); // wake the pump
}

BOOL CWnd::ContinueModal() {
    return m_modal && m_modal->running;
}
