// The row kernels four pixels at a time with SSE2, which every x86-64
// processor has: the choice where AVX2 is missing. Rows end with the
// per-pixel reference code.

#include "platform/gdi/BlendRows.h"

#if defined(__x86_64__)

#include <emmintrin.h>

namespace platform {
namespace {

constexpr int kLanes = 4;

inline __m128i Load(const uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store(uint32_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// x / 255 rounded down in each 16-bit lane, exact for x up to 255 * 255:
// (x * 0x8081) >> 23.
inline __m128i Div255(__m128i x) {
    return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(short(0x8081))), 7);
}

// The low and high two pixels as 16-bit lanes; Pack joins them again.
inline __m128i Low(__m128i v) {
    return _mm_unpacklo_epi8(v, _mm_setzero_si128());
}
inline __m128i High(__m128i v) {
    return _mm_unpackhi_epi8(v, _mm_setzero_si128());
}
inline __m128i Pack(__m128i low, __m128i high) {
    return _mm_packus_epi16(low, high);
}

// Each of two unpacked pixels' alpha lane in all four of its lanes.
inline __m128i SpreadAlpha(__m128i words) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(words, 0xFF), 0xFF);
}

// Every byte of v times factor / 255, rounded down.
inline __m128i ScaleBytes(__m128i v, __m128i factor) {
    return Pack(Div255(_mm_mullo_epi16(Low(v), factor)), Div255(_mm_mullo_epi16(High(v), factor)));
}

inline bool AllBytesEqual(__m128i a, __m128i b) {
    return _mm_movemask_epi8(_mm_cmpeq_epi8(a, b)) == 0xFFFF;
}

void ConstantAlphaSse2(uint32_t* d, const uint32_t* s, int n, uint32_t a) {
    const __m128i va = _mm_set1_epi16(short(a)), ia = _mm_set1_epi16(short(255 - a));
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        __m128i sv = Load(s + i), dv = Load(d + i);
        __m128i low = _mm_add_epi16(_mm_mullo_epi16(Low(sv), va), _mm_mullo_epi16(Low(dv), ia));
        __m128i high = _mm_add_epi16(_mm_mullo_epi16(High(sv), va), _mm_mullo_epi16(High(dv), ia));
        Store(d + i, Pack(Div255(low), Div255(high)));
    }
    ScalarBlendRows().constantAlpha(d + i, s + i, n - i, a);
}

// Premultiplied s over d, four pixels.
inline __m128i Over(__m128i sv, __m128i dv) {
    __m128i inverse = _mm_xor_si128(sv, _mm_set1_epi32(-1));
    return _mm_adds_epu8(sv, Pack(Div255(_mm_mullo_epi16(Low(dv), SpreadAlpha(Low(inverse)))),
                                  Div255(_mm_mullo_epi16(High(dv), SpreadAlpha(High(inverse))))));
}

// Eight pixels a step, as the AVX2 build takes them: sprite edges then fall
// into fewer steps, and the shortcuts are taken or missed in longer runs,
// which the branch predictor follows far better than four-pixel steps.
void PremultipliedSse2(uint32_t* d, const uint32_t* s, int n, uint32_t constant) {
    const __m128i vc = _mm_set1_epi16(short(constant));
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF), ones = _mm_set1_epi32(-1);
    int i = 0;
    for (; i + 2 * kLanes <= n; i += 2 * kLanes) {
        __m128i s0 = Load(s + i), s1 = Load(s + i + kLanes);
        if (constant != 255) {
            s0 = ScaleBytes(s0, vc);
            s1 = ScaleBytes(s1, vc);
        }
        // Sprites are mostly clear or opaque: a clear source (all bytes 0)
        // leaves d as it is, an opaque one replaces it.
        if (AllBytesEqual(_mm_or_si128(s0, s1), _mm_setzero_si128()))
            continue;
        if (AllBytesEqual(_mm_or_si128(_mm_and_si128(s0, s1), rgb), ones)) {
            Store(d + i, s0);
            Store(d + i + kLanes, s1);
            continue;
        }
        Store(d + i, Over(s0, Load(d + i)));
        Store(d + i + kLanes, Over(s1, Load(d + i + kLanes)));
    }
    ScalarBlendRows().premultiplied(d + i, s + i, n - i, constant);
}

void ColourKeySse2(uint32_t* d, const uint32_t* s, int n, uint32_t key) {
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF), vkey = _mm_set1_epi32(int(key & 0xFFFFFF));
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        __m128i sv = Load(s + i);
        __m128i isKey = _mm_cmpeq_epi32(_mm_and_si128(sv, rgb), vkey);
        int keyed = _mm_movemask_ps(_mm_castsi128_ps(isKey));
        if (keyed == 0)
            Store(d + i, sv); // no key: the destination need not be read
        else if (keyed != 0xF)
            Store(d + i,
                  _mm_or_si128(_mm_and_si128(isKey, Load(d + i)), _mm_andnot_si128(isKey, sv)));
    }
    ScalarBlendRows().colourKey(d + i, s + i, n - i, key);
}

const BlendRowKernels kSse2{"sse2", ConstantAlphaSse2, PremultipliedSse2, ColourKeySse2};

} // namespace

const BlendRowKernels* Sse2BlendRows() {
    return &kSse2;
}

} // namespace platform

#else

namespace platform {
const BlendRowKernels* Sse2BlendRows() {
    return nullptr;
}
} // namespace platform

#endif
