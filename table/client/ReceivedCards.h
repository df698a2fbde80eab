#pragma once

// The card fields of a received game record, as the client checks them
// before the table words or moves them: every card code within the four
// decks (255 only where a hidden card may stand) and every rank within the
// word tables.

#include "game/GameRecords.h"

bool IsReceivedCard(const tagCARD& card, bool hiddenAllowed);
bool IsReceivedCode(int code, bool hiddenAllowed);
// The first count cards (codes) of an array; the record's count already fits it.
bool CardsFit(const tagCARD* cards, int count, bool hiddenAllowed);
bool CodesFit(const int32_t* codes, int count, bool hiddenAllowed);
