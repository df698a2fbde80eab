// Visible regions of windows on their top-level window's surface.

#include "platform/window/WindowVisibility.h"

#include "platform/gdi/GdiObject.h"
#include "platform/window/WindowRecord.h"

namespace platform {

namespace {

Region Shifted(Region region, int dx, int dy) {
    region.Offset(dx, dy);
    return region;
}

Region ShapeOf(const WindowRecord* record) {
    Region shape(RECT{0, 0, record->Width(), record->Height()});
    if (record->region)
        shape = Region::Combine(shape, RegionOfHandle(record->region), RGN_AND);
    shape.Offset(record->rect.left, record->rect.top);
    return shape;
}

// Takes away the shapes of the visible windows in siblings before `stop`
// (those above it), given in coordinates shifted by (dx, dy) from `area`'s.
void SubtractAbove(Region& area, const std::vector<WindowRecord*>& siblings,
                   const WindowRecord* stop, int dx, int dy) {
    for (const WindowRecord* sibling : siblings) {
        if (sibling == stop)
            break;
        if (sibling->Visible())
            area = Region::Combine(area, Shifted(ShapeOf(sibling), dx, dy), RGN_DIFF);
    }
}

std::vector<HWND> HandlesOf(const std::vector<WindowRecord*>& records) {
    std::vector<HWND> handles;
    handles.reserve(records.size());
    for (const WindowRecord* record : records)
        handles.push_back(record->handle);
    return handles;
}

} // namespace

Region RegionOfHandle(HRGN region) {
    RegionObject* object = LookupRegion(region);
    return object ? object->region : Region();
}

std::vector<HWND> TopLevelWindowList() {
    return HandlesOf(TopLevelWindows());
}

std::vector<HWND> ChildWindowList(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    return record ? HandlesOf(record->children) : std::vector<HWND>{};
}

HWND ParentWindowOf(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    return record && record->parent ? record->parent->handle : nullptr;
}

HWND TopLevelWindowOf(HWND hwnd, POINT* offset) {
    POINT at{0, 0};
    const WindowRecord* record = FindWindowRecord(hwnd);
    while (record && record->parent) {
        at.x += record->rect.left + record->parent->client.left;
        at.y += record->rect.top + record->parent->client.top;
        record = record->parent;
    }
    if (offset)
        *offset = at;
    return record ? record->handle : nullptr;
}

bool WindowRectInParent(HWND hwnd, RECT* rect) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || !rect)
        return false;
    *rect = record->rect;
    return true;
}

bool HasVisibleStyle(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    return record && record->Visible();
}

std::string StoredWindowText(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    return record ? record->text : std::string();
}

Region WindowShape(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    return record ? ShapeOf(record) : Region();
}

Region VisibleRegion(HWND hwnd, bool clipChildren) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return Region();
    Region area = Shifted(ShapeOf(record), -record->rect.left, -record->rect.top);
    if (clipChildren)
        SubtractAbove(area, record->children, nullptr, record->client.left, record->client.top);
    // Walk up: (dx, dy) takes the current ancestor's window coordinates to the
    // window's; children live in their parent's client area.
    int dx = 0, dy = 0;
    for (WindowRecord* child = record; child->parent; child = child->parent) {
        WindowRecord* parent = child->parent;
        dx -= child->rect.left + parent->client.left;
        dy -= child->rect.top + parent->client.top;
        SubtractAbove(area, parent->children, child, dx + parent->client.left,
                      dy + parent->client.top);
        Region parentArea(parent->client);
        if (parent->region)
            parentArea = Region::Combine(parentArea, RegionOfHandle(parent->region), RGN_AND);
        area = Region::Combine(area, Shifted(parentArea, dx, dy), RGN_AND);
    }
    return area;
}

Region VisibleClientRegion(HWND hwnd, bool clipChildren) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return Region();
    Region area =
        Region::Combine(VisibleRegion(hwnd, clipChildren), Region(record->client), RGN_AND);
    area.Offset(-record->client.left, -record->client.top);
    return area;
}

bool ClientAreaInWindow(HWND hwnd, RECT* rect) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (!record || !rect)
        return false;
    *rect = record->client;
    return true;
}

} // namespace platform
