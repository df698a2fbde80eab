#pragma once

// Window messages: the queue, sending and posting, the pump, timers.
//
// One queue per process, pumped by the user-interface thread. Posted and input
// messages come first, in order; then descriptor events (platform/EventLoop.h);
// then WM_QUIT; then WM_PAINT for invalidated windows; then WM_TIMER. So input
// and posted commands overtake animation ticks, and a stalled loop finds at most
// one WM_TIMER per timer waiting (no backlog).
//
// Messages may be posted, and sent, from any thread. A message sent to a window
// from another thread than the one that created it is handed to the pumping
// thread, and the sender blocks until it has been handled.

#include "platform/Types.h"

#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_CANCELMODE 0x001F
#define WM_SETCURSOR 0x0020
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_COPYDATA 0x004A
#define WM_NCDESTROY 0x0082
#define WM_GETDLGCODE 0x0087
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MOUSEWHEEL 0x020A
#define WM_CAPTURECHANGED 0x0215
#define WM_MOUSELEAVE 0x02A3
#define WM_USER 0x0400

// WM_ACTIVATE's low word.
#define WA_INACTIVE 0
#define WA_ACTIVE 1

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// GetQueueStatus's kinds.
#define QS_POSTMESSAGE 0x0008
#define QS_TIMER 0x0010
#define QS_PAINT 0x0020
#define QS_SENDMESSAGE 0x0040

#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010

#define DLGC_WANTALLKEYS 0x0004

// Signed coordinates packed in an LPARAM.
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))

#define USER_TIMER_MINIMUM 10u
#define USER_TIMER_MAXIMUM 0x7FFFFFFFu

#define CALLBACK

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG* LPMSG;

struct COPYDATASTRUCT {
    ULONG_PTR dwData;
    DWORD cbData;
    LPVOID lpData;
};
typedef COPYDATASTRUCT* PCOPYDATASTRUCT;

typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// hwnd may be null: a message for the thread, seen only by the pump.
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

// Filters: hwnd (null: any), and a message range (0, 0: all).
// GetMessage returns 0 for WM_QUIT, else non-zero.
BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// Blocks until something can be retrieved (a message, a due timer, a paint, a
// descriptor event, a quit).
BOOL WaitMessage();
// The kinds of message (of flags) that could be retrieved now: posted or
// input, a due timer, a paint, a message sent from another thread. Both
// words hold them (which arrived since the last look is not kept apart).
// Runs nothing, not even the descriptors' callbacks.
DWORD GetQueueStatus(UINT flags);
// Keyboard messages are delivered as they come; nothing to translate here.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);

// Periods under USER_TIMER_MINIMUM become USER_TIMER_MINIMUM, and those over
// USER_TIMER_MAXIMUM USER_TIMER_MAXIMUM. Setting an existing
// (window, id) restarts it. With a null window a fresh id is returned (or id, when
// it names a live thread timer). Returns 0 for an invalid window.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
