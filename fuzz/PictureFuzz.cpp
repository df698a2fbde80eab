// Arbitrary bytes as a picture file. The first byte picks the decoder (PNG,
// JPEG, GIF, or by the file's own signature), so each sees arbitrary input
// and not only what starts with its signature. A decoder must refuse or
// succeed without reading outside the bytes or allocating beyond the limits.

#include "platform/images/GifFile.h"
#include "platform/images/JpegFile.h"
#include "platform/images/Picture.h"
#include "platform/images/PngFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t* file = data + 1;
    size_t length = size - 1;
    platform::PixelImage image;
    bool decoded = false;
    switch (data[0] % 4) {
    case 0:
        decoded = platform::DecodePng(file, length, image);
        break;
    case 1:
        decoded = platform::DecodeJpeg(file, length, image);
        break;
    case 2:
        decoded = platform::DecodeGif(file, length, image);
        break;
    default:
        decoded = platform::DecodePicture(file, length, image);
        break;
    }
    if (decoded && (!platform::ImageSizeAllowed(image.width, image.height) ||
                    image.pixels.size() != size_t(image.width) * size_t(image.height)))
        abort();
    return 0;
}
