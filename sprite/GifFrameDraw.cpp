// Drawing a GIF frame: its 8-bit rows in their palette colours, with or
// without its transparent pixels. The frame's rows are made an 8-bit bitmap
// once, with its palette, and blitted from it.

#include "sprite/GifImage.h"

#include "sprite/GdiRoutines.h"

#include <algorithm>
#include <cstring>
#include <vector>

CGifFrame::Rendered::~Rendered() {
    if (bitmap)
        DeleteObject(bitmap);
}

// The frame's rows as an 8-bit DIB: its palette (entries beyond the table
// stay zero), the transparent entry's colour given as `key` when it is set.
struct CGifFrame::IndexedDib {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

void CGifFrame::Describe(IndexedDib& info) const {
    info = IndexedDib{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = m_nWidth;
    info.header.biHeight = m_nHeight; // bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 256;
    if (const RGBQUAD* palette = Palette())
        memcpy(info.colors, palette, size_t(std::min(PaletteCount(), 256)) * sizeof(RGBQUAD));
}

void CGifFrame::DrawIndexes(HDC hdc, int x, int y, int col, int row, int w, int h,
                            DWORD rop) const {
    IndexedDib info;
    Describe(info);
    // A bottom-up DIB's source rectangle counts from its last row.
    StretchDIBits(hdc, x, y, w, h, col, m_nHeight - row - h, w, h, m_bits.data(),
                  reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, rop);
}

const CGifFrame::Rendered* CGifFrame::Render() const {
    if (m_bRenderTried)
        return m_rendered.get();
    m_bRenderTried = true;
    const int w = m_nWidth, h = m_nHeight;
    const size_t bytes = size_t(Stride()) * size_t(h);
    if (w <= 0 || h <= 0 || m_bits.size() < bytes)
        return nullptr;
    IndexedDib info;
    Describe(info);
    auto rendered = std::make_unique<Rendered>();
    if (m_nTransparent >= 0) {
        // The transparent pixels are told by index, so a transparent colour
        // that another entry shares (or black) keys nothing else: their entry
        // gets a colour no shown pixel has.
        bool shown[256] = {};
        for (size_t i = 0; i < bytes; ++i)
            shown[m_bits[i]] = true;
        auto taken = [&](uint32_t rgb) {
            for (int index = 0; index < 256; ++index) {
                const RGBQUAD& q = info.colors[index];
                if (shown[index] && index != m_nTransparent &&
                    (uint32_t(q.rgbRed) << 16 | uint32_t(q.rgbGreen) << 8 | q.rgbBlue) == rgb)
                    return true;
            }
            return false;
        };
        uint32_t key = 0xFF00FF;
        while (taken(key))
            ++key;
        info.colors[m_nTransparent] =
            RGBQUAD{BYTE(key & 0xFF), BYTE(key >> 8 & 0xFF), BYTE(key >> 16 & 0xFF), 0};
        rendered->keyed = true;
        rendered->key = RGB(key >> 16, key >> 8 & 0xFF, key & 0xFF);
    }
    void* pixels = nullptr;
    rendered->bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info),
                                        DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!pixels)
        return nullptr;
    memcpy(pixels, m_bits.data(), bytes);
    m_rendered = std::move(rendered);
    return m_rendered.get();
}

// Where the part of the frame inside the logical rectangle (sx, sy, w, h)
// lands when the rectangle is drawn at (dx, dy).
struct CGifFrame::Placement {
    RECT part; // logical-screen coordinates
    int x, y;  // its place in the destination
    int col, row, w, h;
};

bool CGifFrame::Place(int dx, int dy, int sx, int sy, int w, int h, Placement& at) const {
    at.part = Clip(sx, sy, w, h);
    at.w = at.part.right - at.part.left;
    at.h = at.part.bottom - at.part.top;
    at.x = dx + at.part.left - sx;
    at.y = dy + at.part.top - sy;
    at.col = at.part.left - m_nLeft;
    at.row = at.part.top - m_nTop;
    return at.w > 0 && at.h > 0;
}

void CGifFrame::Draw(HDC hdc, int dx, int dy, int sx, int sy, int w, int h, DWORD rop) const {
    Placement at;
    if (!Place(dx, dy, sx, sy, w, h, at))
        return;
    // The keyed bitmap lacks the transparent pixels' own colour.
    const Rendered* rendered = Render();
    if (rendered && !rendered->keyed)
        BlitBitmap(hdc, at.x, at.y, at.w, at.h, rendered->bitmap, at.col, at.row, rop);
    else
        DrawIndexes(hdc, at.x, at.y, at.col, at.row, at.w, at.h, rop);
}

void CGifFrame::DrawTransparent(HDC hdc, int dx, int dy, int sx, int sy, int w, int h,
                                DWORD rop) const {
    if (m_nTransparent < 0) {
        Draw(hdc, dx, dy, sx, sy, w, h, rop);
        return;
    }
    Placement at;
    if (!Place(dx, dy, sx, sy, w, h, at))
        return;
    const Rendered* rendered = Render();
    if (rendered && rendered->keyed && rop == SRCCOPY) {
        SourceDC source(rendered->bitmap);
        TransparentBlt(hdc, at.x, at.y, at.w, at.h, source.dc(), at.col, at.row, at.w, at.h,
                       rendered->key);
        return;
    }
    ScratchDC drawn(at.w, at.h), target(at.w, at.h);
    BitBlt(target.dc(), 0, 0, at.w, at.h, hdc, at.x, at.y, SRCCOPY);
    BitBlt(drawn.dc(), 0, 0, at.w, at.h, hdc, at.x, at.y, SRCCOPY); // what the raster op works on
    Draw(drawn.dc(), 0, 0, at.part.left, at.part.top, at.w, at.h, rop);
    for (int r = 0; r < at.h; ++r) {
        const uint32_t* from = drawn.Row(r);
        uint32_t* to = target.Row(r);
        for (int c = 0; c < at.w; ++c) {
            BYTE index;
            if (IndexAt(at.part.left + c, at.part.top + r, index) && index != m_nTransparent)
                to[c] = from[c];
        }
    }
    BitBlt(hdc, at.x, at.y, at.w, at.h, target.dc(), 0, 0, SRCCOPY);
}
