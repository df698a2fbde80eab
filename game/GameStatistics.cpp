#include "game/GameStatistics.h"

#include "game/GameLogicBase.h"
#include "game/RulesFields.h"

#include <cstring>

CGameStatistics::CGameStatistics()
    : m_bSend(0), m_bPerSeatReport(0),
      m_nThreshold(1000), m_Game{sizeof(GameBlock), 0, 0}, m_Point{sizeof(PointBlock), 0, 0},
      m_Bet{sizeof(BetBlock), 0, 0, 0, 0, 0}, m_Seat{sizeof(SeatBlock), {}, {}, {}} {}

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

void CGameStatistics::CountPointDeclaration(int fee) {
    ++m_Point.nDeclarations;
    m_Point.nFees += fee;
}

void CGameStatistics::CountOptionFee(int fee) {
    m_Bet.nOptionFees += fee;
}

void CGameStatistics::CountBet(int result) {
    ++m_Bet.nBets;
    if (result > 0) {
        ++m_Bet.nBetsWon;
        m_Bet.nBeansWon += result;
    } else {
        m_Bet.nBeansLost -= result;
    }
}

void CGameStatistics::CountGame(const int32_t beanChanges[6]) {
    ++m_Game.nGames;
    for (int seat = 0; seat < 6; ++seat) {
        m_Seat.nBeanTotal[seat] += beanChanges[seat];
        m_Seat.nStreak[seat] = beanChanges[seat] > 0 ? m_Seat.nStreak[seat] + 1 : 0;
        if (m_Seat.nStreak[seat] > m_Seat.nLongestStreak[seat])
            m_Seat.nLongestStreak[seat] = m_Seat.nStreak[seat];
    }
}

void CGameStatistics::Report(CGameLogicBase& host, const tagUSERINFO users[6]) {
    if (m_bSend) {
        host.CallHost(13, 0, &m_Game, sizeof(m_Game));
        host.CallHost(14, 0, &m_Point, sizeof(m_Point));
        host.CallHost(15, 0, &m_Bet, sizeof(m_Bet));
        host.CallHost(17, 0, &m_Seat, sizeof(m_Seat));
    }
    if (!m_bPerSeatReport)
        return;
    for (int seat = 0; seat < 6; ++seat) {
        SeatRecord record{sizeof(SeatRecord), {}, 0};
        memcpy(record.szUserName, users[seat].szUserName, sizeof(record.szUserName));
        if (m_Seat.nBeanTotal[seat] >= m_nThreshold) {
            record.nValue = m_Seat.nBeanTotal[seat];
            host.CallHost(16, 0, &record, sizeof(record));
        }
        if (m_Seat.nLongestStreak[seat] > 0) {
            record.nValue = m_Seat.nLongestStreak[seat];
            host.CallHost(18, 0, &record, sizeof(record));
        }
    }
}
