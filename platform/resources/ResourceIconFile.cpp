#include "platform/resources/ResourceIconFile.h"

#include "platform/images/BmpFile.h"
#include "platform/images/Picture.h"

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr size_t kInfoHeaderSize = 40;
constexpr int kMaxIconSide = 256;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

uint16_t U16(const uint8_t* bytes, size_t at) {
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}
uint32_t U32(const uint8_t* bytes, size_t at) {
    return uint32_t(U16(bytes, at)) | uint32_t(U16(bytes, at + 2)) << 16;
}

bool Refuse(std::string* error, const std::string& why) {
    return RefuseInput("icon", why, error);
}

bool IsPng(const uint8_t* data, size_t size) {
    return size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0;
}

// Pixels whose alpha is 0 keep the screen when the picture has no mask.
void MaskFromAlpha(IconImage& image) {
    image.andMask.resize(image.colour.size());
    for (size_t i = 0; i < image.colour.size(); ++i)
        image.andMask[i] = (image.colour[i] >> 24) == 0 ? 1 : 0;
}

// The size a PNG's header declares, read before it is decoded.
bool PngHeaderFits(const uint8_t* data, size_t size) {
    if (size < 24)
        return true; // the decoder tells what is wrong with it
    const uint32_t width =
        uint32_t(data[16]) << 24 | uint32_t(data[17]) << 16 | uint32_t(data[18]) << 8 | data[19];
    const uint32_t height =
        uint32_t(data[20]) << 24 | uint32_t(data[21]) << 16 | uint32_t(data[22]) << 8 | data[23];
    return width <= uint32_t(kMaxIconSide) && height <= uint32_t(kMaxIconSide);
}

bool DecodePngImage(const uint8_t* data, size_t size, IconImage& image, std::string* error) {
    if (!PngHeaderFits(data, size))
        return Refuse(error, "PNG image larger than 256 x 256");
    PixelImage pixels;
    std::string why;
    if (!DecodePicture(data, size, pixels, &why))
        return Refuse(error, "PNG image: " + why);
    if (pixels.width > kMaxIconSide || pixels.height > kMaxIconSide)
        return Refuse(error, "PNG image larger than 256 x 256");
    image.width = pixels.width;
    image.height = pixels.height;
    image.bitCount = 32;
    image.hasAlpha = true;
    image.colour = std::move(pixels.pixels);
    if (!pixels.hasAlpha)
        for (uint32_t& pixel : image.colour)
            pixel |= 0xFF000000u;
    MaskFromAlpha(image);
    return true;
}

bool DecodeDibImage(const uint8_t* data, size_t size, IconImage& image, std::string* error) {
    if (size < kInfoHeaderSize)
        return Refuse(error, "image header is truncated");
    const uint32_t headerSize = U32(data, 0);
    if (headerSize < kInfoHeaderSize || headerSize > size)
        return Refuse(error, "image header size is wrong");
    const int32_t width = int32_t(U32(data, 4));
    const int32_t doubledHeight = int32_t(U32(data, 8));
    const uint16_t planes = U16(data, 12);
    const uint16_t bitCount = U16(data, 14);
    const uint32_t compression = U32(data, 16);
    const uint32_t colorsUsed = U32(data, 32);
    if (width <= 0 || width > kMaxIconSide || doubledHeight <= 0 ||
        doubledHeight > 2 * kMaxIconSide || doubledHeight % 2 != 0)
        return Refuse(error, "image size is not that of an icon");
    if (planes != 1)
        return Refuse(error, "image has more than one plane");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return Refuse(error, "image has " + std::to_string(bitCount) + " bits per pixel");
    if (compression != kBiRgb && !(compression == kBiBitfields && bitCount >= 16))
        return Refuse(error, "image is compressed");
    if (colorsUsed > 256)
        return Refuse(error, "colour table too large");
    const int height = doubledHeight / 2;
    const size_t tableEntries =
        colorsUsed ? colorsUsed : (bitCount <= 8 ? size_t(1) << bitCount : 0);
    const size_t masks = compression == kBiBitfields && headerSize == kInfoHeaderSize ? 12 : 0;
    const size_t colourAt = headerSize + masks + tableEntries * 4;
    const size_t xorStride = (size_t(width) * bitCount + 31) / 32 * 4;
    const size_t andStride = (size_t(width) + 31) / 32 * 4;
    const size_t maskAt = colourAt + xorStride * size_t(height);
    if (maskAt > size)
        return Refuse(error, "colour bits are truncated");
    // The colour picture alone: the same header with the real height.
    std::string colour(reinterpret_cast<const char*>(data), maskAt);
    for (int i = 0; i < 4; ++i)
        colour[8 + size_t(i)] = char((uint32_t(height) >> (8 * i)) & 0xFF);
    PixelImage pixels;
    std::string why;
    if (!DecodePackedDib(colour.data(), colour.size(), pixels, &why))
        return Refuse(error, "colour bits: " + why);
    if (pixels.width != width || pixels.height != height)
        return Refuse(error, "colour bits do not match the header");
    image.width = width;
    image.height = height;
    image.bitCount = bitCount;
    image.monochrome = bitCount == 1;
    image.colour = std::move(pixels.pixels);
    if (bitCount == 32)
        for (uint32_t pixel : image.colour)
            image.hasAlpha = image.hasAlpha || (pixel >> 24) != 0;
    else
        for (uint32_t& pixel : image.colour)
            pixel &= 0x00FFFFFFu;
    if (maskAt + andStride * size_t(height) > size) {
        if (!image.hasAlpha)
            return Refuse(error, "transparency mask is truncated");
        MaskFromAlpha(image);
        return true;
    }
    image.andMask.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = data + maskAt + size_t(height - 1 - y) * andStride;
        for (int x = 0; x < width; ++x)
            image.andMask[size_t(y) * size_t(width) + size_t(x)] = (row[x / 8] >> (7 - x % 8)) & 1;
    }
    return true;
}

} // namespace

