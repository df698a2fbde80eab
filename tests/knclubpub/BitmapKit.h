#pragma once

// Bitmaps for the owner-drawn pieces' tests: loose copies of canvases, and
// pictures whose every pixel says where it lies.

#include "../support/GdiCanvas.h"

namespace clubpub_test {

// A bitmap selected nowhere, with the canvas's pixels.
inline HBITMAP LooseCopy(const GdiCanvas& canvas) {
    HBITMAP copy = CreateCompatibleBitmap(canvas.dc(), canvas.width(), canvas.height());
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, canvas.width(), canvas.height(), canvas.dc(), 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    return copy;
}

// A bitmap whose pixel (x, y) is a colour made of x and y.
inline HBITMAP Numbered(int width, int height) {
    GdiCanvas canvas(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            canvas.Set(x, y, (uint32_t)((x << 16) | (y << 8) | 0x40));
        }
    }
    return LooseCopy(canvas);
}

} // namespace clubpub_test
