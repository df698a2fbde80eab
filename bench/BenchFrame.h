#pragma once

// A memory DC over a 32-bit bitmap for the blit benchmarks, with direct access
// to its pixels so that other code can read and write the same memory.

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/WindowDc.h"

#include <random>

namespace bench {

constexpr int kFrameWidth = 1024;
constexpr int kFrameHeight = 768;

class Frame {
public:
    Frame(int width = kFrameWidth, int height = kFrameHeight) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, width, height);
        old = SelectObject(dc, bitmap);
        surface = platform::SurfaceOfBitmap(bitmap);
    }
    ~Frame() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    // Sprite-like content: transparent 16x16 tiles (the key colour, alpha 0),
    // opaque pixels and a scatter of edge pixels, premultiplied.
    void FillSprite(uint32_t key) {
        std::mt19937 rng(1);
        for (int y = 0; y < surface->Height(); ++y) {
            uint32_t* row = surface->Row32(y);
            for (int x = 0; x < surface->Width(); ++x) {
                uint32_t a = (x / 16 + y / 16) % 3 == 0 ? 0 : (x + y) % 7 == 0 ? rng() & 0xFF : 255;
                uint32_t c = rng() % (a + 1);
                row[x] = a == 0 ? key : (a << 24) | c << 16 | c << 8 | c;
            }
        }
    }
    // Opaque noise, as a table background under the sprites.
    void FillBackground() {
        std::mt19937 rng(2);
        for (int y = 0; y < surface->Height(); ++y) {
            uint32_t* row = surface->Row32(y);
            for (int x = 0; x < surface->Width(); ++x)
                row[x] = 0xFF000000u | (rng() & 0xFFFFFF);
        }
    }
    uint32_t* Bits() const { return surface->Row32(0); }
    int Stride() const { return surface->Stride(); }

    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    platform::Surface* surface;
};

} // namespace bench
