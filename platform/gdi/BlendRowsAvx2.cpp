// The row kernels eight pixels at a time with AVX2. Only these functions are
// built for AVX2 (by attribute, not for the whole file), so nothing shared
// with the rest of the program can pick up instructions an older processor
// lacks; they run only when the processor reports AVX2. Rows end with the
// per-pixel reference code, or with a masked step.

#include "platform/gdi/BlendRows.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#define PLATFORM_AVX2 __attribute__((target("avx2")))

namespace platform {
namespace {

constexpr int kLanes = 8;

PLATFORM_AVX2 inline __m256i Load(const uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
PLATFORM_AVX2 inline void Store(uint32_t* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// x / 255 rounded down in each 16-bit lane, exact for x up to 255 * 255:
// (x * 0x8081) >> 23.
PLATFORM_AVX2 inline __m256i Div255(__m256i x) {
    return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16(short(0x8081))), 7);
}

// The low and high byte halves of each 128-bit lane as 16-bit lanes; Pack
// puts them back in their places.
PLATFORM_AVX2 inline __m256i Low(__m256i v) {
    return _mm256_unpacklo_epi8(v, _mm256_setzero_si256());
}
PLATFORM_AVX2 inline __m256i High(__m256i v) {
    return _mm256_unpackhi_epi8(v, _mm256_setzero_si256());
}
PLATFORM_AVX2 inline __m256i Pack(__m256i low, __m256i high) {
    return _mm256_packus_epi16(low, high);
}

// Every byte of v times factor / 255, rounded down.
PLATFORM_AVX2 inline __m256i ScaleBytes(__m256i v, __m256i factor) {
    return Pack(Div255(_mm256_mullo_epi16(Low(v), factor)),
                Div255(_mm256_mullo_epi16(High(v), factor)));
}

// Each pixel's 255 - alpha in all four of its bytes.
PLATFORM_AVX2 inline __m256i InverseAlphaBytes(__m256i s) {
    const __m256i alphaOfEachPixel =
        _mm256_setr_epi8(3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15, //
                         3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15);
    __m256i inverse = _mm256_xor_si256(s, _mm256_set1_epi8(char(0xFF)));
    return _mm256_shuffle_epi8(inverse, alphaOfEachPixel);
}

PLATFORM_AVX2 void ConstantAlphaAvx2(uint32_t* d, const uint32_t* s, int n, uint32_t a) {
    const __m256i va = _mm256_set1_epi16(short(a)), ia = _mm256_set1_epi16(short(255 - a));
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        __m256i sv = Load(s + i), dv = Load(d + i);
        __m256i low =
            _mm256_add_epi16(_mm256_mullo_epi16(Low(sv), va), _mm256_mullo_epi16(Low(dv), ia));
        __m256i high =
            _mm256_add_epi16(_mm256_mullo_epi16(High(sv), va), _mm256_mullo_epi16(High(dv), ia));
        Store(d + i, Pack(Div255(low), Div255(high)));
    }
    ScalarBlendRows().constantAlpha(d + i, s + i, n - i, a);
}

PLATFORM_AVX2 void PremultipliedAvx2(uint32_t* d, const uint32_t* s, int n, uint32_t constant) {
    const __m256i vc = _mm256_set1_epi16(short(constant));
    const __m256i alphaBits = _mm256_set1_epi32(int(0xFF000000u));
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        __m256i sv = Load(s + i);
        if (constant != 255)
            sv = ScaleBytes(sv, vc);
        // Sprites are mostly clear or opaque: a clear source (all bytes 0)
        // leaves d as it is, an opaque one replaces it.
        if (_mm256_testz_si256(sv, sv))
            continue;
        if (_mm256_testc_si256(sv, alphaBits)) {
            Store(d + i, sv);
            continue;
        }
        __m256i ia = InverseAlphaBytes(sv), dv = Load(d + i);
        __m256i scaledDest = Pack(Div255(_mm256_mullo_epi16(Low(dv), Low(ia))),
                                  Div255(_mm256_mullo_epi16(High(dv), High(ia))));
        Store(d + i, _mm256_adds_epu8(sv, scaledDest));
    }
    ScalarBlendRows().premultiplied(d + i, s + i, n - i, constant);
}

PLATFORM_AVX2 void ColourKeyAvx2(uint32_t* d, const uint32_t* s, int n, uint32_t key) {
    const __m256i rgb = _mm256_set1_epi32(0x00FFFFFF),
                  vkey = _mm256_set1_epi32(int(key & 0xFFFFFF));
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        __m256i sv = Load(s + i);
        __m256i isKey = _mm256_cmpeq_epi32(_mm256_and_si256(sv, rgb), vkey);
        int keyed = _mm256_movemask_ps(_mm256_castsi256_ps(isKey));
        if (keyed == 0)
            Store(d + i, sv); // no key: the destination need not be read
        else if (keyed != 0xFF)
            Store(d + i, _mm256_blendv_epi8(sv, Load(d + i), isKey));
    }
    if (i == n)
        return;
    // The row's end in one masked step: the lanes past it are neither read
    // nor written (card faces are drawn in narrow strips, so ends are many).
    const __m256i inRow =
        _mm256_cmpgt_epi32(_mm256_set1_epi32(n - i), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    const __m256i sv = _mm256_maskload_epi32(reinterpret_cast<const int*>(s + i), inRow);
    const __m256i isKey = _mm256_cmpeq_epi32(_mm256_and_si256(sv, rgb), vkey);
    _mm256_maskstore_epi32(reinterpret_cast<int*>(d + i), _mm256_andnot_si256(isKey, inRow), sv);
}

const BlendRowKernels kAvx2{"avx2", ConstantAlphaAvx2, PremultipliedAvx2, ColourKeyAvx2};

} // namespace

const BlendRowKernels* Avx2BlendRows() {
    static const bool supported = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return supported ? &kAvx2 : nullptr;
}

} // namespace platform

#else

namespace platform {
const BlendRowKernels* Avx2BlendRows() {
    return nullptr;
}
} // namespace platform

#endif
