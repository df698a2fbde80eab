#pragma once
// The betting game's arithmetic and wording: how much may be bet now, which
// refusal a bet meets first, and the status line each outcome shows.

#include "platform/CString.h"

// The table's betting figures and my seat's standing, as the dialog sees them.
struct BetTable {
    int guessesPerGame = 0;
    int guessesUsed = 0;
    int minBet = 0;
    int maxBet = 0;
    int reserve = 0; // beans that must remain after a bet
    int beans = 0;   // my seat's beans
};

namespace bet_rules {

// The refusals, in the order a bet meets them; the numbers are the sender's.
enum Refusal { kNone = 0, kBelowMinimum = 3, kPastReserve = 4, kAboveMaximum = 5, kNoneLeft = 6 };

int GuessesLeft(const BetTable& table);
// beans - reserve, at least 0 and at most the maximum bet.
int MaxBet(const BetTable& table);
// The first refusal an amount meets. An amount below 1 is refused as below
// the minimum whatever the minimum is: the server refuses it too.
Refusal Check(const BetTable& table, int amount);
// The status line of a refusal (the sender's codes 3 to 6); empty for the
// codes that change no text (0, 1, 2).
CString RefusalText(const BetTable& table, int code);
CString GuessesLeftText(const BetTable& table);
// The result of a guess: won (beans >= 1) or lost.
CString ResultText(const BetTable& table, int beansWon);
// The card painter's code of a drawn card index 0..53; 0 above 53.
int PainterCode(int cardIndex);

} // namespace bet_rules
