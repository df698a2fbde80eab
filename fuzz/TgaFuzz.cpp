// Arbitrary bytes as a TGA picture: decoding must refuse or give a picture
// whose pixels, colour map and alpha have the sizes it says, never reading
// outside the bytes.

#include "outside/TgaPicture.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that a read past the end is caught.
    std::vector<uint8_t> bytes(data, data + size);
    outside::TgaPicture picture;
    if (!outside::DecodeTga(bytes.data(), bytes.size(), picture, nullptr))
        return 0;
    const size_t pixels = size_t(picture.width) * size_t(picture.height);
    if (picture.width <= 0 || picture.height <= 0 || picture.pixels.size() != pixels * 4 ||
        (!picture.alpha.empty() && picture.alpha.size() != pixels) ||
        picture.palette.size() % 3 != 0)
        abort();
    return 0;
}
