#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "game/GameLogic.h"

// Card codes by rank and suit: Card(kRankAce, 3) is the ace of spades of the
// first deck.
constexpr int Card(int rank, int suit = 0, int deck = 0) {
    return deck * kDeckSize + suit * 13 + rank;
}
constexpr int SmallJoker(int deck = 0) {
    return deck * kDeckSize + 52;
}
constexpr int BigJoker(int deck = 0) {
    return deck * kDeckSize + 53;
}

// n different cards of one rank, spread over the suits and decks.
inline std::vector<int> CardsOfRank(int rank, int n) {
    std::vector<int> codes;
    for (int i = 0; i < n; ++i) {
        if (rank == kRankSmallJoker)
            codes.push_back(SmallJoker(i));
        else if (rank == kRankBigJoker)
            codes.push_back(BigJoker(i));
        else
            codes.push_back(Card(rank, i % 4, i / 4));
    }
    return codes;
}

inline std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline CardType TypeOf(const std::vector<int>& codes) {
    return CGameLogic::GetCardType(codes.data(), int(codes.size()));
}

// Gives the seat exactly these cards, held and unplayed.
inline void DealHand(CGameLogic& board, int seat, const std::vector<int>& codes) {
    std::vector<tagCARD> records;
    for (int code : codes)
        records.push_back(CGameLogic::CardFromIndex(code));
    board.SetHand(seat, records.data(), int(records.size()));
}

// Collects the trace lines a rule book hands to its host.
struct TraceRecorder {
    static std::vector<std::string>& Lines() {
        static std::vector<std::string> lines;
        return lines;
    }
    static int Callback(tagHOSTCALL* call) {
        if (call->nCode == kHostTrace)
            Lines().push_back(static_cast<const char*>(call->pData));
        return 1;
    }
    static void Attach(CGameLogic& board) {
        Lines().clear();
        board.SetHostCallback(&Callback);
    }
};
