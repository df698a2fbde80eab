#pragma once

// Mouse and keyboard input. A display backend (SDL) and tests deliver input
// through the same routing here:
//   - mouse input at a screen point goes to the capture window, else to the
//     deepest visible window under the point inside its window region; a
//     disabled child passes it to its parent, a disabled top-level window
//     swallows it. WM_SETCURSOR is sent first (not while the mouse is
//     captured); a press activates its top-level window; a second press of
//     the same button on the same window of a CS_DBLCLKS class, within the
//     double-click time and distance, becomes a double click. The mouse
//     message itself is posted, as input is on Windows, with client
//     coordinates and the MK_ state.
//   - keys go to the focus window, else the active window: WM_KEYDOWN and
//     WM_KEYUP with VK codes, WM_CHAR for text (GBK bytes, one message per
//     byte, as an ANSI window receives them).
//   - TrackMouseEvent(TME_LEAVE) arms one WM_MOUSELEAVE: it is posted when
//     the mouse is next seen outside the window (or at once when it already
//     is), and tracking ends with it.

#include "platform/Types.h"

#include <string_view>

#define WM_MOUSEHOVER 0x02A1
#define WHEEL_DELTA 120
#define HTERROR (-2)
#define HTNOWHERE 0
#define HTCLIENT 1

#define TME_HOVER 0x00000001
#define TME_LEAVE 0x00000002
#define TME_QUERY 0x40000000
#define TME_CANCEL 0x80000000
#define HOVER_DEFAULT 0xFFFFFFFF

struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
typedef TRACKMOUSEEVENT* LPTRACKMOUSEEVENT;

// Virtual-key codes; letters and digits are their upper-case ASCII codes.
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_NUMPAD0 0x60
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F12 0x7B

// TME_LEAVE (and TME_CANCEL of it) only; hover tracking is not offered.
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track);
BOOL GetCursorPos(LPPOINT point);
// Moves the remembered cursor position; no message results.
BOOL SetCursorPos(int x, int y);
// High bit set while the key or mouse button is down.
short GetKeyState(int vk);
short GetAsyncKeyState(int vk);

namespace platform {

enum class MouseAction { Move, LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp, Wheel };

// Mouse input at a screen point; wheelDelta in WHEEL_DELTA steps for Wheel
// (which goes to the focus window, else the window under the point).
void InjectMouse(MouseAction action, POINT screen, int wheelDelta = 0);
// The mouse left the process's windows altogether (a native window was left).
void InjectMouseOutside();
// A key went down (repeat: held down before) or up.
void InjectKey(UINT vk, bool down, bool repeat = false);
// Text typed, as GBK bytes.
void InjectText(std::string_view gbk);

} // namespace platform
