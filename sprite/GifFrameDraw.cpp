// Drawing a GIF frame: its 8-bit rows in their palette colours, with or
// without its transparent pixels. The frame is turned into a 32-bit bitmap
// once, on its first draw, and blitted from it.

#include "sprite/GifImage.h"

#include "sprite/GdiRoutines.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A top-down 32-bit bitmap whose pixels are in reach.
HBITMAP MakeCanvas(int cx, int cy, uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader =
        BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<uint32_t*>(pixels);
    return bitmap;
}

} // namespace

CGifFrame::Rendered::~Rendered() {
    if (bitmap)
        DeleteObject(bitmap);
}

void CGifFrame::DrawIndexes(HDC hdc, int x, int y, int col, int row, int w, int h,
                            DWORD rop) const {
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
    // A bottom-up DIB's source rectangle counts from its last row.
    StretchDIBits(hdc, x, y, w, h, col, m_nHeight - row - h, w, h, m_bits.data(),
                  reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, rop);
}

const CGifFrame::Rendered* CGifFrame::Render() const {
    if (m_bRenderTried)
        return m_rendered.get();
    m_bRenderTried = true;
    const int w = m_nWidth, h = m_nHeight;
    if (w <= 0 || h <= 0 || m_bits.size() < size_t(Stride()) * size_t(h))
        return nullptr;
    auto rendered = std::make_unique<Rendered>();
    uint32_t* pixels = nullptr;
    rendered->bitmap = MakeCanvas(w, h, &pixels);
    if (!pixels)
        return nullptr;
    {
        SourceDC canvas(rendered->bitmap);
        DrawIndexes(canvas.dc(), 0, 0, 0, 0, w, h, SRCCOPY);
    }
    if (m_nTransparent >= 0) {
        // The transparent pixels are told by index, so a transparent colour
        // that another entry shares (or black) keys nothing else: they get a
        // colour of their own.
        bool seen[256] = {};
        std::vector<uint32_t> shown;
        for (int r = 0; r < h; ++r) {
            const BYTE* indexes = m_bits.data() + size_t(h - 1 - r) * size_t(Stride());
            for (int c = 0; c < w; ++c)
                if (indexes[c] != m_nTransparent && !seen[indexes[c]]) {
                    seen[indexes[c]] = true;
                    shown.push_back(pixels[size_t(r) * size_t(w) + size_t(c)] & 0xFFFFFF);
                }
        }
        uint32_t key = 0xFF00FF;
        while (std::find(shown.begin(), shown.end(), key) != shown.end())
            ++key;
        for (int r = 0; r < h; ++r) {
            const BYTE* indexes = m_bits.data() + size_t(h - 1 - r) * size_t(Stride());
            for (int c = 0; c < w; ++c)
                if (indexes[c] == m_nTransparent)
                    pixels[size_t(r) * size_t(w) + size_t(c)] = key;
        }
        rendered->keyed = true;
        rendered->key = RGB(key >> 16, (key >> 8) & 0xFF, key & 0xFF);
    }
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
