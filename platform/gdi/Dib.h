#pragma once

// Reading a BITMAPINFO: the size, orientation and pixel format of a DIB, with
// every field checked before any pixel is touched.

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"

#include <optional>

namespace platform {

struct DibLayout {
    int width = 0;
    int height = 0; // rows, always positive
    bool bottomUp = true;
    int stride = 0; // bytes per row
    PixelFormat format;
};

// Refuses DIB_PAL_COLORS, compressed DIBs and depths other than 1, 4, 8, 16,
// 24 and 32. With readPalette false the colour table is left empty.
std::optional<DibLayout> ParseDib(const BITMAPINFO* info, UINT usage, bool readPalette = true);
// The colour entries a header of that depth declares (0 above 8 bits).
int DibColorCount(const BITMAPINFOHEADER& header);

} // namespace platform
