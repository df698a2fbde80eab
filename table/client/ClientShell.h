#pragma once

// What the network client asks of the application shell (the main frame):
// its window (for the leave message 0x1007 and the close timer 3), the
// skinned modal message box, and the chat panel. The main frame implements
// it and registers itself with theClient.SetShell.

#include "platform/window/Wnd.h"

// The main frame's timer that tells the user the connection closed and leaves.
enum { kCloseNoticeTimer = 3, kCloseNoticeDelayMs = 2000 };

class CClientShell {
public:
    virtual ~CClientShell() = default;

    virtual HWND GetMainHwnd() const = 0;
    // Runs the modal box (socket callbacks may arrive while it is open) and
    // gives the button pressed.
    virtual int ShowMessageBox(LPCSTR text) = 0;
    // The chat control wrapper; null while there is none.
    virtual CWnd* GetChatControl() const = 0;
    virtual void AppendChatSysText(LPCSTR text) = 0;
    // One column of a user's row in the chat panel; nothing without a panel.
    virtual void SetChatUserField(LPCSTR user, LPCSTR caption, LPCSTR value) = 0;
};
