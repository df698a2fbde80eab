// Plays, the game over, the question phases and the records that move
// cards between seats, through the client into the record handling on the
// recording view: what the handlers leave in theBoard, tell the view and
// send.

#include "RecordsForWindowAndView.h"
#include "RecordsKit.h"

namespace table_test {
namespace {

class TablePlays : public RecordsOnViewTest {
protected:
    void SetUp() override {
        RecordsOnViewTest::SetUp();
        SeatSix(kRuleCardsInClear | kRuleTribute);
        theBoard.SetGameState(kStatePlay);
    }
};

TEST_F(TablePlays, TakeOutsAreLaidCountedAndSoundedByTheirSize) {
    Deliver(*PlayToNext(0, kActionTakeOut, {0, 54}));
    EXPECT_TRUE(Sounded("takeout2.wav"));
    EXPECT_EQ(Releases(), 1);
    Deliver(*PlayToNext(5, kActionTakeOut, {1, 55, 109}));
    EXPECT_TRUE(Sounded("takeout5.wav"));
    Deliver(*PlayToNext(4, kActionTakeOut, {2, 56, 110, 164, 15, 69}));
    EXPECT_TRUE(Sounded("takeout6.wav"));
    ASSERT_EQ(theBoard.GetPlayList().size(), 3u);
    EXPECT_EQ(theBoard.GetPlayList()[2].nSeat, 4);
    EXPECT_EQ(CGameLogic::GetCardTypeCount(theBoard.GetPlayList()[2].type), 6);
    EXPECT_TRUE(view.Called("LayPlay 4 6 0")) << "seat 4's six cards are laid, the last play";
    EXPECT_FALSE(view.Called("StartRoundEnd")) << "the round runs on";
    EXPECT_EQ(theBoard.GetGameState(), kStatePlay);
    EXPECT_TRUE(!client.ReceiveGate().IsHeld());
}

TEST_F(TablePlays, TheSeatsTheTurnGoesPastLoseTheirCardsUnlessTheyMayStillMatter) {
    // The turn goes back seat by seat: seat 5's play passes it over seat 4
    // to seat 3, so seat 4's play leaves the table.
    const auto playOverSeatFour = [&](int type, int nextMask, int32_t nextStatus) {
        auto earlier = Play(4, kActionTakeOut, {8});
        earlier->nActionMask[3] = kActionTakeOut | kActionPass;
        earlier->nSeatStatus[3] = nextStatus;
        Deliver(*earlier);
        auto play = Play(5, type, {13});
        if (type != kActionTakeOut)
            play->nCount = 0;
        play->nActionMask[3] = nextMask;
        view.calls.clear();
        Deliver(*play);
        // Seat 4's one card lies there unless seat 5's play takes it up.
        return view.Called("TakeUpSeatCards 4") ? 0u : 1u;
    };
    EXPECT_EQ(playOverSeatFour(kActionTakeOut, kActionTakeOut | kActionPass, 0), 0u);
    EXPECT_TRUE(view.Called("LayPlay 5 1 0") && !view.Called("TakeUpSeatCards 5"))
        << "the actor's play stays";
    EXPECT_EQ(playOverSeatFour(kActionPass, kActionTakeOut | kActionPass, 0), 0u);
    // Kept: after a give up, while the next actor may burn what lies there,
    // and when the next actor had let the turn go before.
    EXPECT_EQ(playOverSeatFour(kActionGiveUp, kActionTakeOut | kActionPass, 0), 1u);
    EXPECT_EQ(playOverSeatFour(kActionTakeOut, kActionShao | kActionPass, 0), 1u);
    EXPECT_EQ(playOverSeatFour(kActionTakeOut, kActionTakeOut | kActionPass, kStatusMark2), 1u);
    // Where the partners' cards lie open nothing is passed over.
    theBoard.SetRuleFlags(theBoard.GetRuleFlags() | kRuleCardsLeftNotice);
    EXPECT_EQ(playOverSeatFour(kActionTakeOut, kActionTakeOut | kActionPass, 0), 1u);
    EXPECT_TRUE(!client.ReceiveGate().IsHeld());
}

TEST_F(TablePlays, MyPlayedCardsLeaveMyHandAndOthersCountsFollowTheRecord) {
    GiveMeHand({3, 4, 5, 6});
    auto play = PlayToNext(kMe, kActionTakeOut, {4, 5});
    Deliver(*play);
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 2);
    auto other = PlayToNext(1, kActionTakeOut, {7});
    other->nHandCount = 8;
    Deliver(*other);
    EXPECT_EQ(theBoard.GetSeatHandCount(1), 8);
    other->nHandCount = 36; // not known to others: kept
    Deliver(*other);
    EXPECT_EQ(theBoard.GetSeatHandCount(1), 8);
}

TEST_F(TablePlays, NoNextActorEndsTheRoundToo) {
    auto out = Play(3, kActionTakeOut, {8});
    Deliver(*out); // no mask set anywhere
    EXPECT_TRUE(theBoard.GetPlayList().empty());
    EXPECT_EQ(Releases(), 0);
    client.ReceiveGate().Release(
        CReceiveGate::kRecord); // the test leaves before the round-end step
}

TEST_F(TablePlays, APlayThatCannotBeDecipheredOrNamesACardBeyondTheDecksIsRefused) {
    client.holds.clear();
    // Codes in clear where the table expects them enciphered: deciphered,
    // they name no card.
    theBoard.SetRuleFlags(kRuleTribute);
    auto play = PlayToNext(0, kActionTakeOut, {1, 2, 3});
    play->head.nBodyLen = 84;
    Deliver(*play, 92);
    EXPECT_TRUE(Logged("Refused game record 905 of 92 bytes: a card of the played cards"));

    theBoard.SetRuleFlags(kRuleCardsInClear);
    Deliver(*PlayToNext(0, kActionTakeOut, {216}));
    EXPECT_TRUE(Logged("Refused game record 905 of 352 bytes: a card of the played cards"));
    EXPECT_TRUE(client.holds.empty()) << "a refused play holds nothing";
    EXPECT_TRUE(theBoard.GetPlayList().empty());
}

// The cards of a tribute fly between the seats, as on the window: the
// flight's end opens the gate.
class TableTributes : public RecordsOnViewTest {
protected:
    void SetUp() override {
        RecordsOnViewTest::SetUp();
        SeatSix(kRuleCardsInClear | kRuleTribute);
        view.flightsFly = TRUE;
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
};

TEST_F(TableTributes, FourCardsMakeOneNoticeAndFiveMakeTwoWithOneReelLine) {
    Deliver(*Tribute(0, 1, {11, 24, 37, 50}));
    ASSERT_EQ(Notices().size(), 1u);
    EXPECT_EQ(Notices()[0], "[p0]向[p1]进了(点贡):[方块A][梅花A][红桃A][黑桃A]");
    client.ReceiveGate().Release(CReceiveGate::kRecord); // its flight ended
    Deliver(*Tribute(0, 1, {11, 24, 37, 50, 53}));
    ASSERT_EQ(Notices().size(), 3u);
    EXPECT_EQ(Notices()[1], "[p0]向[p1]进了(点贡):");
    EXPECT_EQ(Notices()[2], "[方块A][梅花A][红桃A][黑桃A][大王]");
    ASSERT_EQ(Reel().size(), 2u);
    EXPECT_EQ(Reel()[1], "[p0]向[p1]进了(点贡):[方块A][梅花A][红桃A][黑桃A][大王]");
    EXPECT_EQ(theBoard.GetGameState(), kStatePayingTribute);
    client.ReceiveGate().Release(CReceiveGate::kRecord); // its flight ended
}

TEST_F(TableTributes, MyTributeLeavesMyHandAndTheReceiversArrives) {
    GiveMeHand({5, 6, 7});
    Deliver(*Tribute(kMe, 0, {6}));
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 2);
    EXPECT_TRUE(view.Called("PlayVoice gj%d-tribute.mp3 0")) << "the receiver's voice";
    client.ReceiveGate().Release(CReceiveGate::kRecord); // each flight ends before the next record
    Deliver(*Tribute(1, kMe, {100, 101}));
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 4);
    client.ReceiveGate().Release(CReceiveGate::kRecord); // each flight ends before the next record
    // Between two other seats nothing moves.
    Deliver(*Tribute(0, 1, {30}));
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 4);
    client.ReceiveGate().Release(CReceiveGate::kRecord);
}

