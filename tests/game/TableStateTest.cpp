#include <cstring>

#include <gtest/gtest.h>

#include "tests/game/CardHelpers.h"

// Lets a test look at the members a referee or the table window reads.
class InspectedBoard : public CGameLogic {
public:
    using CGameLogic::m_bFirstGame;
    using CGameLogic::m_bStillInPlay;
    using CGameLogic::m_nAnswerOrder;
    using CGameLogic::m_nAwaitedAnswers;
    using CGameLogic::m_nBeanRate;
    using CGameLogic::m_nCardsPerSeat;
    using CGameLogic::m_nGousijiCount;
    using CGameLogic::m_nGousijiSeat;
    using CGameLogic::m_nLastPlaySeat;
    using CGameLogic::m_nRevolutionSeat;
    using CGameLogic::m_nStartFlags;
    using CGameLogic::m_nTrustWord;
};

TEST(TableState, ConstructionSetsTheDefaults) {
    InspectedBoard board;
    const tagTABLEHEAD& head = board.GetTableHead();
    const int32_t limits[] = {10, 10, 10, 10, 10, 10, 30, 30, 5, 30, 5};
    EXPECT_EQ(memcmp(head.nTimeLimit, limits, sizeof(limits)), 0);
    EXPECT_EQ(head.nField13, 1);
    EXPECT_EQ(head.nMaxMultiple, 16);
    EXPECT_EQ(head.nBaseMultiple, 8);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        EXPECT_EQ(head.nMultiple[seat], 1);
        EXPECT_EQ(board.m_nAnswerOrder[seat + 1], 6);
        EXPECT_EQ(board.m_nGousijiCount[seat], -1);
        EXPECT_EQ(board.m_bStillInPlay[seat], 1);
        EXPECT_EQ(board.GetSeatActionMask(seat), seat == 0 ? kActionTakeOut : 0);
    }
    EXPECT_EQ(board.m_nCardsPerSeat, 36);
    EXPECT_EQ(board.m_nBeanRate, 1);
    EXPECT_EQ(board.m_bFirstGame, 1);
    EXPECT_EQ(board.m_nRevolutionSeat, -1);
    EXPECT_EQ(board.m_nGousijiSeat, 6);
    EXPECT_EQ(board.m_nLastPlaySeat, -1);
    EXPECT_EQ(board.GetGameState(), kStateWaitStart);
    EXPECT_EQ(board.GetRuleFlags(), 0u);
}

TEST(TableState, SeatStatusReplacesOrCombinesAndIgnoresBadSeats) {
    CGameLogic board;
    EXPECT_EQ(board.SetSeatStatus(2, kStatusToTakeOut, 0), kStatusToTakeOut);
    EXPECT_EQ(board.SetSeatStatus(2, kStatusLastPlay, 1), kStatusToTakeOut | kStatusLastPlay);
    EXPECT_EQ(board.SetSeatStatus(2, kStatusMark2, 0), kStatusMark2);
    EXPECT_EQ(board.SetSeatStatus(6, 0x80, 0), 0);
    EXPECT_EQ(board.SetSeatStatus(-1, 0x80, 1), 0);
    EXPECT_EQ(board.GetSeatStatus(6), 0);
    for (int seat = 0; seat < kSeatCount; ++seat)
        EXPECT_FALSE(board.IsSeatOut(seat));
    for (int bit : {kStatusOut1, kStatusOut2, kStatusOut3}) {
        board.SetSeatStatus(4, bit, 0);
        EXPECT_TRUE(board.IsSeatOut(4)) << bit;
    }
}

TEST(TableState, ActionMasksAreRangeChecked) {
    CGameLogic board;
    EXPECT_EQ(board.SetSeatActionMask(5, 19), 1);
    EXPECT_EQ(board.GetSeatActionMask(5), 19);
    EXPECT_EQ(board.SetSeatActionMask(6, 19), 0);
    EXPECT_EQ(board.GetSeatActionMask(6), 0);
    EXPECT_EQ(board.GetSeatActionMask(-7), 0);
}

