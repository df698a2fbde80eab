#include "game/GameLogic.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsTwoOrJoker(const tagCARD& card) {
    return IsJoker(card) || card.rank == kRankTwo;
}

} // namespace

const tagCARD* CGameLogic::GetHand(int seat) const {
    return IsValidSeat(seat) ? m_HandCards[seat] : nullptr;
}

tagCARD* CGameLogic::GetHand(int seat) {
    return IsValidSeat(seat) ? m_HandCards[seat] : nullptr;
}

int CGameLogic::GetHandUsedCount(int seat) const {
    if (!IsValidSeat(seat))
        return 0;
    return std::clamp(int(m_nHandCount[seat]), 0, int(kHandSize));
}

void CGameLogic::SetHand(int seat, const tagCARD* cards, int count) {
    if (!IsValidSeat(seat))
        return;
    count = cards == nullptr ? 0 : std::clamp(count, 0, int(kHandSize));
    memset(m_HandCards[seat], 0, sizeof(m_HandCards[seat]));
    if (count > 0)
        memcpy(m_HandCards[seat], cards, count * sizeof(tagCARD));
    m_nHandCount[seat] = count;
}

int CGameLogic::GetHandCardCount(int seat) const {
    int used = GetHandUsedCount(seat);
    int counting = 0;
    for (int i = 0; i < used; ++i)
        counting += IsCountingCard(m_HandCards[seat][i]);
    return counting;
}

int CGameLogic::CountRankCards(const tagCARD* cards, int count, int rank) {
    int found = 0;
    for (int i = 0; cards != nullptr && i < count; ++i)
        found += IsCountingCard(cards[i]) && cards[i].rank == rank;
    return found;
}

int CGameLogic::CountPlainRanks(int seat) const {
    bool held[kPlainRankCount] = {};
    int used = GetHandUsedCount(seat);
    for (int i = 0; i < used; ++i) {
        const tagCARD& card = m_HandCards[seat][i];
        if (IsCountingCard(card) && card.rank < kPlainRankCount)
            held[card.rank] = true;
    }
    return int(std::count(std::begin(held), std::end(held), true));
}

int CGameLogic::HoldsOnlyThrees(int seat) const {
    int used = GetHandUsedCount(seat);
    bool any = false;
    for (int i = 0; i < used; ++i) {
        const tagCARD& card = m_HandCards[seat][i];
        if (!IsCountingCard(card))
            continue;
        if (card.rank != kRankThree)
            return 0;
        any = true;
    }
    return any ? 1 : 0;
}

bool CGameLogic::IsHandEmpty(int seat) const {
    return GetHandCardCount(seat) == 0;
}

int CGameLogic::HasNoJokersOrTwos(int count, const tagCARD* cards) {
    for (int i = 0; cards != nullptr && i < count; ++i) {
        if (IsTwoOrJoker(cards[i]))
            return 0;
    }
    return 1;
}

BOOL CGameLogic::AddHandCard(int seat, tagCARD card) {
    int used = GetHandUsedCount(seat);
    if (!IsValidSeat(seat) || used >= kHandSize)
        return FALSE;
    card.flags = kCardHeld;
    m_HandCards[seat][used] = card;
    m_nHandCount[seat] = used + 1;
    return TRUE;
}

BOOL CGameLogic::DeleteHandCard(int seat, int code) {
    tagCARD* hand = GetHand(seat);
    int used = GetHandUsedCount(seat);
    int index = -1;
    for (int i = 0; hand != nullptr && code >= 0 && code < kCardCodeCount && i < used; ++i) {
        if (hand[i].code == code) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        Trace("Erro:-------:DeleteHandCard fail! Can't find the Card!");
        return FALSE;
    }
    std::copy(hand + index + 1, hand + used, hand + index);
    hand[used - 1] = tagCARD{};
    m_nHandCount[seat] = used - 1;
    return TRUE;
}

tagCARD CGameLogic::PickBestCard(const tagCARD* cards, int count) {
    if (cards == nullptr || count <= 0)
        return tagCARD{};
    for (int i = 0; i < count; ++i) {
        if (cards[i].rank == kRankTwo && !IsJoker(cards[i]))
            return cards[i];
    }
    for (int i = count - 1; i >= 0; --i) {
        if (cards[i].suit == kSuitSmallJoker)
            return cards[i];
    }
    int best = 0;
    for (int i = 1; i < count; ++i) {
        if (cards[i].rank > cards[best].rank)
            best = i;
    }
    return cards[best].rank == kRankThree ? tagCARD{} : cards[best];
}

tagCARD CGameLogic::FindRankZeroCard(const tagCARD* cards, int count) {
    for (int i = 0; cards != nullptr && i < count; ++i) {
        if (cards[i].rank == kRankThree && !IsJoker(cards[i]))
            return cards[i];
    }
    return tagCARD{};
}

void CGameLogic::SortCards(int* codes, int count) {
    if (codes == nullptr || count <= 1)
        return;
    std::stable_sort(codes, codes + count, [](int x, int y) { return CompareCard(x, y) < 0; });
}

void CGameLogic::SortHandByGroup(tagCARD* cards, int count, int mode) {
    if (cards == nullptr || count <= 0)
        return;
    for (int i = 0; i < count; ++i) {
        tagCARD& card = cards[i];
        if (mode == 1)
            card.flags |= kCardGroupSorted;
        else
            card.flags &= ~kCardGroupSorted;
        card.spare = IsTwoOrJoker(card) ? 17 : uint8_t(CountRankCards(cards, count, card.rank));
    }
    bool byGroup = (cards[0].flags & kCardGroupSorted) != 0;
    // A stable order with the code as the last key, so that which physical
    // card comes first never depends on the sort algorithm.
    std::stable_sort(cards, cards + count, [byGroup](const tagCARD& x, const tagCARD& y) {
        if (byGroup && x.spare != y.spare)
            return x.spare > y.spare;
        if (x.rank != y.rank)
            return x.rank > y.rank;
        return x.code > y.code;
    });
}
