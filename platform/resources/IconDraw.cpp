// Drawing icons and cursors into a DC, stretched when asked.

#include "platform/images/Picture.h"
#include "platform/resources/IconObject.h"
#include "platform/window/SystemMetrics.h"

namespace platform {

namespace {

// Draws pixels (0xAARRGGBB, w x h) stretched into (x, y, cx, cy) with a
// raster operation, nearest pixel.
BOOL Blit(HDC hdc, int x, int y, int cx, int cy, const PixelImage& image, DWORD rop) {
    HBITMAP bitmap = CreateBitmapFromImage(image);
    HDC memory = bitmap ? CreateCompatibleDC(hdc) : nullptr;
    if (!memory) {
        DeleteObject(bitmap);
        return FALSE;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    const int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
    BOOL drawn = StretchBlt(hdc, x, y, cx, cy, memory, 0, 0, image.width, image.height, rop);
    SetStretchBltMode(hdc, oldMode);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return drawn;
}

// A 32-bit picture with straight alpha, blended over the DC.
BOOL Blend(HDC hdc, int x, int y, int cx, int cy, const IconParts& parts) {
    PixelImage image;
    image.Reset(parts.width, parts.height);
    image.hasAlpha = true;
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const uint32_t pixel = parts.colour[i], alpha = pixel >> 24;
        auto scale = [&](int shift) {
            return ((pixel >> shift & 0xFF) * alpha + 127) / 255 << shift;
        };
        image.pixels[i] = alpha << 24 | scale(16) | scale(8) | scale(0);
    }
    HBITMAP bitmap = CreateBitmapFromImage(image);
    HDC memory = bitmap ? CreateCompatibleDC(hdc) : nullptr;
    if (!memory) {
        DeleteObject(bitmap);
        return FALSE;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BOOL drawn = AlphaBlend(hdc, x, y, cx, cy, memory, 0, 0, parts.width, parts.height, blend);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return drawn;
}

PixelImage MaskPicture(const IconParts& parts) {
    PixelImage image;
    image.Reset(parts.width, parts.height);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = parts.andMask[i] ? 0xFFFFFFu : 0u;
    return image;
}

PixelImage ColourPicture(const IconParts& parts) {
    PixelImage image;
    image.Reset(parts.width, parts.height);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = parts.colour[i] & 0xFFFFFFu;
    return image;
}

} // namespace

} // namespace platform

using namespace platform;

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags) {
    const IconParts* parts = IconPartsOf(icon);
    if (!hdc || !parts || cx < 0 || cy < 0 || !(flags & DI_NORMAL))
        return FALSE;
    if (cx == 0)
        cx = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : parts->width;
    if (cy == 0)
        cy = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : parts->height;
    if (parts->hasAlpha && (flags & DI_IMAGE))
        return Blend(hdc, x, y, cx, cy, *parts);
    if ((flags & DI_NORMAL) == DI_MASK)
        return Blit(hdc, x, y, cx, cy, MaskPicture(*parts), SRCCOPY);
    if ((flags & DI_NORMAL) == DI_IMAGE)
        return Blit(hdc, x, y, cx, cy, ColourPicture(*parts), SRCCOPY);
    return Blit(hdc, x, y, cx, cy, MaskPicture(*parts), SRCAND) &&
           Blit(hdc, x, y, cx, cy, ColourPicture(*parts), SRCINVERT);
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}
