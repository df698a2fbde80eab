// A frame's palette and its 8-bit top-down DIB section.

#include "kngif/GifPalettes.h"

#include <cstring>
#include <vector>

namespace kngif {

HPALETTE CreatePaletteFromTriples(const BYTE* triples, int entries) {
    if (entries <= 0 || entries > 256)
        return nullptr;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * size_t(entries));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = WORD(entries);
    for (int i = 0; i < entries; ++i)
        palette->palPalEntry[i] =
            PALETTEENTRY{triples[i * 3], triples[i * 3 + 1], triples[i * 3 + 2], 0};
    return CreatePalette(palette);
}

void GiveFramePalette(KNGIF89& gif) {
    GifFrameState& f = gif.frame;
    if (f.palette)
        return;
    if (!gif.globalPalette.empty()) {
        f.palette = CreatePaletteFromTriples(gif.globalPalette.data(), gif.globalEntries);
        f.paletteEntries = f.palette ? gif.globalEntries : 0;
        return;
    }
    PALETTEENTRY system[256];
    HDC screen = GetDC(nullptr);
    const UINT got = screen ? GetSystemPaletteEntries(screen, 0, 256, system) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    if (got == 0)
        return;
    BYTE triples[256 * 3];
    for (UINT i = 0; i < got && i < 256; ++i) {
        triples[i * 3] = system[i].peRed;
        triples[i * 3 + 1] = system[i].peGreen;
        triples[i * 3 + 2] = system[i].peBlue;
    }
    f.palette = CreatePaletteFromTriples(triples, int(got));
    f.paletteEntries = f.palette ? int(got) : 0;
}

COLORREF TransparentColorOf(const GifFrameState& f) {
    PALETTEENTRY entry;
    if (f.palette && f.transparentIndex < f.paletteEntries &&
        GetPaletteEntries(f.palette, UINT(f.transparentIndex), 1, &entry) == 1)
        return PALETTERGB(entry.peRed, entry.peGreen, entry.peBlue);
    return COLORREF(f.transparentIndex);
}

} // namespace kngif

using namespace kngif;

HBITMAP GifCreateFrameBitmap(HKNGIF gif) {
    if (!gif || gif->frame.pixels.empty())
        return nullptr;
    const GifFrameState& f = gif->frame;
    // The frame's palette gives the colour table; without one, the stock
    // palette's colours (indices past a table are drawn black).
    HPALETTE colours =
        f.palette ? f.palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    PALETTEENTRY entries[256];
    const UINT count = GetPaletteEntries(colours, 0, 256, entries);
    if (count == 0)
        return nullptr;
    std::vector<BYTE> block(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * 256, 0);
    auto* info = reinterpret_cast<BITMAPINFO*>(block.data());
    BITMAPINFOHEADER& h = info->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = f.width;
    h.biHeight = -f.height;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biCompression = BI_RGB;
    h.biSizeImage = DWORD(f.pixels.size());
    h.biClrUsed = h.biClrImportant = count;
    auto* table = reinterpret_cast<RGBQUAD*>(block.data() + sizeof(BITMAPINFOHEADER));
    for (UINT i = 0; i < count; ++i)
        table[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (screen)
        ReleaseDC(nullptr, screen);
    if (!bitmap)
        return nullptr;
    if (!bits) {
        DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(bits, f.pixels.data(), f.pixels.size());
    return bitmap;
}
