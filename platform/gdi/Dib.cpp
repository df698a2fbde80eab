#include "platform/gdi/Dib.h"

#include "platform/gdi/DibRle.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

namespace {
constexpr int kMaxSide = 1 << 15;
constexpr int64_t kMaxPixels = int64_t(1) << 28;
} // namespace

int DibColorCount(const BITMAPINFOHEADER& h) {
    if (h.biBitCount > 8)
        return 0;
    int full = 1 << h.biBitCount;
    return h.biClrUsed && int(h.biClrUsed) < full ? int(h.biClrUsed) : full;
}

std::optional<DibLayout> ParseDib(const BITMAPINFO* info, UINT usage, bool readPalette) {
    if (!info || usage != DIB_RGB_COLORS)
        return std::nullopt;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 ||
        h.biWidth > kMaxSide || std::abs(h.biHeight) > kMaxSide ||
        int64_t(h.biWidth) * std::abs(h.biHeight) > kMaxPixels)
        return std::nullopt;
    DibLayout dib;
    dib.width = h.biWidth;
    dib.height = std::abs(h.biHeight);
    dib.bottomUp = h.biHeight > 0;
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return std::nullopt;
    dib.format.bitsPerPixel = bpp;
    dib.stride = DibStride(dib.width, bpp);
    // The colour table (or the masks) follow the header, at biSize.
    const uint8_t* table = reinterpret_cast<const uint8_t*>(info) + h.biSize;
    if (h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32)) {
        const DWORD* masks = reinterpret_cast<const DWORD*>(table);
        if (bpp == 32 && (masks[0] != 0xFF0000 || masks[1] != 0xFF00 || masks[2] != 0xFF))
            return std::nullopt; // only the XRGB layout
        if (bpp == 16)
            dib.format = PixelFormat::Bitfields(masks[0], masks[1], masks[2]);
    } else if (h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4) {
        // Run lengths describe whole rows from the bottom up, in as many bytes
        // as the header says; without that count they cannot be read safely.
        if (bpp != (h.biCompression == BI_RLE8 ? 8 : 4) || !dib.bottomUp || h.biSizeImage == 0)
            return std::nullopt;
        dib.runLength = true;
        dib.fourBitRuns = h.biCompression == BI_RLE4;
        dib.runLengthSize = h.biSizeImage;
    } else if (h.biCompression != BI_RGB) {
        return std::nullopt;
    } else if (bpp == 16) {
        dib.format = PixelFormat::Rgb555();
    }
    if (bpp <= 8 && readPalette) {
        const RGBQUAD* colors = reinterpret_cast<const RGBQUAD*>(table);
        for (int i = 0; i < DibColorCount(h); ++i)
            dib.format.palette.push_back(uint32_t(colors[i].rgbRed) << 16 |
                                         uint32_t(colors[i].rgbGreen) << 8 | colors[i].rgbBlue);
    }
    return dib;
}

bool ExpandRleBits(DibLayout& dib, const void*& bits, UINT first, std::vector<uint8_t>& storage) {
    if (!dib.runLength)
        return true;
    const size_t stride = size_t(DibStride(dib.width, 8));
    const char* reason = nullptr;
    if (!ExpandRle(static_cast<const uint8_t*>(bits), dib.runLengthSize, dib.fourBitRuns, dib.width,
                   dib.height, stride, storage, &reason))
        return false;
    dib.runLength = false;
    dib.format.bitsPerPixel = 8;
    dib.stride = int(stride);
    bits = storage.data() + std::min<size_t>(first, size_t(dib.height)) * stride;
    return true;
}

} // namespace platform
