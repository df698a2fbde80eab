// Region invalidation and RedrawWindow over the rectangle calls of the tree.

#include "platform/window/Redraw.h"

#include "platform/Geometry.h"
#include "platform/gdi/GdiObject.h"
#include "platform/window/WindowRecord.h"
#include "platform/window/WindowVisibility.h"

using namespace platform;

namespace {

std::vector<RECT> AreaRects(HWND hwnd, const RECT* rect, HRGN region) {
    if (rect)
        return {*rect};
    if (region)
        return RegionOfHandle(region).Rects();
    RECT client;
    GetClientRect(hwnd, &client);
    return {client};
}

void Redraw(WindowRecord* record, const std::vector<RECT>& rects, UINT flags) {
    for (const RECT& r : rects) {
        if (flags & RDW_INVALIDATE)
            InvalidateRect(record->handle, &r, (flags & RDW_ERASE) != 0);
        else if (flags & RDW_VALIDATE)
            ValidateRect(record->handle, &r);
    }
    if (!(flags & RDW_ALLCHILDREN))
        return;
    for (WindowRecord* child : record->children) {
        std::vector<RECT> inChild;
        const RECT client{0, 0, child->ClientWidth(), child->ClientHeight()};
        for (RECT r : rects) {
            OffsetRect(&r, -child->rect.left - child->client.left,
                       -child->rect.top - child->client.top);
            RECT overlap;
            if (IntersectRect(&overlap, &r, &client))
                inChild.push_back(overlap);
        }
        if (!inChild.empty())
            Redraw(child, inChild, flags);
    }
}

void UpdateNow(WindowRecord* record, bool children) {
    const HWND hwnd = record->handle;
    std::vector<HWND> below;
    if (children)
        for (WindowRecord* child : record->children)
            below.push_back(child->handle);
    UpdateWindow(hwnd);
    for (HWND child : below)
        if (WindowRecord* c = FindWindowRecord(child))
            UpdateNow(c, true);
}

} // namespace

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
    if (!region)
        return InvalidateRect(hwnd, nullptr, erase);
    if (!IsWindow(hwnd))
        return FALSE;
    const Region area = RegionOfHandle(region);
    for (const RECT& r : area.Rects())
        InvalidateRect(hwnd, &r, erase);
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
    if (!region)
        return ValidateRect(hwnd, nullptr);
    if (!IsWindow(hwnd))
        return FALSE;
    const Region area = RegionOfHandle(region);
    for (const RECT& r : area.Rects())
        ValidateRect(hwnd, &r);
    return TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || !region)
        return ERROR;
    const Region invalid = Region::FromRects(record->invalid.data(), record->invalid.size());
    HRGN copy = NewRegionHandle(invalid);
    CombineRgn(region, copy, nullptr, RGN_COPY);
    DeleteObject(copy);
    return invalid.Complexity();
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return FALSE;
    Redraw(record, AreaRects(hwnd, rect, region), flags);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        if ((record = FindWindowRecord(hwnd)))
            UpdateNow(record, (flags & RDW_ALLCHILDREN) != 0);
    return TRUE;
}
