// Arbitrary bytes through the library's GIF decoder, with and without the
// signature, as bitmaps and as raw records, and through the GIF-or-BMP
// decoder: every call must end, and whatever a frame reports must lie
// inside what it hands out.

#include "knclientUI05/CodecBindings.h"
#include "kngif/gif89.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kMaxFrames = 64;

void Bitmaps(CKNGif89& gif) {
    for (int n = 0; n < kMaxFrames; ++n) {
        int left, top, width, height, disposal, delay;
        HBITMAP bitmap = nullptr;
        HPALETTE palette = nullptr;
        BOOL transparent;
        COLORREF colour;
        const int result = gif.GetNextFrame(&left, &top, &width, &height, &bitmap, &transparent,
                                            &colour, &palette, &disposal, &delay);
        if (result != 1)
            return;
        BITMAP info{};
        if (bitmap && (!GetObject(bitmap, sizeof info, &info) || info.bmWidth != width ||
                       info.bmHeight != height))
            abort();
        if (delay <= 0 || disposal < 0 || disposal > 7)
            abort();
        if (bitmap)
            DeleteObject(bitmap);
        if (palette)
            DeleteObject(palette);
    }
}

void Records(CKNGif89& gif) {
    for (int n = 0; n < kMaxFrames; ++n) {
        GifFrameRecord* record = gif.GetNextFrameRecord();
        if (!record)
            return;
        if (record->pixelSize != record->stride * record->height || record->stride < record->width)
            abort();
        unsigned sum = 0;
        for (DWORD i = 0; i < record->pixelSize; i += 61)
            sum += record->pixels[i];
        (void)sum;
        GifFreeFrameRecord(record);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CKNGif89 gif;
    if (gif.LoadFromMemory(data, DWORD(size), TRUE) == 0) {
        Bitmaps(gif);
        gif.Rewind();
        Records(gif);
    }
    if (gif.LoadFromMemory(data, DWORD(size), FALSE) == 0)
        Records(gif);
    if (HBITMAP bitmap = CreateBitmapFromGifOrBmpData(data, int(size)))
        DeleteObject(bitmap);
    return 0;
}
