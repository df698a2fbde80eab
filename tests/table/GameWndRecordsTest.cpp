// The game records through the client into the headless table window:
// records refused before the table sees them, and the table, snapshot, start, deal,
// trusteeship and small records with what they leave in theBoard, the
// window, the client and the chat.

#include "TableWindowKit.h"

namespace table_test {
namespace {

using GameWndRecords = RecordsTest;

TEST_F(GameWndRecords, IdsWithoutAHandlerShowTheirNumberAndChangeNothing) {
    SeatSix();
    const int state = theBoard.GetGameState();
    tagTIMETICKMSG tick;
    InitTimeTickMsg(tick);
    Deliver(tick);
    EXPECT_TRUE(Logged("Message box without a window: 91b"));
    // The gaps between the records' ids and ids past them, with a body the
    // table never reads or with the head alone.
    for (int32_t id : {0x90C, 0x90F, 0x916, 0x900, 0x91F, 0x12345}) {
        int32_t unknown[4] = {id, 8, 7, 7};
        DeliverBytes(unknown, id == 0x916 ? 8 : int(sizeof unknown));
        char box[64];
        snprintf(box, sizeof box, "Message box without a window: %x\r\n", unsigned(id));
        EXPECT_TRUE(Logged(box)) << box;
    }
    EXPECT_TRUE(client.holds.empty());
    EXPECT_TRUE(wnd->IsReceiveReady());
    EXPECT_EQ(theBoard.GetGameState(), state);
}

TEST_F(GameWndRecords, ASnapshotRebuildsTheTableOnceAndAWatchersSeatChangeDrawsTheNewSeatsHand) {
    client.m_bWatcher = TRUE;
    wnd->UpdateViewpoint();
    auto snap = NewRecord<tagSNAPSHOTMSG>();
    for (int seat = 0; seat < kSeatCount; ++seat)
        snap->users[seat] = Player(seat);
    snap->nGameState = kStatePlay;
    snap->nHistoryCount = 3;
    for (int k = 0; k < 3; ++k)
        snap->history[k].nScoreChange[0] = 30 - k * 10; // newest first: 30, 20, 10
    snap->nPlaces[0] = 4;
    for (int place = 1; place < kSeatCount; ++place)
        snap->nPlaces[place] = -1;
    for (int i = 0; i < 3; ++i)
        snap->hand[i] = CardOf(10 + i);
    snap->hand[1].flags |= kCardPlayed;
    snap->bWatcherMaySee = 1;
    snap->nWatcherBeans = 321;
    snap->nWatcherScore = 12;
    // A watcher's snapshot has no play: zeros, not a play of seat 0.
    snap->nPlayCounter = 9;
    Deliver(*snap);

    ASSERT_EQ(theBoard.GetHistory().size(), 3u);
    EXPECT_EQ(theBoard.GetHistory().front().nScoreChange[0], 10);
    EXPECT_EQ(theBoard.GetHistory().back().nScoreChange[0], 30);
    EXPECT_TRUE(theBoard.GetPlayList().empty());
    EXPECT_EQ(theBoard.GetPlayCounter(), 9);
    EXPECT_EQ(theBoard.GetSeatStatus(4) & kStatusOut2, kStatusOut2);
    EXPECT_EQ(theBoard.GetGameState(), kStatePlay);
    EXPECT_TRUE(theBoard.GetWatcherSees(kMe));
    EXPECT_EQ(wnd->Hands().GetHand().size(), 2u) << "held cards not yet played";
    int beans = 0, score = 0;
    wnd->GetWatcherValues(&beans, &score);
    EXPECT_EQ(beans, 321);
    EXPECT_EQ(score, 12);
    EXPECT_EQ(Releases(), 1);
    EXPECT_TRUE(wnd->IsReceiveReady());

    // I watch seat 4 now: the server's answer comes first, then the later
    // snapshot of that seat, whose hand is drawn.
    client.SetGameWnd(wnd);
    client.m_nMySeat = 4;
    client.m_nChangeSeatResult = 1;
    client.OnChangeSeat();
    EXPECT_TRUE(wnd->Hands().GetHand().empty()) << "seat 2's hand is gone";
    snap->nHistoryCount = 1;
    snap->history[0].nScoreChange[0] = 99;
    for (int i = 0; i < 3; ++i)
        snap->hand[i] = CardOf(40 + i);
    snap->hand[2].flags |= kCardPlayed;
    snap->nGameState = kStateGousiji;
    Deliver(*snap);
    ASSERT_EQ(theBoard.GetHistory().size(), 1u);
    EXPECT_EQ(theBoard.GetHistory()[0].nScoreChange[0], 99);
    EXPECT_EQ(theBoard.GetGameState(), kStateGousiji);
    std::vector<int> drawn;
    for (const HANDENTRY& entry : wnd->Hands().GetHand())
        drawn.push_back(entry.nCard);
    EXPECT_EQ(drawn, (std::vector<int>{41, 40}));

    // Seat 5 hides its hand: the next seat change shows neither seat 4's
    // cards nor any of seat 5's.
    client.m_nMySeat = 5;
    client.OnChangeSeat();
    EXPECT_TRUE(wnd->Hands().GetHand().empty());
    snap->bWatcherMaySee = 0;
    Deliver(*snap);
    EXPECT_TRUE(wnd->Hands().GetHand().empty());
    EXPECT_FALSE(theBoard.GetWatcherSees(5));
}

TEST_F(GameWndRecords,
       AWatchersSeatChangeShowsTheRunningGameAndSittingDownGivesBackTheSeatsButtons) {
    parent.ShowWindow(SW_SHOW); // the person's mouse finds the table
    constexpr int kStartPaneSprite = 500, kMultiplePaneSprite = 517;
    client.m_bWatcher = TRUE;
    wnd->UpdateViewpoint();
    auto snap = NewRecord<tagSNAPSHOTMSG>();
    for (int seat = 0; seat < kSeatCount; ++seat)
        snap->users[seat] = Player(seat);
    snap->nGameState = kStatePlay;
    snap->tableHead.nMultiple[4] = 2;
    Deliver(*snap);
    for (int id : {kCmdTrust, kCmdSound, kCmdExchange, kCmdTakeChance})
        EXPECT_FALSE(ClickButton(id)) << id << ": a watcher's table offers it disabled";

    // Watching seat 4 mid-game: the running game, not the start pane.
    client.m_nMySeat = 4;
    client.m_nChangeSeatResult = 1;
    client.OnChangeSeat();
    EXPECT_FALSE(Shown(kStartPaneSprite));
    EXPECT_FALSE(ClickButton(kCmdStart));
    EXPECT_TRUE(Shown(kMultiplePaneSprite + wnd->Viewpoint().ViewOf(4)));

    // The game ends; the watcher sits down on the empty seat 2 and gets the
    // seat's own buttons back: the start, the sound panel, the exchange, the
    // betting, and trusteeship once the next game runs.
    theBoard.ResetGameData();
    client.m_nMySeat = kMe;
    client.m_bWatcher = FALSE;
    client.OnChangeSeat();
    EXPECT_TRUE(Shown(kStartPaneSprite));
    wnd->sounds.clear();
    EXPECT_TRUE(ClickButton(kCmdSound));
    EXPECT_TRUE(Sounded("button.wav"));
    EXPECT_TRUE(ClickButton(kCmdExchange));
    EXPECT_EQ(app.exchanges, 1);
    EXPECT_TRUE(ClickButton(kCmdTakeChance));
    EXPECT_TRUE(app.bettingShown);
    // The referee tells no one who had started before I sat down: my start
    // waits for the others, and the game comes with its first question,
    // which waits for no start any more and offers Trust.
    tagSTARTMSG start;
    InitStartMsg(start);
    start.nSeat = kMe;
    Deliver(start);
    EXPECT_TRUE(Shown(kWaitSprite));
    auto point = NewRecord<tagPOINTMSG>();
    point->nKind = kStatePointRound1;
    Deliver(*point);
    EXPECT_FALSE(Shown(kWaitSprite));
    ASSERT_TRUE(ClickButton(kCmdTrust));
    EXPECT_EQ(SentOf(kMsgTrust), 1);
}

TEST_F(GameWndRecords, TheSixthStartBeginsTheGameAndAFeeIsTaken) {
    SeatSix();
    // Where the waiting mark stands when it stands at seat 5.
    wnd->Marks().ShowWaitMark(5, FALSE);
    const POINT atSeatFive = At(kWaitSprite);
    wnd->Marks().ShowWaitMark(5, TRUE);
    tagSTARTMSG start;
    InitStartMsg(start);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        start.nSeat = seat;
        start.nMultiple = seat + 1;
        start.nStartFee = seat == 1 ? 30 : 0;
        Deliver(start);
        if (seat < 5) {
            EXPECT_EQ(theBoard.GetGameState(), kStateWaitStart);
        }
        // Once I started, the table waits for the next seat in the turn's
        // order yet to start: seats 1 and 0 have, seat 5 has not.
        EXPECT_EQ(Shown(kWaitSprite), seat >= kMe && seat < 5) << seat;
        if (seat >= kMe && seat < 5) {
            EXPECT_EQ(At(kWaitSprite).x, atSeatFive.x) << seat;
            EXPECT_EQ(At(kWaitSprite).y, atSeatFive.y) << seat;
        }
    }
    EXPECT_EQ(theBoard.GetGameState(), kStateAllStarted);
    EXPECT_TRUE(wnd->Records().IsRoundRunning());
    EXPECT_EQ(theBoard.GetTableHead().nMultiple[4], 5);
    EXPECT_EQ(theBoard.GetUserInfo(1).nBeans, 1000 - 30);
    EXPECT_EQ(theBoard.GetUserInfo(0).nBeans, 1000);
    EXPECT_TRUE(Sounded("start.wav"));
}

std::unique_ptr<tagDEALMSG> DealOf36() {
    auto deal = NewRecord<tagDEALMSG>();
    deal->nSeat = 2;
    deal->nCount = 36;
    for (int i = 0; i < 36; ++i) {
        deal->hand[i] = CardOf(i * 6);
        deal->hand[i].spare = uint8_t(i % 10);
    }
    return deal;
}

TEST_F(GameWndRecords, ADealHoldsReceivingUntilTheDealIsDone) {
    SeatSix();
    Deliver(*DealOf36());
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 36);
    EXPECT_EQ(theBoard.GetGameState(), kStatePointRound2);
    EXPECT_TRUE(Sounded("xipai.wav"));
    EXPECT_FALSE(wnd->IsReceiveReady());
    for (int i = 0; i < 2000 && !wnd->IsReceiveReady(); ++i)
        Tick();
    EXPECT_TRUE(wnd->IsReceiveReady());
    EXPECT_EQ(wnd->Hands().GetHand().size(), 36u);
}

