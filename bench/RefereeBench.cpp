#include <benchmark/benchmark.h>

#include "tools/tablehost/TableDriver.h"

// Whole games of six bot seats through the referee, in process: the cost of
// refereeing a game (with the seats' own searches and card cipher).
static void BM_RefereeGames(benchmark::State& state) {
    const char* rules = state.range(0) == 0
                            ? "10 10 10 10 10 10 30 30 5 30 5 0 1 0"
                            : "10 10 10 10 10 10 30 30 5 30 5 0 1 1 2 1 0 1 1 0 0 1 1 1";
    uint32_t seed = 1;
    int64_t games = 0;
    for (auto _ : state) {
        CTableDriver::Options options;
        options.rulesText = rules;
        options.seed = seed++;
        CTableDriver driver(options);
        driver.SeatBots();
        games += driver.Run(10);
    }
    state.counters["games/s"] = benchmark::Counter(double(games), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RefereeGames)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
