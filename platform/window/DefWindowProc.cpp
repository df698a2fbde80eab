// What a window does with a message it does not handle itself.

#include "platform/window/WindowRecord.h"

#include "platform/DisplayDriver.h"
#include "platform/window/Cursor.h"
#include "platform/window/WindowAttention.h"

using namespace platform;

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return 0;
    LRESULT result = 0;
    if (DefaultNonClientMessage(hwnd, message, wParam, lParam, &result))
        return result;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return GetDisplayDriver().EraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SETCURSOR:
        return DefaultSetCursor(hwnd, wParam, lParam);
    case WM_CANCELMODE:
        if (GetCapture() == hwnd)
            ReleaseCapture();
        return 0;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return DefaultTextMessage(record, message, wParam, lParam);
    case WM_SETICON:
    case WM_GETICON:
        return DefaultIconMessage(record, message, wParam, lParam);
    case WM_MOUSEWHEEL:
        // Unhandled wheel turns go to the parent, as on Windows.
        return record->parent ? SendMessage(record->parent->handle, message, wParam, lParam) : 0;
    default:
        return 0;
    }
}
