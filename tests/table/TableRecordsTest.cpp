// The record handling without a window: a play record applied to the board,
// shown through a recording view and answered for me, with the receive gate
// opened on every path that does not wait for an animation.

#include "table/TableRecords.h"
#include "ClientFixture.h"
#include "RecordingView.h"
#include "TableTestKit.h"

namespace table_test {
namespace {

class TableRecordsTest : public ::testing::Test {
protected:
    static constexpr int kMe = 2;

    void SetUp() override {
        ClearBoard();
        theBoard.ResetGameData();
        theBoard.SetRuleFlags(kRuleCardsInClear);
        for (int k = 0; k < kTimeLimitCount; ++k)
            theBoard.GetTableHead().nTimeLimit[k] = 10;
        client.m_nMySeat = kMe;
        client.m_bWatcher = FALSE;
        viewpoint.nMySeat = kMe;
        records.SetClient(&client);
    }
    void TearDown() override {
        // Every presentation the test started has ended: a hold left here is a
        // release some path forgot.
        EXPECT_FALSE(client.ReceiveGate().IsHeld()) << "the test ended with receiving held";
        ClearBoard();
    }

    // A play of the seat, handed over as the client hands it: gate held.
    void Deliver(int seat, int type, std::initializer_list<int> codes,
                 std::initializer_list<std::pair<int, int>> masks) {
        tagPLAYMSG play;
        InitPlayMsg(play);
        play.nSeat = seat;
        play.nType = type;
        play.nPlayCounter = 1;
        play.nHandCount = 30;
        for (int code : codes)
            play.nCodes[play.nCount++] = code;
        for (auto [maskSeat, mask] : masks)
            play.nActionMask[maskSeat] = mask;
        client.ReceiveGate().Hold(CReceiveGate::kRecord);
        records.OnPlay(play);
    }
    void GiveMeHand(std::initializer_list<int> codes) {
        tagCARD hand[kHandSize] = {};
        int n = 0;
        for (int code : codes) {
            hand[n] = CGameLogic::CardFromIndex(code);
            hand[n++].flags = kCardHeld;
        }
        theBoard.SetHand(kMe, hand, n);
    }
    int Passes() const {
        int n = 0;
        for (const std::vector<BYTE>& sent : client.sent)
            n += WordAt(sent, 0) == kMsgPlay &&
                 WordAt(sent, offsetof(tagPLAYMSG, nType)) == kActionPass;
        return n;
    }

    LogCapture log;
    RecordingClient client;
    RecordingView view;
    TableViewpoint viewpoint;
    CTableRecords records{theBoard, viewpoint, view, view, view};
};

TEST_F(TableRecordsTest, APlayThatPassesTheTurnOnIsLaidAndOpensTheGate) {
    Deliver(0, kActionTakeOut, {9}, {{1, kActionTakeOut | kActionPass}});
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
    Deliver(1, kActionPass, {}, {{0, kActionTakeOut}}); // seat 0 leads anew
    EXPECT_TRUE(view.Called("StartRoundEnd"));
    EXPECT_TRUE(theBoard.GetPlayList().empty());
    EXPECT_FALSE(records.IsRoundRunning());
    EXPECT_TRUE(client.ReceiveGate().IsHeld()) << "held until the round-end step";

    // The cards fly to the centre: the flight's end opens the gate.
    view.flightsFly = TRUE;
    records.OnRoundEnd();
    EXPECT_TRUE(client.ReceiveGate().IsHeld());
    // Nothing to collect: the step opens it itself.
    view.flightsFly = FALSE;
    records.OnRoundEnd();
    EXPECT_FALSE(client.ReceiveGate().IsHeld());
    EXPECT_TRUE(records.IsRoundRunning());
}

TEST_F(TableRecordsTest, TheTablePassesForMeOnlyWhenMyCardsCannotBeatThePlay) {
    GiveMeHand({20});
    Deliver(3, kActionTakeOut, {1, 55, 109}, {{kMe, kActionTakeOut | kActionPass}});
    EXPECT_EQ(Passes(), 1);
    EXPECT_TRUE(view.Called("UpdateActionButtons 8 0 0")) << "my buttons go";
    EXPECT_EQ(view.Count("ShowTurnClock 10 3000"), 0) << "no clock for a pass made";

    // With enough cards the table waits for me with my clock.
    view.calls.clear();
    GiveMeHand({20, 21, 22, 23});
    Deliver(3, kActionTakeOut, {1, 55, 109}, {{kMe, kActionTakeOut | kActionPass}});
    EXPECT_EQ(Passes(), 1);
    EXPECT_TRUE(view.Called("UpdateActionButtons 8 17 1"));
    EXPECT_FALSE(client.ReceiveGate().IsHeld());
}

} // namespace
} // namespace table_test
