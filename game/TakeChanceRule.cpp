#include "game/TakeChanceRule.h"

#include "game/RulesFields.h"

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
