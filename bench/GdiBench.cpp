// Blits at the table's size that have no counterpart in pixman (the side-by-side
// figures are in PixmanComparisonBench.cpp), and a whole window repaint.

#include "bench/BenchFrame.h"
#include "platform/display/Display.h"
#include "platform/window/Window.h"

#include <benchmark/benchmark.h>

namespace {

using bench::Frame;
constexpr int kWidth = bench::kFrameWidth;
constexpr int kHeight = bench::kFrameHeight;

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
