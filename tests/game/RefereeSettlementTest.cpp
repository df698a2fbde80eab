#include "tests/game/RefereeFixture.h"

// Places, game over and settlement.

namespace {

tagGAMEOVERMSG LastGameOver(const std::vector<HostCallRecord>& overs) {
    tagGAMEOVERMSG over{};
    if (!overs.empty())
        memcpy(&over, overs.back().data.data(), sizeof(over));
    return over;
}

} // namespace

TEST_F(RefereeTest, ASweepScoresTwelveAndTheGameMultiplierIsNine) {
    SeatSix(10000);
    board.SetState(kStatePlay);
    board.vecPlace = {0, 2, 4, 1, 3, 5};
    board.GameOver();
    const auto overs = Sent(kMsgGameOver, kHostSendToAll);
    ASSERT_EQ(overs.size(), 1u);
    EXPECT_EQ(overs[0].data.size(), 1224u);
    const tagGAMEOVERMSG over = LastGameOver(overs);
    // Team result x M (3 x 3), and the place tributes of the next game:
    // the last place gives 2 cards to the first, the fifth 1 to the second.
    const int placeValue[kSeatCount] = {2, 0, 1, -1, 0, -2};
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const int sign = seat % 2 == 0 ? 1 : -1;
        EXPECT_EQ(over.change.nScoreChange[seat], 12 * sign);
        EXPECT_EQ(over.change.nBeanChange[seat], 12 * 9 * sign + placeValue[seat]);
        EXPECT_EQ(over.nResult[seat], sign > 0 ? 2 : 1);
        EXPECT_EQ(over.users[seat].nBeans, 10000 + 108 * sign + placeValue[seat]);
    }
    EXPECT_EQ(over.nGamesPlayed, 1);
    EXPECT_EQ(board.GetGameState(), kStateWaitStart);
    EXPECT_EQ(CountCode(kHostBeanSettlement), 6);
    // The places of the next game's tributes: last gives two, fifth one.
    ASSERT_EQ(board.GetTributeList(kTributePlace).size(), 2u);
    EXPECT_EQ(board.GetTributeList(kTributePlace)[0].nReceiver, 0);
    EXPECT_EQ(board.GetTributeList(kTributePlace)[0].nGiver, 5);
    EXPECT_EQ(board.GetTributeList(kTributePlace)[0].nCount, 2);
    EXPECT_EQ(over.placeTributes[1].nGiver, 3);
    EXPECT_EQ(board.GetHistory().size(), 1u);
}

TEST_F(RefereeTest, PlacesInSeatOrderScoreTwoEachSide) {
    SeatSix();
    board.SetState(kStatePlay);
    board.vecPlace = {0, 1, 2, 3, 4, 5};
    board.GameOver();
    const tagGAMEOVERMSG over = LastGameOver(Sent(kMsgGameOver));
    EXPECT_EQ(over.change.nScoreChange[0], 2);
    EXPECT_EQ(over.change.nScoreChange[1], -2);
    EXPECT_EQ(over.change.nBeanChange[4], 18 - 1); // the fifth place's tribute
}

TEST_F(RefereeTest, AnOpenedPointAgainstASilentSeat) {
    SeatSix();
    board.SetState(kStatePlay);
    board.m_nOpenedPoint[0] = 1;
    board.vecPlace = {0, 1, 2, 3, 4, 5};
    board.GameOver();
    const tagGAMEOVERMSG over = LastGameOver(Sent(kMsgGameOver));
    // Seat 3 gives one card to seat 0, and the point is worth 1 x w = 1.
    EXPECT_EQ(over.pointTributes[0].nKind, kTributePoint);
    EXPECT_EQ(over.pointTributes[0].nReceiver, 0);
    EXPECT_EQ(over.pointTributes[0].nGiver, 3);
    EXPECT_EQ(over.pointTributes[0].nCount, 1);
    EXPECT_EQ(over.change.nBeanChange[0], 2 * 9 + 1 + 2); // and the last place's 2
    EXPECT_EQ(over.change.nBeanChange[3], -2 * 9 - 1);
}

