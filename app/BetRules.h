#pragma once
// The betting game's wording: the status line each outcome shows (the rule
// itself is the table's, table/common/BetRules.h).

#include "platform/CString.h"
#include "table/common/BetRules.h"

namespace bet_rules {

// The status line of a refusal (the sender's codes 3 to 6); empty for the
// codes that change no text (0, 1, 2).
CString RefusalText(const BetTable& table, int code);
CString GuessesLeftText(const BetTable& table);
// The result of a guess: won (beans >= 1) or lost.
CString ResultText(const BetTable& table, int beansWon);
// The card painter's code of a drawn card index 0..53; 0 above 53.
int PainterCode(int cardIndex);

} // namespace bet_rules
