// Palette entries: read, written and matched.

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObject.h"

#include <algorithm>

namespace platform {

std::vector<uint32_t> StockPaletteColors() {
    return {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
            0xC0C0C0, 0xC0DCC0, 0xA6CAF0, 0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000,
            0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
}

namespace {

PaletteObject* LookupPalette(HPALETTE palette) {
    return Lookup<PaletteObject>(palette, GdiKind::Palette);
}

} // namespace

} // namespace platform

using namespace platform;

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
    PaletteObject* object = LookupPalette(palette);
    if (!object)
        return 0;
    UINT size = UINT(object->entries.size());
    if (!entries)
        return size;
    if (start >= size)
        return 0;
    UINT n = std::min(count, size - start);
    for (UINT i = 0; i < n; ++i) {
        uint32_t p = object->entries[start + i];
        entries[i] = PALETTEENTRY{BYTE(p >> 16), BYTE(p >> 8), BYTE(p), 0};
    }
    return n;
}

UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
    PaletteObject* object = LookupPalette(palette);
    if (!object || object->stock || !entries)
        return 0;
    UINT size = UINT(object->entries.size());
    if (start >= size)
        return 0;
    UINT n = std::min(count, size - start);
    for (UINT i = 0; i < n; ++i)
        object->entries[start + i] = uint32_t(entries[i].peRed) << 16 |
                                     uint32_t(entries[i].peGreen) << 8 | entries[i].peBlue;
    return n;
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color) {
    PaletteObject* object = LookupPalette(palette);
    if (!object || object->entries.empty())
        return CLR_INVALID;
    return UINT(NearestPaletteIndex(object->entries, PixelFromColor(color)));
}

UINT GetSystemPaletteEntries(HDC, UINT, UINT, PALETTEENTRY*) {
    return 0;
}
