#pragma once

// The objects behind GDI handles. A handle is the object's address; every call
// checks it against the table of live objects first, so a stale handle fails.
// An object selected into a DC when it is deleted lives on, unreachable by its
// handle, until the last DC lets go of it.
//
// Other parts of the layer (fonts) derive from GdiObject and register their
// objects here, so SelectObject, DeleteObject and GetObject work on them too.

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"

#include <algorithm>
#include <atomic>
#include <memory>

namespace platform {

enum class GdiKind {
    Bitmap = OBJ_BITMAP,
    Brush = OBJ_BRUSH,
    Pen = OBJ_PEN,
    Font = OBJ_FONT,
    Region = OBJ_REGION,
    Palette = OBJ_PAL
};

class GdiObject {
public:
    explicit GdiObject(GdiKind kind) : m_kind(kind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    GdiKind Kind() const { return m_kind; }
    // Fills buffer as GetObject does; returns the bytes written (or needed when
    // buffer is null), 0 when size is too small.
    virtual int Describe(int size, void* buffer) const = 0;

    // Selections by DCs (and their saved states). Atomic: the stock objects
    // are selected into DCs of every thread (the page control draws on a
    // thread of its own).
    std::atomic<int> selections = 0;
    // For bitmaps: the memory DC holding it (a bitmap is in one DC at a time).
    std::atomic<const void*> selectedBy = nullptr;
    bool deletePending = false;
    bool stock = false;

private:
    GdiKind m_kind;
};

// Takes ownership; the handle is the object's address.
HGDIOBJ RegisterGdiObject(std::unique_ptr<GdiObject> object);
// The live object of that kind behind a handle, or null.
GdiObject* LookupGdiObject(HGDIOBJ handle);
template <class T> T* Lookup(HGDIOBJ handle, GdiKind kind) {
    GdiObject* object = LookupGdiObject(handle);
    return object && object->Kind() == kind ? static_cast<T*>(object) : nullptr;
}
// For DCs: count a selection, and release one (deleting a pending object).
void AddSelection(GdiObject* object);
void ReleaseSelection(GdiObject* object);
// Lets another part of the layer supply the stock objects it makes (the
// stock fonts): the maker is asked for one the first time it is wanted, so
// nothing is made while the library loads.
using StockMaker = HGDIOBJ (*)(int index);
void SetStockMaker(StockMaker maker);

class BitmapObject : public GdiObject {
public:
    BitmapObject(std::unique_ptr<Surface> surface, bool dibSection)
        : GdiObject(GdiKind::Bitmap), surface(std::move(surface)), dibSection(dibSection) {}
    int Describe(int size, void* buffer) const override;
    std::unique_ptr<Surface> surface;
    bool dibSection;
};

class BrushObject : public GdiObject {
public:
    explicit BrushObject(LOGBRUSH brush) : GdiObject(GdiKind::Brush), brush(brush) {}
    int Describe(int size, void* buffer) const override;
    bool IsNull() const { return brush.lbStyle == BS_NULL; }
    LOGBRUSH brush;
};

class PenObject : public GdiObject {
public:
    explicit PenObject(LOGPEN pen) : GdiObject(GdiKind::Pen), pen(pen) {}
    int Describe(int size, void* buffer) const override;
    bool IsNull() const { return pen.lopnStyle == PS_NULL; }
    // Widths past any bitmap's size draw as that size.
    int Width() const { return std::clamp<int>(pen.lopnWidth.x, 1, 1 << 15); }
    LOGPEN pen;
};

class RegionObject : public GdiObject {
public:
    RegionObject() : GdiObject(GdiKind::Region) {}
    explicit RegionObject(Region region) : GdiObject(GdiKind::Region), region(std::move(region)) {}
    int Describe(int, void*) const override { return 0; }
    Region region;
};

class PaletteObject : public GdiObject {
public:
    PaletteObject() : GdiObject(GdiKind::Palette) {}
    int Describe(int size, void* buffer) const override;
    std::vector<uint32_t> entries; // pixels
};

inline BitmapObject* LookupBitmap(HBITMAP h) {
    return Lookup<BitmapObject>(h, GdiKind::Bitmap);
}
inline BrushObject* LookupBrush(HBRUSH h) {
    return Lookup<BrushObject>(h, GdiKind::Brush);
}
inline PenObject* LookupPen(HPEN h) {
    return Lookup<PenObject>(h, GdiKind::Pen);
}
inline RegionObject* LookupRegion(HRGN h) {
    return Lookup<RegionObject>(h, GdiKind::Region);
}

// Drops the temporary CGdiObject or CDC wrappers of a handle that died.
void ForgetTempWrappers(HGDIOBJ object);
void ForgetTempDCWrapper(HDC hdc);

// A new region object's handle.
HRGN NewRegionHandle(Region region);

} // namespace platform
