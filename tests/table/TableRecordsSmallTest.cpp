// The table, snapshot, start, deal, trusteeship and small records through
// the client into the record handling on the recording view: records refused
// before the handlers see them, and what the handlers leave in theBoard,
// tell the view, send and add to the chat.

#include "RecordsForWindowAndView.h"
#include "RecordsKit.h"

namespace table_test {
namespace {

class TableRecordsSmall : public RecordsOnViewTest {
protected:
    // The seat change as the window takes it from the client: my seat and
    // whether I watch, then the table rebuilt for them.
    void ChangeSeat(int seat) {
        client.m_nMySeat = viewpoint.nMySeat = seat;
        viewpoint.bWatcher = client.m_bWatcher;
        records.OnChangeSeatScene();
    }
};

TEST_F(TableRecordsSmall, MalformedRecordsAreRefusedBeforeTheTableAndNeverHoldReceiving) {
    SeatSix();
    GiveMeHand({1, 2, 3});
    client.holds.clear();
    // Short: a snapshot cut to 100 bytes.
    auto snapshot = NewRecord<tagSNAPSHOTMSG>();
    Deliver(*snapshot, 100);
    EXPECT_TRUE(Logged("Refused game record 902 of 100 bytes"));
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 3);

    // Over-counted tribute: 13 cards in room for 12.
    auto tribute = NewRecord<tagTRIBUTEMSG>();
    tribute->nGiver = 0;
    tribute->nReceiver = kMe;
    tribute->nCount = 13;
    Deliver(*tribute);
    EXPECT_TRUE(Logged("count out of range"));

    // A play of a seat outside the table.
    auto play = Play(7, kActionTakeOut, {1});
    Deliver(*play);
    EXPECT_TRUE(Logged("seat out of range"));
    EXPECT_TRUE(theBoard.GetPlayList().empty());

    // A tribute card whose rank is outside the word tables.
    tribute->nCount = 1;
    tribute->cards[0] = CardOf(5);
    tribute->cards[0].rank = 40;
    Deliver(*tribute);
    EXPECT_TRUE(Logged("a card of the tribute cards is out of range"));
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 3);
    EXPECT_TRUE(Notices().empty());

    // A deal whose hand holds a code past the four decks.
    auto deal = NewRecord<tagDEALMSG>();
    deal->nSeat = kMe;
    deal->nCount = 1;
    deal->hand[0].code = 230;
    Deliver(*deal);
    EXPECT_TRUE(Logged("a card of the dealt hand is out of range"));
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 3);
    EXPECT_TRUE(client.holds.empty()) << "no refused record held receiving";
    EXPECT_TRUE(!client.ReceiveGate().IsHeld());
}

TEST_F(TableRecordsSmall, TheTableInfoFillsTheBoardAndEntersTheChatOnce) {
    auto info = NewRecord<tagTABLEINFO>();
    for (int seat = 0; seat < kSeatCount; ++seat)
        info->users[seat] = Player(seat, 500 + seat);
    info->users[kMe].bMember = 1;
    info->head.nRuleFlags = kRuleTribute | kRuleShao;
    info->head.nField29 = 4; // a member's multiple
    info->head.nField30 = 2;
    info->nStartFlags[3] = 1;
    theBoard.AddHistory(tagHISTORYENTRY{});
    Deliver(*info);
    EXPECT_EQ(theBoard.GetRuleFlags(), uint32_t(kRuleTribute | kRuleShao));
    EXPECT_EQ(theBoard.GetUserInfo(5).nBeans, 505);
    EXPECT_EQ(theBoard.GetStartFlag(3), 1);
    EXPECT_TRUE(theBoard.GetHistory().empty());
    EXPECT_EQ(records.GetMultiple(), 4);
    // EnterChat sends nothing on the game connection, but only once.
    info->users[kMe].bMember = 0;
    Deliver(*info);
    EXPECT_EQ(records.GetMultiple(), 4) << "only the first table info takes the multiple";
}

