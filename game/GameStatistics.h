#pragma once

#include <cstdint>

#include "game/TableRecords.h"

class CGameLogicBase;

// The per-game statistics the referee reports to its host, and the switches
// that the end of the rules text sets.
class CGameStatistics {
public:
    // Each block starts with its own size.
    struct GameBlock {
        int32_t nSize;
        int32_t nGames;
        int32_t nUndefendedPoints; // a seat declared while its opposite seat opened none
    };
    struct PointBlock {
        int32_t nSize;
        int32_t nDeclarations;
        int32_t nFees;
    };
    struct BetBlock {
        int32_t nSize;
        int32_t nBets;
        int32_t nBetsWon;
        int32_t nBeansWon;
        int32_t nBeansLost;
        int32_t nOptionFees;
    };
    struct SeatBlock {
        int32_t nSize;
        int32_t nBeanTotal[6];     // bean changes of the games so far
        int32_t nLongestStreak[6]; // longest run of games won
        int32_t nStreak[6];        // the run going on
    };
    // A per-seat report (host codes 16 and 18).
    struct SeatRecord {
        int32_t nSize; // 28
        char szUserName[20];
        int32_t nValue;
    };

    CGameStatistics();

    // Reads "send perSeatReport threshold" from the end of the rules text.
    void ParseOptions(const char* text);

    bool IsSendOn() const { return m_bSend != 0; }
    bool IsPerSeatReportOn() const { return m_bPerSeatReport != 0; }
    int GetThreshold() const { return m_nThreshold; }

    void CountPointDeclaration(int fee);
    void CountOptionFee(int fee);
    void CountBet(int result);
    void CountUndefendedPoint() { ++m_Game.nUndefendedPoints; }
    void CountGame(const int32_t beanChanges[6]);

    // The report at the game-end notice: the blocks when sending is on
    // (codes 13, 14, 15, 17), the per-seat records when those are on
    // (16 for a total at the threshold or above, 18 for a winning run).
    void Report(CGameLogicBase& host, const tagUSERINFO users[6]);

    const GameBlock& GetGameBlock() const { return m_Game; }
    const BetBlock& GetBetBlock() const { return m_Bet; }
    const PointBlock& GetPointBlock() const { return m_Point; }

private:
    int32_t m_bSend;
    int32_t m_bPerSeatReport;
    int32_t m_nThreshold;
    GameBlock m_Game;
    PointBlock m_Point;
    BetBlock m_Bet;
    SeatBlock m_Seat;
};
