#include "knclientUI05/CodecBindings.h"

#include "knclientUI05/KnClientPublic.h"
#include "knclientUI05/PictureDecoding.h"
#include "kngif/gif89.h"

#include <cstring>

namespace {

HBITMAP FirstGifFrame(const BYTE* data, int size) {
    CKNGif89 gif;
    if (gif.LoadFromMemory(data, DWORD(size), TRUE) != 0)
        return nullptr;
    int left, top, width = 0, height = 0, disposal, delay;
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    BOOL transparent;
    COLORREF transparentColor;
    if (gif.GetNextFrame(&left, &top, &width, &height, &bitmap, &transparent, &transparentColor,
                         &palette, &disposal, &delay) != 1)
        return nullptr;
    return RealiseThroughPalette(bitmap, palette, width, height);
}

} // namespace

HBITMAP CreateBitmapFromGifOrBmpData(const BYTE* data, int size) {
    if (!data || size < 6)
        return nullptr;
    if (IsGifSignature(data))
        return FirstGifFrame(data, size);
    if (data[0] == 'B' && data[1] == 'M')
        return CreateBitmapFromBmpData(data, size);
    return nullptr;
}

BOOL IsGifSignature(const BYTE* data) {
    return std::memcmp(data, "GIF8", 4) == 0 && (data[4] == '7' || data[4] == '9') &&
           data[5] == 'a';
}

HBITMAP RealiseThroughPalette(HBITMAP frame, HPALETTE palette, int width, int height) {
    if (!palette)
        return frame;
    HDC screen = frame ? GetDC(nullptr) : nullptr;
    if (screen) {
        HBITMAP realised = CreateCompatibleBitmap(screen, width, height);
        if (realised && StretchDrawBitmap(realised, frame, palette, nullptr, nullptr)) {
            DeleteObject(frame);
            frame = realised;
        } else if (realised) {
            DeleteObject(realised);
        }
        ReleaseDC(nullptr, screen);
    }
    DeleteObject(palette);
    return frame;
}

HBITMAP LoadGifOrBmpFileOrResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language) {
    return DecodeFileOrResource(module, name, type, language, CreateBitmapFromGifOrBmpData);
}
