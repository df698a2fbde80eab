// Routing mouse and keyboard input to windows.

#include "platform/window/Input.h"

#include "platform/window/NonClient.h"

#include "platform/CodePage.h"
#include "platform/system/Clock.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowRecord.h"

#include <cstdlib>
#include <utility>

namespace platform {

namespace {

struct ClickMemory {
    HWND hwnd = nullptr;
    UINT downMessage = 0;
    uint64_t timeMs = 0;
    POINT at{0, 0};
};

struct InputState {
    POINT cursor{0, 0};
    bool buttons[3] = {false, false, false}; // left, right, middle
    bool keys[256] = {};
    HWND leaveTracked = nullptr;
    ClickMemory lastClick;
};

InputState& State() {
    static InputState state;
    return state;
}

WPARAM MouseKeys() {
    const InputState& s = State();
    WPARAM flags = 0;
    if (s.buttons[0])
        flags |= MK_LBUTTON;
    if (s.buttons[1])
        flags |= MK_RBUTTON;
    if (s.buttons[2])
        flags |= MK_MBUTTON;
    if (s.keys[VK_SHIFT])
        flags |= MK_SHIFT;
    if (s.keys[VK_CONTROL])
        flags |= MK_CONTROL;
    return flags;
}

// The window that takes mouse input at a screen point, and where on it the
// point is (WM_NCHITTEST). Disabled children pass the point to their
// parents; under a disabled top-level window nothing takes it. A window
// answering HTTRANSPARENT hands it to the window beneath.
struct MouseTarget {
    HWND hwnd = nullptr;
    LRESULT hit = HTNOWHERE;
};

MouseTarget MouseTargetAt(POINT screen) {
    std::vector<HWND> passedOver;
    // Each round leaves one more window out, so this ends; the bound only
    // guards against a tree that changes under the hit tests.
    for (int round = 0; round < 256; ++round) {
        HWND hwnd = WindowBeneath(screen, passedOver);
        while (hwnd && !IsWindowEnabled(hwnd)) {
            WindowRecord* record = FindWindowRecord(hwnd);
            hwnd = record && record->parent ? record->parent->handle : nullptr;
        }
        if (!hwnd)
            return {};
        const LRESULT hit = SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        if (!IsWindow(hwnd))
            return {};
        if (hit != HTTRANSPARENT)
            return {hwnd, hit};
        passedOver.push_back(hwnd);
    }
    return {};
}

HWND TopLevelOf(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    while (record && record->parent)
        record = record->parent;
    return record ? record->handle : nullptr;
}

LPARAM ClientPoint(HWND hwnd, POINT screen) {
    ScreenToClient(hwnd, &screen);
    return MAKELPARAM(screen.x, screen.y);
}

void CheckLeave(HWND under) {
    InputState& s = State();
    if (s.leaveTracked && s.leaveTracked != under) {
        HWND left = std::exchange(s.leaveTracked, nullptr);
        if (IsWindow(left))
            PostMessage(left, WM_MOUSELEAVE, 0, 0);
    }
}

// A second press counts as a double click for the same window and button,
// soon enough and near enough; the press after a double click starts afresh.
// Presses on the frame always can; in the client area only a CS_DBLCLKS
// class's windows get double clicks.
UINT PressMessage(HWND hwnd, UINT down, UINT dblclk, POINT screen, bool onFrame) {
    InputState& s = State();
    const uint64_t now = GetClock().NowMs();
    ClickMemory& last = s.lastClick;
    const bool wantsDouble =
        (onFrame || (FindWindowRecord(hwnd)->classStyle & CS_DBLCLKS)) && last.hwnd == hwnd &&
        last.downMessage == down && now - last.timeMs <= GetDoubleClickTime() &&
        std::abs(screen.x - last.at.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
        std::abs(screen.y - last.at.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    if (wantsDouble) {
        last = ClickMemory{};
        return dblclk;
    }
    last = ClickMemory{hwnd, down, now, screen};
    return down;
}

struct ButtonMessages {
    int index;
    bool down;
    UINT message;
    UINT dblclk;
};

ButtonMessages ButtonOf(MouseAction action) {
    switch (action) {
    case MouseAction::LeftDown:
        return {0, true, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK};
    case MouseAction::LeftUp:
        return {0, false, WM_LBUTTONUP, 0};
    case MouseAction::RightDown:
        return {1, true, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK};
    case MouseAction::RightUp:
        return {1, false, WM_RBUTTONUP, 0};
    case MouseAction::MiddleDown:
        return {2, true, WM_MBUTTONDOWN, 0};
    case MouseAction::MiddleUp:
        return {2, false, WM_MBUTTONUP, 0};
    default:
        return {-1, false, WM_MOUSEMOVE, 0};
    }
}

void RouteWheel(POINT screen, HWND target, int delta) {
    if (target)
        PostInputMessage(target, WM_MOUSEWHEEL, MAKEWPARAM(MouseKeys(), short(delta)),
                         MAKELPARAM(screen.x, screen.y), screen);
}

HWND KeyTarget() {
    HWND target = GetFocus();
    return target ? target : GetActiveWindow();
}

// The frame's mouse messages mirror the client ones: WM_MOUSEMOVE..WM_MBUTTONDBLCLK
// become WM_NCMOUSEMOVE..WM_NCMBUTTONDBLCLK.
constexpr UINT kClientToFrame = WM_MOUSEMOVE - WM_NCMOUSEMOVE;

} // namespace

void InjectMouse(MouseAction action, POINT screen, int wheelDelta) {
    InputState& s = State();
    s.cursor = screen;
    HWND capture = GetCapture();
    if (action == MouseAction::Wheel) {
        // The wheel goes to the keyboard's window; only without one is the
        // window under the point asked.
        CheckLeave(WindowFromPoint(screen));
        HWND target = GetFocus();
        RouteWheel(screen, target ? target : MouseTargetAt(screen).hwnd, wheelDelta);
        return;
    }
    // Under capture the point goes to the capture window's client area and
    // nobody is asked where it is.
    MouseTarget under;
    if (!capture) {
        under = MouseTargetAt(screen);
        CheckLeave(under.hwnd);
        // A window may take the capture while it is asked where the point is
        // (links do, to follow the mouse off them): from then on it is captured.
        capture = GetCapture();
    } else {
        CheckLeave(WindowFromPoint(screen));
    }
    const ButtonMessages button = ButtonOf(action);
    if (button.index >= 0)
        s.buttons[button.index] = button.down;
    HWND target = capture ? capture : under.hwnd;
    const LRESULT hit = capture ? HTCLIENT : under.hit;
    if (!target)
        return;
    if (!capture) {
        SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                    MAKELPARAM(WORD(short(hit)), button.message));
        if (!IsWindow(target))
            return;
    }
    if (hit == HTERROR)
        return; // the window refuses the mouse here
    const bool onFrame = hit != HTCLIENT;
    UINT message = button.message;
    if (button.down) {
        HWND top = TopLevelOf(target);
        if (top && GetActiveWindow() != top)
            ActivateWindow(top, WA_CLICKACTIVE);
        if (!IsWindow(target))
            return;
        if (button.dblclk)
            message = PressMessage(target, button.message, button.dblclk, screen, onFrame);
    }
    if (onFrame)
        PostInputMessage(target, message - kClientToFrame, WPARAM(hit),
                         MAKELPARAM(screen.x, screen.y), screen);
    else
        PostInputMessage(target, message, MouseKeys(), ClientPoint(target, screen), screen);
}

void InjectMouseOutside() {
    CheckLeave(nullptr);
}

void InjectKey(UINT vk, bool down, bool repeat) {
    InputState& s = State();
    vk &= 0xFF;
    s.keys[vk] = down;
    HWND target = KeyTarget();
    if (!target)
        return;
    if (down && DeliverHotKey(vk))
        return; // a hot key's press is the hot key's alone
    // lParam: repeat count 1; bit 30 the previous state; bit 31 set on release.
    DWORD flags = 1;
    if (repeat || !down)
        flags |= 1u << 30;
    if (!down)
        flags |= 1u << 31;
    PostMessage(target, down ? WM_KEYDOWN : WM_KEYUP, vk, LPARAM(flags));
    // Keys that type a control character, as TranslateMessage makes them.
    if (down && (vk == VK_RETURN || vk == VK_BACK || vk == VK_TAB || vk == VK_ESCAPE))
        PostMessage(target, WM_CHAR, vk, LPARAM(flags));
}

void InjectText(std::string_view gbk) {
    HWND target = KeyTarget();
    if (!target)
        return;
    for (unsigned char byte : gbk)
        PostMessage(target, WM_CHAR, byte, 1);
}

POINT CursorPosition() {
    return State().cursor;
}

} // namespace platform

using namespace platform;

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
    if (!track || track->cbSize < sizeof(TRACKMOUSEEVENT))
        return FALSE;
    InputState& s = State();
    if (track->dwFlags & TME_QUERY) {
        track->dwFlags = s.leaveTracked ? TME_LEAVE : 0;
        track->hwndTrack = s.leaveTracked;
        return TRUE;
    }
    if (!(track->dwFlags & TME_LEAVE))
        return (track->dwFlags & TME_HOVER) ? FALSE : TRUE;
    if (track->dwFlags & TME_CANCEL) {
        if (s.leaveTracked == track->hwndTrack)
            s.leaveTracked = nullptr;
        return TRUE;
    }
    if (!IsWindow(track->hwndTrack))
        return FALSE;
    s.leaveTracked = track->hwndTrack;
    // Armed while the mouse is already elsewhere: the leave comes at once.
    CheckLeave(WindowFromPoint(s.cursor));
    return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point)
        return FALSE;
    *point = State().cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    State().cursor = POINT{x, y};
    return TRUE;
}

short GetKeyState(int vk) {
    InputState& s = State();
    bool down;
    switch (vk) {
    case VK_LBUTTON:
        down = s.buttons[0];
        break;
    case VK_RBUTTON:
        down = s.buttons[1];
        break;
    case VK_MBUTTON:
        down = s.buttons[2];
        break;
    default:
        down = vk >= 0 && vk < 256 && s.keys[vk];
    }
    return down ? short(0x8000) : 0;
}

short GetAsyncKeyState(int vk) {
    return GetKeyState(vk);
}
