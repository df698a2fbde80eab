// Plays and the round end, the game over and the return of a tribute,
// against the headless table window: what is drawn for them and the clocks
// the window runs. What the handlers decide is read on the recording view
// (TablePlayRecordsTest, TableRecordsTest).

#include "DrawnWords.h"
#include "RecordsForWindowAndView.h"
#include "TableWindowKit.h"

#include "platform/display/WindowSurfaces.h"

#include <climits>

namespace table_test {
namespace {

class GameWndPlays : public RecordsTest {
protected:
    void SetUp() override {
        RecordsTest::SetUp();
        SeatSix(kRuleCardsInClear | kRuleTribute);
        theBoard.SetGameState(kStatePlay);
    }
};

TEST_F(GameWndPlays, ALeaderWithPlaysOnTheTableEndsTheRoundOneSecondLater) {
    // The round's play came with the snapshot: nothing lies on the table.
    theBoard.AddPlay(0, CGameLogic::GetCardType(std::vector<int>{9}.data(), 1));
    theBoard.SetPlayCounter(4);
    auto pass = Play(1, kActionPass, {});
    pass->nActionMask[0] = kActionTakeOut; // exactly 16: seat 0 leads anew
    Deliver(*pass);
    clock.Advance(999);
    platform_test::PumpPending();
    EXPECT_FALSE(wnd->IsReceiveReady()) << "receiving waits a second for the round-end step";
    clock.Advance(1);
    platform_test::PumpPending();
    EXPECT_EQ(Releases(), 1);
    EXPECT_TRUE(wnd->IsReceiveReady());
}

TEST_F(GameWndPlays, IPassAtOnceWhenIHoldFewerCardsThanThePlay) {
    GiveMeHand({20});
    auto play = Play(3, kActionTakeOut, {1, 55, 109});
    play->nActionMask[kMe] = kActionTakeOut | kActionPass;
    Deliver(*play);
    const auto sent = Sent(kMsgPlay);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(LoadRecordInt(sent[0].data(), 12), kActionPass);

    // With enough cards the table waits for me.
    GiveMeHand({20, 21, 22, 23});
    Deliver(*play);
    EXPECT_EQ(Sent(kMsgPlay).size(), 1u);
    // In trusteeship the referee answers for me.
    theBoard.SetTrustWord(kMe, kTrustOwn);
    GiveMeHand({20});
    Deliver(*play);
    EXPECT_EQ(Sent(kMsgPlay).size(), 1u);

    // A seat that leads is never passed for, nor given the short clock, even
    // when the round's end was not told and old plays are still listed.
    theBoard.SetTrustWord(kMe, 0);
    theBoard.SetPlayCounter(0);
    auto lead = Play(3, kActionPass, {});
    lead->nActionMask[kMe] = kActionTakeOut;
    Deliver(*lead);
    Tick(600);
    EXPECT_EQ(Sent(kMsgPlay).size(), 1u);
    const POSITION clockPos = wnd->FindSpritePos(kClockSprite);
    ASSERT_NE(clockPos, nullptr);
    EXPECT_EQ(wnd->GetSpriteAt(clockPos)->nUser[1], 10) << "the clock of a lead";
}

TEST_F(GameWndPlays, TheProgramsWindowFlashesOnlyWhenTheTableWaitsForMe) {
    platform::WindowSurfaces* surfaces = platform::GetWindowSurfaces();
    ASSERT_NE(surfaces, nullptr);
    auto play = Play(3, kActionTakeOut, {1, 55, 109});
    play->nActionMask[kMe] = kActionTakeOut | kActionPass;
    GiveMeHand({20}); // fewer cards than the play: passed for me at once
    Deliver(*play);
    EXPECT_EQ(surfaces->FlashCount(parent.m_hWnd), 0);
    GiveMeHand({20, 21, 22, 23});
    Deliver(*play);
    EXPECT_EQ(surfaces->FlashCount(parent.m_hWnd), 1);
    theBoard.SetTrustWord(kMe, kTrustOwn); // the referee answers for me
    Deliver(*play);
    EXPECT_EQ(surfaces->FlashCount(parent.m_hWnd), 1);
}

class GameWndTributes : public RecordsTest {
protected:
    void SetUp() override {
        RecordsTest::SetUp();
        SeatSix(kRuleCardsInClear | kRuleTribute);
    }
};

TEST_F(GameWndTributes, MyOpenReturnsQuestionStaysDrawnUntilItIsAnswered) {
    auto due = ReturnDue(1, 0, kMe, 1);
    due->cards[0] = CardOf(3);
    Deliver(*due);
    // The question says to whom and how many for as long as it is open.
    EXPECT_EQ(DrawnWords(*wnd, kQuestionLineSprite), "请您还给[p0]1张贡牌(憋贡)。");
    Tick(layout.m_nTextSpriteDelay * 2);
    EXPECT_EQ(DrawnWords(*wnd, kQuestionLineSprite), "请您还给[p0]1张贡牌(憋贡)。")
        << "the first open return";
    tagRETURNTRIBUTEMSG moved = *due;
    moved.bRequested = moved.bMoved = 1;
    Deliver(moved);
    EXPECT_EQ(DrawnWords(*wnd, kQuestionLineSprite), "") << "answered: the words go";
}

TEST_F(GameWndTributes, ACleanSweepsMarkHoldsTheResultPaneBackUntilItEnds) {
    Deliver(CleanSweepPlaces());
    Deliver(GameOver(kMe));
    EXPECT_TRUE(Shown(kChuanSanHuSprite)) << "the clean-sweep mark plays";
    EXPECT_TRUE(wnd->IsGameOverMarkShown());
    // Only the result pane waits; seats that start the next game while the
    // mark plays keep their start.
    EXPECT_EQ(wnd->FindSpritePos(501), nullptr);
    tagSTARTMSG start;
    InitStartMsg(start);
    start.nSeat = 0;
    Deliver(start);
    Tick(500); // the mark plays to its end
    EXPECT_NE(wnd->FindSpritePos(501), nullptr) << "the result pane after the mark";
    EXPECT_EQ(theBoard.GetStartFlag(0), 1) << "a start during the mark outlasts it";
    EXPECT_FALSE(Shown(kChuanSanHuSprite));
}

class GameWndPhases : public RecordsTest {
protected:
    void SetUp() override {
        RecordsTest::SetUp();
        SeatSix(kRuleCardsInClear);
    }
};

TEST_F(GameWndPhases, LimitsPastWhatATimerHoldsWaitAsLongAsOneCanInsteadOfRunningOutAtOnce) {
    // The server's table record gives the limits. 4294967 seconds and a
    // second's grace are 4294968000 ms, which a 32-bit count wraps to 704;
    // the largest limits pass an int when they are added.
    for (const int32_t limit : {4294967, INT_MAX}) {
        auto info = NewRecord<tagTABLEINFO>();
        for (int seat = 0; seat < kSeatCount; ++seat)
            info->users[seat] = Player(seat);
        for (int32_t& seconds : info->head.nTimeLimit)
            seconds = limit;
        info->head.nTimeLimit[kLimitGrace] = limit == INT_MAX ? INT_MAX : 1;
        Deliver(*info);
        client.sent.clear();
        tagGOUSIJIMSG gousiji;
        InitGousijiMsg(gousiji);
        gousiji.nSeat = kMe;
        Deliver(gousiji);
        ASSERT_EQ(theBoard.GetSeatActionMask(kMe), kActionAnswer);
        Tick(300);
        EXPECT_TRUE(client.sent.empty()) << limit << ": nothing told or answered for me yet";
        EXPECT_EQ(theBoard.GetSeatActionMask(kMe), kActionAnswer);
        // The wait ends, once, after the longest a timer waits.
        clock.Advance(USER_TIMER_MAXIMUM);
        platform_test::PumpPending();
        EXPECT_EQ(SentOf(kMsgTimeTick), 1) << limit;
    }
}

} // namespace
} // namespace table_test
