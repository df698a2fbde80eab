// Composing top-level window surfaces into one screen picture.

#include "platform/display/Composer.h"

#include "platform/display/WindowSurfaces.h"
#include "platform/images/PngFile.h"
#include "platform/window/Window.h"
#include "platform/window/WindowVisibility.h"

#include <algorithm>

namespace platform {

namespace {

struct Layering {
    bool keyed = false;
    uint32_t key = 0;
    uint32_t alpha = 255;
};

Layering LayeringOf(HWND hwnd) {
    Layering layering;
    COLORREF key;
    BYTE alpha;
    DWORD flags;
    if (!GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags))
        return layering;
    if (flags & LWA_COLORKEY) {
        layering.keyed = true;
        layering.key = PixelFromColor(key);
    }
    if (flags & LWA_ALPHA)
        layering.alpha = alpha;
    return layering;
}

inline uint32_t Blend(uint32_t s, uint32_t d, uint32_t a) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        out |= ((sc * a + dc * (255 - a)) / 255) << shift;
    }
    return out;
}

// Copies span [x0, x1) of row y of the window (screen coordinates) onto the screen.
void ComposeSpan(const Surface& window, POINT at, const Layering& layering, Surface& screen, int y,
                 int x0, int x1) {
    const uint32_t* src = window.Row32(y - at.y) + (x0 - at.x);
    uint32_t* dst = screen.Row32(y) + x0;
    const int n = x1 - x0;
    if (!layering.keyed && layering.alpha == 255) {
        for (int i = 0; i < n; ++i)
            dst[i] = src[i] & kRgbMask;
        return;
    }
    for (int i = 0; i < n; ++i) {
        const uint32_t s = src[i] & kRgbMask;
        if (layering.keyed && s == layering.key)
            continue;
        dst[i] = layering.alpha == 255 ? s : Blend(s, dst[i], layering.alpha);
    }
}

} // namespace

std::unique_ptr<Surface> ComposeScreen(WindowSurfaces& surfaces, int width, int height) {
    auto screen = std::make_unique<Surface>(width, height, PixelFormat::Xrgb32());
    const RECT bounds{0, 0, width, height};
    const std::vector<HWND> tops = TopLevelWindowList();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        HWND hwnd = *it;
        if (!HasVisibleStyle(hwnd))
            continue;
        const Surface* window = surfaces.SurfaceOf(hwnd);
        RECT rect;
        if (!window || !WindowRectInParent(hwnd, &rect))
            continue;
        const POINT at{rect.left, rect.top};
        const Layering layering = LayeringOf(hwnd);
        const Region shown = WindowShape(hwnd).Intersected(bounds);
        for (const RECT& r : shown.Rects())
            for (int y = r.top; y < r.bottom; ++y)
                ComposeSpan(*window, at, layering, *screen, y, r.left, r.right);
    }
    return screen;
}

bool SaveWindowPng(WindowSurfaces& surfaces, HWND hwnd, const std::string& path,
                   std::string* error) {
    RECT rect;
    if (!WindowRectInParent(hwnd, &rect))
        return RefusePicture(error, "not a window");
    POINT offset;
    HWND top = TopLevelWindowOf(hwnd, &offset);
    Surface* surface = surfaces.SurfaceOf(top);
    if (!surface)
        return RefusePicture(error, "the window has no pixels");
    RECT part{offset.x, offset.y, offset.x + (rect.right - rect.left),
              offset.y + (rect.bottom - rect.top)};
    part.right = std::min<LONG>(part.right, surface->Width());
    part.bottom = std::min<LONG>(part.bottom, surface->Height());
    if (part.left >= part.right || part.top >= part.bottom)
        return RefusePicture(error, "the window is outside its top-level window");
    PixelView view;
    view.pixels = surface->Row32(part.top) + part.left;
    view.width = part.right - part.left;
    view.height = part.bottom - part.top;
    view.stride = surface->Stride() / 4;
    return SavePngFile(path, view, error);
}

} // namespace platform
