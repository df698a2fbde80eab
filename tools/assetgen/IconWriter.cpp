#include "tools/assetgen/IconWriter.h"

#include <cstdio>
#include <fstream>

namespace {

void PutU16(std::string& out, unsigned value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void PutU32(std::string& out, unsigned value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

bool Opaque(uint32_t pixel) {
    return (pixel >> 24) != 0;
}

} // namespace

platform::PixelImage PictureFromArt(const std::vector<const char*>& art, int size) {
    platform::PixelImage image;
    image.Reset(size, size);
    image.hasAlpha = true;
    for (int y = 0; y < int(art.size()) && y < size; ++y)
        for (int x = 0; art[y][x] && x < size; ++x) {
            if (art[y][x] == 'X')
                image.At(x, y) = 0xFF000000u;
            else if (art[y][x] == 'o')
                image.At(x, y) = 0xFFFFFFFFu;
        }
    return image;
}

std::string IconFileBytes(const platform::PixelImage& image, bool cursor, int hotX, int hotY) {
    const int w = image.width, h = image.height;
    const unsigned maskStride = unsigned((w + 31) / 32 * 4);
    std::string picture;
    PutU32(picture, 40);
    PutU32(picture, unsigned(w));
    PutU32(picture, unsigned(h * 2)); // colour picture and mask together
    PutU16(picture, 1);
    PutU16(picture, 32);
    for (int i = 0; i < 6; ++i)
        PutU32(picture, 0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x)
            PutU32(picture, image.At(x, y));
    for (int y = h - 1; y >= 0; --y) {
        std::string row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (!Opaque(image.At(x, y)))
                row[size_t(x / 8)] = char(row[size_t(x / 8)] | (0x80 >> (x % 8)));
        picture += row;
    }
    std::string file;
    PutU16(file, 0);
    PutU16(file, cursor ? 2 : 1);
    PutU16(file, 1);
    file += char(w >= 256 ? 0 : w);
    file += char(h >= 256 ? 0 : h);
    file += char(0);
    file += char(0);
    PutU16(file, cursor ? unsigned(hotX) : 1);
    PutU16(file, cursor ? unsigned(hotY) : 32);
    PutU32(file, unsigned(picture.size()));
    PutU32(file, 22);
    return file + picture;
}

std::string MonochromeCursorPlanes(const platform::PixelImage& image) {
    std::string xorPlane(128, '\0'), andPlane(128, '\0');
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const size_t byte = size_t(y * 4 + x / 8);
            const char bit = char(0x80 >> (x % 8));
            uint32_t pixel = x < image.width && y < image.height ? image.At(x, y) : 0;
            if (!Opaque(pixel))
                andPlane[byte] = char(andPlane[byte] | bit);
            else if ((pixel & 0xFFFFFF) != 0)
                xorPlane[byte] = char(xorPlane[byte] | bit);
        }
    return xorPlane + andPlane;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (out.good())
        return true;
    fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
}

std::string StringViewOf(const std::string& bytes) {
    std::string out = "std::string_view(\"";
    for (size_t i = 0; i < bytes.size(); ++i) {
        char escape[8];
        snprintf(escape, sizeof escape, "\\%03o", unsigned(uint8_t(bytes[i])));
        out += escape;
        if (i % 32 == 31)
            out += "\"\n\"";
    }
    return out + "\", " + std::to_string(bytes.size()) + ")";
}