TEST(TableState, OptionFeeIsHalfTheMultipleStepsOverTheBase) {
    CGameLogic board;
    board.SetProperty(kPropRulesText, "10 10 10 10 10 10 30 30 5 30 5 0 1 0 0 0 0 0 0 0 0 0 0 0 0 "
                                      "0 0 0 0 0 16 8 0 0 0 0 500 100");
    EXPECT_EQ(board.GetOptionFee(0, 16), 100);
    EXPECT_EQ(board.GetOptionFee(0, 8), 0);
    EXPECT_EQ(board.GetOptionFee(0, 32), 200);
    EXPECT_EQ(board.GetOptionFee(0, 12), 0);
    EXPECT_EQ(board.GetOptionFee(1, 16), 500);
}

TEST(TableState, ResetClearsTheGameButKeepsTheTable) {
    InspectedBoard board;
    DealHand(board, 1, {Card(3), Card(4)});
    board.SetSeatStatus(1, kStatusOut1, 0);
    board.SetSeatActionMask(3, 17);
    board.SetGameState(kStatePlay);
    board.SetRuleFlags(0x1234);
    board.AddPlay(1, TypeOf({Card(3)}));
    board.m_nStartFlags[2] = 1;
    board.m_nTrustWord[2] = 300;
    board.GetTableHead().nGuessesPlaced[4] = 3;
    board.GetTableHead().nMultiple[4] = 4;
    board.m_nAwaitedAnswers = 3;

    board.ResetGameData();
    EXPECT_EQ(board.GetHandUsedCount(1), 0);
    EXPECT_EQ(board.GetHand(1)[0].code, 0);
    EXPECT_EQ(board.GetSeatStatus(1), 0);
    EXPECT_EQ(board.GetSeatActionMask(3), 0);
    EXPECT_EQ(board.GetGameState(), kStateWaitStart);
    EXPECT_TRUE(board.GetPlayList().empty());
    EXPECT_EQ(board.m_nStartFlags[2], 0);
    EXPECT_EQ(board.GetTableHead().nGuessesPlaced[4], 0);
    EXPECT_EQ(board.m_nAwaitedAnswers, 1);
    // The table's settings and who is trusted outlive a game.
    EXPECT_EQ(board.GetRuleFlags(), 0x1234u);
    EXPECT_EQ(board.GetTableHead().nMultiple[4], 4);
    EXPECT_EQ(board.m_nTrustWord[2], 300);
}

TEST(TableState, KeyDigitsComeFromTheSpareBytes) {
    tagCARD records[36];
    for (int i = 0; i < 36; ++i) {
        records[i] = CGameLogic::CardFromIndex(i * 5);
        records[i].spare = uint8_t((i * 7) % 10);
    }
    int digits[36];
    CGameLogic::GetKeyDigits(records, digits);
    for (int i = 0; i < 36; ++i)
        EXPECT_EQ(digits[i], (i * 7) % 10);
}

TEST(TableRecords, UserRecordFieldsSitAtTheirWireOffsets) {
    tagTABLEINFO info{};
    info.users[2].nSeat = 2;
    info.users[2].nBeans = 123456;
    strcpy(info.users[2].szUserName, "alice");
    info.nStartFlags[5] = 1;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&info);
    const uint8_t* user = bytes + 184 + 2 * 144;
    int32_t value;
    memcpy(&value, user + 44, 4);
    EXPECT_EQ(value, 2);
    memcpy(&value, user + 136, 4);
    EXPECT_EQ(value, 123456);
    EXPECT_STREQ(reinterpret_cast<const char*>(user + 4), "alice");
    memcpy(&value, bytes + 1048 + 5 * 4, 4);
    EXPECT_EQ(value, 1);
}
