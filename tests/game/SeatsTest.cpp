#include <cstring>

#include <gtest/gtest.h>

#include "game/LevelTitles.h"
#include "game/Seats.h"
#include "tests/game/CardHelpers.h"

TEST(Seats, NeighboursTeammatesAndOpposites) {
    EXPECT_EQ(CGameLogic::GetNextSeat(5), 0);
    EXPECT_EQ(CGameLogic::GetPrevSeat(0), 5);
    EXPECT_EQ(CGameLogic::GetPrevSeat2(3), 2);
    EXPECT_EQ(CGameLogic::GetOppositeSeat(4), 1);
    EXPECT_EQ(CGameLogic::GetNextTeammate(5), 1);
    EXPECT_EQ(CGameLogic::GetPrevTeammate(1), 5);
    EXPECT_TRUE(CGameLogic::IsTeammate(0, 2));
    EXPECT_TRUE(CGameLogic::IsTeammate(0, 4));
    EXPECT_TRUE(CGameLogic::IsTeammate(3, 1));
    EXPECT_FALSE(CGameLogic::IsTeammate(0, 0));
    EXPECT_FALSE(CGameLogic::IsTeammate(0, 3));
    EXPECT_FALSE(CGameLogic::IsTeammate(0, 1));
    EXPECT_FALSE(CGameLogic::IsTeammate(-2, 0));
    // Bad seats never lead outside the table.
    for (int seat : {-7, -1, 6, 100}) {
        EXPECT_GE(CGameLogic::GetNextSeat(seat), 0);
        EXPECT_LT(CGameLogic::GetOppositeSeat(seat), 6);
    }
}

TEST(Seats, NextPlayingSeatStepsBackwardsOverSeatsOutOfPlay) {
    CGameLogic board;
    EXPECT_EQ(board.GetNextPlayingSeat(2), 1);
    board.SetSeatStatus(1, kStatusOut1, 0);
    board.SetSeatStatus(0, kStatusOut2, 0);
    EXPECT_EQ(board.GetNextPlayingSeat(2), 5);
    for (int seat = 0; seat < kSeatCount; ++seat)
        board.SetSeatStatus(seat, kStatusOut3, 0);
    EXPECT_EQ(board.GetNextPlayingSeat(2), 6);
    board.SetSeatStatus(2, 0, 0);
    EXPECT_EQ(board.GetNextPlayingSeat(2), 2); // the seat itself comes last
    EXPECT_EQ(board.GetNextPlayingSeat(6), 6);
}

TEST(Seats, ViewsInvertSeatsInBothDirections) {
    for (bool reversed : {false, true})
        for (int mine = 0; mine < kSeatCount; ++mine) {
            EXPECT_EQ(SeatToView(mine, mine, reversed), 0);
            bool seen[kSeatCount] = {};
            for (int seat = 0; seat < kSeatCount; ++seat) {
                int view = SeatToView(seat, mine, reversed);
                ASSERT_GE(view, 0);
                ASSERT_LT(view, kSeatCount);
                seen[view] = true;
                EXPECT_EQ(ViewToSeat(view, mine, reversed), seat);
            }
            for (bool s : seen)
                EXPECT_TRUE(s);
        }
    EXPECT_EQ(SeatToView(3, 1, false), 2);
    EXPECT_EQ(SeatToView(3, 1, true), 4);
}

TEST(LevelTitles, TitlesAreGbkAndClamped) {
    // "新兵" in GBK.
    EXPECT_STREQ(GetLevelTitle(0), "\xD0\xC2\xB1\xF8");
    EXPECT_STREQ(GetLevelTitle(0), "新兵");
    EXPECT_STREQ(GetLevelTitle(19), "辅国大将军");
    EXPECT_STREQ(GetLevelTitle(-5), GetLevelTitle(0));
    EXPECT_STREQ(GetLevelTitle(20), GetLevelTitle(19));
    EXPECT_EQ(strlen(GetLevelTitle(19)), 10u);
}

TEST(LevelTitles, LevelFromScoreBoundaries) {
    const int firstScore[] = {10,     50,     100,     500,     1000,   2000,   5000,
                              10000,  20000,  50000,   100000,  150000, 200000, 300000,
                              500000, 800000, 1200000, 1700000, 2700000};
    for (int level = 1; level < kLevelCount; ++level) {
        EXPECT_EQ(CGameLogic::GetLevelFromScore(firstScore[level - 1]), level);
        EXPECT_EQ(CGameLogic::GetLevelFromScore(firstScore[level - 1] - 1), level - 1);
    }
    EXPECT_EQ(CGameLogic::GetLevelFromScore(-100), 0);
    EXPECT_EQ(CGameLogic::GetLevelFromScore(INT32_MAX), 19);
}
