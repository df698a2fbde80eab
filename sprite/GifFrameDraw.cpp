// Drawing a GIF frame: its 8-bit rows through StretchDIBits, with or
// without its transparent pixels.

#include "sprite/GifImage.h"

#include "sprite/GdiRoutines.h"

#include <algorithm>
#include <cstring>

void CGifFrame::Draw(HDC hdc, int dx, int dy, int sx, int sy, int w, int h, DWORD rop) const {
    const RECT part = Clip(sx, sy, w, h);
    const int pw = part.right - part.left, ph = part.bottom - part.top;
    if (pw <= 0 || ph <= 0)
        return;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = m_nWidth;
    info.header.biHeight = m_nHeight; // bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 256;
    // Entries beyond the table stay zero.
    if (const RGBQUAD* palette = Palette())
        memcpy(info.colors, palette, size_t(std::min(PaletteCount(), 256)) * sizeof(RGBQUAD));
    const int col = part.left - m_nLeft, row = part.top - m_nTop;
    // A bottom-up DIB's source rectangle counts from its last row.
    StretchDIBits(hdc, dx + part.left - sx, dy + part.top - sy, pw, ph, col, m_nHeight - row - ph,
                  pw, ph, m_bits.data(), reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                  rop);
}

// The transparent pixels are left out by index, so a transparent colour that
// another entry shares (or black) keys nothing else.
void CGifFrame::DrawTransparent(HDC hdc, int dx, int dy, int sx, int sy, int w, int h,
                                DWORD rop) const {
    if (m_nTransparent < 0) {
        Draw(hdc, dx, dy, sx, sy, w, h, rop);
        return;
    }
    const RECT part = Clip(sx, sy, w, h);
    const int pw = part.right - part.left, ph = part.bottom - part.top;
    if (pw <= 0 || ph <= 0)
        return;
    const int x = dx + part.left - sx, y = dy + part.top - sy;
    ScratchDC drawn(pw, ph), target(pw, ph);
    BitBlt(target.dc(), 0, 0, pw, ph, hdc, x, y, SRCCOPY);
    BitBlt(drawn.dc(), 0, 0, pw, ph, hdc, x, y, SRCCOPY); // what the raster op works on
    Draw(drawn.dc(), 0, 0, part.left, part.top, pw, ph, rop);
    for (int r = 0; r < ph; ++r) {
        const uint32_t* from = drawn.Row(r);
        uint32_t* to = target.Row(r);
        for (int c = 0; c < pw; ++c) {
            BYTE index;
            if (IndexAt(part.left + c, part.top + r, index) && index != m_nTransparent)
                to[c] = from[c];
        }
    }
    BitBlt(hdc, x, y, pw, ph, target.dc(), 0, 0, SRCCOPY);
}
