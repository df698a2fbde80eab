#include "platform/gdi/DibRle.h"

#include <algorithm>

namespace platform {

bool ExpandRle(const uint8_t* data, size_t size, bool fourBits, int width, int height,
               size_t stride, std::vector<uint8_t>& rows, const char** reason) {
    static const char* const kTruncated = "run-length data truncated";
    rows.assign(stride * size_t(height > 0 ? height : 0), 0);
    auto put = [&](int x, int y, uint8_t index) {
        if (x >= 0 && x < width && y >= 0 && y < height)
            rows[size_t(y) * stride + size_t(x)] = index;
    };
    // The nibble of a 4-bit pair that pixel i of a run or string takes.
    auto nibble = [](uint8_t byte, int i) { return uint8_t((i & 1) ? byte & 0x0F : byte >> 4); };
    // Past the right edge nothing more is drawn, so x stops there: a line
    // that never ends would otherwise count past what an int holds.
    int x = 0, y = 0;
    auto right = [&](int step) { x = x >= width ? width : x + std::min(step, width - x); };
    size_t p = 0;
    while (y < height) {
        if (data == nullptr || size - p < 2) {
            *reason = kTruncated;
            return false;
        }
        const uint8_t count = data[p], value = data[p + 1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count && x + i < width; ++i)
                put(x + i, y, fourBits ? nibble(value, i) : value);
            right(count);
        } else if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            return true;
        } else if (value == 2) { // move right and up
            if (size - p < 2) {
                *reason = kTruncated;
                return false;
            }
            right(data[p]);
            y += data[p + 1];
            p += 2;
        } else { // `value` literal indices, padded to a 16-bit boundary
            const size_t bytes = fourBits ? (size_t(value) + 1) / 2 : value;
            const size_t padded = (bytes + 1) & ~size_t(1);
            if (size - p < padded) {
                *reason = kTruncated;
                return false;
            }
            for (int i = 0; i < value && x + i < width; ++i) {
                const uint8_t byte = data[p + (fourBits ? size_t(i) / 2 : size_t(i))];
                put(x + i, y, fourBits ? nibble(byte, i) : byte);
            }
            right(value);
            p += padded;
        }
    }
    return true; // everything further is outside the picture
}

} // namespace platform