bool DecodeIconImage(const uint8_t* data, size_t size, IconImage& image, std::string* error) {
    IconImage decoded;
    if (!data)
        return Refuse(error, "no image bytes");
    bool ok = IsPng(data, size) ? DecodePngImage(data, size, decoded, error)
                                : DecodeDibImage(data, size, decoded, error);
    if (ok)
        image = std::move(decoded);
    return ok;
}

bool ParseIconDirectory(const uint8_t* data, size_t size, int type,
                        std::vector<IconDirectoryEntry>& entries, std::string* error) {
    if (!data || size < kDirectorySize)
        return Refuse(error, "file too short for an icon directory");
    if (U16(data, 0) != 0 || U16(data, 2) != type)
        return Refuse(error, type == 2 ? "not a .cur file" : "not an .ico file");
    const size_t count = U16(data, 4);
    if (count == 0)
        return Refuse(error, "directory lists no image");
    const size_t directoryEnd = kDirectorySize + count * kEntrySize;
    if (directoryEnd > size)
        return Refuse(error, "directory lists " + std::to_string(count) +
                                 " images but the file ends inside it");
    std::vector<IconDirectoryEntry> read;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* at = data + kDirectorySize + i * kEntrySize;
        IconDirectoryEntry entry;
        entry.width = at[0] ? at[0] : 256;
        entry.height = at[1] ? at[1] : 256;
        entry.colourCount = at[2];
        if (type == 2)
            entry.hotSpot = POINT{U16(at, 4), U16(at, 6)};
        else {
            entry.planes = U16(at, 4);
            entry.bitCount = U16(at, 6);
        }
        entry.size = U32(at, 8);
        entry.offset = U32(at, 12);
        if (entry.size == 0 || entry.offset < directoryEnd || entry.offset > size ||
            entry.size > size - entry.offset)
            return Refuse(error, "image " + std::to_string(i + 1) + " lies outside the file");
        read.push_back(entry);
    }
    entries = std::move(read);
    return true;
}

int PickIconCandidate(const std::vector<IconCandidate>& candidates, int cx, int cy) {
    int best = -1;
    long bestDistance = 0;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const IconCandidate& c = candidates[i];
        const long distance = std::labs(long(c.width) - cx) + std::labs(long(c.height) - cy);
        bool better = best < 0 || distance < bestDistance;
        if (!better && distance == bestDistance) {
            const IconCandidate& b = candidates[size_t(best)];
            const long area = long(c.width) * c.height, bestArea = long(b.width) * b.height;
            better = area > bestArea || (area == bestArea && c.bitCount > b.bitCount);
        }
        if (better) {
            best = int(i);
            bestDistance = distance;
        }
    }
    return best;
}

bool CheckIconFile(const std::string& bytes, int type, std::string* error) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    std::vector<IconDirectoryEntry> entries;
    if (!ParseIconDirectory(data, bytes.size(), type, entries, error))
        return false;
    for (size_t i = 0; i < entries.size(); ++i) {
        IconImage image;
        std::string why;
        if (!DecodeIconImage(data + entries[i].offset, entries[i].size, image, &why))
            return Refuse(error, "image " + std::to_string(i + 1) + ": " + why);
        if (type == 2 &&
            (entries[i].hotSpot.x >= image.width || entries[i].hotSpot.y >= image.height))
            return Refuse(error,
                          "image " + std::to_string(i + 1) + ": hot spot outside the cursor");
    }
    return true;
}

} // namespace platform
