// "KNPNG.dll": PNG pictures through libpng (the platform's reader and
// writer). A picture comes back as a 32-bit bitmap whose top byte is the
// picture's alpha as stored (not premultiplied), 255 where it has none.

#include "outside/CodecSupport.h"
#include "outside/OutsideModules.h"

#include "platform/images/PngFile.h"

using platform::PixelImage;

namespace {

int ToBitmap(const std::string& png, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
    PixelImage image;
    if (!bitmap || !platform::DecodePng(png.data(), png.size(), image))
        return 0;
    if (!image.hasAlpha)
        for (uint32_t& p : image.pixels)
            p |= 0xFF000000u;
    *bitmap = outside::BitmapOfImage(image);
    if (!*bitmap)
        return 0;
    if (palette)
        *palette = nullptr;
    if (width)
        *width = image.width;
    if (height)
        *height = image.height;
    return 1;
}

int LoadPNGFile(LPCSTR file, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
    std::string bytes;
    return outside::ReadNamedFile(file, bytes) ? ToBitmap(bytes, bitmap, palette, width, height)
                                               : 0;
}

int LoadPNGFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width,
                   int* height) {
    if (!data)
        return 0;
    return ToBitmap(std::string(reinterpret_cast<const char*>(data), size), bitmap, palette, width,
                    height);
}

// A bitmap is written as RGB: its top byte is no alpha a caller set.
bool EncodeBitmap(HBITMAP bitmap, std::string& png) {
    PixelImage image;
    return outside::ImageOfBitmap(bitmap, image) && platform::EncodePng(image.View(), false, png);
}

DWORD WriteBmpToPNGMem(HBITMAP bitmap, HGLOBAL* out) {
    std::string png;
    if (!out || !EncodeBitmap(bitmap, png))
        return 0;
    *out = outside::GlobalCopy(png);
    return *out ? DWORD(png.size()) : 0;
}

int WriteBmpToPNGFile(HBITMAP bitmap, LPCSTR file) {
    std::string png;
    return EncodeBitmap(bitmap, png) && outside::WriteNamedFile(file, png) ? 1 : 0;
}

// Pixels of 24 bits (blue, green, red) or 32 bits (with alpha), stride bytes
// a row; the PNG's bytes in a new global block: their count, 0 on failure.
DWORD WriteImageDataToPNGMem(const BYTE* pixels, int width, int height, int stride,
                             int bitsPerPixel, BOOL topDown, HGLOBAL* out) {
    if (!pixels || !out || (bitsPerPixel != 24 && bitsPerPixel != 32) ||
        !platform::ImageSizeAllowed(width, height) || stride < width * bitsPerPixel / 8)
        return 0;
    PixelImage image;
    image.Reset(width, height);
    image.hasAlpha = bitsPerPixel == 32;
    const int bytes = bitsPerPixel / 8;
    for (int y = 0; y < height; ++y) {
        const BYTE* row = pixels + size_t(topDown ? y : height - 1 - y) * size_t(stride);
        for (int x = 0; x < width; ++x) {
            const BYTE* p = row + x * bytes;
            image.At(x, y) = platform::MakePixel(p[2], p[1], p[0], bytes == 4 ? p[3] : 0);
        }
    }
    std::string png;
    if (!platform::EncodePng(image, png))
        return 0;
    *out = outside::GlobalCopy(png);
    return *out ? DWORD(png.size()) : 0;
}

} // namespace

BuiltinModuleDefinition PngModule() {
    return outside::CodecModule(
        "KNPNG.dll", {
                         outside::Export("LoadPNGFile", LoadPNGFile),
                         outside::Export("LoadPNGFromMem", LoadPNGFromMem),
                         outside::Export("WriteBmpToPNGMem", WriteBmpToPNGMem),
                         outside::Export("WriteBmpToPNGFile", WriteBmpToPNGFile),
                         outside::Export("WriteImageDataToPNGMem", WriteImageDataToPNGMem),
                     });
}