TEST_F(TableTributes, ADueReturnIsQueuedForTheReturnerAndPromptsOnce) {
    view.flightsFly = FALSE; // my hand is not drawn: the returned card has no flight
    auto due = ReturnDue(1, 0, kMe, 1);
    due->cards[0] = CardOf(3);
    Deliver(*due);
    ASSERT_EQ(records.PendingTributes().size(), 1u);
    EXPECT_EQ(records.PendingTributes()[0].nTargetSeat, 0);
    EXPECT_EQ(records.PendingTributes()[0].nCount, 1);
    auto second = std::make_unique<tagRETURNTRIBUTEMSG>(*due);
    second->nReceiver = 3;
    second->nCount = 2;
    Deliver(*second);
    EXPECT_EQ(records.PendingTributes().size(), 2u);
    EXPECT_TRUE(Notices().empty()) << "no fading notice beside it";
    EXPECT_EQ(Told("ShowQuestionLine").back(), "请您还给[p0]1张贡牌(憋贡)。")
        << "the first open return";

    EXPECT_EQ(theBoard.GetGameState(), kStateTribute);
    EXPECT_EQ(theBoard.GetSeatActionMask(kMe), kActionReturnTribute);

    // One return moved; when the referee lists what is still due, the list
    // replaces the pending one rather than adding to it.
    tagRETURNTRIBUTEMSG moved = *due;
    moved.bRequested = moved.bMoved = 1;
    Deliver(moved);
    EXPECT_EQ(records.PendingTributes().size(), 1u);
    EXPECT_EQ(theBoard.GetSeatActionMask(kMe), kActionReturnTribute) << "one more is due";
    EXPECT_EQ(Told("ShowQuestionLine").back(), "请您还给[p3]2张贡牌(憋贡)。")
        << "the next one open";
    Deliver(*due);
    EXPECT_EQ(records.PendingTributes().size(), 1u);
    Deliver(moved);
    EXPECT_TRUE(records.PendingTributes().empty());
    EXPECT_EQ(theBoard.GetSeatActionMask(kMe), 0);

    // Another seat's return: a waiting notice while nothing of mine is due.
    due->nReturner = 4;
    Deliver(*due);
    EXPECT_EQ(Notices().back(), "等待玩家还(憋贡)...");
    EXPECT_TRUE(records.PendingTributes().empty());
    EXPECT_EQ(Told("ShowQuestionLine").back(), "");
}

