#include "table/common/GameRecordWords.h"

namespace {

const char* const kSuitPrefixes[4] = {"[方块", "[梅花", "[红桃", "[黑桃"};
const char* const kCardNames[kRankCount] = {"[3]", "[4]", "[5]",  "[6]",    "[7]",
                                            "[8]", "[9]", "[10]", "[J]",    "[Q]",
                                            "[K]", "[A]", "[2]",  "[小王]", "[大王]"};
const char* const kRankSuffixes[kRankCount] = {"3]", "4]", "5]",  "6]",     "7]",
                                               "8]", "9]", "10]", "J]",     "Q]",
                                               "K]", "A]", "2]",  "[小王]", "[大王]"};
const char* const kTributeKinds[4] = {"点", "憋", "烧", "落"};

LPCSTR Lookup(const char* const* table, int size, int index) {
    return index >= 0 && index < size ? table[index] : nullptr;
}

} // namespace

LPCSTR SuitPrefixWord(int suit) {
    return Lookup(kSuitPrefixes, 4, suit);
}
LPCSTR CardNameWord(int rank) {
    return Lookup(kCardNames, kRankCount, rank);
}
LPCSTR RankSuffixWord(int rank) {
    return Lookup(kRankSuffixes, kRankCount, rank);
}
LPCSTR TributeKindWord(int kind) {
    return Lookup(kTributeKinds, 4, kind);
}

bool WordCard(const tagCARD& card, CString* out) {
    const LPCSTR suffix = RankSuffixWord(card.rank);
    if (suffix == nullptr)
        return false;
    if (card.rank >= kRankSmallJoker) {
        *out = suffix;
        return true;
    }
    const LPCSTR prefix = SuitPrefixWord(card.suit);
    if (prefix == nullptr)
        return false;
    *out = CString(prefix) + suffix;
    return true;
}

bool WordCards(const tagCARD* cards, int count, CString* out) {
    CString text;
    for (int i = 0; i < count; ++i) {
        CString word;
        if (!WordCard(cards[i], &word))
            return false;
        text += word;
    }
    *out = text;
    return true;
}

bool NameCards(const tagCARD* cards, int count, CString* out) {
    CString text;
    for (int i = 0; i < count; ++i) {
        const LPCSTR name = CardNameWord(cards[i].rank);
        if (name == nullptr)
            return false;
        text += name;
    }
    *out = text;
    return true;
}

LPCSTR PlaceWord(int place) {
    switch (place) {
    case 5:
        return "大落!";
    case 4:
        return "二落!";
    case 3:
        return "四科!";
    case 2:
        return "三科!";
    default:
        return "二科!";
    }
}

CString TributeHead(LPCSTR giver, LPCSTR receiver, LPCSTR kindWord) {
    CString text;
    text.Format("[%s]向[%s]进了(%s贡):", giver, receiver, kindWord);
    return text;
}

CString ReturnHead(LPCSTR returner, LPCSTR receiver, LPCSTR kindWord) {
    CString text;
    text.Format("[%s]还给[%s]的(%s贡):", returner, receiver, kindWord);
    return text;
}

CString BuyThreeLine(LPCSTR buyer, LPCSTR seller, const CString* paidWith, LPCSTR threeSuit) {
    CString text;
    if (paidWith != nullptr)
        text.Format("[%s]用一张%s向[%s]买了一张%s3]", buyer, LPCSTR(*paidWith), seller, threeSuit);
    else
        text.Format("[%s]向[%s]要了一张%s3]", buyer, seller, threeSuit);
    return text;
}

CString ShaoBieLine(int kind, LPCSTR actor, LPCSTR affected) {
    CString text;
    if (kind == 3)
        text.Format("[%s] 把 [%s] 烧了...", actor, affected);
    else if (kind == 2)
        text.Format("[%s] 把 [%s] 憋了...", actor, affected);
    return text;
}

CString TributeStoppedLine(const TributeStoppedSeat* seats, int count) {
    CString text;
    for (int i = 0; i < count; ++i)
        text.AppendFormat("%s[%s],", seats[i].nickName, seats[i].userName);
    // Only a list that has one ends in a comma to drop.
    if (!text.IsEmpty())
        text = text.Left(text.GetLength() - 1);
    return text + "贡牌已进完,余下的贡将不再进!";
}
