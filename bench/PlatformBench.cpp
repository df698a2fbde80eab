// The message loop's hot paths: posted-message dispatch, sends, and the timer
// heap under the sprite engine's load (hundreds of live timers).

#include "platform/system/Clock.h"
#include "platform/window/Wnd.h"

#include <benchmark/benchmark.h>

namespace {

class CountingWnd : public CWnd {
public:
    int64_t handled = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_USER || message == WM_TIMER) {
            ++handled;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

int Pump() {
    MSG msg;
    int count = 0;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessage(&msg);
        ++count;
    }
    return count;
}

void BM_PostAndDispatch(benchmark::State& state) {
    CountingWnd wnd;
    wnd.CreateEx(0, nullptr, "bench", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    const int batch = int(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < batch; ++i)
            wnd.PostMessage(WM_USER + 1, WPARAM(i), 0);
        benchmark::DoNotOptimize(Pump());
    }
    state.SetItemsProcessed(wnd.handled);
    wnd.DestroyWindow();
}
BENCHMARK(BM_PostAndDispatch)->Arg(1)->Arg(64);

void BM_SendMessage(benchmark::State& state) {
    CountingWnd wnd;
    wnd.CreateEx(0, nullptr, "bench", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(wnd.SendMessage(0x1005, 8, 0));
    state.SetItemsProcessed(wnd.handled);
    wnd.DestroyWindow();
}
BENCHMARK(BM_SendMessage);

// 500 channel timers with periods 10..59 ms, the clock stepped 1 ms per
// iteration and every due tick dispatched: the cost of one engine millisecond.
void BM_FiveHundredLiveTimers(benchmark::State& state) {
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    CountingWnd wnd;
    wnd.CreateEx(0, nullptr, "bench", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    const int timers = int(state.range(0));
    for (int i = 0; i < timers; ++i)
        wnd.SetTimer(0xFE000000u + UINT_PTR(i), 10 + UINT(i % 50));
    for (auto _ : state) {
        clock.Advance(1);
        benchmark::DoNotOptimize(Pump());
    }
    state.counters["ticks/ms"] =
        benchmark::Counter(double(wnd.handled) / double(state.iterations()));
    wnd.DestroyWindow();
}
BENCHMARK(BM_FiveHundredLiveTimers)->Arg(500);

// The engine's one-shot pattern: kill and re-arm inside the handler, 500 live.
void BM_TimerRestartChurn(benchmark::State& state) {
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    CountingWnd wnd;
    wnd.CreateEx(0, nullptr, "bench", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    for (int i = 0; i < 500; ++i)
        wnd.SetTimer(0xFE000000u + UINT_PTR(i), 10 + UINT(i % 50));
    UINT_PTR next = 0;
    for (auto _ : state) {
        const UINT_PTR id = 0xFE000000u + (next++ % 500);
        wnd.KillTimer(id);
        wnd.SetTimer(id, 10 + UINT(id % 50));
    }
    state.SetItemsProcessed(state.iterations());
    wnd.DestroyWindow();
}
BENCHMARK(BM_TimerRestartChurn);

} // namespace
