#include "platform/resources/ResourceIconFile.h"

#include "platform/images/BmpFile.h"
#include "platform/images/Picture.h"

#include <cstring>

namespace platform {

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kInfoHeaderSize = 40;

uint16_t U16(const std::string& bytes, size_t at) {
    return uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}
uint32_t U32(const std::string& bytes, size_t at) {
    return uint32_t(U16(bytes, at)) | uint32_t(U16(bytes, at + 2)) << 16;
}

bool Refuse(std::string* error, const char* why) {
    if (error)
        *error = why;
    return false;
}

// The AND mask makes pixels transparent unless the colour picture carries
// its own alpha.
void ApplyMask(const std::string& image, size_t maskAt, IconPicture& picture, bool hasAlpha) {
    const size_t stride = size_t((picture.width + 31) / 32) * 4;
    for (int y = 0; y < picture.height; ++y) {
        const size_t row = maskAt + size_t(picture.height - 1 - y) * stride;
        for (int x = 0; x < picture.width; ++x) {
            uint32_t& pixel = picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)];
            if (hasAlpha)
                continue;
            bool transparent = (uint8_t(image[row + size_t(x) / 8]) >> (7 - x % 8)) & 1;
            pixel = transparent ? 0u : (pixel | 0xFF000000u);
        }
    }
}

bool DecodeDibImage(const std::string& image, IconPicture& picture, std::string* error) {
    if (image.size() < kInfoHeaderSize || U32(image, 0) < kInfoHeaderSize)
        return Refuse(error, "picture header is truncated");
    const int32_t width = int32_t(U32(image, 4));
    const int32_t doubledHeight = int32_t(U32(image, 8));
    const uint16_t bitCount = U16(image, 14);
    const uint32_t compression = U32(image, 16);
    const uint32_t colorsUsed = U32(image, 32);
    if (width <= 0 || width > 256 || doubledHeight <= 0 || doubledHeight > 512 ||
        doubledHeight % 2 != 0)
        return Refuse(error, "picture size is not that of an icon");
    if (colorsUsed > 256)
        return Refuse(error, "palette too large");
    const int height = doubledHeight / 2;
    // The colour picture alone: the same header with the real height.
    std::string colour = image;
    const uint32_t realHeight = uint32_t(height);
    for (int i = 0; i < 4; ++i)
        colour[8 + i] = char((realHeight >> (8 * i)) & 0xFF);
    PixelImage pixels;
    if (!DecodePackedDib(colour.data(), colour.size(), pixels, error))
        return false;
    size_t paletteEntries = colorsUsed ? colorsUsed : (bitCount <= 8 ? size_t(1) << bitCount : 0);
    size_t maskAt = U32(image, 0) + paletteEntries * 4 + (compression == 3 ? 12 : 0) +
                    size_t((width * bitCount + 31) / 32) * 4 * size_t(height);
    size_t maskSize = size_t((width + 31) / 32) * 4 * size_t(height);
    if (maskAt + maskSize > image.size())
        return Refuse(error, "transparency mask is truncated");
    picture.width = width;
    picture.height = height;
    picture.pixels = pixels.pixels;
    bool hasAlpha = false;
    if (bitCount == 32)
        for (uint32_t pixel : picture.pixels)
            hasAlpha = hasAlpha || (pixel >> 24) != 0;
    ApplyMask(image, maskAt, picture, hasAlpha);
    return true;
}

} // namespace

bool DecodeIconFile(const std::string& bytes, bool cursor, IconPicture& picture,
                    std::string* error) {
    if (bytes.size() < kDirectorySize + kEntrySize)
        return Refuse(error, "file too short for an icon directory");
    if (U16(bytes, 0) != 0 || U16(bytes, 2) != (cursor ? 2 : 1))
        return Refuse(error, cursor ? "not a .cur file" : "not an .ico file");
    if (U16(bytes, 4) == 0)
        return Refuse(error, "directory lists no picture");
    const size_t size = U32(bytes, kDirectorySize + 8);
    const size_t offset = U32(bytes, kDirectorySize + 12);
    if (offset > bytes.size() || size > bytes.size() - offset)
        return Refuse(error, "picture lies outside the file");
    std::string image = bytes.substr(offset, size);
    IconPicture decoded;
    if (image.size() >= 8 && std::memcmp(image.data(), "\x89PNG", 4) == 0) {
        PixelImage pixels;
        if (!DecodePicture(image.data(), image.size(), pixels, error))
            return false;
        decoded.width = pixels.width;
        decoded.height = pixels.height;
        decoded.pixels = pixels.pixels;
    } else if (!DecodeDibImage(image, decoded, error)) {
        return false;
    }
    if (cursor)
        decoded.hotSpot = POINT{U16(bytes, kDirectorySize + 4), U16(bytes, kDirectorySize + 6)};
    if (decoded.hotSpot.x >= decoded.width || decoded.hotSpot.y >= decoded.height)
        return Refuse(error, "hot spot outside the cursor");
    picture = std::move(decoded);
    return true;
}

} // namespace platform
