#include "platform/gdi/Surface.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

namespace platform {

namespace {
constexpr size_t kPage = 4096;
} // namespace

void Surface::FreeBits::operator()(uint8_t* p) const {
    std::free(p);
}

PixelFormat PixelFormat::Monochrome() {
    PixelFormat f;
    f.bitsPerPixel = 1;
    f.palette = {0, kWhitePixel};
    f.monochromeDevice = true;
    return f;
}

PixelFormat PixelFormat::Bitfields(uint32_t red, uint32_t green, uint32_t blue) {
    PixelFormat f;
    f.bitsPerPixel = 16;
    f.redMask = red;
    f.greenMask = green;
    f.blueMask = blue;
    return f;
}

PixelFormat PixelFormat::Rgb565() {
    return Bitfields(0xF800, 0x07E0, 0x001F);
}

PixelFormat PixelFormat::Rgb555() {
    return Bitfields(0x7C00, 0x03E0, 0x001F);
}

Surface::Surface(int width, int height, PixelFormat format, bool bottomUp)
    : m_width(width), m_height(height), m_format(std::move(format)) {
    int rowBytes = DibStride(width, m_format.bitsPerPixel);
    // Page-aligned, so two bitmaps of one width line up row for row: a copy
    // whose destination sits just ahead of its source within a page stalls
    // on every store (4K aliasing).
    size_t bytes = size_t(rowBytes) * size_t(height);
    size_t rounded = (bytes + kPage - 1) / kPage * kPage;
    m_owned.reset(static_cast<uint8_t*>(std::aligned_alloc(kPage, rounded ? rounded : kPage)));
    if (!m_owned)
        throw std::bad_alloc();
    std::memset(m_owned.get(), 0, bytes);
    m_bottomUpBase = m_owned.get();
    m_stride = bottomUp ? -rowBytes : rowBytes;
    m_top = bottomUp ? m_bottomUpBase + ptrdiff_t(height - 1) * rowBytes : m_bottomUpBase;
}

Surface::Surface(int width, int height, PixelFormat format, uint8_t* bits, int stride,
                 bool bottomUp)
    : m_width(width), m_height(height), m_format(std::move(format)), m_bottomUpBase(bits) {
    m_stride = bottomUp ? -stride : stride;
    m_top = bottomUp ? bits + ptrdiff_t(height - 1) * stride : bits;
}

void Surface::ReadRow(int x, int y, int n, uint32_t* out) const {
    if (IsXrgb32())
        std::memcpy(out, Row32(y) + x, size_t(n) * 4);
    else
        UnpackRow(m_format, RowBytesAt(y), x, n, out);
}

void Surface::WriteRow(int x, int y, int n, const uint32_t* in) {
    if (IsXrgb32())
        std::memcpy(Row32(y) + x, in, size_t(n) * 4);
    else
        PackRow(m_format, in, n, RowBytesAt(y), x);
}

uint32_t Surface::GetPixel(int x, int y) const {
    uint32_t p;
    ReadRow(x, y, 1, &p);
    return p;
}

void Surface::SetPixel(int x, int y, uint32_t pixel) {
    WriteRow(x, y, 1, &pixel);
}

namespace {

// Expands a mask field to 8 bits by repeating its high bits.
struct MaskField {
    int shift = 0;
    int bits = 0;
    explicit MaskField(uint32_t mask) {
        if (!mask)
            return;
        while (!(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        while (mask & 1) {
            mask >>= 1;
            ++bits;
        }
        if (bits > 8) { // keep the top 8 bits of wide fields
            shift += bits - 8;
            bits = 8;
        }
    }
    uint32_t Expand(uint32_t value) const {
        if (!bits)
            return 0;
        uint32_t v = (value >> shift) & ((1u << bits) - 1);
        uint32_t out = v << (8 - bits);
        for (int have = bits; have < 8; have += bits)
            out |= out >> have;
        return out & 0xFF;
    }
    uint32_t Reduce(uint32_t channel) const { return bits ? (channel >> (8 - bits)) << shift : 0; }
};

uint32_t PaletteAt(const std::vector<uint32_t>& palette, unsigned index) {
    return index < palette.size() ? palette[index] : 0;
}

} // namespace

void UnpackRow(const PixelFormat& format, const uint8_t* row, int x, int n, uint32_t* out) {
    switch (format.bitsPerPixel) {
    case 32:
        std::memcpy(out, row + size_t(x) * 4, size_t(n) * 4);
        return;
    case 24: {
        const uint8_t* p = row + size_t(x) * 3;
        for (int i = 0; i < n; ++i, p += 3)
            out[i] = p[0] | (p[1] << 8) | (uint32_t(p[2]) << 16);
        return;
    }
    case 16: {
        MaskField r(format.redMask), g(format.greenMask), b(format.blueMask);
        const uint8_t* p = row + size_t(x) * 2;
        for (int i = 0; i < n; ++i, p += 2) {
            uint32_t v = p[0] | (p[1] << 8);
            out[i] = (r.Expand(v) << 16) | (g.Expand(v) << 8) | b.Expand(v);
        }
        return;
    }
    case 8:
        // A full palette needs no check of the index (the usual case: DIBs
        // of 8 bits are made with 256 entries).
        if (format.palette.size() >= 256) {
            const uint32_t* palette = format.palette.data();
            for (int i = 0; i < n; ++i)
                out[i] = palette[row[x + i]];
            return;
        }
        for (int i = 0; i < n; ++i)
            out[i] = PaletteAt(format.palette, row[x + i]);
        return;
    case 4:
        for (int i = 0; i < n; ++i) {
            int px = x + i;
            uint8_t byte = row[px >> 1];
            out[i] = PaletteAt(format.palette, (px & 1) ? (byte & 0x0F) : (byte >> 4));
        }
        return;
    case 1:
        for (int i = 0; i < n; ++i) {
            int px = x + i;
            out[i] = PaletteAt(format.palette, (row[px >> 3] >> (7 - (px & 7))) & 1);
        }
        return;
    }
}

void PackRow(const PixelFormat& format, const uint32_t* in, int n, uint8_t* row, int x) {
    switch (format.bitsPerPixel) {
    case 32:
        std::memcpy(row + size_t(x) * 4, in, size_t(n) * 4);
        return;
    case 24: {
        uint8_t* p = row + size_t(x) * 3;
        for (int i = 0; i < n; ++i, p += 3) {
            p[0] = uint8_t(in[i]);
            p[1] = uint8_t(in[i] >> 8);
            p[2] = uint8_t(in[i] >> 16);
        }
        return;
    }
    case 16: {
        MaskField r(format.redMask), g(format.greenMask), b(format.blueMask);
        uint8_t* p = row + size_t(x) * 2;
        for (int i = 0; i < n; ++i, p += 2) {
            uint32_t v = r.Reduce((in[i] >> 16) & 0xFF) | g.Reduce((in[i] >> 8) & 0xFF) |
                         b.Reduce(in[i] & 0xFF);
            p[0] = uint8_t(v);
            p[1] = uint8_t(v >> 8);
        }
        return;
    }
    default:
        break;
    }
    // Paletted: remember the last match, runs of one colour are the rule.
    uint32_t lastPixel = 0;
    int lastIndex = -1;
    for (int i = 0; i < n; ++i) {
        uint32_t pixel = in[i] & kRgbMask;
        if (lastIndex < 0 || pixel != lastPixel) {
            lastPixel = pixel;
            lastIndex = format.monochromeDevice ? int(IsLightPixel(pixel))
                                                : NearestPaletteIndex(format.palette, pixel);
        }
        int px = x + i;
        switch (format.bitsPerPixel) {
        case 8:
            row[px] = uint8_t(lastIndex);
            break;
        case 4: {
            uint8_t& byte = row[px >> 1];
            byte = (px & 1) ? uint8_t((byte & 0xF0) | lastIndex)
                            : uint8_t((byte & 0x0F) | (lastIndex << 4));
            break;
        }
        case 1: {
            uint8_t bit = uint8_t(0x80 >> (px & 7));
            if (lastIndex)
                row[px >> 3] |= bit;
            else
                row[px >> 3] &= uint8_t(~bit);
            break;
        }
        }
    }
}

int NearestPaletteIndex(const std::vector<uint32_t>& palette, uint32_t pixel) {
    int best = 0;
    int bestDistance = INT_MAX;
    int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    for (size_t i = 0; i < palette.size(); ++i) {
        int dr = r - int((palette[i] >> 16) & 0xFF);
        int dg = g - int((palette[i] >> 8) & 0xFF);
        int db = b - int(palette[i] & 0xFF);
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = int(i);
            if (distance == 0)
                break;
        }
    }
    return best;
}

std::vector<uint32_t> DefaultPalette(int bitsPerPixel) {
    // The sixteen standard colours, then a 6x6x6 cube and a grey ramp.
    static const uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                      0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                      0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    if (bitsPerPixel == 1)
        return {0, kWhitePixel};
    std::vector<uint32_t> palette(kVga, kVga + 16);
    if (bitsPerPixel == 4)
        return palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(uint32_t(r * 51) << 16 | uint32_t(g * 51) << 8 |
                                  uint32_t(b * 51));
    for (int i = 0; palette.size() < 256; ++i) {
        uint32_t v = uint32_t(8 + i * 10);
        palette.push_back(v << 16 | v << 8 | v);
    }
    return palette;
}

} // namespace platform
