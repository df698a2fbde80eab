// Invalid areas and the paint cycle. WM_PAINT itself is made by the message queue
// when nothing else waits; the device context comes from the window backend.

#include "platform/window/WindowRecord.h"

#include "platform/DisplayDriver.h"

#include <algorithm>
#include <set>

using namespace platform;

namespace {

// Windows with an invalid area, in creation order (parents before children).
std::set<uintptr_t>& Dirty() {
    static std::set<uintptr_t> dirty;
    return dirty;
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT Bounds(const std::vector<RECT>& rects) {
    RECT bounds{0, 0, 0, 0};
    for (size_t i = 0; i < rects.size(); ++i) {
        const RECT& r = rects[i];
        if (i == 0) {
            bounds = r;
            continue;
        }
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    return bounds;
}

// Past this many separate rectangles the area becomes their bounding box.
constexpr size_t kMaxInvalidRects = 8;

void AddInvalid(WindowRecord* record, RECT r, bool erase) {
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, record->ClientWidth());
    r.bottom = std::min<LONG>(r.bottom, record->ClientHeight());
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    record->eraseBackground = record->eraseBackground || erase;
    auto& invalid = record->invalid;
    for (const RECT& existing : invalid)
        if (Contains(existing, r))
            return;
    std::erase_if(invalid, [&](const RECT& existing) { return Contains(r, existing); });
    invalid.push_back(r);
    if (invalid.size() > kMaxInvalidRects)
        invalid = {Bounds(invalid)};
    Dirty().insert(reinterpret_cast<uintptr_t>(record->handle));
}

} // namespace

namespace platform {

void InvalidateWhole(WindowRecord* record, bool erase) {
    if (record->HasFrame())
        record->ncInvalid = true;
    AddInvalid(record, {0, 0, record->ClientWidth(), record->ClientHeight()}, erase);
}

void ForgetInvalid(WindowRecord* record) {
    record->invalid.clear();
    record->eraseBackground = false;
    Dirty().erase(reinterpret_cast<uintptr_t>(record->handle));
}

HWND NextWindowToPaint(HWND filter) {
    for (uintptr_t handle : Dirty()) {
        HWND hwnd = reinterpret_cast<HWND>(handle);
        if ((!filter || filter == hwnd) && IsWindowVisible(hwnd))
            return hwnd;
    }
    return nullptr;
}

} // namespace platform

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return FALSE;
    if (rect)
        AddInvalid(record, *rect, erase);
    else
        InvalidateWhole(record, erase);
    return TRUE;
}

// Validating part of the area drops the invalid rectangles it covers; one that it
// only overlaps stays whole, so at worst a little more is painted.
BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return FALSE;
    if (rect)
        std::erase_if(record->invalid, [&](const RECT& r) { return Contains(*rect, r); });
    if (!rect || record->invalid.empty())
        ForgetInvalid(record);
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return FALSE;
    RECT bounds = Bounds(record->invalid);
    if (rect)
        *rect = bounds;
    return !record->invalid.empty();
}

BOOL UpdateWindow(HWND hwnd) {
    if (hwnd && hwnd == GetDesktopWindow())
        return TRUE;
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return FALSE;
    if (!record->invalid.empty() && IsWindowVisible(hwnd))
        SendMessage(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || !paint)
        return nullptr;
    // The frame first, as it lies under whatever the client paints.
    if (record->ncInvalid) {
        record->ncInvalid = false;
        if (record->HasFrame()) {
            SendMessage(hwnd, WM_NCPAINT, 1, 0);
            if (!(record = FindWindowRecord(hwnd)))
                return nullptr;
        }
    }
    *paint = PAINTSTRUCT{};
    paint->rcPaint = Bounds(record->invalid);
    paint->fErase = record->eraseBackground;
    std::vector<RECT> invalid = std::move(record->invalid);
    ForgetInvalid(record);
    paint->hdc = GetDisplayDriver().BeginPaintDC(hwnd, invalid);
    // Without a device context there is nothing to erase with.
    if (paint->fErase && paint->hdc)
        paint->fErase =
            SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0;
    return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    if (paint && paint->hdc)
        GetDisplayDriver().EndPaintDC(hwnd, paint->hdc);
    return TRUE;
}
