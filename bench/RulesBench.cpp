// The rule book's hot paths: checking a selection and searching for hints,
// on full hands against plays of several sizes.

#include <algorithm>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "game/GameLogic.h"

namespace {

// Deals `handSize` random cards to seat 0 and returns the board.
void Deal(CGameLogic& board, int handSize, unsigned seed) {
    std::vector<int> shoe(kCardCodeCount);
    for (int i = 0; i < kCardCodeCount; ++i)
        shoe[i] = i;
    std::shuffle(shoe.begin(), shoe.end(), std::mt19937(seed));
    std::vector<tagCARD> hand;
    for (int i = 0; i < handSize; ++i)
        hand.push_back(CGameLogic::CardFromIndex(shoe[i]));
    board.SetHand(0, hand.data(), handSize);
}

// A plain play of `size` low cards, which most hands can answer in many ways.
CardType LowPlay(int size) {
    return MakeCardType(kRankFive, size, 0, 0, 0);
}

void BM_Search(benchmark::State& state) {
    CGameLogic board;
    Deal(board, int(state.range(0)), 1);
    CardType toBeat = LowPlay(int(state.range(1)));
    std::vector<CardType> answers;
    answers.reserve(256);
    for (auto _ : state) {
        benchmark::DoNotOptimize(board.Search(toBeat, 0, answers));
    }
    state.counters["answers"] = double(answers.size());
}
BENCHMARK(BM_Search)->ArgsProduct({{36, 55}, {1, 2, 3, 5, 8}});

void BM_SearchLead(benchmark::State& state) {
    CGameLogic board;
    Deal(board, int(state.range(0)), 2);
    std::vector<CardType> leads;
    leads.reserve(64);
    for (auto _ : state)
        benchmark::DoNotOptimize(board.Search(0, 0, leads));
}
BENCHMARK(BM_SearchLead)->Arg(36)->Arg(55);

void BM_CheckTakeOut(benchmark::State& state) {
    CGameLogic board;
    int handSize = int(state.range(0));
    Deal(board, handSize, 3);
    board.AddPlay(1, LowPlay(int(state.range(1))));
    // The seat's answer: the first candidate the search offers.
    std::vector<CardType> answers;
    board.Search(board.GetPlayList().back().type, 0, answers);
    int codes[kHandSize];
    int n = answers.empty() ? 0 : board.PickCardsForType(0, answers.front(), codes, kHandSize);
    if (n == 0) {
        state.SkipWithError("no answer in this deal");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(board.CheckTakeOut(0, codes, n));
}
BENCHMARK(BM_CheckTakeOut)->ArgsProduct({{36, 55}, {1, 2, 3, 5}});

} // namespace
