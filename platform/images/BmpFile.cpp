#include "platform/images/BmpFile.h"

#include "platform/gdi/DibRle.h"
#include "platform/system/FileIo.h"

#include <bit>
#include <cstring>
#include <unordered_map>

namespace platform {
namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kLargestHeaderSize = 124; // BITMAPV5HEADER

// Little-endian reads that are only made after a bounds check.
struct Bytes {
    const uint8_t* data;
    size_t size;

    bool Has(size_t offset, uint64_t count) const {
        return offset <= size && count <= size - offset;
    }
    uint16_t U16(size_t at) const { return uint16_t(data[at] | data[at + 1] << 8); }
    uint32_t U32(size_t at) const {
        return uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
               uint32_t(data[at + 3]) << 24;
    }
};

// One colour channel of a bit-field pixel, widened to 8 bits by repeating its
// top bits, as Windows converts 5-bit and 6-bit channels.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m = 0) : mask(m) {
        if (m == 0)
            return;
        shift = std::countr_zero(m);
        bits = 32 - std::countl_zero(m >> shift);
    }
    uint32_t Extract(uint32_t value) const {
        if (bits == 0)
            return 0;
        uint32_t v = (value & mask) >> shift;
        if (bits >= 8)
            return v >> (bits - 8);
        uint32_t wide = v << (8 - bits);
        for (int filled = bits; filled < 8; filled += bits)
            wide |= wide >> bits;
        return wide & 0xFF;
    }
};

struct DibHeader {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    uint32_t compression = kBiRgb;
    uint32_t imageSize = 0;
    uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    std::vector<uint32_t> palette;
    size_t end = 0; // first byte after the header, masks and colour table
};

bool ValidDepth(const DibHeader& h) {
    switch (h.compression) {
    case kBiRgb:
        return h.bitsPerPixel == 1 || h.bitsPerPixel == 4 || h.bitsPerPixel == 8 ||
               h.bitsPerPixel == 16 || h.bitsPerPixel == 24 || h.bitsPerPixel == 32;
    case kBiRle8:
        return h.bitsPerPixel == 8 && !h.topDown;
    case kBiRle4:
        return h.bitsPerPixel == 4 && !h.topDown;
    case kBiBitfields:
    case kBiAlphaBitfields:
        return h.bitsPerPixel == 16 || h.bitsPerPixel == 32;
    default:
        return false;
    }
}

bool ReadPalette(Bytes b, DibHeader& h, uint32_t colorsUsed, size_t entrySize, std::string* error) {
    uint32_t count = colorsUsed;
    if (count == 0 && h.bitsPerPixel <= 8)
        count = 1u << h.bitsPerPixel;
    if (count > 256)
        return RefusePicture(error, "colour table too large");
    if (!b.Has(h.end, uint64_t(count) * entrySize))
        return RefusePicture(error, "colour table truncated");
    if (h.bitsPerPixel <= 8) {
        h.palette.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = b.data + h.end + i * entrySize;
            h.palette[i] = MakePixel(e[2], e[1], e[0]);
        }
    }
    h.end += count * entrySize;
    return true;
}

