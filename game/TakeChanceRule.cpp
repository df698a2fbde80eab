#include "game/TakeChanceRule.h"

#include "game/Cards.h"
#include "game/RefereeRandom.h"
#include "game/RulesFields.h"

#include <algorithm>
#include <climits>

CTakeChanceRule::CTakeChanceRule()
    : m_nBets{}, m_nMemberBase(0), m_nOtherBase(0), m_nOdds{}, m_nAnnounceThreshold(0) {}

const char* CTakeChanceRule::Parse(const char* text) {
    CRulesFields fields(text);
    int value = 0;
    for (int kind = 0; kind < kGuessKindCount; ++kind) {
        if (!fields.Next(value))
            return "";
        // Odds below 1 mean the tail is not a guessing-bet rule: nothing
        // after it is read.
        if (value < 1)
            return "";
        m_nOdds[kind] = value;
    }
    if (fields.Next(value) && value >= 1 && value <= 99)
        m_nMemberBase = value;
    if (fields.Next(value) && value >= 1 && value <= 99)
        m_nOtherBase = value;
    if (fields.Next(value))
        m_nAnnounceThreshold = value;
    return fields.Rest();
}

bool CTakeChanceRule::Resolve(int kind, bool member, int stake, CRefereeRandom& random, int* result,
                              int* card) const {
    if (kind < 0 || kind >= kGuessKindCount || stake < 0)
        return false;
    const int base = member ? m_nMemberBase : m_nOtherBase;
    if (base < 1 || m_nOdds[kind] < 1)
        return false;
    const int chance = m_nOdds[kind] * 100 / base;
    if (chance < 1)
        return false;
    const bool win = random.Below(chance) == 0;
    const int64_t payout = std::min<int64_t>(int64_t(stake) * m_nOdds[kind], INT_MAX);
    if (result)
        *result = win ? int(payout) : -stake;
    if (card)
        *card = DrawCard(kind, win, random);
    return true;
}

int CTakeChanceRule::KindOfCard(int code) {
    const int inDeck = code % kDeckSize;
    if (inDeck == kSuitBigJoker)
        return 0;
    if (inDeck == kSuitSmallJoker)
        return 1;
    const int rank = inDeck % 13;
    if (rank == kRankTwo)
        return 2;
    if (rank >= kRankJack && rank <= kRankKing)
        return 3;
    return 4;
}

int CTakeChanceRule::DrawCard(int kind, bool win, CRefereeRandom& random) {
    if (!win) {
        int code;
        do {
            code = random.Below(kDeckSize);
        } while (KindOfCard(code) == kind);
        return code;
    }
    const int suit = random.Below(4) * 13;
    switch (kind) {
    case 0:
        return kSuitBigJoker;
    case 1:
        return kSuitSmallJoker;
    case 2:
        return suit + kRankTwo;
    case 3:
        return suit + kRankJack + random.Below(3);
    default: { // 3 to 10, or an A
        const int pick = random.Below(9);
        return suit + (pick == 8 ? kRankAce : pick);
    }
    }
}
