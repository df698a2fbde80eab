#pragma once

// Reading a BITMAPINFO: the size, orientation and pixel format of a DIB, with
// every field checked before any pixel is touched.

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"

#include <optional>
#include <vector>

namespace platform {

struct DibLayout {
    int width = 0;
    int height = 0; // rows, always positive
    bool bottomUp = true;
    int stride = 0; // bytes per row
    PixelFormat format;
    // Run-length bits (BI_RLE8, BI_RLE4) of biSizeImage bytes, which
    // ExpandRleBits turns into the rows the rest of the DIB path reads.
    bool runLength = false;
    bool fourBitRuns = false;
    size_t runLengthSize = 0;
};

// Refuses DIB_PAL_COLORS, depths other than 1, 4, 8, 16, 24 and 32, and
// compression other than bit fields and run lengths (8 bits for RLE8, 4 for
// RLE4, rows bottom-up and biSizeImage giving the data's length). With
// readPalette false the colour table is left empty.
std::optional<DibLayout> ParseDib(const BITMAPINFO* info, UINT usage, bool readPalette = true);
// For run-length bits: expands them into storage as 8-bit rows, bottom-up,
// and makes the layout and the bits pointer describe those (from scan
// `first` on, as a caller of the scans from there hands them). A layout of
// plain rows is left alone. False when the data is broken.
bool ExpandRleBits(DibLayout& dib, const void*& bits, UINT first, std::vector<uint8_t>& storage);
// The colour entries a header of that depth declares (0 above 8 bits).
int DibColorCount(const BITMAPINFOHEADER& header);

} // namespace platform
