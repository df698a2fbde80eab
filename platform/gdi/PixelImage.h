#pragma once

// The 32-bit pixel picture that decoders produce, encoders take, and text is
// drawn into. A pixel is a 32-bit word 0xAARRGGBB, so its bytes in memory are
// blue, green, red, alpha: the layout of a 32-bit DIB and of the GDI surfaces.
// Pictures without an alpha channel leave the top byte 0, as Windows does.

#include "platform/gdi/Surface.h"
#include "platform/system/InputBounds.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Logs why a picture was refused, stores it (when the caller asks) and
// returns false.
inline bool RefusePicture(std::string* error, const std::string& why) {
    return RefuseInput("picture", why, error);
}

// A window onto 32-bit pixels owned elsewhere; stride is in pixels.
struct PixelView {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;

    uint32_t* Row(int y) const { return pixels + ptrdiff_t(y) * stride; }
    bool IsEmpty() const { return !pixels || width <= 0 || height <= 0; }
};

// A picture that owns its pixels, rows top-down.
struct PixelImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false; // the top byte of each pixel is a real alpha value
    std::vector<uint32_t> pixels;

    void Reset(int w, int h, uint32_t fill = 0) {
        width = w;
        height = h;
        pixels.assign(size_t(w) * size_t(h), fill);
    }
    uint32_t& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    PixelView View() { return PixelView{pixels.data(), width, height, width}; }
};

inline uint32_t MakePixel(int red, int green, int blue, int alpha = 0) {
    return uint32_t(alpha) << 24 | uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue);
}

// A copy of a surface's pixels (any depth) as 32-bit pixels, for saving.
inline PixelImage ImageOfSurface(const Surface& surface) {
    PixelImage image;
    if (surface.Width() <= 0 || surface.Height() <= 0)
        return image;
    image.Reset(surface.Width(), surface.Height());
    for (int y = 0; y < image.height; ++y)
        surface.ReadRow(0, y, image.width, &image.At(0, y));
    return image;
}

} // namespace platform
