// Arbitrary bytes as a GIF file and as a GIF frame cache: decoding must refuse
// or succeed without reading outside the bytes, and whatever decodes must
// write a cache that reads back the same frames.

#include "sprite/GifImage.h"

#include <cstdint>
#include <cstdlib>

namespace {

void CheckRoundTrip(const CGifImage& image) {
    for (int i = 0; i < image.GetFrameCount(); ++i) {
        const CGifFrame& frame = *image.GetFrame(i);
        BYTE index;
        // Every pixel must lie inside the frame's rows.
        for (int y = 0; y < frame.m_nHeight; y += 7)
            for (int x = 0; x < frame.m_nWidth; x += 7)
                if (!frame.IndexAt(frame.m_nLeft + x, frame.m_nTop + y, index))
                    abort();
        (void)frame.ColorOf(index);
    }
    const std::string cache = image.SaveCache();
    CGifImage back;
    if (!back.LoadCache(reinterpret_cast<const uint8_t*>(cache.data()), cache.size()) ||
        !SameGifContent(image, back) || back.SaveCache() != cache)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CGifImage image;
    if (image.LoadGif(data, size))
        CheckRoundTrip(image);
    if (image.LoadCache(data, size))
        CheckRoundTrip(image);
    return 0;
}