TEST_F(RefereeTest, LossesAreCappedAtTheBeansAndTakenFromTheWinners) {
    const int32_t beans[kSeatCount] = {100, 100000, 100000, 100000, 100000, 100000};
    int32_t changes[kSeatCount] = {-400, 300, 100, -100000, 50000, 50000};
    EXPECT_EQ(CGameLogic::CapLosses(beans, changes), 300);
    EXPECT_EQ(changes[0], -100);
    // 300 x 300 / 100400 = 0, 300 x 100 / 100400 = 0, 300 x 50000 / 100400 = 149 twice;
    // the 2 left come from the largest winner (the first of equal ones).
    EXPECT_EQ(changes[4], 50000 - 149 - 2);
    EXPECT_EQ(changes[5], 50000 - 149);
    int sum = 0;
    for (int change : changes)
        sum += change;
    EXPECT_EQ(sum, 0); // what was cut from the loser is taken from the winners
    int32_t noWinners[kSeatCount] = {-400, 0, 0, 0, 0, 0};
    EXPECT_EQ(CGameLogic::CapLosses(beans, noWinners), 300); // nothing to divide by
    EXPECT_EQ(noWinners[0], -100);
}

TEST_F(RefereeTest, AnEscapedSeatPaysThePenaltyButNoMoreThanItsBeans) {
    // Escape once a game has begun (field 20), penalty 80 (field 12).
    SetRules("10 10 10 10 10 10 30 30 5 30 5 80 1 0 0 0 0 0 0 1");
    SeatSix(10000);
    board.m_bFirstGame = 0;
    board.m_UserInfo[1].nBeans = 90;
    board.m_nTrustWord[1] = kTrustExit;
    board.SetState(kStatePlay);
    board.vecPlace = {0, 1, 2, 3, 4, 5};
    board.GameOver();
    const tagGAMEOVERMSG over = LastGameOver(Sent(kMsgGameOver));
    EXPECT_EQ(over.change.nBeanChange[1], -90); // -17 and 80 more exceed 90
    EXPECT_EQ(over.change.nScoreChange[1], -2 - 80);
    const auto ends = Sent(kMsgGameEnd);
    ASSERT_EQ(ends.size(), 1u); // a trusted seat ends the table
    EXPECT_EQ(As<tagGAMEENDMSG>(ends[0]).entries[1].bEscaped, 1);
    EXPECT_EQ(As<tagGAMEENDMSG>(ends[0]).entries[0].bEscaped, 0);
}

TEST_F(RefereeTest, FailedBurnsTakeTheLastPlacesAndTheRevolutionaryTheThird) {
    board.SetState(kStatePlay);
    board.m_FailShaoList = {4, 1};
    board.m_nSeatStatus[4] = board.m_nSeatStatus[1] = kStatusOut3;
    board.vecPlace = {0, 2};
    board.m_nSeatStatus[0] = board.m_nSeatStatus[2] = kStatusOut2;
    board.SetOverPlace(2);
    ASSERT_EQ(board.vecPlace.size(), 6u);
    EXPECT_EQ(board.vecPlace[4], 1);
    EXPECT_EQ(board.vecPlace[5], 4); // the first failure last

    RefereeProbe other;
    other.SetState(kStatePlay);
    other.m_nSeatStatus[4] = kStatusOut1; // the revolutionary
    other.m_nSeatStatus[0] = kStatusOut2;
    EXPECT_EQ(other.PlaceFinishedSeat(0), 0);
    other.m_nSeatStatus[2] = kStatusOut2;
    EXPECT_EQ(other.PlaceFinishedSeat(2), 1); // its teammates took 1 and 2
    ASSERT_EQ(other.vecPlace.size(), 6u);
    EXPECT_EQ(other.vecPlace[2], 4);
}
