#pragma once

// Alpha arithmetic on XRGB rows, two channels at a time in 16-bit lanes.

#include "platform/gdi/Simd.h"

#include <cstdint>

namespace platform {

// x / 255 rounded down, for each 16-bit lane holding at most 255 * 255.
inline uint32_t Div255Lanes(uint32_t x) {
    return ((x + 0x00010001u + ((x >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// d = (s*a + d*(255-a)) / 255 per channel, alpha byte included.
inline uint32_t BlendConstant(uint32_t s, uint32_t d, uint32_t a) {
    uint32_t ia = 255 - a;
    uint32_t rb = Div255Lanes((s & 0x00FF00FFu) * a + (d & 0x00FF00FFu) * ia);
    uint32_t ga = Div255Lanes(((s >> 8) & 0x00FF00FFu) * a + ((d >> 8) & 0x00FF00FFu) * ia);
    return rb | (ga << 8);
}

// Channels scaled by a/255.
inline uint32_t Scale(uint32_t s, uint32_t a) {
    return Div255Lanes((s & 0x00FF00FFu) * a) | (Div255Lanes(((s >> 8) & 0x00FF00FFu) * a) << 8);
}

// Adds 16-bit lanes of at most 510 and caps each at 255.
inline uint32_t SaturateLanes(uint32_t sum) {
    uint32_t over = sum & 0x01000100u;
    return (sum | (over - (over >> 8))) & 0x00FF00FFu;
}

// Premultiplied source over: d = s + d*(255 - alpha of s)/255, capped at 255.
inline uint32_t BlendPremultiplied(uint32_t s, uint32_t d) {
    uint32_t ia = 255 - (s >> 24);
    uint32_t rb = SaturateLanes(Div255Lanes((d & 0x00FF00FFu) * ia) + (s & 0x00FF00FFu));
    uint32_t ga =
        SaturateLanes(Div255Lanes(((d >> 8) & 0x00FF00FFu) * ia) + ((s >> 8) & 0x00FF00FFu));
    return rb | (ga << 8);
}

// Four pixels at a time: a pixel's bytes B, G, R, A sit in two 16-bit lanes,
// the even bytes (B, R) and the odd ones (G, A) are worked on separately.
// GCC's vector types become SIMD where the target has it and plain code elsewhere.
namespace simd {
inline Words Even(Words v) {
    return v & 0xFF;
}
inline Words Odd(Words v) {
    return v >> 8;
}
inline Words Join(Words even, Words odd) {
    return even | (odd << 8);
}
// x / 255 rounded down for x up to 255 * 255.
inline Words Div255(Words x) {
    return (x + 1 + (x >> 8)) >> 8;
}
// Caps lanes of at most 510 at 255.
inline Words Saturate(Words x) {
    return (x | -(x >> 8)) & 0xFF;
}
// 255 minus each pixel's alpha, in both of its lanes.
inline Words InverseAlpha(Words v) {
    Pixels a = 255 - ((Pixels)v >> 24);
    return (Words)(a | (a << 16));
}
} // namespace simd

} // namespace platform
