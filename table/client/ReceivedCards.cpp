#include "table/client/ReceivedCards.h"

bool IsReceivedCode(int code, bool hiddenAllowed) {
    return (code >= 0 && code < kCardCodeCount) || (hiddenAllowed && code == kHiddenCardCode);
}

bool IsReceivedCard(const tagCARD& card, bool hiddenAllowed) {
    if (card.code == kHiddenCardCode)
        return hiddenAllowed;
    return card.code < kCardCodeCount && card.rank < kRankCount;
}

bool CardsFit(const tagCARD* cards, int count, bool hiddenAllowed) {
    for (int i = 0; i < count; ++i)
        if (!IsReceivedCard(cards[i], hiddenAllowed))
            return false;
    return true;
}

bool CodesFit(const int32_t* codes, int count, bool hiddenAllowed) {
    for (int i = 0; i < count; ++i)
        if (!IsReceivedCode(codes[i], hiddenAllowed))
            return false;
    return true;
}
