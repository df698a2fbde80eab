#pragma once

#include <cstdint>

#include "game/TableRecords.h"

class CRefereeRandom;

// The guessing bet: odds of the five kinds and the bases that scale a stake's
// chance of winning.
class CTakeChanceRule {
public:
    CTakeChanceRule();

    // Reads "odds0 .. odds4 memberBase otherBase threshold" from the tail of
    // the rules text and returns where the unread rest begins. Odds below 1
    // stop the reading; bases outside 1..99 are ignored.
    const char* Parse(const char* text);

    // Plays one bet of the kind (0..4): a win pays stake x odds, a loss
    // costs the stake. The chance to win is 1 in odds x 100 / base, the base
    // by the member flag. False, deciding nothing, when the rule gives no
    // base or no chance for the kind (a table without a bet rule).
    bool Resolve(int kind, bool member, int stake, CRefereeRandom& random, int* result,
                 int* card) const;
    // The card shown for the bet: one of the kind for a win, any other
    // card of the first deck for a loss.
    static int DrawCard(int kind, bool win, CRefereeRandom& random);
    static int KindOfCard(int code);

    const int32_t* GetOdds() const { return m_nOdds; }
    int GetMemberBase() const { return m_nMemberBase; }
    int GetOtherBase() const { return m_nOtherBase; }
    int GetAnnounceThreshold() const { return m_nAnnounceThreshold; }

    int32_t m_nBets[6]; // bets placed by each seat in this game

private:
    int32_t m_nMemberBase;
    int32_t m_nOtherBase;
    int32_t m_nOdds[kGuessKindCount];
    int32_t m_nAnnounceThreshold;
};
