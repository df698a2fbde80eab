// Visible regions of windows on their top-level window's surface.

#include "platform/window/WindowVisibility.h"

#include "platform/gdi/GdiObject.h"

namespace platform {

namespace {

Region Shifted(Region region, int dx, int dy) {
    region.Offset(dx, dy);
    return region;
}

// Takes away the shapes of the visible windows in siblings before `stop`
// (those above it), given in coordinates shifted by (dx, dy) from `area`'s.
void SubtractAbove(Region& area, const std::vector<WindowRecord*>& siblings,
                   const WindowRecord* stop, int dx, int dy) {
    for (const WindowRecord* sibling : siblings) {
        if (sibling == stop)
            break;
        if (sibling->Visible())
            area = Region::Combine(area, Shifted(WindowShape(sibling), dx, dy), RGN_DIFF);
    }
}

} // namespace

Region RegionOfHandle(HRGN region) {
    RegionObject* object = LookupRegion(region);
    return object ? object->region : Region();
}

WindowRecord* TopLevelOf(WindowRecord* record, POINT* offset) {
    POINT at{0, 0};
    while (record && record->parent) {
        at.x += record->rect.left + record->parent->client.left;
        at.y += record->rect.top + record->parent->client.top;
        record = record->parent;
    }
    if (offset)
        *offset = at;
    return record;
}

Region WindowShape(const WindowRecord* record) {
    Region shape(RECT{0, 0, record->Width(), record->Height()});
    if (record->region)
        shape = Region::Combine(shape, RegionOfHandle(record->region), RGN_AND);
    shape.Offset(record->rect.left, record->rect.top);
    return shape;
}

Region VisibleRegion(WindowRecord* record) {
    Region area = Shifted(WindowShape(record), -record->rect.left, -record->rect.top);
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

Region VisibleClientRegion(WindowRecord* record) {
    Region area = Region::Combine(VisibleRegion(record), Region(record->client), RGN_AND);
    area.Offset(-record->client.left, -record->client.top);
    return area;
}

} // namespace platform