// A theme without the shuffle picture: the deal starts at once.
class GameWndRecordsNoTheme : public RecordsTest {
protected:
    void SetUp() override {
        app.themeFile = (config.Path() + "/none.thm").c_str();
        RecordsTest::SetUp();
    }
};

TEST_F(GameWndRecordsNoTheme, ADealWithoutTheShufflePictureDealsAtOnceAndThenResumesReceiving) {
    SeatSix();
    Deliver(*DealOf36());
    EXPECT_EQ(theBoard.GetHandCardCount(kMe), 36);
    EXPECT_EQ(wnd->GetCardsToDeal(), CGameWnd::kDealCount) << "the deal is set up at once";
    EXPECT_FALSE(wnd->IsReceiveReady()) << "held while the cards go round";
    for (int i = 0; i < 2000 && !wnd->IsReceiveReady(); ++i)
        Tick();
    EXPECT_EQ(Releases(), 1);
    EXPECT_TRUE(wnd->IsReceiveReady());
    EXPECT_EQ(wnd->Hands().GetHand().size(), 36u);
}

TEST_F(GameWndRecords, TrustWordsShowTheExitMarkAtTheSeat) {
    SeatSix();
    tagTRUSTWORDSMSG words;
    InitTrustWordsMsg(words);
    words.nTrustWords[1] = kTrustExit;
    words.nSeat = 1;
    Deliver(words);
    EXPECT_TRUE(Shown(kTrustExitMark + wnd->Viewpoint().ViewOf(1)));
}

