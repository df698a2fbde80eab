#pragma once

// A memory DC over a 32-bit bitmap whose pixels a test can set and read
// directly (0x00RRGGBB), plus a model of the raster operations.

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/WindowDc.h"

#include <gtest/gtest.h>

#include <random>

class GdiCanvas {
public:
    GdiCanvas(int width, int height, bool monochrome = false) : m_width(width), m_height(height) {
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = monochrome ? CreateBitmap(width, height, 1, 1, nullptr)
                              : CreateCompatibleBitmap(m_dc, width, height);
        m_old = SelectObject(m_dc, m_bitmap);
        m_surface = platform::SurfaceOfBitmap(m_bitmap);
    }
    ~GdiCanvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    platform::Surface& surface() const { return *m_surface; }

    uint32_t At(int x, int y) const { return m_surface->GetPixel(x, y); }
    void Set(int x, int y, uint32_t pixel) { m_surface->SetPixel(x, y, pixel); }
    void Fill(uint32_t pixel) {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Set(x, y, pixel);
    }
    void FillRandom(std::mt19937& rng, uint32_t mask = 0xFFFFFFFF) {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Set(x, y, uint32_t(rng()) & mask);
    }
    std::vector<uint32_t> Pixels() const {
        std::vector<uint32_t> out;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                out.push_back(At(x, y));
        return out;
    }

private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    platform::Surface* m_surface;
};

// The ternary raster operation, minterm by minterm, over all 32 bits.
inline uint32_t RopModel(DWORD rop, uint32_t p, uint32_t s, uint32_t d) {
    BYTE f = BYTE(rop >> 16);
    uint32_t out = 0;
    for (int bit = 0; bit < 32; ++bit) {
        int index = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        out |= uint32_t((f >> index) & 1) << bit;
    }
    return out;
}
