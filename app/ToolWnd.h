#pragma once
// The chat side pane: two header pictures of the theme and the extended chat
// control below them; it answers the control's kick request.

#include "Tablehub/KNChatEx.h"
#include "platform/window/Wnd.h"

class CToolWnd : public CWnd {
    DECLARE_DYNCREATE(CToolWnd)

public:
    enum { kChatId = 1, kKickEvent = 2 };

    // The chat control, or null when it could not be made.
    CKNChatEx* GetChatCtrl() { return m_wndChat.m_hWnd != nullptr ? &m_wndChat : nullptr; }
    // A request to move the named user off his seat.
    void OnKick(LPCSTR userName);

protected:
    int OnCreate(LPCREATESTRUCT cs) override;
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    void OnDestroy() override;
    void PostNcDestroy() override { delete this; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int HeaderHeight() const;

    CKNChatEx m_wndChat;
};
