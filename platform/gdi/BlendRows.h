#pragma once

// The row kernels under AlphaBlend and TransparentBlt. Each comes in builds
// that give the same pixels: plain per-pixel code (the reference the others
// are tested against), four pixels at a time through GCC's vector types (for
// any processor), four at a time with SSE2 (every x86-64 has it) and eight at
// a time with AVX2 where the processor has it. BlendRows() is the fastest one
// this processor runs, picked once.

#include <cstdint>

namespace platform {

struct BlendRowKernels {
    const char* name;
    // d = (s*a + d*(255-a)) / 255 rounded down, per byte, alpha byte included.
    void (*constantAlpha)(uint32_t* d, const uint32_t* s, int n, uint32_t alpha);
    // Premultiplied source over: s is first scaled by constant/255 (each byte,
    // rounded down), then d = s + d*(255 - alpha of s)/255 rounded down, each
    // byte capped at 255 (sources that are not truly premultiplied saturate).
    void (*premultiplied)(uint32_t* d, const uint32_t* s, int n, uint32_t constant);
    // d = s wherever s's colour (the alpha byte aside) differs from key.
    void (*colourKey)(uint32_t* d, const uint32_t* s, int n, uint32_t key);
};

const BlendRowKernels& ScalarBlendRows();
const BlendRowKernels& VectorBlendRows();
// Null where the processor (or the build's target) lacks the instructions.
const BlendRowKernels* Sse2BlendRows();
const BlendRowKernels* Avx2BlendRows();
const BlendRowKernels& BlendRows();

} // namespace platform
