// A window's icon and its requests for the user's attention: both belong to
// the desktop's view of a top-level window, so the display driver shows them.

#include "platform/window/WindowAttention.h"

#include "platform/window/WindowRecord.h"

#include "platform/DisplayDriver.h"

using namespace platform;

namespace {

// The top-level window a window lies in.
HWND TopLevelOf(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    while (record && record->parent)
        record = record->parent;
    return record ? record->handle : nullptr;
}

} // namespace

LRESULT platform::DefaultIconMessage(WindowRecord* record, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
    HICON& slot = wParam == ICON_BIG ? record->bigIcon : record->smallIcon;
    if (message == WM_GETICON)
        return reinterpret_cast<LRESULT>(slot);
    const HICON previous = slot;
    slot = reinterpret_cast<HICON>(lParam);
    if (!record->parent)
        GetDisplayDriver().SetWindowIcon(record->handle,
                                         record->bigIcon ? record->bigIcon : record->smallIcon);
    return reinterpret_cast<LRESULT>(previous);
}

BOOL FlashWindow(HWND hwnd, BOOL invert) {
    const HWND top = TopLevelOf(hwnd);
    if (!top)
        return FALSE;
    const BOOL wasActive = GetActiveWindow() == top;
    GetDisplayDriver().FlashWindow(top, invert != FALSE);
    return wasActive;
}
