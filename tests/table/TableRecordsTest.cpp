// The record handling without a window: a play record applied to the board,
// shown through a recording view and answered for me, with the receive gate
// opened on every path that does not wait for an animation.

#include "RecordsKit.h"

namespace table_test {
namespace {

class TableRecordsTest : public RecordsOnViewTest {
protected:
    void SetUp() override {
        RecordsOnViewTest::SetUp();
        theBoard.SetRuleFlags(kRuleCardsInClear);
        for (int k = 0; k < kTimeLimitCount; ++k)
            theBoard.GetTableHead().nTimeLimit[k] = 10;
    }

    // A play of the seat, handed over as the client hands it: gate held.
    void DeliverPlay(int seat, int type, std::initializer_list<int> codes,
                     std::initializer_list<std::pair<int, int>> masks) {
        auto play = Play(seat, type, codes);
        play->nHandCount = 30;
        for (auto [maskSeat, mask] : masks)
            play->nActionMask[maskSeat] = mask;
        Deliver(*play);
    }
    int Passes() const {
        int n = 0;
        for (const SentPlay& play : Plays())
            n += play.type == kActionPass;
        return n;
    }
};

TEST_F(TableRecordsTest, APlayThatPassesTheTurnOnIsLaidAndOpensTheGate) {
    DeliverPlay(0, kActionTakeOut, {9}, {{1, kActionTakeOut | kActionPass}});
    EXPECT_TRUE(view.Called("LayPlay 0 1 0"));
    EXPECT_TRUE(view.Called("TakeUpSeatCards 1")) << "the next seat's old cards go";
    EXPECT_TRUE(view.Called("ShowWaitMark 1 0")) << "the table waits for seat 1";
    EXPECT_EQ(theBoard.GetPlayList().size(), 1u);
    EXPECT_FALSE(client.ReceiveGate().IsHeld());
    EXPECT_FALSE(view.Called("StartRoundEnd"));
}

TEST_F(TableRecordsTest, ARoundThatEndsHoldsTheGateUntilItsCardsAreCollected) {
    theBoard.AddPlay(0, CGameLogic::GetCardType(std::vector<int>{9}.data(), 1));
    theBoard.SetPlayCounter(4);
    DeliverPlay(1, kActionPass, {}, {{0, kActionTakeOut}}); // seat 0 leads anew
    EXPECT_TRUE(view.Called("StartRoundEnd"));
    EXPECT_TRUE(theBoard.GetPlayList().empty());
    EXPECT_TRUE(Sounded("pass.wav"));
    EXPECT_TRUE(client.ReceiveGate().IsHeld()) << "held until the round-end step";

    // The cards fly to the centre: the flight's end opens the gate.
    view.flightsFly = TRUE;
    records.OnRoundEnd();
    EXPECT_TRUE(client.ReceiveGate().IsHeld());
    // Nothing to collect: the step opens it itself.
    view.flightsFly = FALSE;
    records.OnRoundEnd();
    EXPECT_FALSE(client.ReceiveGate().IsHeld());
    EXPECT_TRUE(view.Called("StopRoundEnd")) << "the next round runs";
}

TEST_F(TableRecordsTest, TheTablePassesForMeOnlyWhenMyCardsCannotBeatThePlay) {
    GiveMeHand({20});
    DeliverPlay(3, kActionTakeOut, {1, 55, 109}, {{kMe, kActionTakeOut | kActionPass}});
    EXPECT_EQ(Passes(), 1);
    EXPECT_TRUE(view.Called("UpdateActionButtons 8 0 0")) << "my buttons go";
    EXPECT_EQ(view.Count("ShowTurnClock 10 3000"), 0) << "no clock for a pass made";

    // With enough cards the table waits for me with my clock.
    view.calls.clear();
    GiveMeHand({20, 21, 22, 23});
    DeliverPlay(3, kActionTakeOut, {1, 55, 109}, {{kMe, kActionTakeOut | kActionPass}});
    EXPECT_EQ(Passes(), 1);
    EXPECT_TRUE(view.Called("UpdateActionButtons 8 17 1"));
    EXPECT_FALSE(client.ReceiveGate().IsHeld());
}

} // namespace
} // namespace table_test
