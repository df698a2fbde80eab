// The card painter at the table's pace: a hand row of 36 cards, 15 pixels
// apart at 54 x 72, painted into a memory DC, and the whole last-card pane.

#include "bench/BenchFrame.h"
#include "game/GameLogic.h"
#include "table/cards/CardPainter.h"

#include <benchmark/benchmark.h>

namespace {

void BM_PaintHandRowOf36(benchmark::State& state) {
    bench::Frame frame(36 * 15 + 39 + 20, 100);
    CCardPainter painter;
    painter.Initialization(1);
    WORD codes[36];
    for (int i = 0; i < 36; ++i)
        codes[i] = CardFaceCode((i * 7) % kDeckSize);
    CDC* dc = CDC::FromHandle(frame.dc);
    for (auto _ : state) {
        for (int i = 0; i < 36; ++i)
            painter.ShowCard(dc, codes[i], WORD(10 + 15 * i), 10, 0, 0, kCardSize54x72, 0, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 36);
}
BENCHMARK(BM_PaintHandRowOf36)->Unit(benchmark::kMicrosecond);

} // namespace
