#include "kngif/Rgb565Rows.h"

#if defined(__x86_64__) && defined(__GNUC__)

#include <immintrin.h>

#define KNGIF_AVX2 __attribute__((target("avx2")))

namespace {

KNGIF_AVX2 __m256i BlendSixteen(__m256i s, __m256i d, __m256i alpha, __m256i quarter) {
    const __m256i bias = _mm256_set1_epi16(64);
    const __m256i five = _mm256_set1_epi16(0x1F);
    const __m256i six = _mm256_set1_epi16(0x3F);
    // Results never leave their field (see the pair formula), so the shifts
    // back into place need no mask.
    const auto field = [&](__m256i ls, __m256i ld) KNGIF_AVX2 {
        const __m256i step = _mm256_srli_epi16(
            _mm256_mullo_epi16(_mm256_sub_epi16(_mm256_add_epi16(ls, bias), ld), alpha), 8);
        return _mm256_sub_epi16(_mm256_add_epi16(ld, step), quarter);
    };
    const __m256i r = field(_mm256_srli_epi16(s, 11), _mm256_srli_epi16(d, 11));
    const __m256i g = field(_mm256_and_si256(_mm256_srli_epi16(s, 5), six),
                            _mm256_and_si256(_mm256_srli_epi16(d, 5), six));
    const __m256i b = field(_mm256_and_si256(s, five), _mm256_and_si256(d, five));
    return _mm256_or_si256(_mm256_or_si256(_mm256_slli_epi16(r, 11), _mm256_slli_epi16(g, 5)), b);
}

KNGIF_AVX2 int BlendRowAvx2(WORD* d, const WORD* s, int count, unsigned a, bool keyed, WORD key) {
    const __m256i alpha = _mm256_set1_epi16((short)a);
    const __m256i quarter = _mm256_set1_epi16((short)(a >> 2));
    const __m256i keys = _mm256_set1_epi16((short)key);
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        if (keyed && _mm256_movemask_epi8(_mm256_cmpeq_epi16(sv, keys)) != 0) {
            break;
        }
        const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                            BlendSixteen(sv, dv, alpha, quarter));
    }
    return i;
}

} // namespace

int BlendRowWide(WORD* d, const WORD* s, int count, unsigned a, bool keyed, WORD key) {
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    return hasAvx2 ? BlendRowAvx2(d, s, count, a, keyed, key) : 0;
}

#else

int BlendRowWide(WORD*, const WORD*, int, unsigned, bool, WORD) {
    return 0;
}

#endif
