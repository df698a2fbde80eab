// My hand at its largest (55 cards): dealing it from a table snapshot,
// re-laying it after a play and re-sorting it by weight and back.

#include "game/GameLogic.h"
#include "sprite/GameLayout.h"
#include "sprite/SpriteWnd.h"
#include "table/cards/CardLayout.h"
#include "table/common/TableWndFields.h"

#include <benchmark/benchmark.h>

namespace {

void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
}

struct Hand {
    Hand() {
        wnd.CreateEx(0, nullptr, "bench", WS_POPUP, 0, 0, 1024, 768, nullptr, nullptr);
        HDC screen = GetDC(nullptr);
        sheet.Attach(CreateCompatibleBitmap(screen, 13 * 60, 5 * 80));
        ReleaseDC(nullptr, screen);
        layout.m_sizeCard = SIZE{60, 80};
        layout.m_nInterval = 15;
        fields.pLayout = &layout;
        hands.LoadCardFaces(&sheet, 60, 80);
    }
    ~Hand() {
        hands.ClearHand();
        wnd.DestroyWindow();
        Pump();
    }
    void Deal() {
        hands.ClearHand();
        for (int i = 0; i < kHandSize; ++i)
            hands.DisplayCard((i * 37) % kCardCodeCount);
    }
    CSpriteWnd wnd;
    CBitmap sheet;
    CGameLayout layout;
    CTableWndFields fields{theBoard};
    CCardLayout hands{wnd, fields};
};

void BM_DealFullHand(benchmark::State& state) {
    Hand hand;
    for (auto _ : state) {
        hand.Deal();
        state.PauseTiming();
        Pump();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DealFullHand)->Unit(benchmark::kMicrosecond);

void BM_LayOutFullHand(benchmark::State& state) {
    Hand hand;
    hand.Deal();
    int shift = 0;
    for (auto _ : state) {
        // A wider card spacing every other round, so that every card moves.
        hand.layout.m_nInterval = 15 + (shift++ & 1);
        hand.hands.CalcLayout();
        state.PauseTiming();
        Pump();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LayOutFullHand)->Unit(benchmark::kMicrosecond);

void BM_ResortFullHand(benchmark::State& state) {
    Hand hand;
    hand.Deal();
    BOOL byWeight = TRUE;
    for (auto _ : state) {
        hand.hands.SortCardbyWeight(byWeight);
        byWeight = !byWeight;
        state.PauseTiming();
        Pump();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ResortFullHand)->Unit(benchmark::kMicrosecond);

} // namespace
