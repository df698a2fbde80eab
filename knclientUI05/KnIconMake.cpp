// New icons from old ones and from bitmaps: a grey copy of an icon, and an
// icon whose transparent pixels are those of a 16-bit bitmap's corner colour.

#include "knclientUI05/DibCheck.h"
#include "knclientUI05/KnClientPublic.h"

#include <cstring>

namespace {

// The grey of a colour: its luma, the integer part.
BYTE Luma(COLORREF c) {
    return BYTE(0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c));
}

} // namespace

HICON CreateGrayIcon(HICON icon) {
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info))
        return nullptr;
    HICON grey = nullptr;
    BITMAP bm;
    // A monochrome icon has no colour bitmap to grey.
    if (info.hbmColor && GetObject(info.hbmColor, sizeof bm, &bm)) {
        HDC screen = GetDC(nullptr);
        HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
        // The colour bitmap's own size: a cursor's hot spot is no centre.
        HBITMAP greyBitmap =
            CreateBitmap(bm.bmWidth, bm.bmHeight, bm.bmPlanes, bm.bmBitsPixel, nullptr);
        if (from && to && greyBitmap) {
            HGDIOBJ oldFrom = SelectObject(from, info.hbmColor);
            HGDIOBJ oldTo = SelectObject(to, greyBitmap);
            for (int y = 0; y < bm.bmHeight; ++y)
                for (int x = 0; x < bm.bmWidth; ++x) {
                    COLORREF c = GetPixel(from, x, y);
                    BYTE g = c == 0 ? 0 : Luma(c);
                    SetPixel(to, x, y, RGB(g, g, g)); // black too: every pixel is written
                }
            SelectObject(from, oldFrom);
            SelectObject(to, oldTo);
            ICONINFO made{TRUE, info.xHotspot, info.yHotspot, info.hbmMask, greyBitmap};
            grey = CreateIconIndirect(&made);
        }
        if (greyBitmap)
            DeleteObject(greyBitmap);
        if (from)
            DeleteDC(from);
        if (to)
            DeleteDC(to);
        ReleaseDC(nullptr, screen);
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return grey;
}

HICON CreateIconFromBitmap(HBITMAP bitmap) {
    BITMAP bm;
    if (!bitmap || !GetObject(bitmap, sizeof bm, &bm) || bm.bmBitsPixel != 16)
        return nullptr;
    const int width = bm.bmWidth, height = bm.bmHeight;
    void* colourBits = nullptr;
    void* maskBits = nullptr;
    HBITMAP colour = CreateDibSectionOfDepth(width, height, 16, &colourBits);
    HBITMAP mask = CreateDibSectionOfDepth(width, height, 1, &maskBits);
    HICON icon = nullptr;
    HDC screen = GetWindowDC(nullptr);
    if (colour && mask && colourBits && maskBits && screen) {
        HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
        HGDIOBJ oldFrom = SelectObject(from, bitmap);
        HGDIOBJ oldTo = SelectObject(to, colour);
        BOOL copied = BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
        DeleteDC(from);
        DeleteDC(to);
        if (copied) {
            // Real strides: 16-bit rows and mask rows are each padded to 32 bits.
            const size_t colourStride = DibRowLength(width, 16),
                         maskStride = DibRowLength(width, 1);
            BYTE* pixels = static_cast<BYTE*>(colourBits);
            BYTE* maskRows = static_cast<BYTE*>(maskBits);
            std::memset(maskRows, 0, maskStride * size_t(height));
            WORD key;
            std::memcpy(&key, pixels, sizeof key);
            for (int y = 0; y < height; ++y) {
                WORD* row = reinterpret_cast<WORD*>(pixels + size_t(y) * colourStride);
                BYTE* maskRow = maskRows + size_t(y) * maskStride;
                for (int x = 0; x < width; ++x)
                    if (row[x] == key) {
                        row[x] = 0;
                        maskRow[x / 8] |= BYTE(0x80 >> (x % 8));
                    }
            }
            ICONINFO made{TRUE, DWORD(width / 2), DWORD(height / 2), mask, colour};
            icon = CreateIconIndirect(&made);
        }
    }
    if (screen)
        ReleaseDC(nullptr, screen);
    if (colour)
        DeleteObject(colour);
    if (mask)
        DeleteObject(mask);
    return icon;
}
