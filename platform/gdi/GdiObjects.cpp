// The handle table, stock objects, brushes, pens and palettes.

#include "platform/gdi/GdiObject.h"

#include "platform/gdi/DeviceContext.h"

#include "platform/gdi/HandleTable.h"

#include <array>
#include <cstring>

namespace platform {
namespace {

HandleTable<GdiObject>& Table() {
    static auto* table = new HandleTable<GdiObject>; // outlives static destructors
    return *table;
}

template <class T> int CopyOut(const T& value, int size, void* buffer) {
    if (!buffer)
        return int(sizeof(T));
    if (size < int(sizeof(T)))
        return 0;
    std::memcpy(buffer, &value, sizeof(T));
    return int(sizeof(T));
}

HGDIOBJ MakeStock(std::unique_ptr<GdiObject> object) {
    object->stock = true;
    return RegisterGdiObject(std::move(object));
}

std::array<HGDIOBJ, STOCK_LAST + 1>& StockTable() {
    static std::array<HGDIOBJ, STOCK_LAST + 1>* table = [] {
        auto* t = new std::array<HGDIOBJ, STOCK_LAST + 1>{};
        auto brush = [](COLORREF c) {
            return MakeStock(std::make_unique<BrushObject>(LOGBRUSH{BS_SOLID, c, 0}));
        };
        auto pen = [](UINT style, COLORREF c) {
            return MakeStock(std::make_unique<PenObject>(LOGPEN{style, {1, 0}, c}));
        };
        (*t)[WHITE_BRUSH] = brush(RGB(255, 255, 255));
        (*t)[LTGRAY_BRUSH] = brush(RGB(192, 192, 192));
        (*t)[GRAY_BRUSH] = brush(RGB(128, 128, 128));
        (*t)[DKGRAY_BRUSH] = brush(RGB(64, 64, 64));
        (*t)[BLACK_BRUSH] = brush(RGB(0, 0, 0));
        (*t)[NULL_BRUSH] = MakeStock(std::make_unique<BrushObject>(LOGBRUSH{BS_NULL, 0, 0}));
        (*t)[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
        (*t)[BLACK_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
        (*t)[NULL_PEN] = pen(PS_NULL, 0);
        auto palette = std::make_unique<PaletteObject>();
        palette->entries = StockPaletteColors();
        (*t)[DEFAULT_PALETTE] = MakeStock(std::move(palette));
        return t;
    }();
    return *table;
}

} // namespace

HGDIOBJ RegisterGdiObject(std::unique_ptr<GdiObject> object) {
    return Table().Add(std::move(object));
}

GdiObject* LookupGdiObject(HGDIOBJ handle) {
    return Table().Find(handle);
}

void AddSelection(GdiObject* object) {
    if (object)
        ++object->selections;
}

void ReleaseSelection(GdiObject* object) {
    if (!object || --object->selections > 0)
        return;
    object->selectedBy = nullptr;
    if (object->deletePending)
        delete object; // already out of the table
}

StockMaker& Maker() {
    static StockMaker maker = nullptr;
    return maker;
}

void SetStockMaker(StockMaker maker) {
    Maker() = maker;
}

HRGN NewRegionHandle(Region region) {
    return static_cast<HRGN>(RegisterGdiObject(std::make_unique<RegionObject>(std::move(region))));
}

int BitmapObject::Describe(int size, void* buffer) const {
    BITMAP bm{};
    bm.bmWidth = surface->Width();
    bm.bmHeight = surface->Height();
    bm.bmPlanes = 1;
    bm.bmBitsPixel = WORD(surface->Bpp());
    if (dibSection) {
        bm.bmWidthBytes = surface->RowBytes();
        bm.bmBits = surface->Bits();
    } else {
        // Device bitmaps report rows padded to 16 bits.
        bm.bmWidthBytes = ((surface->Width() * surface->Bpp() + 15) / 16) * 2;
    }
    return CopyOut(bm, size, buffer);
}

int BrushObject::Describe(int size, void* buffer) const {
    return CopyOut(brush, size, buffer);
}

int PenObject::Describe(int size, void* buffer) const {
    return CopyOut(pen, size, buffer);
}

int PaletteObject::Describe(int size, void* buffer) const {
    return CopyOut(WORD(entries.size()), size, buffer);
}

} // namespace platform

using namespace platform;

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(
        RegisterGdiObject(std::make_unique<BrushObject>(LOGBRUSH{BS_SOLID, color & 0xFFFFFF, 0})));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush)
        return nullptr;
    // Hatched and pattern brushes are not drawn by the system; they paint solid.
    LOGBRUSH b = *brush;
    b.lbStyle = b.lbStyle == BS_NULL ? BS_NULL : BS_SOLID;
    b.lbColor &= 0xFFFFFF;
    return static_cast<HBRUSH>(RegisterGdiObject(std::make_unique<BrushObject>(b)));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME)
        return nullptr;
    LOGPEN pen{UINT(style), {width < 0 ? 0 : width, 0}, color & 0xFFFFFF};
    return static_cast<HPEN>(RegisterGdiObject(std::make_unique<PenObject>(pen)));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    return pen ? CreatePen(int(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor) : nullptr;
}

HPALETTE CreatePalette(const LOGPALETTE* palette) {
    if (!palette || palette->palNumEntries == 0)
        return nullptr;
    auto object = std::make_unique<PaletteObject>();
    for (int i = 0; i < palette->palNumEntries; ++i) {
        const PALETTEENTRY& e = palette->palPalEntry[i];
        object->entries.push_back(uint32_t(e.peRed) << 16 | uint32_t(e.peGreen) << 8 | e.peBlue);
    }
    return static_cast<HPALETTE>(RegisterGdiObject(std::move(object)));
}

HGDIOBJ GetStockObject(int index) {
    if (index < 0 || index > STOCK_LAST)
        return nullptr;
    HGDIOBJ& stock = StockTable()[size_t(index)];
    if (!stock && Maker()) {
        stock = Maker()(index);
        if (GdiObject* object = LookupGdiObject(stock))
            object->stock = true;
    }
    return stock;
}

BOOL DeleteObject(HGDIOBJ handle) {
    GdiObject* object = LookupGdiObject(handle);
    if (!object)
        return FALSE;
    if (object->stock)
        return TRUE; // stock objects are never deleted
    std::unique_ptr<GdiObject> doomed = Table().Take(handle);
    if (!doomed)
        return FALSE;
    ForgetTempWrappers(handle);
    if (doomed->selections > 0) {
        // Still in a DC: freed when it is deselected.
        doomed->deletePending = true;
        doomed.release();
    }
    return TRUE;
}

int GetObject(HGDIOBJ handle, int size, LPVOID buffer) {
    GdiObject* object = LookupGdiObject(handle);
    if (!object || size < 0)
        return 0;
    return object->Describe(size, buffer);
}

DWORD GetObjectType(HGDIOBJ handle) {
    if (GdiObject* object = LookupGdiObject(handle))
        return DWORD(object->Kind());
    if (DeviceContext* dc = LookupDC(static_cast<HDC>(handle)))
        return dc->kind == DeviceContext::Kind::Memory ? OBJ_MEMDC : OBJ_DC;
    return 0;
}
