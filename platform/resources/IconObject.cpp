// Icon objects: making them from planes and bitmaps, reading them back,
// copying and destroying them, and monochrome cursors from bit planes.

#include "platform/resources/IconObject.h"

#include "platform/Errors.h"
#include "platform/images/Picture.h"

#include <mutex>
#include <set>

namespace platform {

namespace {

constexpr int kMaxSide = 256;

std::mutex& SharedLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

std::set<HICON>& SharedIcons() {
    static auto* icons = new std::set<HICON>;
    return *icons;
}

// Every pixel of a bitmap as 0xAARRGGBB, rows top-down; false when the
// handle is no bitmap.
bool ReadBitmap(HBITMAP bitmap, PixelImage& image, int& bitsPerPixel) {
    BITMAP bm{};
    if (!bitmap || !GetObject(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0 ||
        bm.bmWidth > kMaxSide || bm.bmHeight > 2 * kMaxSide)
        return false;
    bitsPerPixel = bm.bmBitsPixel * bm.bmPlanes;
    image.Reset(bm.bmWidth, bm.bmHeight);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    int rows =
        GetDIBits(dc, bitmap, 0, UINT(bm.bmHeight), image.pixels.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    return rows == bm.bmHeight;
}

// A 1-bit bitmap whose set bits are where bit(x, y) holds.
template <typename Bit> HBITMAP MonochromeBitmap(int width, int height, Bit bit) {
    const size_t stride = size_t(width + 15) / 16 * 2;
    std::vector<uint8_t> bits(stride * size_t(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (bit(x, y))
                bits[size_t(y) * stride + size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
    return CreateBitmap(width, height, 1, 1, bits.data());
}

} // namespace

bool IconPartsValid(const IconParts& parts) {
    const size_t pixels = size_t(parts.width) * size_t(parts.height);
    return parts.width > 0 && parts.height > 0 && parts.width <= kMaxSide &&
           parts.height <= kMaxSide && parts.colour.size() == pixels &&
           parts.andMask.size() == pixels;
}

std::vector<uint32_t> DisplayPixels(const IconParts& parts) {
    std::vector<uint32_t> pixels(parts.colour.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t colour = parts.colour[i];
        if (parts.hasAlpha)
            pixels[i] = colour;
        else if (!parts.andMask[i])
            pixels[i] = colour | 0xFF000000u;
        else // the screen shows through, or is inverted: shown black
            pixels[i] = (colour & 0xFFFFFF) ? 0xFF000000u : 0u;
    }
    return pixels;
}

HICON MakeIcon(IconParts parts) {
    if (!IconPartsValid(parts)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (parts.isIcon) // an icon's hot spot is its centre
        parts.hotSpot = POINT{parts.width / 2, parts.height / 2};
    std::vector<uint32_t> pixels = DisplayPixels(parts);
    const int width = parts.width, height = parts.height;
    const POINT hotSpot = parts.hotSpot;
    HCURSOR handle = CreatePictureCursor(width, height, pixels.data(), hotSpot,
                                         std::make_shared<const IconParts>(std::move(parts)));
    return reinterpret_cast<HICON>(handle);
}

HICON MakeIconAtSize(IconParts parts, int cx, int cy) {
    cx = cx ? cx : parts.width;
    cy = cy ? cy : parts.height;
    if (cx > 256 || cy > 256) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (cx != parts.width || cy != parts.height)
        parts = ScaledParts(parts, cx, cy);
    return MakeIcon(std::move(parts));
}

const IconParts* IconPartsOf(HICON icon) {
    const CursorShape* shape = CursorShapeOf(reinterpret_cast<HCURSOR>(icon));
    return shape ? shape->parts.get() : nullptr;
}

IconParts ScaledParts(const IconParts& parts, int width, int height) {
    IconParts scaled;
    scaled.isIcon = parts.isIcon;
    scaled.width = width;
    scaled.height = height;
    scaled.hotSpot = POINT{int(int64_t(parts.hotSpot.x) * width / parts.width),
                           int(int64_t(parts.hotSpot.y) * height / parts.height)};
    scaled.bitCount = parts.bitCount;
    scaled.hasAlpha = parts.hasAlpha;
    scaled.monochrome = parts.monochrome;
    scaled.colour.resize(size_t(width) * size_t(height));
    scaled.andMask.resize(scaled.colour.size());
    for (int y = 0; y < height; ++y) {
        const size_t sy = size_t(int64_t(y) * parts.height / height);
        for (int x = 0; x < width; ++x) {
            const size_t from = sy * size_t(parts.width) + size_t(int64_t(x) * parts.width / width),
                         to = size_t(y) * size_t(width) + size_t(x);
            scaled.colour[to] = parts.colour[from];
            scaled.andMask[to] = parts.andMask[from];
        }
    }
    return scaled;
}

void MarkIconShared(HICON icon) {
    std::lock_guard<std::mutex> guard(SharedLock());
    SharedIcons().insert(icon);
}

} // namespace platform

using namespace platform;

BOOL GetIconInfo(HICON icon, PICONINFO info) {
    const IconParts* parts = IconPartsOf(icon);
    if (!info || !parts) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int w = parts->width, h = parts->height;
    auto maskBit = [&](int x, int y) { return parts->andMask[size_t(y) * size_t(w) + size_t(x)]; };
    ICONINFO result{parts->isIcon, DWORD(parts->hotSpot.x), DWORD(parts->hotSpot.y), nullptr,
                    nullptr};
    if (parts->monochrome) {
        // AND plane above the XOR plane, as Windows keeps monochrome icons.
        result.hbmMask = MonochromeBitmap(w, 2 * h, [&](int x, int y) {
            return y < h ? maskBit(x, y) != 0
                         : (parts->colour[size_t(y - h) * size_t(w) + size_t(x)] & 0xFFFFFF) != 0;
        });
    } else {
        result.hbmMask = MonochromeBitmap(w, h, maskBit);
        PixelImage colour;
        colour.Reset(w, h);
        colour.pixels = parts->colour;
        result.hbmColor = CreateBitmapFromImage(colour);
    }
    if (!result.hbmMask || (!parts->monochrome && !result.hbmColor)) {
        DeleteObject(result.hbmMask);
        DeleteObject(result.hbmColor);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    *info = result;
    return TRUE;
}

HICON CreateIconIndirect(PICONINFO info) {
    PixelImage mask, colour;
    int maskBits = 0, colourBits = 0;
    if (!info || !ReadBitmap(info->hbmMask, mask, maskBits) ||
        (info->hbmColor && !ReadBitmap(info->hbmColor, colour, colourBits))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    IconParts parts;
    parts.isIcon = info->fIcon;
    parts.hotSpot = POINT{LONG(info->xHotspot), LONG(info->yHotspot)};
    parts.width = mask.width;
    if (info->hbmColor) {
        // The colour bitmap gives the size; the mask must cover it.
        parts.width = colour.width;
        parts.height = colour.height;
        if (mask.width < colour.width || mask.height < colour.height) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        parts.bitCount = colourBits;
        parts.colour = colour.pixels;
        for (uint32_t pixel : parts.colour)
            parts.hasAlpha = parts.hasAlpha || (colourBits == 32 && (pixel >> 24) != 0);
        if (!parts.hasAlpha)
            for (uint32_t& pixel : parts.colour)
                pixel &= 0x00FFFFFFu;
    } else {
        if (mask.height % 2 != 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        parts.height = mask.height / 2;
        parts.bitCount = 1;
        parts.monochrome = true;
        parts.colour.resize(size_t(parts.width) * size_t(parts.height));
        for (int y = 0; y < parts.height; ++y)
            for (int x = 0; x < parts.width; ++x)
                parts.colour[size_t(y) * size_t(parts.width) + size_t(x)] =
                    (mask.At(x, y + parts.height) & 0xFFFFFF) ? 0xFFFFFFu : 0u;
    }
    parts.andMask.resize(size_t(parts.width) * size_t(parts.height));
    for (int y = 0; y < parts.height; ++y)
        for (int x = 0; x < parts.width; ++x)
            parts.andMask[size_t(y) * size_t(parts.width) + size_t(x)] =
                (mask.At(x, y) & 0xFFFFFF) != 0;
    return MakeIcon(std::move(parts));
}

HICON CopyIcon(HICON icon) {
    const IconParts* parts = IconPartsOf(icon);
    if (!parts) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return MakeIcon(*parts);
}

BOOL DestroyIcon(HICON icon) {
    {
        std::lock_guard<std::mutex> guard(SharedLock());
        if (SharedIcons().count(icon))
            return TRUE; // shared icons live as long as their module
    }
    return DestroyCursor(reinterpret_cast<HCURSOR>(icon));
}

// Rows of the planes are padded to 16 bits. AND 0 XOR 0 shows black, AND 0
// XOR 1 white, AND 1 XOR 0 the screen, AND 1 XOR 1 the screen inverted.
HCURSOR CreateCursor(HINSTANCE, int xHotSpot, int yHotSpot, int width, int height,
                     const void* andPlane, const void* xorPlane) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || !andPlane ||
        !xorPlane || xHotSpot < 0 || yHotSpot < 0 || xHotSpot >= width || yHotSpot >= height) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const size_t stride = size_t(width + 15) / 16 * 2;
    const auto* andBits = static_cast<const uint8_t*>(andPlane);
    const auto* xorBits = static_cast<const uint8_t*>(xorPlane);
    IconParts parts;
    parts.isIcon = false;
    parts.width = width;
    parts.height = height;
    parts.hotSpot = POINT{xHotSpot, yHotSpot};
    parts.bitCount = 1;
    parts.monochrome = true;
    parts.colour.resize(size_t(width) * size_t(height));
    parts.andMask.resize(parts.colour.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t byte = size_t(y) * stride + size_t(x) / 8,
                         at = size_t(y) * size_t(width) + size_t(x);
            const int bit = 7 - x % 8;
            parts.andMask[at] = (andBits[byte] >> bit) & 1;
            parts.colour[at] = ((xorBits[byte] >> bit) & 1) ? 0xFFFFFFu : 0u;
        }
    return reinterpret_cast<HCURSOR>(MakeIcon(std::move(parts)));
}
