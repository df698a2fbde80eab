// CGraphy: percentage alpha blends through 32-bit DIB sections.

#include "knclientUI05/Graphy.h"

#include <algorithm>
#include <cstring>

namespace {

// A 32-bit section selected into a memory DC for the length of one blend.
struct Section {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    BYTE* bits = nullptr;

    Section(CGraphy& graphy, HDC like, int width, int height) {
        BITMAPINFO info{};
        void* pixels = nullptr;
        dc = CreateCompatibleDC(like);
        bitmap = graphy.CreateDIB32(like, width, height, &info, &pixels);
        if (dc && bitmap)
            old = SelectObject(dc, bitmap);
        bits = old ? static_cast<BYTE*>(pixels) : nullptr;
    }
    ~Section() {
        if (old)
            SelectObject(dc, old);
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
    }
};

// The alpha blend of both forms; with a key, source pixels that hold it are
// left out.
void Blend(CGraphy& graphy, HDC dc, int x, int y, int cx, int cy, HDC source, int sx, int sy,
           int percent, const DWORD* key) {
    if (cx < 1 || cy < 1)
        return;
    percent = std::clamp(percent, 0, 100);
    int alpha = (percent * 256 + 50) / 100;
    // Sections of even width, so rows hold whole pairs of pixels.
    int width = (cx + 1) & ~1;
    Section target(graphy, dc, width, cy);
    Section from(graphy, source, width, cy);
    if (!target.bits || !from.bits)
        return;
    ::BitBlt(target.dc, 0, 0, cx, cy, dc, x, y, SRCCOPY);
    ::BitBlt(from.dc, 0, 0, cx, cy, source, sx, sy, SRCCOPY);
    size_t bytes = size_t(width) * 4 * size_t(cy);
    for (size_t i = 0; i < bytes; i += 4) {
        if (key) {
            DWORD word;
            std::memcpy(&word, from.bits + i, 4);
            if (word == *key)
                continue;
        }
        for (size_t b = i; b < i + 4; ++b)
            target.bits[b] = BYTE((target.bits[b] * (256 - alpha) + from.bits[b] * alpha) >> 8);
    }
    ::BitBlt(dc, x, y, cx, cy, target.dc, 0, 0, SRCCOPY);
}

} // namespace

void CGraphy::AlphaBlend(HDC dc, int x, int y, int cx, int cy, HDC source, int sx, int sy,
                         int percent) {
    Blend(*this, dc, x, y, cx, cy, source, sx, sy, percent, nullptr);
}

void CGraphy::AlphaBlend(HDC dc, const RECT* rect, HDC source, const POINT* from, int percent) {
    if (rect && from)
        Blend(*this, dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
              source, from->x, from->y, percent, nullptr);
}

void CGraphy::AlphaBlendKey(HDC dc, int x, int y, int cx, int cy, HDC source, int sx, int sy,
                            int percent, DWORD key) {
    Blend(*this, dc, x, y, cx, cy, source, sx, sy, percent, &key);
}

void CGraphy::AlphaBlendKey(HDC dc, const RECT* rect, HDC source, const POINT* from, int percent,
                            DWORD key) {
    if (rect && from)
        Blend(*this, dc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
              source, from->x, from->y, percent, &key);
}
