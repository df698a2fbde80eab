#include "platform/images/Picture.h"

#include "platform/Errors.h"
#include "platform/images/BmpFile.h"
#include "platform/system/FileIo.h"
#include "platform/system/Path.h"

#include <cstring>

namespace platform {
namespace {

// Nearest-pixel scaling, for LoadImage with a requested size.
PixelImage Scaled(const PixelImage& image, int width, int height) {
    PixelImage out;
    out.Reset(width, height);
    out.hasAlpha = image.hasAlpha;
    for (int y = 0; y < height; ++y) {
        int sy = int(int64_t(y) * image.height / height);
        for (int x = 0; x < width; ++x)
            out.At(x, y) = image.At(int(int64_t(x) * image.width / width), sy);
    }
    return out;
}

// AlphaBlend takes premultiplied pixels.
void Premultiply(PixelImage& image) {
    for (uint32_t& p : image.pixels) {
        uint32_t a = p >> 24;
        uint32_t r = (p >> 16 & 0xFF) * a / 255, g = (p >> 8 & 0xFF) * a / 255,
                 b = (p & 0xFF) * a / 255;
        p = a << 24 | r << 16 | g << 8 | b;
    }
}

} // namespace

HBITMAP CreateBitmapFromImage(const PixelImage& image) {
    if (!ImageSizeAllowed(image.width, image.height) ||
        image.pixels.size() != size_t(image.width) * size_t(image.height))
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height; // top-down, as the pixels are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap)
            DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(uint32_t));
    return bitmap;
}

} // namespace platform

using namespace platform;

HBITMAP platform::LoadBitmapImage(LPCSTR name, int cx, int cy, UINT flags) {
    if (!name || !(flags & LR_LOADFROMFILE) || cx < 0 || cy < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string bytes;
    if (!ReadWholeFile(NativePath(name), bytes, kMaxPictureFileBytes)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    PixelImage image;
    if (!DecodeBmp(bytes.data(), bytes.size(), image)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    if (cx > 0 && cy > 0 && (cx != image.width || cy != image.height)) {
        if (!ImageSizeAllowed(cx, cy)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        image = Scaled(image, cx, cy);
    }
    return CreateBitmapFromImage(image);
}

IPicture::~IPicture() {
    if (m_bitmap)
        DeleteObject(m_bitmap);
}

ULONG IPicture::AddRef() {
    return ++m_references;
}

ULONG IPicture::Release() {
    ULONG left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT IPicture::get_Width(LONG* width) const {
    if (!width)
        return E_POINTER;
    *width = m_width;
    return S_OK;
}

HRESULT IPicture::get_Height(LONG* height) const {
    if (!height)
        return E_POINTER;
    *height = m_height;
    return S_OK;
}

HRESULT IPicture::get_Handle(HBITMAP* bitmap) const {
    if (!bitmap)
        return E_POINTER;
    *bitmap = m_bitmap;
    return S_OK;
}

HRESULT IPicture::Render(HDC hdc, LONG x, LONG y, LONG cx, LONG cy, LONG xSrc, LONG ySrc,
                         LONG cxSrc, LONG cySrc, LPCRECT) {
    if (!hdc || cx == 0 || cy == 0 || cxSrc == 0 || cySrc == 0)
        return E_INVALIDARG;
    if (cySrc < 0) { // from the bottom edge upwards
        ySrc += cySrc;
        cySrc = -cySrc;
    }
    HDC source = CreateCompatibleDC(hdc);
    if (!source)
        return E_FAIL;
    HGDIOBJ old = SelectObject(source, m_bitmap);
    BOOL drawn;
    if (m_alpha) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        drawn = AlphaBlend(hdc, x, y, cx, cy, source, xSrc, ySrc, cxSrc, cySrc, blend);
    } else {
        int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
        drawn = StretchBlt(hdc, x, y, cx, cy, source, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
        SetStretchBltMode(hdc, oldMode);
    }
    SelectObject(source, old);
    DeleteDC(source);
    return drawn ? S_OK : E_FAIL;
}

HRESULT CreatePictureFromMemory(const void* data, size_t size, IPicture** picture) {
    if (!picture)
        return E_POINTER;
    *picture = nullptr;
    PixelImage image;
    if (!data || !DecodePicture(data, size, image))
        return E_FAIL;
    bool alpha = image.hasAlpha;
    if (alpha)
        Premultiply(image);
    HBITMAP bitmap = CreateBitmapFromImage(image);
    if (!bitmap)
        return E_OUTOFMEMORY;
    IPicture* made = new IPicture;
    made->m_width = image.width;
    made->m_height = image.height;
    made->m_alpha = alpha;
    made->m_bitmap = bitmap;
    *picture = made;
    return S_OK;
}
