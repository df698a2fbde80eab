// Composing top-level window surfaces into one screen picture.

#include "platform/display/Composer.h"

#include "platform/display/WindowSurfaces.h"
#include "platform/images/PngFile.h"
#include "platform/window/WindowVisibility.h"

#include <algorithm>

namespace platform {

namespace {

struct Layering {
    bool keyed = false;
    uint32_t key = 0;
    uint32_t alpha = 255;
};

Layering LayeringOf(const WindowRecord* record) {
    Layering layering;
    if (!(record->exStyle & WS_EX_LAYERED))
        return layering;
    if (record->layeredFlags & LWA_COLORKEY) {
        layering.keyed = true;
        layering.key = PixelFromColor(record->layeredKey);
    }
    if (record->layeredFlags & LWA_ALPHA)
        layering.alpha = record->layeredAlpha;
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
    const std::vector<WindowRecord*> tops = TopLevelWindows(); // a copy: surfaces may be made
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        WindowRecord* record = *it;
        if (!record->Visible())
            continue;
        const Surface* window = surfaces.SurfaceOf(record->handle);
        if (!window)
            continue;
        const POINT at{record->rect.left, record->rect.top};
        const Layering layering = LayeringOf(record);
        const Region shown = WindowShape(record).Intersected(bounds);
        for (const RECT& r : shown.Rects())
            for (int y = r.top; y < r.bottom; ++y)
                ComposeSpan(*window, at, layering, *screen, y, r.left, r.right);
    }
    return screen;
}

bool SaveWindowPng(WindowSurfaces& surfaces, HWND hwnd, const std::string& path,
                   std::string* error) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return RefusePicture(error, "not a window");
    POINT offset;
    WindowRecord* top = TopLevelOf(record, &offset);
    Surface* surface = surfaces.SurfaceOf(top->handle);
    if (!surface)
        return RefusePicture(error, "the window has no pixels");
    RECT part{offset.x, offset.y, offset.x + record->Width(), offset.y + record->Height()};
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