bool ReadDibHeader(Bytes b, size_t at, DibHeader& h, std::string* error) {
    if (!b.Has(at, 4))
        return RefusePicture(error, "information header truncated");
    uint32_t headerSize = b.U32(at);
    int64_t width = 0, height = 0;
    int planes = 0;
    uint32_t colorsUsed = 0;
    size_t entrySize = 4;
    if (headerSize == kCoreHeaderSize) {
        if (!b.Has(at, kCoreHeaderSize))
            return RefusePicture(error, "information header truncated");
        width = b.U16(at + 4);
        height = b.U16(at + 6);
        planes = b.U16(at + 8);
        h.bitsPerPixel = b.U16(at + 10);
        entrySize = 3;
    } else if (headerSize >= kInfoHeaderSize && headerSize <= kLargestHeaderSize) {
        if (!b.Has(at, headerSize))
            return RefusePicture(error, "information header truncated");
        width = int32_t(b.U32(at + 4));
        height = int32_t(b.U32(at + 8));
        planes = b.U16(at + 12);
        h.bitsPerPixel = b.U16(at + 14);
        h.compression = b.U32(at + 16);
        h.imageSize = b.U32(at + 20);
        colorsUsed = b.U32(at + 32);
        for (size_t i = 0; i < 4 && kInfoHeaderSize + 4 * (i + 1) <= headerSize; ++i)
            h.masks[i] = b.U32(at + kInfoHeaderSize + 4 * i);
    } else {
        return RefusePicture(error, "unknown information header");
    }
    h.end = at + headerSize;
    if (planes != 1)
        return RefusePicture(error, "more than one plane");
    h.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (!ImageSizeAllowed(width, height))
        return RefusePicture(error, "picture size out of range");
    h.width = int(width);
    h.height = int(height);
    if (!ValidDepth(h))
        return RefusePicture(error, "unsupported depth or compression");
    // The 40-byte header keeps its masks after itself.
    bool bitfields = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
    if (bitfields && headerSize == kInfoHeaderSize) {
        size_t count = h.compression == kBiAlphaBitfields ? 4 : 3;
        if (!b.Has(h.end, count * 4))
            return RefusePicture(error, "colour masks truncated");
        for (size_t i = 0; i < count; ++i)
            h.masks[i] = b.U32(h.end + 4 * i);
        h.end += count * 4;
    }
    if (!bitfields) {
        bool sixteen = h.bitsPerPixel == 16;
        h.masks[0] = sixteen ? 0x7C00 : 0;
        h.masks[1] = sixteen ? 0x03E0 : 0;
        h.masks[2] = sixteen ? 0x001F : 0;
        h.masks[3] = 0;
    }
    return ReadPalette(b, h, colorsUsed, entrySize, error);
}

uint32_t PaletteColor(const DibHeader& h, unsigned index) {
    return index < h.palette.size() ? h.palette[index] : 0;
}