TEST_F(GameWndRecords, SoundsComeFromTheSoundFolderOnlyWhileSoundIsOn) {
    wnd->PlayGameSound("pass.wav");
    app.soundOn = FALSE;
    wnd->PlayGameSound("giveup.wav");
    ASSERT_EQ(wnd->sounds.size(), 1u);
    EXPECT_EQ(wnd->sounds[0], "/sounds/pass.wav");
}

TEST_F(GameWndRecords, TheTurnTimeoutSendsOneTimeTick) {
    SeatSix();
    wnd->OnUserTimer(kTurnTimeoutTimer);
    EXPECT_EQ(Sent(kMsgTimeTick).size(), 1u);
    client.m_bWatcher = TRUE;
    wnd->UpdateViewpoint();
    wnd->OnUserTimer(kTurnTimeoutTimer);
    EXPECT_EQ(Sent(kMsgTimeTick).size(), 1u) << "a watcher sends nothing";
}

TEST_F(GameWndRecords, TheAutoStartTimerSendsStartWithMyMultiple) {
    SeatSix();
    wnd->OnUserTimer(kAutoStartTimer);
    ASSERT_EQ(Sent(kMsgStart).size(), 1u);
    EXPECT_EQ(LoadRecordInt(Sent(kMsgStart)[0].data(), 8), kMe);
}

} // namespace
} // namespace table_test
