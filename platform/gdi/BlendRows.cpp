// The per-pixel and the four-pixel row kernels, and the choice among the builds.

#include "platform/gdi/BlendRows.h"

#include "platform/gdi/AlphaMath.h"
#include "platform/gdi/Surface.h"

namespace platform {
namespace {

// Per pixel: the reference.

void ConstantAlphaScalar(uint32_t* d, const uint32_t* s, int n, uint32_t a) {
    for (int i = 0; i < n; ++i)
        d[i] = BlendConstant(s[i], d[i], a);
}

void PremultipliedScalar(uint32_t* d, const uint32_t* s, int n, uint32_t constant) {
    for (int i = 0; i < n; ++i)
        d[i] = BlendPremultiplied(constant == 255 ? s[i] : Scale(s[i], constant), d[i]);
}

void ColourKeyScalar(uint32_t* d, const uint32_t* s, int n, uint32_t key) {
    for (int i = 0; i < n; ++i)
        if ((s[i] ^ key) & kRgbMask)
            d[i] = s[i];
}

// Four pixels at a time, then the rest per pixel.

void ConstantAlphaVector(uint32_t* d, const uint32_t* s, int n, uint32_t a) {
    using namespace simd;
    const uint16_t ia = uint16_t(255 - a), va = uint16_t(a);
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        Words sv = Load<Words>(s + i), dv = Load<Words>(d + i);
        Store(d + i,
              Join(Div255(Even(sv) * va + Even(dv) * ia), Div255(Odd(sv) * va + Odd(dv) * ia)));
    }
    ConstantAlphaScalar(d + i, s + i, n - i, a);
}

void PremultipliedVector(uint32_t* d, const uint32_t* s, int n, uint32_t constant) {
    using namespace simd;
    const uint16_t vc = uint16_t(constant);
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        Words sv = Load<Words>(s + i);
        if (constant != 255)
            sv = Join(Div255(Even(sv) * vc), Div255(Odd(sv) * vc));
        // Sprites are mostly clear or opaque: a clear source (all bytes 0)
        // leaves d as it is, an opaque one replaces it.
        if (AllClear((Pixels)sv))
            continue;
        if (AllSet((Pixels)sv | kRgbMask)) {
            Store(d + i, sv);
            continue;
        }
        Words dv = Load<Words>(d + i);
        Words ia = InverseAlpha(sv);
        Store(d + i, Join(Saturate(Even(sv) + Div255(Even(dv) * ia)),
                          Saturate(Odd(sv) + Div255(Odd(dv) * ia))));
    }
    PremultipliedScalar(d + i, s + i, n - i, constant);
}

void ColourKeyVector(uint32_t* d, const uint32_t* s, int n, uint32_t key) {
    using namespace simd;
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        Pixels sv = Load(s + i);
        Pixels isKey = ((sv ^ key) & kRgbMask) == 0; // all ones where the key is
        if (AllClear(isKey))
            Store(d + i, sv); // no key: the destination need not be read
        else if (!AllSet(isKey))
            Store(d + i, (Load(d + i) & isKey) | (sv & ~isKey));
    }
    ColourKeyScalar(d + i, s + i, n - i, key);
}

const BlendRowKernels kScalar{"scalar", ConstantAlphaScalar, PremultipliedScalar, ColourKeyScalar};
const BlendRowKernels kVector{"vector", ConstantAlphaVector, PremultipliedVector, ColourKeyVector};

} // namespace

const BlendRowKernels& ScalarBlendRows() {
    return kScalar;
}

const BlendRowKernels& VectorBlendRows() {
    return kVector;
}

const BlendRowKernels& BlendRows() {
    static const BlendRowKernels& chosen = Avx2BlendRows()   ? *Avx2BlendRows()
                                           : Sse2BlendRows() ? *Sse2BlendRows()
                                                             : kVector;
    return chosen;
}

} // namespace platform
