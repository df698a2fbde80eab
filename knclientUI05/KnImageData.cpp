// Pictures held in memory, by kind: GIF through the GIF codec library, PNG
// and JPEG through theirs, BMP through the library's own reader.

#include "knclientUI05/CodecBindings.h"
#include "knclientUI05/KnClientPublic.h"
#include "knclientUI05/PictureDecoding.h"

#include <cstring>

namespace {

enum class PictureKind { Gif, Png, Bmp, Jpeg };

PictureKind KindOf(const BYTE* data) {
    if (IsGifSignature(data))
        return PictureKind::Gif;
    // The first byte of a PNG signature is not looked at.
    if (std::memcmp(data + 1, "PNG\r\n", 5) == 0)
        return PictureKind::Png;
    if (data[0] == 'B' && data[1] == 'M')
        return PictureKind::Bmp;
    return PictureKind::Jpeg;
}

HBITMAP GifThroughCodec(const BYTE* data, int size) {
    CKNGifTga gif;
    if (gif.LoadFromMemory(data, DWORD(size), TRUE) != 0)
        return nullptr;
    int left = 0, top = 0, width = 0, height = 0, disposal = 0, delay = 0;
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    BOOL transparent = FALSE;
    COLORREF transparentColor = 0;
    if (!gif.GetNextImage(&left, &top, &width, &height, &bitmap, &transparent, &transparentColor,
                          &palette, &disposal, &delay)) {
        if (bitmap)
            DeleteObject(bitmap);
        if (palette)
            DeleteObject(palette);
        return nullptr;
    }
    return RealiseThroughPalette(bitmap, palette, width, height);
}

using LoadFromMemory = int (*)(const BYTE*, DWORD, HBITMAP*, HPALETTE*, int*, int*);

HBITMAP ThroughCodec(LoadFromMemory load, const BYTE* data, int size) {
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    int width = 0, height = 0;
    if (!load(data, DWORD(size), &bitmap, &palette, &width, &height))
        return nullptr;
    return RealiseThroughPalette(bitmap, palette, width, height);
}

} // namespace

HBITMAP CreateBitmapFromImageData(const BYTE* data, int size) {
    if (!data || size < 6)
        return nullptr;
    switch (KindOf(data)) {
    case PictureKind::Gif:
        return GifThroughCodec(data, size);
    case PictureKind::Png:
        return ThroughCodec(CallLoadPNGFromMem, data, size);
    case PictureKind::Bmp:
        return CreateBitmapFromBmpData(data, size);
    case PictureKind::Jpeg:
        return ThroughCodec(CallLoadJpgFromMem, data, size);
    }
    return nullptr;
}

HBITMAP LoadImageFileOrResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language) {
    return DecodeFileOrResource(module, name, type, language, CreateBitmapFromImageData);
}
