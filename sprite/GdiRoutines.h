#pragma once

// Blits the theme and the images use: bitmaps with a key colour, with a raster
// op or with a per-pixel alpha bitmap; bitmaps named in ini files; and the
// pooled scratch DCs every image draws through.

#include "platform/gdi/GdiWrappers.h"

#include <cstdint>
#include <vector>

// The bitmap the key names in an ini section (joined to the folder with "\"
// when one is given); null when the key is empty or the file does not load.
HBITMAP LoadThemeBitmap(LPCSTR iniFile, LPCSTR section, LPCSTR key, LPCSTR folder);
CSize GetBitmapSize(const CBitmap& bitmap);
CSize GetHBitmapSize(HBITMAP bitmap);

// Copies the source part without its key-colour pixels (key 0: the colour of
// the part's top-left pixel); stretched when the sizes differ.
void TransparentBlit(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                     COLORREF key);
// BitBlt of a part of a bitmap.
void BlitBitmap(HDC dest, int x, int y, int cx, int cy, HBITMAP bitmap, int sx, int sy, DWORD rop);
// dest = (dest * (255 - a) + image * a) >> 8 per channel, a being the alpha
// bitmap's blue byte at the same place; where a is 0 dest stays as it is.
void AlphaBlit(HDC dest, int x, int y, int cx, int cy, HBITMAP image, int ix, int iy, HBITMAP alpha,
               int ax, int ay);

// Cuts the rectangle (the DC's logical units) to what the DC lets through
// now, so that drawing its outside costs nothing; false when nothing of it
// is left.
bool ClipToDC(HDC dc, RECT& rect);

// Runs draw(dc) with the DC's origin moved by offset and its clip cut to
// part (in the moved units): something that draws itself whole at (0, 0)
// lands where it stands and only its part is drawn. The DC is as it was
// afterwards.
template <class Draw> void DrawMoved(HDC dc, POINT offset, const RECT& part, Draw draw) {
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, offset.x, offset.y, nullptr);
    IntersectClipRect(dc, part.left, part.top, part.right, part.bottom);
    draw(dc);
    RestoreDC(dc, saved);
}

// A bitmap's pixels as 0x00RRGGBB, rows top-down; false for a bad bitmap.
bool ReadBitmapPixels(HBITMAP bitmap, SIZE size, std::vector<uint32_t>& pixels);

// A memory DC with a bitmap selected for the life of the object. DCs are
// pooled (drawing happens on the user-interface thread, nested a few deep).
class SourceDC {
public:
    explicit SourceDC(HBITMAP bitmap);
    ~SourceDC();
    SourceDC(const SourceDC&) = delete;
    SourceDC& operator=(const SourceDC&) = delete;
    HDC dc() const { return m_dc; }
    // Selects another bitmap into the same DC.
    void Select(HBITMAP bitmap);

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

// A pooled top-down 32-bit canvas of at least cx x cy, its pixels in reach.
class ScratchDC {
public:
    ScratchDC(int cx, int cy);
    ~ScratchDC();
    ScratchDC(const ScratchDC&) = delete;
    ScratchDC& operator=(const ScratchDC&) = delete;
    HDC dc() const;
    uint32_t* Row(int y) const;

private:
    int m_slot;
};
