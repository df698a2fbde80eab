#pragma once

// The card fields of a received game record, checked before a handler words
// or moves them: every card code within the four decks (255 only where a
// hidden card may stand) and every rank within the word tables. The record
// has already passed CheckReceivedRecord, so its counts fit.

#include "game/Cards.h"

bool IsReceivedCard(const tagCARD& card, bool hiddenAllowed);
bool IsReceivedCode(int code, bool hiddenAllowed);

// False when a card field of the record is out of range; what names it.
bool CheckReceivedCards(const void* record, int length, const char** what);
