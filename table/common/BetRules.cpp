#include "table/common/BetRules.h"

#include <algorithm>
#include <cstdint>

namespace bet_rules {

BetTable BetTableOf(const CGameLogic& board, int seat) {
    const tagTABLEHEAD& head = board.GetTableHead();
    BetTable table;
    table.guessesPerGame = head.nMaxGuesses;
    table.guessesUsed = IsSeat(seat) ? head.nGuessesPlaced[seat] : head.nMaxGuesses;
    table.minBet = head.nMinStake;
    table.maxBet = head.nMaxStake;
    table.reserve = head.nKeepBeans;
    table.beans = board.GetUserInfo(seat).nBeans;
    return table;
}

int GuessesLeft(const BetTable& table) {
    return table.guessesPerGame - table.guessesUsed;
}

int MaxBet(const BetTable& table) {
    const int64_t free = int64_t(table.beans) - table.reserve;
    return int(std::clamp<int64_t>(free, 0, std::max(0, table.maxBet)));
}

Refusal Check(const BetTable& table, int amount) {
    if (amount < table.minBet || amount < 1)
        return kBelowMinimum;
    if (int64_t(table.beans) - amount < table.reserve)
        return kPastReserve;
    if (amount > table.maxBet)
        return kAboveMaximum;
    if (GuessesLeft(table) <= 0)
        return kNoneLeft;
    return kNone;
}

} // namespace bet_rules
