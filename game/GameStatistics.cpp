#include "game/GameStatistics.h"

#include "game/RulesFields.h"

CGameStatistics::CGameStatistics() : m_bSend(0), m_bPerSeatReport(0), m_nThreshold(1000) {}

void CGameStatistics::ParseOptions(const char* text) {
    CRulesFields fields(text);
    int value = 0;
    if (fields.Next(value))
        m_bSend = value;
    if (fields.Next(value))
        m_bPerSeatReport = value;
    if (fields.Next(value))
        m_nThreshold = value;
}
