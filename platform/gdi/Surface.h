#pragma once

// The pixels behind a bitmap: a rectangle of rows in one of the formats a DIB
// may have. Drawing works on 32-bit XRGB pixels (0x00RRGGBB, bytes B, G, R, X
// in memory); rows of other formats are unpacked into that form and packed back.
// Monochrome device bitmaps are 1 bit per pixel, 1 = white.

#include "platform/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// COLORREF 0x00BBGGRR <-> pixel 0x00RRGGBB.
inline uint32_t PixelFromColor(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF ColorFromPixel(uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
constexpr uint32_t kWhitePixel = 0x00FFFFFF;
constexpr uint32_t kRgbMask = 0x00FFFFFF;
// Black or white for a colour drawn on a monochrome bitmap: the nearer one.
inline bool IsLightPixel(uint32_t p) {
    return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) >= 384;
}

struct PixelFormat {
    int bitsPerPixel = 32;                             // 1, 4, 8, 16, 24 or 32
    std::vector<uint32_t> palette;                     // pixels, for 1, 4 and 8 bits
    uint32_t redMask = 0, greenMask = 0, blueMask = 0; // 16 bits
    bool monochromeDevice = false; // a monochrome bitmap (blits convert by DC colours)

    static PixelFormat Xrgb32() { return PixelFormat{}; }
    static PixelFormat Monochrome();
    static PixelFormat Bitfields(uint32_t red, uint32_t green, uint32_t blue); // 16 bits
    static PixelFormat Rgb565();
    static PixelFormat Rgb555();
};

// Row length in bytes, padded to 32 bits as DIBs are.
inline int DibStride(int width, int bitsPerPixel) {
    return int(((int64_t(width) * bitsPerPixel + 31) / 32) * 4);
}

class Surface {
public:
    // Owned, zeroed pixels; rows padded to 32 bits.
    Surface(int width, int height, PixelFormat format, bool bottomUp = false);
    // A view of rows someone else owns (a DIB handed to StretchDIBits).
    Surface(int width, int height, PixelFormat format, uint8_t* bits, int stride, bool bottomUp);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const PixelFormat& Format() const { return m_format; }
    PixelFormat& Format() { return m_format; }
    int Bpp() const { return m_format.bitsPerPixel; }
    bool IsXrgb32() const { return m_format.bitsPerPixel == 32; }
    bool IsMonochrome() const { return m_format.monochromeDevice; }
    // Bytes from one row to the next one down (negative for bottom-up memory).
    int Stride() const { return m_stride; }
    int RowBytes() const { return m_stride < 0 ? -m_stride : m_stride; }
    bool BottomUp() const { return m_stride < 0; }
    // The lowest address of the pixel memory.
    uint8_t* Bits() const { return m_bottomUpBase; }

    uint8_t* RowBytesAt(int y) const { return m_top + ptrdiff_t(y) * m_stride; }
    uint32_t* Row32(int y) const { return reinterpret_cast<uint32_t*>(RowBytesAt(y)); }

    // n pixels from (x, y) as XRGB; the caller keeps x..x+n inside the row.
    void ReadRow(int x, int y, int n, uint32_t* out) const;
    void WriteRow(int x, int y, int n, const uint32_t* in);
    uint32_t GetPixel(int x, int y) const;
    void SetPixel(int x, int y, uint32_t pixel);

private:
    int m_width;
    int m_height;
    PixelFormat m_format;
    struct FreeBits {
        void operator()(uint8_t* p) const;
    };
    std::unique_ptr<uint8_t[], FreeBits> m_owned;
    uint8_t* m_bottomUpBase;
    uint8_t* m_top;
    int m_stride;
};

// Converts between a row of a format and XRGB pixels.
void UnpackRow(const PixelFormat& format, const uint8_t* row, int x, int n, uint32_t* out);
void PackRow(const PixelFormat& format, const uint32_t* in, int n, uint8_t* row, int x);
// The palette entry nearest to a pixel.
int NearestPaletteIndex(const std::vector<uint32_t>& palette, uint32_t pixel);
// The colour table GetDIBits writes for a depth of 1, 4 or 8 bits.
std::vector<uint32_t> DefaultPalette(int bitsPerPixel);
// The twenty colours of the stock DEFAULT_PALETTE, in its order: eight dark,
// four pale system colours, eight bright.
std::vector<uint32_t> StockPaletteColors();

} // namespace platform
