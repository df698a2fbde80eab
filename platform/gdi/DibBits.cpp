// Pixels between bitmaps or DCs and device-independent buffers.

#include "platform/gdi/Dib.h"
#include "platform/gdi/Raster.h"

#include <cstring>

using namespace platform;

namespace {

// The colour table GetDIBits hands out for a depth: the bitmap's own when it
// has one of that depth, else the default one.
std::vector<uint32_t> TableFor(const Surface& s, int bpp) {
    if (s.Bpp() == bpp && !s.Format().palette.empty())
        return s.Format().palette;
    return DefaultPalette(bpp);
}

void WriteTable(BITMAPINFO* info, const std::vector<uint32_t>& table) {
    RGBQUAD* colors =
        reinterpret_cast<RGBQUAD*>(reinterpret_cast<uint8_t*>(info) + info->bmiHeader.biSize);
    for (size_t i = 0; i < table.size(); ++i)
        colors[i] = RGBQUAD{BYTE(table[i]), BYTE(table[i] >> 8), BYTE(table[i] >> 16), 0};
}

// Fills the header and colour table for the depth the caller asked for (or the
// bitmap's own when it asked for none).
void DescribeFor(const Surface& s, BITMAPINFO* info) {
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount == 0) {
        h.biWidth = s.Width();
        h.biHeight = s.Height();
        h.biPlanes = 1;
        h.biBitCount = WORD(s.Bpp());
        h.biCompression = s.Bpp() == 16 ? BI_BITFIELDS : BI_RGB;
        h.biSizeImage = DWORD(DibStride(s.Width(), s.Bpp()) * s.Height());
        return;
    }
    int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    h.biSizeImage = DWORD(DibStride(h.biWidth, h.biBitCount) * height);
    if (h.biBitCount <= 8) {
        h.biClrUsed = 0;
        WriteTable(info, TableFor(s, h.biBitCount));
    }
}

// The row of the bitmap that a scan line of the DIB holds.
int RowOfScan(const Surface& s, const DibLayout& dib, int scan) {
    return dib.bottomUp ? s.Height() - 1 - scan : scan;
}

} // namespace

int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
              UINT usage) {
    BitmapObject* object = LookupBitmap(bitmap);
    if (!LookupDC(hdc) || !object || !info || usage != DIB_RGB_COLORS)
        return 0;
    const Surface& s = *object->surface;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    if (h.biBitCount == 16 && h.biCompression == BI_BITFIELDS) {
        DWORD* masks = reinterpret_cast<DWORD*>(reinterpret_cast<uint8_t*>(info) + h.biSize);
        if (!masks[0] && !masks[1] && !masks[2]) {
            masks[0] = 0xF800;
            masks[1] = 0x07E0;
            masks[2] = 0x001F;
        }
    }
    DescribeFor(s, info);
    if (!bits)
        return s.Height();
    std::optional<DibLayout> dib = ParseDib(info, usage);
    if (!dib || dib->runLength) // bits are handed out uncompressed only
        return 0;
    int first = int(std::min<UINT>(start, UINT(s.Height())));
    int end = int(std::min<uint64_t>(uint64_t(start) + lines, uint64_t(s.Height())));
    int n = std::min(dib->width, s.Width());
    uint32_t* row = ScratchRow(0, size_t(n));
    for (int scan = first; scan < end; ++scan) {
        uint8_t* out = static_cast<uint8_t*>(bits) + size_t(scan - first) * size_t(dib->stride);
        s.ReadRow(0, RowOfScan(s, *dib, scan), n, row);
        PackRow(dib->format, row, n, out, 0);
    }
    return end - first;
}

int SetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
    BitmapObject* object = LookupBitmap(bitmap);
    std::optional<DibLayout> dib = ParseDib(info, usage);
    std::vector<uint8_t> expanded;
    if (!object || !dib || !bits || !ExpandRleBits(*dib, bits, start, expanded))
        return 0;
    Surface& s = *object->surface;
    int first = int(std::min<UINT>(start, UINT(s.Height())));
    int end = int(std::min<uint64_t>(uint64_t(start) + lines, uint64_t(s.Height())));
    int n = std::min(dib->width, s.Width());
    uint32_t* row = ScratchRow(0, size_t(n));
    for (int scan = first; scan < end; ++scan) {
        const uint8_t* in =
            static_cast<const uint8_t*>(bits) + size_t(scan - first) * size_t(dib->stride);
        UnpackRow(dib->format, in, 0, n, row);
        s.WriteRow(0, RowOfScan(s, *dib, scan), n, row);
    }
    return end - first;
}

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info,
                      UINT usage) {
    DeviceContext* dc = LookupDC(hdc);
    std::optional<DibLayout> dib = ParseDib(info, usage);
    std::vector<uint8_t> expanded;
    if (!dc || !dib || !bits || width > INT32_MAX || height > INT32_MAX ||
        startScan >= UINT(dib->height) || !ExpandRleBits(*dib, bits, startScan, expanded))
        return 0;
    // The buffer holds only scans [startScan, startScan + lines).
    int rows = int(std::min<uint64_t>(lines, uint64_t(dib->height - int(startScan))));
    Surface view(dib->width, rows, dib->format, static_cast<uint8_t*>(const_cast<void*>(bits)),
                 dib->stride, dib->bottomUp);
    int w = int(width), h = int(height), first = int(startScan);
    // The view's row of the source rectangle's top. ySrc counts up from the
    // picture's bottom row in both orientations (for a top-down DIB too, as
    // callers that draw part of one compute it).
    int top = dib->bottomUp ? first + rows - ySrc - h : dib->height - ySrc - h - first;
    StretchFromSurface(*dc, xDest, yDest, w, h, view, dc->state.bkColor, xSrc, top, w, h, SRCCOPY);
    return rows;
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop) {
    DeviceContext* dc = LookupDC(hdc);
    std::optional<DibLayout> dib = ParseDib(info, usage);
    std::vector<uint8_t> expanded;
    if (!dc || !dib || !bits || !ExpandRleBits(*dib, bits, 0, expanded))
        return 0;
    Surface view(dib->width, dib->height, dib->format,
                 static_cast<uint8_t*>(const_cast<void*>(bits)), dib->stride, dib->bottomUp);
    // ySrc counts up from the bottom row, whichever way the rows are stored.
    int top = dib->height - ySrc - srcHeight;
    if (!StretchFromSurface(*dc, xDest, yDest, destWidth, destHeight, view, dc->state.bkColor, xSrc,
                            top, srcWidth, srcHeight, rop))
        return 0;
    return dib->height;
}
