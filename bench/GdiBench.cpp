// Full-frame blits at the table's size, against a plain copy of the same bytes.

#include "platform/display/Display.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Surface.h"
#include "platform/window/Window.h"
#include "platform/window/WindowDc.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

class Frame {
public:
    Frame(int width = kWidth, int height = kHeight) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, width, height);
        old = SelectObject(dc, bitmap);
        surface = platform::SurfaceOfBitmap(bitmap);
    }
    ~Frame() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // Sprite-like content: opaque, transparent and edge pixels, premultiplied.
    void FillSprite(uint32_t key) {
        std::mt19937 rng(1);
        for (int y = 0; y < surface->Height(); ++y) {
            uint32_t* row = surface->Row32(y);
            for (int x = 0; x < surface->Width(); ++x) {
                uint32_t a = (x / 16 + y / 16) % 3 == 0 ? 0 : (x + y) % 7 == 0 ? rng() & 0xFF : 255;
                uint32_t c = rng() % (a + 1);
                row[x] = a == 0 ? key : (a << 24) | c << 16 | c << 8 | c;
            }
        }
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    platform::Surface* surface;
};

void BM_Memcpy(benchmark::State& state) {
    std::vector<uint32_t> a(size_t(kWidth) * kHeight, 1), b(a.size());
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(a.size()) * 4);
}
BENCHMARK(BM_Memcpy);

void BM_BitBltSrcCopy(benchmark::State& state) {
    Frame src, dst;
    for (auto _ : state) {
        BitBlt(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 4);
}
BENCHMARK(BM_BitBltSrcCopy);

// A card-sized blit: what one sprite costs, call overhead included.
void BM_BitBltCard(benchmark::State& state) {
    Frame src(72, 96), dst;
    for (auto _ : state)
        BitBlt(dst.dc, 500, 300, 72, 96, src.dc, 0, 0, SRCCOPY);
}
BENCHMARK(BM_BitBltCard);

void BM_BitBltSrcAnd(benchmark::State& state) {
    Frame src, dst;
    for (auto _ : state)
        BitBlt(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, SRCAND);
}
BENCHMARK(BM_BitBltSrcAnd);

void BM_TransparentBlt(benchmark::State& state) {
    Frame src, dst;
    src.FillSprite(0x00FF00FF);
    for (auto _ : state)
        TransparentBlt(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, kWidth, kHeight,
                       RGB(255, 0, 255));
}
BENCHMARK(BM_TransparentBlt);

void BM_AlphaBlendPerPixel(benchmark::State& state) {
    Frame src, dst;
    src.FillSprite(0);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (auto _ : state)
        AlphaBlend(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, kWidth, kHeight, blend);
}
BENCHMARK(BM_AlphaBlendPerPixel);

void BM_AlphaBlendConstant(benchmark::State& state) {
    Frame src, dst;
    src.FillSprite(0);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 0x80, 0};
    for (auto _ : state)
        AlphaBlend(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, kWidth, kHeight, blend);
}
BENCHMARK(BM_AlphaBlendConstant);

void BM_StretchBlt(benchmark::State& state) {
    Frame src(1280, 960), dst;
    src.FillSprite(0);
    SetStretchBltMode(dst.dc, int(state.range(0)));
    for (auto _ : state)
        StretchBlt(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, 1280, 960, SRCCOPY);
}
BENCHMARK(BM_StretchBlt)->Arg(COLORONCOLOR)->Arg(HALFTONE);

// A full-screen window on the headless display: a frame copied to the window
// through its DC (as the table's flush does), then the screen composed from it.
void BM_WindowPaintAndCompose(benchmark::State& state) {
    platform::StartDisplay(platform::DisplayKind::Headless);
    WNDCLASS wc{};
    wc.lpszClassName = "BenchWindow";
    RegisterClass(&wc);
    HWND hwnd = CreateWindowEx(0, "BenchWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                               nullptr, nullptr, nullptr, nullptr);
    Frame frame;
    for (auto _ : state) {
        HDC dc = GetDC(hwnd);
        BitBlt(dc, 0, 0, kWidth, kHeight, frame.dc, 0, 0, SRCCOPY);
        ReleaseDC(hwnd, dc);
        auto screen = platform::ComposeScreen();
        benchmark::DoNotOptimize(screen.get());
    }
    DestroyWindow(hwnd);
    platform::StopDisplay();
}
BENCHMARK(BM_WindowPaintAndCompose)->Unit(benchmark::kMillisecond);

} // namespace
