#pragma once

// Helpers for the GIF decoder's tests: a picture's frames read through the
// raw records, with their indices row by row (stride removed).

#include "kngif/gif89.h"
#include "tests/knclientUI05/BitmapKit.h"
#include "tests/support/GifFixtures.h"

#include <string>
#include <vector>

namespace gif_test {

struct DecodedFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool transparent = false;
    int transparentIndex = 0;
    int delay = 0;
    int disposal = 0;
    int paletteEntries = 0;
    std::vector<BYTE> indices; // width * height
};

using ui_test::PixelOf;
using ui_test::Rgb;

inline const BYTE* Bytes(const std::string& s) {
    return reinterpret_cast<const BYTE*>(s.data());
}

inline DecodedFrame FromRecord(const GifFrameRecord& r) {
    DecodedFrame f;
    f.left = int(r.left);
    f.top = int(r.top);
    f.width = int(r.width);
    f.height = int(r.height);
    f.transparent = r.transparent != 0;
    f.transparentIndex = int(r.transparentIndex);
    f.delay = int(r.delay);
    f.disposal = int(r.disposal);
    f.paletteEntries = int(r.paletteEntries);
    for (int y = 0; y < f.height; ++y)
        f.indices.insert(f.indices.end(), r.pixels + size_t(y) * r.stride,
                         r.pixels + size_t(y) * r.stride + r.width);
    return f;
}

// Every frame up to the end or the first broken one.
inline std::vector<DecodedFrame> DecodeAll(const std::string& file, size_t limit = 10000) {
    std::vector<DecodedFrame> frames;
    HKNGIF gif = GifOpenMemory(Bytes(file), DWORD(file.size()), TRUE);
    while (gif && frames.size() < limit) {
        GifFrameRecord* record = GifGetNextFrameRecord(gif);
        if (!record)
            break;
        frames.push_back(FromRecord(*record));
        GifFreeFrameRecord(record);
    }
    GifClose(gif);
    return frames;
}

// The values GetNextFrame hands out, with the bitmap and palette released.
struct FrameCall {
    int result = -1;
    int left = 0, top = 0, width = 0, height = 0;
    bool hasBitmap = false, hasPalette = false;
    BOOL transparent = FALSE;
    COLORREF transparentColor = 0;
    int disposal = 0, delay = 0;
};

inline FrameCall NextFrame(CKNGif89& gif) {
    FrameCall c;
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    c.result = gif.GetNextFrame(&c.left, &c.top, &c.width, &c.height, &bitmap, &c.transparent,
                                &c.transparentColor, &palette, &c.disposal, &c.delay);
    c.hasBitmap = bitmap != nullptr;
    c.hasPalette = palette != nullptr;
    if (bitmap)
        DeleteObject(bitmap);
    if (palette)
        DeleteObject(palette);
    return c;
}

// A picture of one frame over a global palette of the given colours.
inline std::string OneFrame(const gif_fixture::Frame& frame, std::vector<COLORREF> global,
                            int screenWidth = 0, int screenHeight = 0) {
    return gif_fixture::Builder(screenWidth ? screenWidth : frame.width,
                                screenHeight ? screenHeight : frame.height, std::move(global))
        .Add(frame)
        .Finish();
}

inline std::vector<COLORREF> Greys(int n) {
    std::vector<COLORREF> colours;
    for (int i = 0; i < n; ++i)
        colours.push_back(RGB(i, i, i));
    return colours;
}

} // namespace gif_test
