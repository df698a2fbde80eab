// Plays and the round end, the game over and the records that move cards
// between seats, against the headless table window.

#include "TableWindowKit.h"

#include "platform/display/WindowSurfaces.h"
#include "sprite/TextImage.h"

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
    EXPECT_TRUE(theBoard.GetPlayList().empty());
    EXPECT_FALSE(wnd->Records().IsRoundRunning());
    EXPECT_EQ(Releases(), 0) << "receiving waits for the round-end step";
    EXPECT_FALSE(wnd->IsReceiveReady());
    EXPECT_TRUE(Sounded("pass.wav"));
    clock.Advance(1000);
    platform_test::PumpPending();
    EXPECT_EQ(Releases(), 1);
    EXPECT_TRUE(wnd->IsReceiveReady());
    EXPECT_TRUE(wnd->Records().IsRoundRunning());
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
    std::unique_ptr<tagTRIBUTEMSG> Tribute(int giver, int receiver, std::vector<int> codes) {
        auto tribute = NewRecord<tagTRIBUTEMSG>();
        tribute->nGiver = giver;
        tribute->nReceiver = receiver;
        tribute->nKind = 0;
        tribute->nCount = int(codes.size());
        for (size_t i = 0; i < codes.size(); ++i)
            tribute->cards[i] = CardOf(codes[i]);
        return tribute;
    }
    // The words of the question I have open, as drawn; empty when none shows.
    std::string QuestionLine() {
        const POSITION pos = wnd->FindSpritePos(kQuestionLineSprite);
        SPRITEINFO* s = pos != nullptr ? wnd->GetSpriteAt(pos) : nullptr;
        auto* text = s != nullptr && s->nChannel >= 0 && s->bShown
                         ? dynamic_cast<CTextImage*>(wnd->GetImageList().GetAt(s->posImage))
                         : nullptr;
        return text != nullptr ? text->GetText() : "";
    }
};

TEST_F(GameWndTributes, ADueReturnIsQueuedForTheReturnerAndPromptsOnce) {
    auto due = NewRecord<tagRETURNTRIBUTEMSG>();
    due->nReceiver = 0;
    due->nReturner = kMe;
    due->nCount = 1;
    due->cards[0] = CardOf(3);
    due->nKind = 1;
    Deliver(*due);
    ASSERT_EQ(wnd->Records().PendingTributes().size(), 1u);
    EXPECT_EQ(wnd->Records().PendingTributes()[0].nTargetSeat, 0);
    EXPECT_EQ(wnd->Records().PendingTributes()[0].nCount, 1);
    // The question says to whom and how many for as long as it is open.
    EXPECT_EQ(QuestionLine(), "请您还给[p0]1张贡牌(憋贡)。");
    auto second = std::make_unique<tagRETURNTRIBUTEMSG>(*due);
    second->nReceiver = 3;
    second->nCount = 2;
    Deliver(*second);
    EXPECT_EQ(wnd->Records().PendingTributes().size(), 2u);
    EXPECT_TRUE(wnd->notices.empty()) << "no fading notice beside it";
    Tick(layout.m_nTextSpriteDelay * 2);
    EXPECT_EQ(QuestionLine(), "请您还给[p0]1张贡牌(憋贡)。") << "the first open return";

    EXPECT_EQ(theBoard.GetGameState(), kStateTribute);
    EXPECT_EQ(theBoard.GetSeatActionMask(kMe), kActionReturnTribute);

    // One return moved; when the referee lists what is still due, the list
    // replaces the pending one rather than adding to it.
    tagRETURNTRIBUTEMSG moved = *due;
    moved.bRequested = moved.bMoved = 1;
    Deliver(moved);
    EXPECT_EQ(wnd->Records().PendingTributes().size(), 1u);
    EXPECT_EQ(theBoard.GetSeatActionMask(kMe), kActionReturnTribute) << "one more is due";
    EXPECT_EQ(QuestionLine(), "请您还给[p3]2张贡牌(憋贡)。") << "the next one open";
    Deliver(*due);
    EXPECT_EQ(wnd->Records().PendingTributes().size(), 1u);
    Deliver(moved);
    EXPECT_TRUE(wnd->Records().PendingTributes().empty());
    EXPECT_EQ(theBoard.GetSeatActionMask(kMe), 0);
    EXPECT_EQ(QuestionLine(), "") << "answered: the words go";

    // Another seat's return: a waiting notice while nothing of mine is due.
    due->nReturner = 4;
    Deliver(*due);
    EXPECT_EQ(wnd->notices.back(), "等待玩家还(憋贡)...");
    EXPECT_TRUE(wnd->Records().PendingTributes().empty());
    EXPECT_EQ(QuestionLine(), "");
}

TEST_F(GameWndTributes, ACleanSweepKeepsTheRecordForLater) {
    tagPLACESMSG places;
    InitPlacesMsg(places);
    const int order[kSeatCount] = {kMe, 0, 4, 1, 3, 5}; // my side takes places 1 to 3
    std::copy(order, order + kSeatCount, places.nPlaces);
    places.nSeat = 9;
    Deliver(places);
    GiveMeHand({1, 2});
    Deliver(GameOver(kMe));
    EXPECT_TRUE(Sounded("win.wav"));
    EXPECT_TRUE(wnd->Marks().IsCleanSweep());
    EXPECT_TRUE(wnd->IsGameOverMarkShown());
    // The game's data goes at once, so that seats starting the next game
    // while the mark plays keep their start; only the result pane waits.
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 0);
    EXPECT_EQ(wnd->FindSpritePos(501), nullptr);
    tagSTARTMSG start;
    InitStartMsg(start);
    start.nSeat = 0;
    Deliver(start);
    Tick(500); // the mark plays to its end
    EXPECT_NE(wnd->FindSpritePos(501), nullptr) << "the result pane after the mark";
    EXPECT_EQ(theBoard.GetStartFlag(0), 1) << "a start during the mark outlasts it";
    EXPECT_FALSE(wnd->Marks().IsCleanSweep());
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