TEST_F(TableRecordsSmall, AReturningPlayersSnapshotKeepsTheRoundsPlay) {
    auto snap = NewRecord<tagSNAPSHOTMSG>();
    snap->nGameState = kStatePlay;
    snap->lastPlay.nSeat = 1;
    snap->lastPlay.type = CGameLogic::GetCardType(std::vector<int>{5}.data(), 1);
    Deliver(*snap);
    ASSERT_EQ(theBoard.GetPlayList().size(), 1u);
    EXPECT_EQ(theBoard.GetPlayList()[0].nSeat, 1);
    // Seat 6: the round has no play yet.
    theBoard.ClearPlayList();
    snap->lastPlay.nSeat = 6;
    Deliver(*snap);
    EXPECT_TRUE(theBoard.GetPlayList().empty());
}

TEST_F(TableRecordsSmall, ASnapshotRebuildsTheTableOnceAndAWatchersSeatChangeTakesTheNewSeats) {
    client.m_bWatcher = viewpoint.bWatcher = TRUE;
    auto snap = WatchersSnapshot();
    Deliver(*snap);
    ASSERT_EQ(theBoard.GetHistory().size(), 3u);
    EXPECT_EQ(theBoard.GetHistory().front().nScoreChange[0], 10);
    EXPECT_EQ(theBoard.GetHistory().back().nScoreChange[0], 30);
    EXPECT_TRUE(theBoard.GetPlayList().empty());
    EXPECT_EQ(theBoard.GetPlayCounter(), 9);
    EXPECT_EQ(theBoard.GetSeatStatus(4) & kStatusOut2, kStatusOut2);
    EXPECT_EQ(theBoard.GetGameState(), kStatePlay);
    EXPECT_TRUE(theBoard.GetWatcherSees(kMe));
    int beans = 0, score = 0;
    records.GetWatcherValues(&beans, &score);
    EXPECT_EQ(beans, 321);
    EXPECT_EQ(score, 12);
    EXPECT_EQ(Releases(), 1);
    EXPECT_FALSE(client.ReceiveGate().IsHeld());

    // I watch seat 4 now, then seat 5 that hides its hand: each seat's
    // later snapshot is taken whole.
    ChangeSeat(4);
    snap->nHistoryCount = 1;
    snap->history[0].nScoreChange[0] = 99;
    snap->nGameState = kStateGousiji;
    Deliver(*snap);
    ASSERT_EQ(theBoard.GetHistory().size(), 1u);
    EXPECT_EQ(theBoard.GetHistory()[0].nScoreChange[0], 99);
    EXPECT_EQ(theBoard.GetGameState(), kStateGousiji);
    ChangeSeat(5);
    snap->bWatcherMaySee = 0;
    Deliver(*snap);
    EXPECT_FALSE(theBoard.GetWatcherSees(5));
}

TEST_F(TableRecordsSmall, TheSixthStartBeginsTheGameAndAFeeIsTaken) {
    SeatSix();
    tagSTARTMSG start;
    InitStartMsg(start);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        start.nSeat = seat;
        start.nMultiple = seat + 1;
        start.nStartFee = seat == 1 ? 30 : 0;
        view.calls.clear();
        Deliver(start);
        if (seat < 5) {
            EXPECT_EQ(theBoard.GetGameState(), kStateWaitStart);
        }
        // Once I started, the table waits for the next seat in the turn's
        // order yet to start: seats 1 and 0 have, seat 5 has not.
        EXPECT_EQ(view.Called("ShowWaitMark 5 0"), seat >= kMe && seat < 5) << seat;
    }
    EXPECT_EQ(theBoard.GetGameState(), kStateAllStarted);
    EXPECT_TRUE(view.Called("ClearAllSeats")) << "the first round starts with no seat marked";
    EXPECT_EQ(theBoard.GetTableHead().nMultiple[4], 5);
    EXPECT_EQ(theBoard.GetUserInfo(1).nBeans, 1000 - 30);
    EXPECT_EQ(theBoard.GetUserInfo(0).nBeans, 1000);
    EXPECT_TRUE(Sounded("start.wav"));
}