TEST_F(TableTributes, ACleanSweepIsCheeredAndItsGameGoesAtOnce) {
    Deliver(CleanSweepPlaces());
    GiveMeHand({1, 2});
    Deliver(GameOver(kMe));
    EXPECT_TRUE(Sounded("win.wav"));
    // The game's data goes at once, so that seats starting the next game
    // while the mark plays keep their start.
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 0);
}

TEST_F(TableTributes, OnlyAReturnWhoseCardsMovedMovesThem) {
    view.flightsFly = FALSE; // my hand is not drawn: the returned card has no flight
    GiveMeHand({3, 4});
    auto due = ReturnDue(0, 0, kMe, 1); // the count due; the cards are not chosen yet
    Deliver(*due);
    due->bRequested = 1; // the return is running
    Deliver(*due);
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 2);
    EXPECT_TRUE(Reel().empty());
    EXPECT_EQ(Releases(), 1);
    due->bMoved = 1;
    due->cards[0] = CardOf(4);
    Deliver(*due);
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 1);
    ASSERT_EQ(Reel().size(), 1u);
    EXPECT_EQ(Reel()[0], "[p2]还给[p0]的(点贡):[7]");
}

// The copies the referee sends a table for its history (seat 6): a
// tribute, a return and a bought three each add their reel line, no notice,
// and let receiving go on.
TEST_F(TableTributes, HistoryCopiesAddOnlyTheirReelLineAndAlwaysResumeReceiving) {
    auto copy = Tribute(3, 4, {51});
    copy->nSeat = 6;
    Deliver(*copy);
    EXPECT_EQ(Releases(), 1);
    ASSERT_EQ(Reel().size(), 1u);
    EXPECT_EQ(Reel()[0], "[p3]向[p4]进了(点贡):[黑桃2]");
    EXPECT_TRUE(Notices().empty());
    copy->nKind = 4; // no word for it: no line, receiving still resumes
    Deliver(*copy);
    EXPECT_EQ(Releases(), 1);
    EXPECT_EQ(Reel().size(), 1u);
    EXPECT_EQ(theBoard.GetGameState(), kStateWaitStart);

    // A return, its cards worded by rank.
    auto back = ReturnDue(3, 1, 0, 2);
    back->nSeat = 6;
    back->cards[0] = CardOf(0);
    back->cards[1] = CardOf(52);
    Deliver(*back);
    EXPECT_EQ(Releases(), 1);
    ASSERT_EQ(Reel().size(), 2u);
    EXPECT_EQ(Reel()[1], "[p0]还给[p1]的(落贡):[3][小王]");

    // A bought three, worded with its payment.
    auto buy = NewRecord<tagBUY3MSG>();
    buy->nSeat = 6;
    buy->nBuyer = 1;
    buy->nSeller = 2;
    buy->paidCard = CardOf(10);
    buy->boughtThree = CardOf(26);
    buy->bExchanged = 1;
    Deliver(*buy);
    EXPECT_EQ(Releases(), 1);
    ASSERT_EQ(Reel().size(), 3u);
    EXPECT_EQ(Reel()[2], "[p1]用一张[方块K]向[p2]买了一张[红桃3]");
    EXPECT_TRUE(Notices().empty());
}

