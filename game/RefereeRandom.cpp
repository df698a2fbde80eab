#include "game/RefereeRandom.h"

int CRefereeRandom::Below(int n) {
    if (n <= 1)
        return 0;
    // Rejection keeps every value equally likely: draws past the last whole
    // multiple of n are drawn again.
    const uint32_t range = static_cast<uint32_t>(n);
    const uint32_t limit = UINT32_MAX - UINT32_MAX % range;
    uint32_t value;
    do {
        value = Next32();
    } while (value >= limit);
    return static_cast<int>(value % range);
}