TEST_F(TableRecordsSmall, ADealFillsMyHandAndHoldsReceivingWhileItIsShown) {
    SeatSix();
    Deliver(*DealOf36());
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 36);
    EXPECT_EQ(theBoard.GetGameState(), kStatePointRound2);
    EXPECT_TRUE(Sounded("xipai.wav"));
    EXPECT_TRUE(client.ReceiveGate().IsHeld()) << "held while the cards go round";
    client.ReceiveGate().Release(CReceiveGate::kRecord); // the deal shown
}

TEST_F(TableRecordsSmall, TrusteeshipWordsItsNoticesByTheSwitchCount) {
    SeatSix();
    tagTRUSTMSG trust = TrustRecord(kMe, 1, 2);
    Deliver(trust);
    EXPECT_EQ(theBoard.GetTrustWord(kMe), kTrustOwn);
    ASSERT_EQ(Notices().size(), 1u);
    EXPECT_NE(Notices()[0].find("第2次"), std::string::npos) << Notices()[0];
    EXPECT_TRUE(Sounded("trust.wav"));

    trust.bOn = 0;
    Deliver(trust);
    EXPECT_EQ(theBoard.GetTrustWord(kMe), 0);
    EXPECT_NE(Notices().back().find("已托管2次"), std::string::npos) << Notices().back();
    trust.nSwitchCount = 4;
    Deliver(trust);
    EXPECT_EQ(Notices().back(), "您本局托管已超过3次，不能再取消托管！");
    EXPECT_TRUE(Sounded("notrust.wav"));

    // Another seat: its word only.
    trust.nSeat = 0;
    trust.bOn = 1;
    Deliver(trust);
    EXPECT_EQ(theBoard.GetTrustWord(0), kTrustOwn);
    EXPECT_EQ(Notices().size(), 3u);
}

TEST_F(TableRecordsSmall, PlacesMarkSeatsOutOfPlayAndWordTheCausingSeat) {
    SeatSix();
    theBoard.SetSeatActionMask(4, kActionTakeOut);
    tagPLACESMSG places;
    InitPlacesMsg(places);
    const int order[kSeatCount] = {0, 1, 3, 5, 2, 4};
    std::copy(order, order + kSeatCount, places.nPlaces);
    places.nSeat = 4;
    Deliver(places);
    EXPECT_EQ(Notices().back(), "由于[p4]本局的名次为大落!");
    for (int seat = 0; seat < kSeatCount; ++seat)
        EXPECT_TRUE(theBoard.GetSeatStatus(seat) & kStatusOut2) << seat;
    EXPECT_EQ(theBoard.GetSeatActionMask(4), kActionTakeOut) << "the mask is the referee's";
    ASSERT_EQ(theBoard.GetPlaces().size(), 6u);
    EXPECT_EQ(theBoard.GetPlaces()[3], 5);

    places.nSeat = kMe;
    Deliver(places);
    EXPECT_EQ(Notices().back(), "由于您本局的名次为二落!");
    // A causing seat outside the table: no notice.
    places.nSeat = 9;
    Deliver(places);
    EXPECT_EQ(Notices().size(), 2u);

    // A seat waiting at the end is out of play but not yet placed.
    const int waiting[kSeatCount] = {1, -1, -1, -1, -1, 3}; // seat 3's burn failed
    std::copy(waiting, waiting + kSeatCount, places.nPlaces);
    places.nSeat = 3;
    Deliver(places);
    EXPECT_EQ(theBoard.GetPlaces(), std::vector<int>{1});
    EXPECT_TRUE(theBoard.GetSeatStatus(3) & kStatusOut2);
    EXPECT_EQ(Notices().back(), "由于[p3]本局的名次为大落!");
}

TEST_F(TableRecordsSmall, DroppedTributesNameTheSeatsInTheChat) {
    SeatSix();
    tagUSERRECORDMSG record;
    InitUserRecordMsg(record);
    record.nSeat = 3;
    record.user = Player(3);
    strcpy(record.user.szNickName, "Nick");
    Deliver(record);
    tagTRIBUTESTOPPEDMSG stopped;
    InitTributeStoppedMsg(stopped);
    stopped.bStopped[3] = 1;
    Deliver(stopped);
    stopped.bStopped[3] = 0;
    Deliver(stopped);
    ASSERT_EQ(app.chat.size(), 2u);
    EXPECT_EQ(app.chat[0], "Nick[p3]贡牌已进完,余下的贡将不再进!");
    EXPECT_EQ(app.chat[1], "贡牌已进完,余下的贡将不再进!");
}