TEST_F(TableTributes, TheGameOverSettlesAndWordsTheNextGamesTributes) {
    tagPLACESMSG places;
    InitPlacesMsg(places);
    const int order[kSeatCount] = {0, 1, 2, 3, 4, 5};
    std::copy(order, order + kSeatCount, places.nPlaces);
    places.nSeat = 9;
    Deliver(places);
    Deliver(GameOver(1)); // my side (seat 2, with 0 and 4) lost
    EXPECT_TRUE(Sounded("loss.wav"));
    EXPECT_EQ(theBoard.GetUserInfo(3).nBeans, 2000);
    EXPECT_EQ(theBoard.GetGamesPlayed(), 1);
    ASSERT_EQ(theBoard.GetHistory().size(), 1u);
    EXPECT_EQ(theBoard.GetHistory()[0].nScoreChange[1], 3);
    ASSERT_EQ(Reel().size(), 2u);
    EXPECT_EQ(Reel()[0], "[p0]向[p1]进贡2张牌(点贡)");
    EXPECT_EQ(Reel()[1], "[p3]被烧，下局需要进贡");
    EXPECT_FALSE(view.Called("ShowCleanSweep"));
}

class TablePhases : public RecordsOnViewTest {
protected:
    void SetUp() override {
        RecordsOnViewTest::SetUp();
        SeatSix(kRuleCardsInClear);
    }
};

TEST_F(TablePhases, APointRoundAsksMeUnlessIAnsweredAndAnswersAreStored) {
    tagPOINTMSG point;
    InitPointMsg(point);
    point.nKind = kStatePointRound1;
    Deliver(point);
    EXPECT_EQ(theBoard.GetGameState(), kStatePointRound1);
    EXPECT_EQ(theBoard.GetSeatActionMask(kMe), kActionPointRound1);
    point.bAnswer = 1;
    point.bYes = 1;
    point.nSeat = kMe;
    point.nKind = 1;
    point.nFee = 40;
    Deliver(point);
    EXPECT_EQ(theBoard.GetPointAnswer(1, kMe), 1);
    EXPECT_EQ(theBoard.GetUserInfo(kMe).nBeans, 960);
    EXPECT_TRUE(Sounded("openpoint.wav"));
    point.bAnswer = 0;
    point.nKind = kStatePointRound1;
    Deliver(point);
    EXPECT_EQ(theBoard.GetSeatActionMask(kMe), 0);
    EXPECT_EQ(Notices().back(), "等待玩家宣点...");
    point.bAnswer = 1;
    point.nKind = 3;
    point.nSeat = 5;
    Deliver(point);
    EXPECT_EQ(theBoard.GetOpenedPoint(5), 1);
    EXPECT_EQ(Notices().back(), "[p5]开点了...");
}

// The revolution asks only the asked seats; the gousiji stores its final
// answer once.
TEST_F(TablePhases, TheRevolutionAndGousijiQuestionsAskTheirSeatsAndKeepTheAnswers) {
    tagREVOLUTIONMSG revolution;
    InitRevolutionMsg(revolution);
    revolution.bAsked[kMe] = 1;
    Deliver(revolution);
    EXPECT_EQ(theBoard.GetGameState(), kStateRevolution);
    EXPECT_EQ(theBoard.GetSeatActionMask(kMe), kActionRevolution);
    revolution.bAnswer = 1;
    revolution.bYes = 1;
    revolution.nSeat = 3;
    revolution.nCount = 2;
    Deliver(revolution);
    ASSERT_GE(Notices().size(), 2u);
    EXPECT_EQ(Notices()[0], "[p3]革命了...");
    EXPECT_EQ(Notices()[1], "由于两家革命，游戏重新开始！");

    tagGOUSIJIMSG gousiji;
    InitGousijiMsg(gousiji);
    gousiji.nSeat = kMe;
    Deliver(gousiji);
    EXPECT_EQ(theBoard.GetGameState(), kStateGousiji);
    EXPECT_EQ(theBoard.GetSeatActionMask(kMe), kActionAnswer);
    gousiji.bFinal = 1;
    gousiji.nSeat = 1;
    gousiji.nAnswer = 2;
    Deliver(gousiji);
    EXPECT_EQ(theBoard.GetGousijiAnswer(1), 2);
    EXPECT_EQ(theBoard.GetSeatActionMask(kMe), 0);
}

} // namespace
} // namespace table_test
