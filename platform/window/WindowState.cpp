// Window state: enabling, focus, capture, activation, window longs, text, region,
// layered attributes.

#include "platform/window/WindowRecord.h"

#include "platform/DisplayDriver.h"

#include <algorithm>
#include <cstring>

using namespace platform;

namespace {
HWND g_focus = nullptr;
HWND g_capture = nullptr;
HWND g_active = nullptr;

int CopyText(const std::string& text, LPSTR buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0)
        return 0;
    const int n = std::min<int>(int(text.size()), bufferSize - 1);
    memcpy(buffer, text.data(), size_t(n));
    buffer[n] = '\0';
    return n;
}
} // namespace

namespace platform {
void ForgetFocus() {
    g_focus = nullptr;
}
} // namespace platform

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return FALSE;
    const BOOL wasDisabled = (record->style & WS_DISABLED) != 0;
    if (bool(enable) == !wasDisabled)
        return wasDisabled;
    if (enable)
        record->style &= ~WS_DISABLED;
    else
        record->style |= WS_DISABLED;
    if (!enable && g_focus == hwnd)
        SetFocus(nullptr);
    SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    return record && !(record->style & WS_DISABLED);
}

HWND SetFocus(HWND hwnd) {
    if (hwnd && !IsWindow(hwnd))
        return nullptr;
    HWND previous = g_focus;
    if (previous == hwnd)
        return previous;
    g_focus = hwnd;
    if (previous && IsWindow(previous))
        SendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && g_focus == hwnd)
        SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetFocus() {
    return g_focus;
}

HWND SetCapture(HWND hwnd) {
    if (!IsWindow(hwnd))
        return nullptr;
    HWND previous = g_capture;
    g_capture = hwnd;
    if (previous && previous != hwnd && IsWindow(previous))
        SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

HWND GetCapture() {
    return g_capture;
}

BOOL ReleaseCapture() {
    HWND previous = g_capture;
    g_capture = nullptr;
    if (previous && IsWindow(previous))
        SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetActiveWindow() {
    return g_active;
}

namespace platform {
// The frame follows activation first (WM_NCACTIVATE), then the window hears
// of it (WM_ACTIVATE): the window losing it before the one gaining it.
HWND ActivateWindow(HWND hwnd, WPARAM how) {
    if (hwnd && !IsWindow(hwnd))
        return nullptr;
    HWND previous = g_active;
    if (previous == hwnd)
        return previous;
    g_active = hwnd;
    if (previous && IsWindow(previous)) {
        SendMessage(previous, WM_NCACTIVATE, FALSE, 0);
        if (IsWindow(previous))
            SendMessage(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
    }
    if (hwnd && g_active == hwnd && IsWindow(hwnd)) {
        SendMessage(hwnd, WM_NCACTIVATE, TRUE, 0);
        if (g_active == hwnd && IsWindow(hwnd))
            SendMessage(hwnd, WM_ACTIVATE, how, reinterpret_cast<LPARAM>(previous));
    }
    return previous;
}
} // namespace platform

HWND SetActiveWindow(HWND hwnd) {
    return ActivateWindow(hwnd, WA_ACTIVE);
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return 0;
    switch (index) {
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(CurrentWindowProc(record));
    case GWL_STYLE:
        return LONG_PTR(LONG(record->style));
    case GWL_EXSTYLE:
        return LONG_PTR(LONG(record->exStyle));
    case GWL_ID:
        return record->id;
    case GWL_USERDATA:
        return record->userData;
    default:
        return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return 0;
    const LONG_PTR previous = GetWindowLongPtr(hwnd, index);
    switch (index) {
    case GWL_WNDPROC: {
        WNDPROC proc = reinterpret_cast<WNDPROC>(value);
        if (!proc)
            return 0; // a window always has a procedure
        // Putting the window's own procedure back ends the subclassing.
        const WNDPROC own = record->wnd ? &WndObjectProc : record->classProc;
        record->subclassProc = proc == own ? nullptr : proc;
        break;
    }
    case GWL_STYLE:
        record->style = DWORD(value);
        break;
    case GWL_EXSTYLE:
        record->exStyle = DWORD(value);
        break;
    case GWL_ID:
        record->id = value;
        break;
    case GWL_USERDATA:
        record->userData = value;
        break;
    default:
        return 0;
    }
    return previous;
}

// A procedure does not fit in a LONG: GWL_WNDPROC goes through the Ptr forms
// only, and the LONG forms refuse it rather than hand out half a pointer.
LONG GetWindowLong(HWND hwnd, int index) {
    if (index == GWL_WNDPROC)
        return 0;
    return LONG(GetWindowLongPtr(hwnd, index));
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) {
    if (index == GWL_WNDPROC)
        return 0;
    return LONG(SetWindowLongPtr(hwnd, index, value));
}

// The text goes through WM_SETTEXT/WM_GETTEXT so that controls can keep their own.
BOOL SetWindowText(HWND hwnd, LPCSTR text) {
    if (!IsWindow(hwnd))
        return FALSE;
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}

int GetWindowText(HWND hwnd, LPSTR buffer, int bufferSize) {
    if (!IsWindow(hwnd) || !buffer || bufferSize <= 0)
        return 0;
    return int(SendMessage(hwnd, WM_GETTEXT, WPARAM(bufferSize), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) {
    return IsWindow(hwnd) ? int(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

int GetClassName(HWND hwnd, LPSTR buffer, int bufferSize) {
    WindowRecord* record = FindWindowRecord(hwnd);
    return record ? CopyText(record->className, buffer, bufferSize) : 0;
}

namespace platform {
// Default text handling of DefWindowProc.
LRESULT DefaultTextMessage(WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT:
        record->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        GetDisplayDriver().WindowChanged(record->handle, kWindowText);
        return TRUE;
    case WM_GETTEXT:
        return CopyText(record->text, reinterpret_cast<LPSTR>(lParam), int(wParam));
    default: // WM_GETTEXTLENGTH
        return LRESULT(record->text.size());
    }
}
} // namespace platform

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return 0;
    if (record->region && record->region != region)
        GetDisplayDriver().DeleteRegion(record->region);
    record->region = region;
    GetDisplayDriver().WindowChanged(hwnd, kWindowRegion);
    if (redraw)
        InvalidateWhole(record, true);
    return 1;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || !(record->exStyle & WS_EX_LAYERED))
        return FALSE;
    record->layeredKey = key;
    record->layeredAlpha = alpha;
    record->layeredFlags = flags;
    GetDisplayDriver().WindowChanged(hwnd, kWindowLayered);
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || !(record->exStyle & WS_EX_LAYERED))
        return FALSE;
    if (key)
        *key = record->layeredKey;
    if (alpha)
        *alpha = record->layeredAlpha;
    if (flags)
        *flags = record->layeredFlags;
    return TRUE;
}