void DecodeRow(const uint8_t* row, const DibHeader& h, uint32_t* out, const Channel* channels) {
    switch (h.bitsPerPixel) {
    case 1:
        for (int x = 0; x < h.width; ++x)
            out[x] = PaletteColor(h, row[x >> 3] >> (7 - (x & 7)) & 1);
        break;
    case 4:
        for (int x = 0; x < h.width; ++x)
            out[x] = PaletteColor(h, (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4);
        break;
    case 8:
        for (int x = 0; x < h.width; ++x)
            out[x] = PaletteColor(h, row[x]);
        break;
    case 24:
        for (int x = 0; x < h.width; ++x)
            out[x] = MakePixel(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        break;
    case 16:
    case 32:
        for (int x = 0; x < h.width; ++x) {
            uint32_t v = h.bitsPerPixel == 16 ? uint32_t(row[2 * x] | row[2 * x + 1] << 8)
                                              : Bytes{row, 0}.U32(size_t(4) * size_t(x));
            if (h.bitsPerPixel == 32 && h.compression == kBiRgb)
                out[x] = v; // kept whole, the top byte included
            else
                out[x] = MakePixel(int(channels[0].Extract(v)), int(channels[1].Extract(v)),
                                   int(channels[2].Extract(v)), int(channels[3].Extract(v)));
        }
        break;
    }
}

bool DecodeUncompressed(Bytes b, size_t bitsAt, const DibHeader& h, PixelImage& image,
                        std::string* error) {
    uint64_t stride = (uint64_t(h.width) * uint64_t(h.bitsPerPixel) + 31) / 32 * 4;
    if (!b.Has(bitsAt, stride * uint64_t(h.height)))
        return RefusePicture(error, "pixel data truncated");
    Channel channels[4] = {Channel(h.masks[0]), Channel(h.masks[1]), Channel(h.masks[2]),
                           Channel(h.masks[3])};
    image.Reset(h.width, h.height);
    image.hasAlpha = h.masks[3] != 0;
    for (int y = 0; y < h.height; ++y) {
        int outY = h.topDown ? y : h.height - 1 - y;
        DecodeRow(b.data + bitsAt + stride * uint64_t(y), h, &image.At(0, outY), channels);
    }
    return true;
}

// Run-length data into palette indices (rows bottom-up). Pixels the data
// skips keep index 0. Runs that pass the right edge are cut there.
bool DecodeRle(Bytes b, size_t at, const DibHeader& h, PixelImage& image, std::string* error) {
    size_t end = b.size;
    if (h.imageSize != 0 && b.Has(at, h.imageSize))
        end = at + h.imageSize;
    if (at > end)
        return RefusePicture(error, "pixel data truncated");
    std::vector<uint8_t> indices;
    const char* reason = nullptr;
    if (!ExpandRle(b.data + at, end - at, h.compression == kBiRle4, h.width, h.height,
                   size_t(h.width), indices, &reason))
        return RefusePicture(error, reason);
    image.Reset(h.width, h.height);
    image.hasAlpha = false;
    for (int y = 0; y < h.height; ++y)
        for (int x = 0; x < h.width; ++x)
            image.At(x, h.height - 1 - y) = PaletteColor(h, indices[size_t(y) * h.width + x]);
    return true;
}

bool DecodeDib(Bytes b, size_t bitsAt, const DibHeader& h, PixelImage& image, std::string* error) {
    if (bitsAt > b.size)
        return RefusePicture(error, "pixel data offset past the end");
    if (h.compression == kBiRle8 || h.compression == kBiRle4)
        return DecodeRle(b, bitsAt, h, image, error);
    return DecodeUncompressed(b, bitsAt, h, image, error);
}

void PutU16(std::string& out, uint32_t v) {
    out += char(v & 0xFF);
    out += char(v >> 8 & 0xFF);
}
void PutU32(std::string& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

int BitsOf(BmpFormat format) {
    switch (format) {
    case BmpFormat::Indexed1:
        return 1;
    case BmpFormat::Indexed4:
        return 4;
    case BmpFormat::Indexed8:
        return 8;
    case BmpFormat::Rgb555:
    case BmpFormat::Rgb565:
        return 16;
    case BmpFormat::Rgb24:
        return 24;
    case BmpFormat::Rgb32:
        return 32;
    }
    return 0;
}

// The picture's distinct colours (alpha dropped) and each pixel's index.
bool BuildPalette(const PixelImage& image, int bits, std::vector<uint32_t>& palette,
                  std::vector<uint8_t>& indices) {
    std::unordered_map<uint32_t, uint8_t> lookup;
    indices.resize(image.pixels.size());
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        uint32_t color = image.pixels[i] & 0xFFFFFF;
        auto found = lookup.find(color);
        if (found == lookup.end()) {
            if (palette.size() >= (size_t(1) << bits))
                return false;
            found = lookup.emplace(color, uint8_t(palette.size())).first;
            palette.push_back(color);
        }
        indices[i] = found->second;
    }
    return true;
}

void EncodeRow(const PixelImage& image, int y, BmpFormat format,
               const std::vector<uint8_t>& indices, uint8_t* row) {
    const uint32_t* in = &image.pixels[size_t(y) * size_t(image.width)];
    const uint8_t* index = indices.empty() ? nullptr : &indices[size_t(y) * size_t(image.width)];
    for (int x = 0; x < image.width; ++x) {
        uint32_t p = in[x];
        uint32_t r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
        switch (format) {
        case BmpFormat::Indexed1:
            row[x >> 3] |= uint8_t(index[x] << (7 - (x & 7)));
            break;
        case BmpFormat::Indexed4:
            row[x >> 1] |= uint8_t((x & 1) ? index[x] : index[x] << 4);
            break;
        case BmpFormat::Indexed8:
            row[x] = index[x];
            break;
        case BmpFormat::Rgb555:
        case BmpFormat::Rgb565: {
            uint32_t v = format == BmpFormat::Rgb565 ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3
                                                     : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
            row[2 * x] = uint8_t(v);
            row[2 * x + 1] = uint8_t(v >> 8);
            break;
        }
        case BmpFormat::Rgb24:
            row[3 * x] = uint8_t(b);
            row[3 * x + 1] = uint8_t(g);
            row[3 * x + 2] = uint8_t(r);
            break;
        case BmpFormat::Rgb32:
            std::memcpy(row + 4 * x, &p, 4); // little-endian: blue, green, red, top byte
            break;
        }
    }
}

} // namespace

bool DecodeBmp(const void* data, size_t size, PixelImage& image, std::string* error) {
    Bytes b{static_cast<const uint8_t*>(data), size};
    if (!b.Has(0, kFileHeaderSize) || b.data[0] != 'B' || b.data[1] != 'M')
        return RefusePicture(error, "not a .bmp file");
    DibHeader h;
    if (!ReadDibHeader(b, kFileHeaderSize, h, error))
        return false;
    return DecodeDib(b, b.U32(10), h, image, error);
}

bool DecodePackedDib(const void* data, size_t size, PixelImage& image, std::string* error) {
    Bytes b{static_cast<const uint8_t*>(data), size};
    DibHeader h;
    if (!ReadDibHeader(b, 0, h, error))
        return false;
    return DecodeDib(b, h.end, h, image, error);
}

bool EncodeBmp(const PixelImage& image, BmpFormat format, std::string& file, std::string* error) {
    if (!ImageSizeAllowed(image.width, image.height) ||
        image.pixels.size() != size_t(image.width) * size_t(image.height))
        return RefusePicture(error, "picture size out of range");
    int bits = BitsOf(format);
    std::vector<uint32_t> palette;
    std::vector<uint8_t> indices;
    if (bits <= 8 && !BuildPalette(image, bits, palette, indices))
        return RefusePicture(error, "too many colours for the format");
    if (bits <= 8)
        palette.resize(size_t(1) << bits, 0);
    bool masks = format == BmpFormat::Rgb565;
    size_t stride = (size_t(image.width) * size_t(bits) + 31) / 32 * 4;
    size_t bitsAt = kFileHeaderSize + kInfoHeaderSize + (masks ? 12 : 0) + palette.size() * 4;
    size_t total = bitsAt + stride * size_t(image.height);

    file.clear();
    file.reserve(total);
    file += "BM";
    PutU32(file, uint32_t(total));
    PutU32(file, 0);
    PutU32(file, uint32_t(bitsAt));
    PutU32(file, kInfoHeaderSize);
    PutU32(file, uint32_t(image.width));
    PutU32(file, uint32_t(image.height)); // bottom-up
    PutU16(file, 1);
    PutU16(file, uint32_t(bits));
    PutU32(file, masks ? kBiBitfields : kBiRgb);
    PutU32(file, uint32_t(stride * size_t(image.height)));
    PutU32(file, 2835); // 72 dots per inch
    PutU32(file, 2835);
    PutU32(file, uint32_t(palette.size()));
    PutU32(file, 0);
    if (masks) {
        PutU32(file, 0xF800);
        PutU32(file, 0x07E0);
        PutU32(file, 0x001F);
    }
    for (uint32_t color : palette)
        PutU32(file, color & 0xFFFFFF);
    std::vector<uint8_t> row(stride);
    for (int y = image.height - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), 0);
        EncodeRow(image, y, format, indices, row.data());
        file.append(reinterpret_cast<const char*>(row.data()), row.size());
    }
    return true;
}

bool LoadBmpFile(const std::string& path, PixelImage& image, std::string* error) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxPictureFileBytes))
        return RefusePicture(error, "file cannot be read");
    return DecodeBmp(bytes.data(), bytes.size(), image, error);
}

bool SaveBmpFile(const std::string& path, const PixelImage& image, BmpFormat format,
                 std::string* error) {
    std::string bytes;
    if (!EncodeBmp(image, format, bytes, error))
        return false;
    if (!WriteFileAtomically(path, bytes))
        return RefusePicture(error, "file cannot be written");
    return true;
}

} // namespace platform
