#pragma once

// Four pixels at a time through GCC's vector types: SIMD where the target has
// it, plain code elsewhere. Loads and stores may be unaligned.

#include <cstdint>

namespace platform::simd {

typedef uint32_t Pixels __attribute__((vector_size(16)));
typedef uint16_t Words __attribute__((vector_size(16)));
constexpr int kLanes = 4; // pixels in a vector

template <class V = Pixels> inline V Load(const uint32_t* p) {
    V v;
    __builtin_memcpy(&v, p, 16);
    return v;
}
template <class V> inline void Store(uint32_t* p, V v) {
    __builtin_memcpy(p, &v, 16);
}

// Whether every bit of v is set, or clear.
inline bool AllSet(Pixels v) {
    uint64_t half[2];
    __builtin_memcpy(half, &v, 16);
    return (half[0] & half[1]) == ~uint64_t(0);
}
inline bool AllClear(Pixels v) {
    uint64_t half[2];
    __builtin_memcpy(half, &v, 16);
    return (half[0] | half[1]) == 0;
}

} // namespace platform::simd
