#pragma once

// The words the record handlers put into notices and reel lines: cards,
// tribute kinds, places, and the lines of tributes, returns, bought 3s and
// burnt or blocked seats. Every lookup refuses a value outside its table.

#include "game/Cards.h"
#include "platform/CString.h"
#include "platform/Types.h"

// Suit 0..3, rank 0..14, tribute kind 0..3 (as the tribute and return
// records carry it); null outside.
LPCSTR SuitPrefixWord(int suit);
LPCSTR CardNameWord(int rank);
LPCSTR RankSuffixWord(int rank);
LPCSTR TributeKindWord(int kind);

// A card as its suit prefix and rank suffix ("[红桃" "Q]"), a joker by its
// suffix alone; false (out untouched) for a rank or suit outside the tables.
bool WordCard(const tagCARD& card, CString* out);
// The words of all cards joined without separators; false when any card
// cannot be worded.
bool WordCards(const tagCARD* cards, int count, CString* out);
// The card names (rank only) of the cards, joined; false as above.
bool NameCards(const tagCARD* cards, int count, CString* out);

// The place word of a finishing place counted from 0: last place "大落!",
// fifth "二落!", fourth "四科!", third "三科!", any other "二科!".
LPCSTR PlaceWord(int place);

// "[giver]向[receiver]进了(kind贡):" without the cards.
CString TributeHead(LPCSTR giver, LPCSTR receiver, LPCSTR kindWord);
// "[returner]还给[receiver]的(kind贡):" without the cards.
CString ReturnHead(LPCSTR returner, LPCSTR receiver, LPCSTR kindWord);
// A bought 3: paid with a card, or asked for.
CString BuyThreeLine(LPCSTR buyer, LPCSTR seller, const CString* paidWith, LPCSTR threeSuit);
// A shao (kind 3) or bie (kind 2) notice; empty for any other kind.
CString ShaoBieLine(int kind, LPCSTR actor, LPCSTR affected);

// The chat line of dropped tributes: "nick[user]," for each flagged seat with
// the last comma dropped, then the closing words. With no flagged seat only
// the closing words.
struct TributeStoppedSeat {
    LPCSTR nickName;
    LPCSTR userName;
};
CString TributeStoppedLine(const TributeStoppedSeat* seats, int count);
