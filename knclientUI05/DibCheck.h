#pragma once

// The library's reader of packed DIBs and .bmp files from outside (theme
// files, resources, files handed in), with any header from the 12-byte core
// header of OS/2 bitmaps to the fifth version: every field is checked against
// the bytes given before a pixel is read, and the result is a plain BITMAPINFO
// (40-byte header, then masks or colour table) with a pointer to rows that
// are known to lie inside the data. A DIB that is refused leaves its reason
// in the debug trace.

#include "platform/gdi/Gdi.h"

#include <cstddef>
#include <vector>

struct CheckedDib {
    // BITMAPINFOHEADER (biSize 40), then 3 masks for BI_BITFIELDS or the
    // colour entries the source holds.
    std::vector<BYTE> info;
    const BYTE* bits = nullptr;
    size_t bitsSize = 0; // row length x rows, all inside the source
    int colorCount = 0;  // colour entries the source holds before its bits
    // The bits are run lengths (BI_RLE8, BI_RLE4) of bitsSize bytes, which the
    // platform expands as it takes the DIB.
    bool runLength = false;

    const BITMAPINFOHEADER& Header() const {
        return *reinterpret_cast<const BITMAPINFOHEADER*>(info.data());
    }
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
};

// Row length in bytes of a DIB: rows are padded to 32 bits.
size_t DibRowLength(int width, int bitCount);

// The colour entries a header declares: biClrUsed, or 2^bits up to 8 bits.
// -1 for a header no DIB can have (planes other than 1, more entries than the
// depth holds, more than 256).
int DibColorEntries(const BITMAPINFOHEADER& header);

// A packed DIB: header, masks, colour table and rows in that order.
bool CheckPackedDib(const void* data, size_t size, CheckedDib& result);

// A whole .bmp file: "BM", the 14-byte file header (its bits offset is
// honoured when it is set), then a packed DIB.
bool CheckBmpFile(const void* data, size_t size, CheckedDib& result);
