#include "game/GameLogic.h"

#include <bitset>

namespace {

enum {
    kThreesWithOtherRanks = 2,
    kThreesWithWildcards = 3,
    kLastThreesNotAll = 4,
};

} // namespace

// The refusals of the 3 rule: 3s go out only once no other plain rank is
// left, never joined by 2s or jokers, and the last 3s take every card left.
int CGameLogic::CheckThreesRule(int seat, CardType type, int count) const {
    if ((m_dwRuleFlags & kRuleThrees) == 0 || CardTypeRank(type) != kRankThree)
        return 0;
    int plainRanks = CountPlainRanks(seat);
    if (plainRanks > 1)
        return kThreesWithOtherRanks;
    if (CardTypeTwos(type) + CardTypeSmallJokers(type) + CardTypeBigJokers(type) > 0)
        return kThreesWithWildcards;
    if (plainRanks == 1 && count != GetHandCardCount(seat))
        return kLastThreesNotAll;
    return 0;
}

int CGameLogic::CompareWithLastPlay(CardType type) const {
    if (m_PlayList.empty())
        return 1;
    return CompareCardType(type, m_PlayList.back().type);
}

int CGameLogic::CheckPlay(int seat, CardType type, const int* codes, int count) const {
    if (type == 0 || !IsValidSeat(seat))
        return 0;
    if (int refusal = CheckThreesRule(seat, type, count))
        return refusal;

    std::bitset<kCardCodeCount> seen;
    for (int i = 0; i < count; ++i) {
        int code = codes[i];
        if (code < 0 || code >= kCardCodeCount || seen.test(code))
            return 0;
        seen.set(code);
    }

    const tagCARD* hand = m_HandCards[seat];
    int used = GetHandUsedCount(seat);
    for (int i = 0; i < count; ++i) {
        bool inHand = false;
        for (int j = 0; j < used && !inHand; ++j)
            inHand = hand[j].code == codes[i] && (hand[j].flags & kCardPlayed) == 0;
        if (!inHand)
            return 0;
    }
    return CompareWithLastPlay(type);
}

int CGameLogic::CheckTakeOut(int seat, const int* codes, int count) const {
    if (codes == nullptr || count < 1 || count > kHandSize)
        return 0;
    return CheckPlay(seat, GetCardType(codes, count), codes, count);
}

int CGameLogic::CheckTakeOutRecords(int seat, const tagCARD* cards, int count) const {
    if (cards == nullptr || count < 1 || count > kHandSize)
        return 0;
    int codes[kHandSize];
    for (int i = 0; i < count; ++i)
        codes[i] = cards[i].code;
    return CheckPlay(seat, GetCardTypeOfCards(cards, count), codes, count);
}

int CGameLogic::CheckCardsType(int seat, const int* codes, int count) const {
    if (codes == nullptr || count < 1 || count > kHandSize)
        return 0;
    CardType type = GetCardType(codes, count);
    if (type == 0 || !IsValidSeat(seat))
        return 0;
    if (int refusal = CheckThreesRule(seat, type, count))
        return refusal;
    return CompareWithLastPlay(type);
}

int CGameLogic::CannotBeatLastPlay(int seat) {
    if (m_PlayList.empty())
        return 0;
    std::vector<CardType> answers;
    return Search(m_PlayList.back().type, seat, answers) == 0 ? 1 : 0;
}

int CGameLogic::SelectionLeavesJoker(int seat, const int* codes, int count, const tagCARD* hand,
                                     int handCount) const {
    if (!IsValidSeat(seat) || (m_nSeatStatus[seat] & kStatusLastPlay) == 0)
        return 0;
    for (int i = 0; codes != nullptr && i < count; ++i) {
        if (codes[i] >= 0 && codes[i] % kDeckSize >= kSuitSmallJoker)
            return 0;
    }
    for (int i = 0; hand != nullptr && i < handCount && i < kHandSize; ++i) {
        bool joker = hand[i].rank == kRankSmallJoker || hand[i].rank == kRankBigJoker;
        if (joker && (hand[i].flags & kCardPlayed) == 0)
            return 1;
    }
    return 0;
}

int CGameLogic::IsSeveralSeatsOut() const {
    if ((m_dwRuleFlags & kRuleShao) == 0)
        return 1;
    int out = 0;
    for (int seat = 0; seat < kSeatCount; ++seat)
        out += IsSeatOut(seat);
    return out > 1 ? 1 : 0;
}

int CGameLogic::IsLevelPlay(CardType type) {
    if (type == 0)
        return 0;
    if (CardTypeSmallJokers(type) + CardTypeBigJokers(type) > 0)
        return 1;
    if (CardTypePlainCount(type) == 0)
        return CardTypeTwos(type) > 0 ? 1 : 0;
    int rank = CardTypeRank(type);
    int n = GetCardTypeNonJokers(type);
    if (rank >= kRankTen && rank <= kRankKing)
        return n + rank > 11 ? 1 : 0;
    if (rank == kRankAce)
        return n >= 2 ? 1 : 0;
    return 0;
}

int CGameLogic::IsLevelPlayOfCards(const tagCARD* cards, int count) {
    return IsLevelPlay(GetCardTypeOfCards(cards, count));
}

int CGameLogic::PickCardsForType(int seat, CardType type, int* codes, int maxCount) const {
    if (!IsValidSeat(seat) || type == 0 || codes == nullptr)
        return 0;
    int plainRank = CardTypeRank(type);
    int plainCount = CardTypePlainCount(type);
    if (plainCount > 0 && plainRank >= kRankCount)
        return 0;
    // How many cards of each rank the word asks for; a lead's plain field
    // may name the 2s or a joker colour as its rank.
    int wanted[kRankCount] = {};
    if (plainCount > 0)
        wanted[plainRank] += plainCount;
    wanted[kRankTwo] += CardTypeTwos(type);
    wanted[kRankSmallJoker] += CardTypeSmallJokers(type);
    wanted[kRankBigJoker] += CardTypeBigJokers(type);

    int total = GetCardTypeCount(type);
    if (total > maxCount)
        return 0;
    int picked = 0;
    const tagCARD* hand = m_HandCards[seat];
    int used = GetHandUsedCount(seat);
    for (int i = 0; i < used && picked < total; ++i) {
        const tagCARD& card = hand[i];
        if (IsCountingCard(card) && card.rank < kRankCount && wanted[card.rank] > 0) {
            --wanted[card.rank];
            codes[picked++] = card.code;
        }
    }
    return picked == total ? picked : 0;
}
