#pragma once

// Run-length DIB data (BI_RLE8, BI_RLE4) as Windows writes it: rows from the
// bottom up, each a string of runs (a count and the index, or for 4 bits the
// two indices that alternate) and escapes: end of line, end of picture, a
// move right and up, and literal indices padded to 16 bits. It is expanded
// to one palette index a pixel so that the uncompressed path can take it.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// rows: height rows of stride bytes, the bottom row first, one index a pixel;
// pixels the data does not reach stay 0, and runs past the right edge are
// cut there. Nothing outside the size bytes is read; false, with the reason,
// when the data ends before its end-of-picture mark (a mark below the top
// row, or data that runs past the top, ends it too).
bool ExpandRle(const uint8_t* data, size_t size, bool fourBits, int width, int height,
               size_t stride, std::vector<uint8_t>& rows, const char** reason);

} // namespace platform
