#include "outside/TgaPicture.h"

#include "platform/system/InputBounds.h"

namespace outside {

namespace {

constexpr size_t kHeaderSize = 18;

enum ImageType { kColorMapped = 1, kTrueColor = 2, kGrey = 3, kRunLength = 8 };

// Blue, green, red, alpha.
struct Color {
    uint8_t b = 0, g = 0, r = 0, a = 255;
};

bool Refuse(std::string* reason, const char* text) {
    return platform::RefuseInput("TGA picture", text, reason);
}

uint16_t U16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

// A 5-bit channel at 8 bits: scaled to the full range, the fraction dropped,
// as ImageMagick reads it.
uint8_t Widen5(unsigned value) {
    return uint8_t(value * 255 / 31);
}

// A colour of 15 to 32 bits (blue first); a 16-bit one's top bit is its
// alpha when the picture has alpha.
Color ColorOf(const uint8_t* p, int bits, bool withAlpha) {
    Color c;
    if (bits == 15 || bits == 16) {
        const unsigned v = U16(p);
        c.r = Widen5(v >> 10 & 31);
        c.g = Widen5(v >> 5 & 31);
        c.b = Widen5(v & 31);
        if (withAlpha && bits == 16)
            c.a = (v & 0x8000) ? 255 : 0;
    } else {
        c.b = p[0];
        c.g = p[1];
        c.r = p[2];
        if (withAlpha && bits == 32)
            c.a = p[3];
    }
    return c;
}

struct Header {
    int idLength, mapType, imageType, mapFirst, mapLength, mapBits;
    int width, height, depth, descriptor;

    explicit Header(const uint8_t* p)
        : idLength(p[0]), mapType(p[1]), imageType(p[2]), mapFirst(U16(p + 3)),
          mapLength(U16(p + 5)), mapBits(p[7]), width(U16(p + 12)), height(U16(p + 14)),
          depth(p[16]), descriptor(p[17]) {}
    int Kind() const { return imageType & ~kRunLength; }
    bool RunLength() const { return (imageType & kRunLength) != 0; }
    bool WithAlpha() const { return (descriptor & 0x0F) != 0; }
    bool ValidDepth() const {
        switch (Kind()) {
        case kColorMapped:
            return mapType == 1 && (depth == 8 || depth == 16) &&
                   (mapBits == 15 || mapBits == 16 || mapBits == 24 || mapBits == 32);
        case kTrueColor:
            return depth == 15 || depth == 16 || depth == 24 || depth == 32;
        case kGrey:
            return depth == 8;
        default:
            return false;
        }
    }
};

} // namespace

bool DecodeTga(const uint8_t* data, size_t size, TgaPicture& picture, std::string* reason) {
    if (!data || size < kHeaderSize)
        return Refuse(reason, "shorter than a TGA header");
    const Header h(data);
    if (h.Kind() != kColorMapped && h.Kind() != kTrueColor && h.Kind() != kGrey)
        return Refuse(reason, "not a picture type this reader takes");
    if (!h.ValidDepth())
        return Refuse(reason, "a pixel or colour map depth the type does not take");
    if (!platform::ImageSizeAllowed(h.width, h.height))
        return Refuse(reason, "no pixels, or more than a picture may have");
    size_t at = kHeaderSize + size_t(h.idLength);
    // The colour map; a true-colour picture may carry one it does not use.
    const int mapEntryBytes = (h.mapBits + 7) / 8;
    std::vector<Color> map;
    if (h.mapType == 1) {
        const size_t mapBytes = size_t(h.mapLength) * size_t(mapEntryBytes);
        if (at > size || size - at < mapBytes)
            return Refuse(reason, "colour map cut short");
        if (h.Kind() == kColorMapped)
            for (int i = 0; i < h.mapLength; ++i)
                map.push_back(
                    ColorOf(data + at + size_t(i) * mapEntryBytes, h.mapBits, h.WithAlpha()));
        at += mapBytes;
    }
    // Every pixel in file order, run-length packets expanded (a packet may run
    // on into the next row).
    const int pixelBytes = (h.depth + 7) / 8;
    const size_t count = size_t(h.width) * size_t(h.height);
    // The least the pixels can take (run-length: every packet a run of 128),
    // so that a short file is refused before the picture is allocated.
    const size_t least =
        h.RunLength() ? (count + 127) / 128 * (1 + size_t(pixelBytes)) : count * size_t(pixelBytes);
    if (at > size || size - at < least)
        return Refuse(reason, "pixel data cut short");
    std::vector<Color> colors(count);
    auto colorAt = [&](const uint8_t* p) {
        if (h.Kind() == kGrey)
            return Color{p[0], p[0], p[0], 255};
        if (h.Kind() == kTrueColor)
            return ColorOf(p, h.depth, h.WithAlpha());
        const int index = (h.depth == 8 ? p[0] : U16(p)) - h.mapFirst;
        return index >= 0 && size_t(index) < map.size() ? map[size_t(index)] : Color{};
    };
    for (size_t done = 0; done < count;) {
        size_t run = 1;
        bool repeat = false;
        if (h.RunLength()) {
            if (at >= size)
                return Refuse(reason, "pixel data cut short");
            run = (data[at] & 0x7F) + 1u;
            repeat = (data[at] & 0x80) != 0;
            ++at;
        }
        const size_t needed = (repeat ? 1 : run) * size_t(pixelBytes);
        if (at > size || size - at < needed)
            return Refuse(reason, "pixel data cut short");
        for (size_t i = 0; i < run && done < count; ++i, ++done)
            colors[done] = colorAt(data + at + (repeat ? 0 : i * size_t(pixelBytes)));
        at += needed;
    }
    picture = TgaPicture{};
    picture.width = h.width;
    picture.height = h.height;
    picture.pixelDepth = h.depth;
    for (const Color& c : map) {
        picture.palette.push_back(c.r);
        picture.palette.push_back(c.g);
        picture.palette.push_back(c.b);
    }
    // File rows run from the bottom unless the descriptor says top first, and
    // from the left unless it says right first.
    const bool topFirst = (h.descriptor & 0x20) != 0;
    const bool rightFirst = (h.descriptor & 0x10) != 0;
    picture.pixels.resize(count * 4);
    if (h.WithAlpha())
        picture.alpha.resize(count);
    for (int row = 0; row < h.height; ++row) {
        const int y = topFirst ? row : h.height - 1 - row;
        for (int column = 0; column < h.width; ++column) {
            const int x = rightFirst ? h.width - 1 - column : column;
            const Color& c = colors[size_t(row) * size_t(h.width) + size_t(column)];
            const size_t to = size_t(y) * size_t(h.width) + size_t(x);
            uint8_t* out = &picture.pixels[to * 4];
            out[0] = c.b;
            out[1] = c.g;
            out[2] = c.r;
            out[3] = c.a;
            if (h.WithAlpha())
                picture.alpha[to] = c.a;
        }
    }
    return true;
}

} // namespace outside
