#pragma once

#include <cstdint>

#include "game/TableRecords.h"

// The guessing bet: odds of the five kinds and the bases that scale a stake's
// chance of winning.
class CTakeChanceRule {
public:
    CTakeChanceRule();

    // Reads "odds0 .. odds4 memberBase otherBase threshold" from the tail of
    // the rules text and returns where the unread rest begins. Odds below 1
    // stop the reading; bases outside 1..99 are ignored.
    const char* Parse(const char* text);

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
