// Creating bitmaps: device bitmaps (monochrome or 32-bit colour) and DIB sections.

#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObject.h"

#include <algorithm>
#include <cstring>

using namespace platform;

namespace {

constexpr int kMaxSide = 1 << 15;

HBITMAP NewBitmap(std::unique_ptr<Surface> surface, bool dibSection) {
    return static_cast<HBITMAP>(
        RegisterGdiObject(std::make_unique<BitmapObject>(std::move(surface), dibSection)));
}

bool SizeAllowed(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           int64_t(width) * height <= (int64_t(1) << 28);
}

} // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (!SizeAllowed(width, height) || planes != 1)
        return nullptr;
    bool mono = bitsPerPixel == 1;
    // Other depths become colour bitmaps; only their initial bits could not be read.
    if (!mono && bits && bitsPerPixel != 32)
        return nullptr;
    auto surface = std::make_unique<Surface>(
        width, height, mono ? PixelFormat::Monochrome() : PixelFormat::Xrgb32());
    if (bits) {
        // Device bitmap rows are padded to 16 bits.
        int rowBytes = ((width * int(bitsPerPixel) + 15) / 16) * 2;
        for (int y = 0; y < height; ++y)
            std::memcpy(surface->RowBytesAt(y),
                        static_cast<const uint8_t*>(bits) + size_t(y) * size_t(rowBytes),
                        size_t(std::min(rowBytes, surface->RowBytes())));
    }
    return NewBitmap(std::move(surface), false);
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    if (width == 0 || height == 0)
        return CreateBitmap(1, 1, 1, 1, nullptr);
    return CreateBitmap(width, height, 1, 32, nullptr);
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
    if (bits)
        *bits = nullptr;
    std::optional<DibLayout> dib = ParseDib(info, usage);
    if (!dib || dib->runLength) // a section's rows are plain, as on Windows
        return nullptr;
    auto surface = std::make_unique<Surface>(dib->width, dib->height, dib->format, dib->bottomUp);
    if (bits)
        *bits = surface->Bits();
    return NewBitmap(std::move(surface), true);
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
    if (!header || header->biWidth <= 0 || header->biHeight == 0)
        return nullptr;
    int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    HBITMAP bitmap = CreateBitmap(header->biWidth, height, 1, 32, nullptr);
    if (bitmap && (init & CBM_INIT) && bits &&
        SetDIBits(hdc, bitmap, 0, UINT(height), bits, info, usage) == 0) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}