TEST_F(TableRecordsSmall, AGuessWonAddsBeansAndReachesTheBettingDialogOnlyForMe) {
    SeatSix();
    app.bettingMade = TRUE;
    tagGUESSMSG guess;
    InitGuessMsg(guess);
    guess.nSeat = kMe;
    guess.nOption = 3;
    guess.nAmount = 50;
    Deliver(guess);
    EXPECT_EQ(theBoard.GetUserInfo(kMe).nBeans, 1050);
    ASSERT_EQ(app.takeChanceResults.size(), 1u);
    EXPECT_EQ(app.takeChanceResults[0], std::make_pair(50, 3));
    EXPECT_EQ(app.chat.back(), "恭喜您竞猜中奖啦，您赢得游戏豆:50个, 本盘还剩2次竞猜机会!");
    guess.nSeat = 1;
    guess.nAmount = 0;
    Deliver(guess);
    EXPECT_EQ(app.takeChanceResults.size(), 1u);
    EXPECT_EQ(app.chat.size(), 1u) << "no win, no line";
    EXPECT_EQ(theBoard.GetGuessCount(1), 1);
    guess.nAmount = 20;
    Deliver(guess);
    EXPECT_EQ(app.chat.back(), "恭喜[p1]竞猜中奖啦，赢得游戏豆:20个!");

    // Back at the table from a snapshot: the guesses I made before count.
    auto snap = NewRecord<tagSNAPSHOTMSG>();
    snap->tableHead.nMaxGuesses = 4;
    snap->tableHead.nGuessesPlaced[kMe] = 2;
    Deliver(*snap);
    guess.nSeat = kMe;
    Deliver(guess);
    EXPECT_EQ(app.chat.back(), "恭喜您竞猜中奖啦，您赢得游戏豆:20个, 本盘还剩1次竞猜机会!");
}

TEST_F(TableRecordsSmall, ShaoAndBieNoticesGoToTheReelAndOnRequestTheTable) {
    SeatSix();
    tagSHAOBIEMSG shao;
    InitShaoBieMsg(shao);
    shao.nKind = 3;
    shao.nActor = 0;
    shao.nAffected = 1;
    Deliver(shao);
    shao.nKind = 2;
    shao.bNotice = 1;
    Deliver(shao);
    shao.nAffected = 6; // not a seat: nothing
    Deliver(shao);
    ASSERT_EQ(Reel().size(), 2u);
    EXPECT_EQ(Reel()[0], "[p0] 把 [p1] 烧了...");
    ASSERT_EQ(Notices().size(), 1u);
    EXPECT_EQ(Notices()[0], "[p0] 把 [p1] 憋了...");
}

TEST_F(TableRecordsSmall, TrustWordsTheGameEndAndABeanLockFailure) {
    SeatSix();
    tagBEANLOCKMSG lock;
    InitBeanLockMsg(lock);
    Deliver(lock);
    EXPECT_TRUE(Notices().empty());
    lock.nResult = 2;
    Deliver(lock);
    ASSERT_EQ(Notices().size(), 1u);
    EXPECT_EQ(Notices()[0], "游戏豆锁定失败，请重新开始！");

    tagTRUSTWORDSMSG words;
    InitTrustWordsMsg(words);
    words.nTrustWords[1] = kTrustExit;
    words.nSeat = 6; // names no seat: the record changes nothing
    Deliver(words);
    EXPECT_EQ(theBoard.GetTrustWord(1), 0);
    words.nSeat = 1;
    Deliver(words);
    EXPECT_EQ(theBoard.GetTrustWord(1), kTrustExit);
    EXPECT_TRUE(view.Called("ShowTrustMark 1 " + std::to_string(kTrustExit)));
    tagGAMEENDMSG end;
    InitGameEndMsg(end);
    Deliver(end);
    EXPECT_EQ(Notices().back(), "有人托管游戏，游戏结束！");
}

} // namespace
} // namespace table_test
