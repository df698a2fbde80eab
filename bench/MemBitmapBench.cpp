// The memory image over a 1024 x 768 screenful: a plain copy of the same
// bytes as the yardstick, the copy blit, the constant-alpha blend, the
// keyed blend, and rotations (a quarter turn and 30 degrees by shears).

#include "kngif/KNMemBitmap.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Screens {
    CKNMemBitmap src;
    CKNMemBitmap dst;
    Screens() {
        src.Create(kWidth, kHeight);
        dst.Create(kWidth, kHeight);
        uint32_t state = 12345;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                state = state * 1664525u + 1013904223u;
                src.FillRect565(x, y, 1, 1, (WORD)(state >> 16));
                dst.FillRect565(x, y, 1, 1, (WORD)state);
            }
        }
    }
};

Screens& Shared() {
    static Screens screens;
    return screens;
}

void BM_PlainCopyOfTheBytes(benchmark::State& state) {
    Screens& s = Shared();
    const size_t bytes = (size_t)s.src.GetPitch() * kHeight;
    for (auto _ : state) {
        std::memcpy(s.dst.GetBits(), s.src.GetBits(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bytes);
}
BENCHMARK(BM_PlainCopyOfTheBytes);

void BM_Blt(benchmark::State& state) {
    Screens& s = Shared();
    for (auto _ : state) {
        s.dst.Blt(&s.src, nullptr, 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Blt);

void BM_BltAlpha(benchmark::State& state) {
    Screens& s = Shared();
    for (auto _ : state) {
        s.dst.BltAlpha(&s.src, nullptr, 0, 0, 128);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BltAlpha);

void BM_BltAlphaKeyed(benchmark::State& state) {
    Screens& s = Shared();
    s.src.SetColorKey565(s.src.GetPixel565(0, 0));
    for (auto _ : state) {
        s.dst.BltAlphaKeyed(&s.src, nullptr, 0, 0, 128);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BltAlphaKeyed);

void BM_BltRotate90(benchmark::State& state) {
    Screens& s = Shared();
    CKNMemBitmap turned;
    turned.Create(kHeight, kWidth);
    for (auto _ : state) {
        turned.BltRotate(90, &s.src, nullptr, 0, 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BltRotate90);

void BM_BltRotate30(benchmark::State& state) {
    Screens& s = Shared();
    const DWORD size = CKNMemBitmap::GetRotatedSize(30, kWidth, kHeight);
    CKNMemBitmap turned;
    turned.Create((int)(size >> 16), (int)(size & 0xFFFF));
    for (auto _ : state) {
        turned.BltRotate(30, &s.src, nullptr, 0, 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BltRotate30);

} // namespace
