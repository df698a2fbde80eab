#pragma once

// Pictures for the bitmap and drawing tests: bitmaps made from a pixel
// function, their pixels read back, and packed DIBs and .bmp files written
// byte by byte at every depth (independently of the library's reader).

#include "tests/support/GdiCanvas.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/WindowDc.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace ui_test {

using PixelFunction = std::function<uint32_t(int x, int y)>;

// A 32-bit bitmap; pixels are 0x00RRGGBB.
inline HBITMAP MakeBitmap(int width, int height, const PixelFunction& pixel) {
    std::vector<uint32_t> bits(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bits[size_t(y) * size_t(width) + size_t(x)] = pixel(x, y) & 0xFFFFFF;
    return CreateBitmap(width, height, 1, 32, bits.data());
}

inline uint32_t PixelOf(HBITMAP bitmap, int x, int y) {
    return platform::SurfaceOfBitmap(bitmap)->GetPixel(x, y) & 0xFFFFFF;
}

inline uint32_t Rgb(COLORREF c) {
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

// A little-endian byte writer.
class Bytes {
public:
    Bytes& U8(uint32_t v) {
        data.push_back(char(v & 0xFF));
        return *this;
    }
    Bytes& U16(uint32_t v) { return U8(v).U8(v >> 8); }
    Bytes& U32(uint32_t v) { return U16(v).U16(v >> 16); }
    Bytes& Zeros(size_t n) {
        data.append(n, '\0');
        return *this;
    }
    std::string data;
};

struct DibLayout {
    int width = 0;
    int height = 0; // negative: rows top-down
    int bits = 24;
    std::vector<uint32_t> palette; // 0x00RRGGBB entries (written as B, G, R, 0)
    std::vector<uint32_t> masks;   // BI_BITFIELDS when not empty
    std::vector<uint32_t> values;  // per pixel, top-down: an index, or the raw word
    uint32_t headerSize = 40;
};

// Rows are written in the DIB's order, each padded to 32 bits.
inline std::string PackedDib(const DibLayout& s) {
    Bytes b;
    int rows = s.height < 0 ? -s.height : s.height;
    size_t rowBytes = ((size_t(s.width) * size_t(s.bits) + 31) / 32) * 4;
    b.U32(s.headerSize).U32(uint32_t(s.width)).U32(uint32_t(s.height)).U16(1).U16(uint32_t(s.bits));
    b.U32(s.masks.empty() ? BI_RGB : BI_BITFIELDS).U32(uint32_t(rowBytes * size_t(rows)));
    b.U32(0).U32(0).U32(uint32_t(s.palette.size())).U32(0);
    if (s.headerSize > 40) {
        for (uint32_t m : s.masks)
            b.U32(m);
        b.Zeros(s.headerSize - 40 - 4 * s.masks.size());
    } else {
        for (uint32_t m : s.masks)
            b.U32(m);
    }
    for (uint32_t c : s.palette)
        b.U8(c).U8(c >> 8).U8(c >> 16).U8(0);
    for (int r = 0; r < rows; ++r) {
        int y = s.height < 0 ? r : rows - 1 - r;
        std::string row(rowBytes, '\0');
        for (int x = 0; x < s.width; ++x) {
            uint32_t v = s.values[size_t(y) * size_t(s.width) + size_t(x)];
            size_t bit = size_t(x) * size_t(s.bits);
            if (s.bits < 8) {
                row[bit / 8] = char(uint8_t(row[bit / 8]) | (v << (8 - s.bits - bit % 8)));
            } else {
                for (int k = 0; k < s.bits / 8; ++k)
                    row[bit / 8 + size_t(k)] = char((v >> (8 * k)) & 0xFF);
            }
        }
        b.data += row;
    }
    return b.data;
}

// A .bmp file around a packed DIB; gap bytes between the table and the bits
// are put in when the bits offset asks for them.
inline std::string BmpFile(const std::string& dib, uint32_t tableEnd, uint32_t gap = 0) {
    Bytes b;
    b.U8('B').U8('M').U32(uint32_t(14 + dib.size() + gap)).U16(0).U16(0).U32(14 + tableEnd + gap);
    return b.data + dib.substr(0, tableEnd) + std::string(gap, '\x5A') + dib.substr(tableEnd);
}

} // namespace ui_test
