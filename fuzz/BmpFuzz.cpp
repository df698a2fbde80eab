// Arbitrary bytes as a .bmp file and as a packed DIB: decoding must refuse or
// succeed without reading outside the bytes, and a decoded picture must write
// and read back unchanged.

#include "platform/images/BmpFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void CheckDecoded(const platform::PixelImage& image) {
    if (image.pixels.size() != size_t(image.width) * size_t(image.height))
        abort();
    std::string file;
    if (!platform::EncodeBmp(image, platform::BmpFormat::Rgb32, file))
        abort();
    platform::PixelImage back;
    if (!platform::DecodeBmp(file.data(), file.size(), back) || back.pixels != image.pixels)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::PixelImage image;
    if (platform::DecodeBmp(data, size, image))
        CheckDecoded(image);
    if (platform::DecodePackedDib(data, size, image))
        CheckDecoded(image);
    return 0;
}
