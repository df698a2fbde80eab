#pragma once

// The guessing bet's rule, in one place for the sender and the betting
// dialog: how much may be bet now and which refusal a bet meets first.

#include "game/GameLogic.h"

// The table's betting figures and a seat's standing.
struct BetTable {
    int guessesPerGame = 0;
    int guessesUsed = 0;
    int minBet = 0;
    int maxBet = 0;
    int reserve = 0; // beans that must remain after a bet
    int beans = 0;   // the seat's beans
};

namespace bet_rules {

// The refusals, in the order a bet meets them; the numbers are the sender's.
enum Refusal { kNone = 0, kBelowMinimum = 3, kPastReserve = 4, kAboveMaximum = 5, kNoneLeft = 6 };

// The seat's figures on the board; a seat outside the table has no guess left.
BetTable BetTableOf(const CGameLogic& board, int seat);
int GuessesLeft(const BetTable& table);
// beans - reserve, at least 0 and at most the maximum bet.
int MaxBet(const BetTable& table);
// The first refusal an amount meets. An amount below 1 is refused as below
// the minimum whatever the minimum is: the server refuses it too.
Refusal Check(const BetTable& table, int amount);

} // namespace bet_rules
