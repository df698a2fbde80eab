// Moving and sizing a window with the mouse, and maximising, minimising and
// restoring it.
//
// The move and size loop is modal, as the system's is: it captures the mouse
// and takes every message of the thread; mouse messages steer the window
// (their cursor point, MSG::pt, counts, whichever window they were addressed
// to), everything else is dispatched, so timers and network input go on
// meanwhile. The loop ends when the left button is released, or when it is
// found up with nothing queued (the release came before the loop started), on
// Escape (the window goes back) or Enter, and when the capture is taken away.

#include "platform/DisplayDriver.h"
#include "platform/Geometry.h"
#include "platform/window/Input.h"
#include "platform/window/NonClient.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowRecord.h"

#include <algorithm>

using namespace platform;

namespace {

// The area a window maximises into: the work area for a top-level window,
// the parent's client area for a child.
RECT MaximizeArea(const WindowRecord* record) {
    RECT area{};
    if (record->parent)
        area = RECT{0, 0, record->parent->ClientWidth(), record->parent->ClientHeight()};
    else
        SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// The system's limits, then the window's say (WM_GETMINMAXINFO); nonsense
// from the window (negative sizes, a maximum under the minimum) is evened out.
MINMAXINFO QueryMinMax(HWND hwnd) {
    MINMAXINFO info{};
    if (WindowRecord* record = FindWindowRecord(hwnd)) {
        const RECT area = MaximizeArea(record);
        info.ptMaxSize = POINT{area.right - area.left, area.bottom - area.top};
        info.ptMaxPosition = POINT{area.left, area.top};
        info.ptMinTrackSize =
            POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        info.ptMaxTrackSize =
            POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    }
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    info.ptMinTrackSize.x = std::max<LONG>(info.ptMinTrackSize.x, 0);
    info.ptMinTrackSize.y = std::max<LONG>(info.ptMinTrackSize.y, 0);
    info.ptMaxTrackSize.x = std::max(info.ptMaxTrackSize.x, info.ptMinTrackSize.x);
    info.ptMaxTrackSize.y = std::max(info.ptMaxTrackSize.y, info.ptMinTrackSize.y);
    info.ptMaxSize.x = std::max<LONG>(info.ptMaxSize.x, 0);
    info.ptMaxSize.y = std::max<LONG>(info.ptMaxSize.y, 0);
    return info;
}

// One edge of a sizing drag follows the mouse; the opposite edge stays.
LONG Follow(LONG moving, LONG fixed, LONG delta, LONG minSize, LONG maxSize, bool movingIsLow) {
    LONG at = moving + delta;
    LONG size = movingIsLow ? fixed - at : at - fixed;
    size = std::clamp(size, minSize, maxSize);
    return movingIsLow ? fixed - size : fixed + size;
}

RECT SizedRect(const RECT& start, int hit, POINT delta, const MINMAXINFO& limits) {
    RECT r = start;
    const bool left = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
    const bool right = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
    const bool top = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
    const bool bottom = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
    if (left)
        r.left = Follow(start.left, start.right, delta.x, limits.ptMinTrackSize.x,
                        limits.ptMaxTrackSize.x, true);
    if (right)
        r.right = Follow(start.right, start.left, delta.x, limits.ptMinTrackSize.x,
                         limits.ptMaxTrackSize.x, false);
    if (top)
        r.top = Follow(start.top, start.bottom, delta.y, limits.ptMinTrackSize.y,
                       limits.ptMaxTrackSize.y, true);
    if (bottom)
        r.bottom = Follow(start.bottom, start.top, delta.y, limits.ptMinTrackSize.y,
                          limits.ptMaxTrackSize.y, false);
    return r;
}

bool IsMouseMessage(UINT message) {
    return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONUP + 1) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool IsLeftRelease(UINT message) {
    return message == WM_LBUTTONUP || message == WM_NCLBUTTONUP;
}

// The window's rectangle in its parent's client coordinates.
RECT PlacedRect(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    return record ? record->rect : RECT{};
}

void Place(HWND hwnd, const RECT& r) {
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

namespace platform {

void RunMoveSizeLoop(HWND hwnd, int hit) {
    if (!IsWindow(hwnd))
        return;
    const bool moving = hit == HTCAPTION;
    const RECT start = PlacedRect(hwnd);
    const DWORD startPos = GetMessagePos();
    const POINT origin{GET_X_LPARAM(LPARAM(startPos)), GET_Y_LPARAM(LPARAM(startPos))};
    const MINMAXINFO limits = QueryMinMax(hwnd);
    SetCapture(hwnd);
    SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);

    auto follow = [&](POINT at) {
        const POINT delta{at.x - origin.x, at.y - origin.y};
        RECT r = start;
        if (moving) {
            OffsetRect(&r, delta.x, delta.y);
            SendMessage(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
        } else {
            r = SizedRect(start, hit, delta, limits);
            SendMessage(hwnd, WM_SIZING, WPARAM(hit - HTLEFT + WMSZ_LEFT),
                        reinterpret_cast<LPARAM>(&r));
        }
        if (IsWindow(hwnd))
            Place(hwnd, r);
    };

    for (;;) {
        if (!IsWindow(hwnd) || GetCapture() != hwnd)
            break;
        MSG msg;
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!(GetKeyState(VK_LBUTTON) & 0x8000))
                break;
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam)); // for the loop outside
            break;
        }
        if (IsMouseMessage(msg.message)) {
            if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE ||
                IsLeftRelease(msg.message))
                follow(msg.pt);
            if (IsLeftRelease(msg.message))
                break;
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            Place(hwnd, start);
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN)
            break;
        if (msg.message == WM_CANCELMODE)
            break;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (IsWindow(hwnd))
        SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

void MaximizeWindow(WindowRecord* record) {
    const HWND hwnd = record->handle;
    if ((record->style & WS_MAXIMIZE) && !(record->style & WS_MINIMIZE))
        return;
    if (!(record->style & WS_MAXIMIZE))
        record->restoreRect = record->rect;
    const MINMAXINFO info = QueryMinMax(hwnd);
    if (!(record = FindWindowRecord(hwnd)))
        return;
    record->style = (record->style & ~WS_MINIMIZE) | WS_MAXIMIZE;
    const int width = std::min(info.ptMaxSize.x, info.ptMaxTrackSize.x);
    const int height = std::min(info.ptMaxSize.y, info.ptMaxTrackSize.y);
    const RECT before = record->rect;
    SetWindowPos(hwnd, nullptr, info.ptMaxPosition.x, info.ptMaxPosition.y, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // Already of the maximised size: the window still hears it is maximised.
    if ((record = FindWindowRecord(hwnd)) && record->Width() == before.right - before.left &&
        record->Height() == before.bottom - before.top)
        SendMessage(hwnd, WM_SIZE, SIZE_MAXIMIZED,
                    MAKELPARAM(record->ClientWidth(), record->ClientHeight()));
}

void MinimizeWindow(WindowRecord* record) {
    if (record->style & WS_MINIMIZE)
        return;
    record->style |= WS_MINIMIZE;
    const HWND hwnd = record->handle;
    SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    if (IsWindow(hwnd))
        GetDisplayDriver().WindowChanged(hwnd, kWindowIconic);
}

void RestoreWindow(WindowRecord* record) {
    const HWND hwnd = record->handle;
    if (record->style & WS_MINIMIZE) {
        // Back to what it was before: maximised or not.
        record->style &= ~WS_MINIMIZE;
        SendMessage(hwnd, WM_SIZE, (record->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    MAKELPARAM(record->ClientWidth(), record->ClientHeight()));
        if (IsWindow(hwnd))
            GetDisplayDriver().WindowChanged(hwnd, kWindowIconic);
        return;
    }
    if (!(record->style & WS_MAXIMIZE))
        return;
    record->style &= ~WS_MAXIMIZE;
    const RECT r = record->restoreRect;
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace platform
