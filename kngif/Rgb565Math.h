#pragma once

// RGB565 pixel arithmetic of the memory image: the conversions, the
// constant-alpha blend of a pair of pixels held in one 32-bit word (each field
// of both pixels in its own 16-bit lane) and of a lone pixel, the per-pixel
// weighted blend, the saturating sums and the grey.

#include "platform/Types.h"

#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rgb565 {

// Red 15..11, green 10..5, blue 4..0.
struct Field {
    unsigned shift;
    unsigned mask;
};
constexpr Field kRed{11, 0x1F};
constexpr Field kGreen{5, 0x3F};
constexpr Field kBlue{0, 0x1F};
constexpr Field kFields[3] = {kRed, kGreen, kBlue};

inline WORD FromRgb(COLORREF c) {
    return (WORD)(((GetRValue(c) >> 3) << 11) | ((GetGValue(c) >> 2) << 5) | (GetBValue(c) >> 3));
}

inline COLORREF ToRgb(WORD w) {
    const unsigned r = (w >> 11) & 0x1F;
    const unsigned g = (w >> 5) & 0x3F;
    const unsigned b = w & 0x1F;
    return RGB((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
}

// Two pixels, the first in the low half: per field
// d + floor(a * (s - d + 64) / 256) - floor(a / 4). The 64 keeps every lane
// positive so no lane borrows from its neighbour.
inline uint32_t BlendPair(uint32_t s, uint32_t d, unsigned a) {
    const uint32_t quarter = (a >> 2) | ((a >> 2) << 16);
    uint32_t out = 0;
    for (const Field& f : kFields) {
        const uint32_t laneMask = f.mask | (f.mask << 16);
        const uint32_t ls = (s >> f.shift) & laneMask;
        const uint32_t ld = (d >> f.shift) & laneMask;
        const uint32_t step = (((ls + 0x00400040u - ld) * a) >> 8) & 0x00FF00FFu;
        out |= ((ld + step - quarter) & laneMask) << f.shift;
    }
    return out;
}

#ifdef __SSE2__
// Eight pixels in 16-bit lanes, each lane as one lane of BlendPair (the
// lanes never carry into each other there either), so results are the same.
inline __m128i BlendEight(__m128i s, __m128i d, unsigned a) {
    const __m128i alpha = _mm_set1_epi16((short)a);
    const __m128i quarter = _mm_set1_epi16((short)(a >> 2));
    const __m128i bias = _mm_set1_epi16(64);
    const __m128i five = _mm_set1_epi16(0x1F);
    const __m128i six = _mm_set1_epi16(0x3F);
    const auto field = [&](__m128i ls, __m128i ld, __m128i mask) {
        const __m128i step =
            _mm_srli_epi16(_mm_mullo_epi16(_mm_sub_epi16(_mm_add_epi16(ls, bias), ld), alpha), 8);
        (void)mask; // results never leave their field, so no mask is needed
        return _mm_sub_epi16(_mm_add_epi16(ld, step), quarter);
    };
    const __m128i r = field(_mm_srli_epi16(s, 11), _mm_srli_epi16(d, 11), five);
    const __m128i g = field(_mm_and_si128(_mm_srli_epi16(s, 5), six),
                            _mm_and_si128(_mm_srli_epi16(d, 5), six), six);
    const __m128i b = field(_mm_and_si128(s, five), _mm_and_si128(d, five), five);
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(r, 11), _mm_slli_epi16(g, 5)), b);
}
#endif

// One pixel: per field d + floor(a * (s - d) / 256).
inline WORD BlendLone(WORD s, WORD d, unsigned a) {
    unsigned out = 0;
    for (const Field& f : kFields) {
        const int fs = (s >> f.shift) & f.mask;
        const int fd = (d >> f.shift) & f.mask;
        const int v = fd + ((int)a * (fs - fd) >> 8); // arithmetic shift: floor
        out |= ((unsigned)v & f.mask) << f.shift;
    }
    return (WORD)out;
}

// Weights from a weight pixel: 5-bit fields give m * 8 (+7 from 16 up), the
// 6-bit field m * 4 (+3 from 32 up), so the top value weighs 255.
inline WORD BlendWeighted(WORD s, WORD d, WORD m) {
    unsigned out = 0;
    for (const Field& f : kFields) {
        const unsigned fm = (m >> f.shift) & f.mask;
        const unsigned scale = f.mask == 0x1F ? 8 : 4;
        const int weight = (int)(fm * scale + (fm > f.mask / 2 ? scale - 1 : 0));
        const int fs = (s >> f.shift) & f.mask;
        const int fd = (d >> f.shift) & f.mask;
        out |= ((unsigned)(fd + (weight * (fs - fd) >> 8)) & f.mask) << f.shift;
    }
    return (WORD)out;
}

// Per field d + floor(s * a / 256), held at the field's maximum; a = 256
// adds s itself.
inline WORD AddSaturated(WORD s, WORD d, unsigned a) {
    unsigned out = 0;
    for (const Field& f : kFields) {
        const unsigned sum = ((d >> f.shift) & f.mask) + ((((s >> f.shift) & f.mask) * a) >> 8);
        out |= (sum > f.mask ? f.mask : sum) << f.shift;
    }
    return (WORD)out;
}

// t = G6 + 2 R5 + 2 B5, g = floor(t / 2) - floor(3t / 8), in red, the top
// five bits of green and blue.
inline WORD Grey(WORD p) {
    const unsigned t = ((p >> 5) & 0x3F) + 2 * ((p >> 11) & 0x1F) + 2 * (p & 0x1F);
    const unsigned g = t / 2 - 3 * t / 8;
    return (WORD)((g << 11) | (g << 6) | g);
}

} // namespace rgb565
