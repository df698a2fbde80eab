#include "table/ReceivedCards.h"

#include "game/PlayRecords.h"
#include "game/StateRecords.h"

#include <memory>

namespace {

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

// Reads the record as T (already checked) and applies the test to the copy.
template <class T, class Test> bool Holds(const void* record, int length, Test test) {
    auto copy = std::make_unique<T>();
    return ReadGameRecord(record, length, *copy) && test(*copy);
}

} // namespace

bool IsReceivedCode(int code, bool hiddenAllowed) {
    return (code >= 0 && code < kCardCodeCount) || (hiddenAllowed && code == kHiddenCardCode);
}

bool IsReceivedCard(const tagCARD& card, bool hiddenAllowed) {
    if (card.code == kHiddenCardCode)
        return hiddenAllowed;
    return card.code < kCardCodeCount && card.rank < kRankCount;
}

bool CheckReceivedCards(const void* record, int length, const char** what) {
    int id = 0;
    if (!PeekGameRecordId(record, length, &id))
        return false;
    bool fits = true;
    switch (id) {
    case kMsgSnapshot:
        *what = "snapshot hand";
        fits = Holds<tagSNAPSHOTMSG>(record, length, [](const tagSNAPSHOTMSG& m) {
            return CardsFit(m.hand, kHandSize, true);
        });
        break;
    case kMsgDeal:
        *what = "dealt hand";
        fits = Holds<tagDEALMSG>(
            record, length, [](const tagDEALMSG& m) { return CardsFit(m.hand, kHandSize, true); });
        break;
    case kMsgReturnTribute:
        *what = "returned cards";
        fits = Holds<tagRETURNTRIBUTEMSG>(record, length, [](const tagRETURNTRIBUTEMSG& m) {
            return CardsFit(m.cards, m.nCount, false);
        });
        break;
    case kMsgTribute:
        *what = "tribute cards";
        fits = Holds<tagTRIBUTEMSG>(record, length, [](const tagTRIBUTEMSG& m) {
            return CardsFit(m.cards, m.nCount, false);
        });
        break;
    case kMsgBuy3:
        *what = "bought three";
        fits = Holds<tagBUY3MSG>(record, length, [](const tagBUY3MSG& m) {
            const bool paid = (m.paidCard.flags & kCardHeld) != 0;
            return (!paid || IsReceivedCard(m.paidCard, false)) &&
                   IsReceivedCard(m.boughtThree, true);
        });
        break;
    case kMsgWatcherView:
        *what = "watched hand";
        fits = Holds<tagWATCHERVIEWMSG>(record, length, [](const tagWATCHERVIEWMSG& m) {
            return CardsFit(m.hand, kHandSize, true);
        });
        break;
    case kMsgCardList:
        *what = "card list";
        fits = Holds<tagCARDLIST>(record, length, [](const tagCARDLIST& m) {
            return CodesFit(m.nCodes, m.nCount, true);
        });
        break;
    default:
        break;
    }
    return fits;
}
