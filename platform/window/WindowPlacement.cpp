// Showing, moving, sizing and stacking windows; coordinate mapping.

#include "platform/window/WindowRecord.h"

#include "platform/DisplayDriver.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>

using namespace platform;

namespace {

// The parent's area a child covers, invalidated when the child leaves it.
void InvalidateParentArea(WindowRecord* record) {
    if (record->parent)
        InvalidateRect(record->parent->handle, &record->rect, TRUE);
}

bool AncestorsVisible(const WindowRecord* record) {
    for (; record; record = record->parent)
        if (!record->Visible())
            return false;
    return true;
}

void Restack(WindowRecord* record, HWND insertAfter) {
    auto& siblings = SiblingsOf(record);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), record), siblings.end());
    if (insertAfter == HWND_TOPMOST)
        record->exStyle |= WS_EX_TOPMOST;
    else if (insertAfter == HWND_NOTOPMOST)
        record->exStyle &= ~WS_EX_TOPMOST;
    if (insertAfter == HWND_BOTTOM) {
        siblings.push_back(record);
        return;
    }
    if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
        auto at = std::find_if(siblings.begin(), siblings.end(),
                               [&](WindowRecord* r) { return r->handle == insertAfter; });
        if (at != siblings.end()) {
            siblings.insert(at + 1, record);
            return;
        }
    }
    auto at = siblings.begin();
    if (!(record->exStyle & WS_EX_TOPMOST))
        while (at != siblings.end() && ((*at)->exStyle & WS_EX_TOPMOST))
            ++at;
    siblings.insert(at, record);
}

} // namespace

BOOL ShowWindow(HWND hwnd, int command) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return FALSE;
    const bool wasVisible = record->Visible();
    const bool show = command != SW_HIDE;
    switch (command) {
    case SW_SHOWMAXIMIZED:
        MaximizeWindow(record);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        MinimizeWindow(record);
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (record->style & (WS_MAXIMIZE | WS_MINIMIZE))
            RestoreWindow(record);
        break;
    default:
        break;
    }
    if (!(record = FindWindowRecord(hwnd)))
        return wasVisible;
    if (show == wasVisible)
        return wasVisible;
    SendMessage(hwnd, WM_SHOWWINDOW, show, 0);
    if (!(record = FindWindowRecord(hwnd)))
        return wasVisible;
    if (show) {
        record->style |= WS_VISIBLE;
        InvalidateWhole(record, true);
    } else {
        record->style &= ~WS_VISIBLE;
        InvalidateParentArea(record);
    }
    GetDisplayDriver().WindowChanged(hwnd, show ? kWindowShown : kWindowHidden);
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    return record && AncestorsVisible(record);
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return FALSE;
    RECT old = record->rect;
    RECT now = old;
    if (!(flags & SWP_NOMOVE)) {
        now.right += x - now.left;
        now.bottom += y - now.top;
        now.left = x;
        now.top = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        now.right = now.left + std::max(cx, 0);
        now.bottom = now.top + std::max(cy, 0);
    }
    const bool moved = now.left != old.left || now.top != old.top;
    const bool sized = (now.right - now.left) != (old.right - old.left) ||
                       (now.bottom - now.top) != (old.bottom - old.top);
    const bool redraw = !(flags & SWP_NOREDRAW) && record->Visible();
    if ((moved || sized) && redraw)
        InvalidateParentArea(record);
    record->rect = now;
    const RECT oldClient = record->client;
    if (sized || (flags & SWP_FRAMECHANGED)) {
        RecalcClientArea(record, old);
        if (!(record = FindWindowRecord(hwnd)))
            return FALSE;
    }
    const bool clientSized = sized || record->ClientWidth() != oldClient.right - oldClient.left ||
                             record->ClientHeight() != oldClient.bottom - oldClient.top;
    unsigned changes = 0;
    if (!(flags & SWP_NOZORDER)) {
        Restack(record, insertAfter);
        changes |= kWindowZOrder;
    }
    if (moved || sized) {
        changes |= (moved ? unsigned(kWindowMoved) : 0u) | (sized ? unsigned(kWindowSized) : 0u);
        if (redraw) {
            InvalidateParentArea(record);
            InvalidateWhole(record, true);
        }
    }
    if (changes)
        GetDisplayDriver().WindowChanged(hwnd, changes);
    if (clientSized || (flags & SWP_FRAMECHANGED)) {
        if (redraw)
            InvalidateWhole(record, true);
        SendMessage(hwnd, WM_SIZE, IsZoomed(hwnd) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    MAKELPARAM(record->ClientWidth(), record->ClientHeight()));
    }
    if (moved && (record = FindWindowRecord(hwnd)))
        SendMessage(hwnd, WM_MOVE, 0,
                    MAKELPARAM(now.left + record->client.left, now.top + record->client.top));
    if ((flags & SWP_SHOWWINDOW) && IsWindow(hwnd))
        ShowWindow(hwnd, SW_SHOWNA);
    else if ((flags & SWP_HIDEWINDOW) && IsWindow(hwnd))
        ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
    return SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

HWND GetDesktopWindow() {
    // An address no window record has.
    static char desktop;
    return reinterpret_cast<HWND>(&desktop);
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    if (hwnd && hwnd == GetDesktopWindow() && rect) {
        *rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return TRUE;
    }
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || !rect)
        return FALSE;
    POINT origin = ScreenOrigin(record);
    *rect = {origin.x, origin.y, origin.x + record->Width(), origin.y + record->Height()};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || !rect)
        return FALSE;
    *rect = {0, 0, record->ClientWidth(), record->ClientHeight()};
    return TRUE;
}

// Moves a point by the client area's screen origin, forwards (+1) or back (-1).
static BOOL ShiftByOrigin(HWND hwnd, LPPOINT point, int direction) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || !point)
        return FALSE;
    POINT origin = ClientScreenOrigin(record);
    point->x += direction * origin.x;
    point->y += direction * origin.y;
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    return ShiftByOrigin(hwnd, point, +1);
}
BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    return ShiftByOrigin(hwnd, point, -1);
}

// Null stands for the screen. Returns the offset as LOWORD x, HIWORD y.
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    POINT origin{0, 0};
    if (from) {
        WindowRecord* record = FindWindowRecord(from);
        if (!record)
            return 0;
        origin = ClientScreenOrigin(record);
    }
    if (to) {
        WindowRecord* record = FindWindowRecord(to);
        if (!record)
            return 0;
        POINT target = ClientScreenOrigin(record);
        origin.x -= target.x;
        origin.y -= target.y;
    }
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += origin.x;
        points[i].y += origin.y;
    }
    return MAKELONG(origin.x, origin.y);
}
