// "KNJPG.dll": JPEG pictures through libjpeg-turbo (the platform's reader
// and writer). Pictures come back as 32-bit bitmaps (no palette) or as
// 24-bit image data in a global block, rows padded to four bytes; a packed
// DIB or a part of a bitmap is written at a quality of 1 to 100.

#include "outside/CodecSupport.h"
#include "outside/OutsideModules.h"

#include "platform/images/JpegFile.h"

#include <cstring>

using platform::PixelImage;

namespace {

bool Decode(const std::string& bytes, PixelImage& image) {
    return platform::DecodeJpeg(bytes.data(), bytes.size(), image);
}

int ToBitmap(const PixelImage& image, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
    if (!bitmap)
        return 0;
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

// 24-bit rows (blue, green, red), each padded to a multiple of four bytes.
int ToImageData(const PixelImage& image, HGLOBAL* data, int* width, int* height, int* bitsPerPixel,
                int* stride, DWORD* size, BOOL topDown) {
    if (!data)
        return 0;
    const size_t rowBytes = (size_t(image.width) * 3 + 3) & ~size_t(3);
    std::string bytes(rowBytes * size_t(image.height), '\0');
    for (int y = 0; y < image.height; ++y) {
        char* row = &bytes[rowBytes * size_t(topDown ? y : image.height - 1 - y)];
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.At(x, y);
            row[x * 3] = char(p & 0xFF);
            row[x * 3 + 1] = char((p >> 8) & 0xFF);
            row[x * 3 + 2] = char((p >> 16) & 0xFF);
        }
    }
    *data = outside::GlobalCopy(bytes);
    if (!*data)
        return 0;
    if (width)
        *width = image.width;
    if (height)
        *height = image.height;
    if (bitsPerPixel)
        *bitsPerPixel = 24;
    if (stride)
        *stride = int(rowBytes);
    if (size)
        *size = DWORD(bytes.size());
    return 1;
}

std::string Bytes(const BYTE* data, DWORD size) {
    return data ? std::string(reinterpret_cast<const char*>(data), size) : std::string();
}

int LoadJpgFileImageData(LPCSTR file, HGLOBAL* data, int* width, int* height, int* bitsPerPixel,
                         int* stride, DWORD* size, BOOL topDown) {
    std::string bytes;
    PixelImage image;
    return outside::ReadNamedFile(file, bytes) && Decode(bytes, image)
               ? ToImageData(image, data, width, height, bitsPerPixel, stride, size, topDown)
               : 0;
}

int LoadJpgImageDataFromMem(const BYTE* jpeg, DWORD jpegSize, HGLOBAL* data, int* width,
                            int* height, int* bitsPerPixel, int* stride, DWORD* size,
                            BOOL topDown) {
    PixelImage image;
    return Decode(Bytes(jpeg, jpegSize), image)
               ? ToImageData(image, data, width, height, bitsPerPixel, stride, size, topDown)
               : 0;
}

int LoadJpgFile(LPCSTR file, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
    std::string bytes;
    PixelImage image;
    return outside::ReadNamedFile(file, bytes) && Decode(bytes, image)
               ? ToBitmap(image, bitmap, palette, width, height)
               : 0;
}

int LoadJpgFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width,
                   int* height) {
    PixelImage image;
    return Decode(Bytes(data, size), image) ? ToBitmap(image, bitmap, palette, width, height) : 0;
}

bool Encode(PixelImage& image, int quality, std::string& jpeg) {
    return platform::EncodeJpeg(image.View(), quality, jpeg);
}

// A part of the bitmap (a zero width or height: the whole), its palette unused
// (bitmaps here hold colours, not indices).
int WriteBitmapToJpeg(HBITMAP bitmap, int left, int top, int width, int height, HPALETTE,
                      LPCSTR file, int quality) {
    PixelImage whole, part;
    if (!outside::ImageOfBitmap(bitmap, whole))
        return 0;
    if (width == 0 || height == 0) {
        left = top = 0;
        width = whole.width;
        height = whole.height;
    }
    if (left < 0 || top < 0 || width < 0 || height < 0 || left + width > whole.width ||
        top + height > whole.height)
        return 0;
    part.Reset(width, height);
    for (int y = 0; y < height; ++y)
        std::memcpy(&part.At(0, y), &whole.At(left, top + y), size_t(width) * 4);
    std::string jpeg;
    return Encode(part, quality, jpeg) && outside::WriteNamedFile(file, jpeg) ? 1 : 0;
}

int WriteDibToJpeg(HGLOBAL dib, LPCSTR file, int quality) {
    PixelImage image;
    std::string jpeg;
    return outside::ImageOfPackedDib(dib, image) && Encode(image, quality, jpeg) &&
                   outside::WriteNamedFile(file, jpeg)
               ? 1
               : 0;
}

// The JPEG bytes in a new global block: their count, 0 on failure.
DWORD WriteDibToJpegMEM(HGLOBAL dib, HGLOBAL* out, int quality) {
    PixelImage image;
    std::string jpeg;
    if (!out || !outside::ImageOfPackedDib(dib, image) || !Encode(image, quality, jpeg))
        return 0;
    *out = outside::GlobalCopy(jpeg);
    return *out ? DWORD(jpeg.size()) : 0;
}

void* GetPointerFromHandleLock(HGLOBAL data) {
    return data ? GlobalLock(data) : nullptr;
}
int UnLockDataHandle(HGLOBAL data) {
    return data ? GlobalUnlock(data) : 0;
}
int FreeDataHandle(HGLOBAL data) {
    return data && GlobalFree(data) == nullptr ? 1 : 0;
}

} // namespace

BuiltinModuleDefinition JpegModule() {
    return outside::CodecModule(
        "KNJPG.dll", {
                         outside::Export("LoadJpgFileImageData", LoadJpgFileImageData),
                         outside::Export("LoadJpgImageDataFromMem", LoadJpgImageDataFromMem),
                         outside::Export("LoadJpgFile", LoadJpgFile),
                         outside::Export("LoadJpgFromMem", LoadJpgFromMem),
                         outside::Export("WriteBitmapToJpeg", WriteBitmapToJpeg),
                         outside::Export("WriteDibToJpeg", WriteDibToJpeg),
                         outside::Export("WriteDibToJpegMEM", WriteDibToJpegMEM),
                         outside::Export("GetPointerFromHandleLock", GetPointerFromHandleLock),
                         outside::Export("UnLockDataHandle", UnLockDataHandle),
                         outside::Export("FreeDataHandle", FreeDataHandle),
                     });
}
