// The game records through the client into the headless table window:
// records without a handler, and what the table, snapshot, start, deal and
// trusteeship records draw, with the clocks the window runs for them. What
// the handlers decide is read on the recording view (TableRecordsSmallTest).

#include "RecordsForWindowAndView.h"
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

TEST_F(GameWndRecords, AWatchersSnapshotAndSeatChangesDrawTheWatchedSeatsHand) {
    client.m_bWatcher = TRUE;
    wnd->UpdateViewpoint();
    auto snap = WatchersSnapshot();
    Deliver(*snap);
    EXPECT_EQ(wnd->Hands().GetHand().size(), 2u) << "held cards not yet played";

    // I watch seat 4 now: the server's answer comes first, then the later
    // snapshot of that seat, whose hand is drawn.
    client.SetGameWnd(wnd);
    client.m_nMySeat = 4;
    client.m_nChangeSeatResult = 1;
    client.OnChangeSeat();
    EXPECT_TRUE(wnd->Hands().GetHand().empty()) << "seat 2's hand is gone";
    for (int i = 0; i < 3; ++i)
        snap->hand[i] = CardOf(40 + i);
    snap->hand[2].flags |= kCardPlayed;
    Deliver(*snap);
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

TEST_F(GameWndRecords, WhileSeatsStartTheWaitingMarkStandsAtTheSeatWaitedFor) {
    // Where the waiting mark stands at seat 5: the table as seats 0 to 2
    // have started; then the table again before anyone started.
    auto info = NewRecord<tagTABLEINFO>();
    for (int seat = 0; seat < kSeatCount; ++seat)
        info->users[seat] = Player(seat);
    for (int seat : {0, 1, kMe})
        info->nStartFlags[seat] = 1;
    Deliver(*info);
    ASSERT_TRUE(Shown(kWaitSprite));
    const POINT atSeatFive = At(kWaitSprite);
    SeatSix();
    tagSTARTMSG start;
    InitStartMsg(start);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        start.nSeat = seat;
        Deliver(start);
        // Once I started, the table waits for seat 5, the next seat in the
        // turn's order yet to start.
        EXPECT_EQ(Shown(kWaitSprite), seat >= kMe && seat < 5) << seat;
        if (seat >= kMe && seat < 5) {
            EXPECT_EQ(At(kWaitSprite).x, atSeatFive.x) << seat;
            EXPECT_EQ(At(kWaitSprite).y, atSeatFive.y) << seat;
        }
    }
}

TEST_F(GameWndRecords, ADealOpensReceivingOnceMyHandIsDrawnWhole) {
    SeatSix();
    Deliver(*DealOf36());
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
    for (int i = 0; i < kDeckSize; ++i)
        EXPECT_TRUE(Shown(kDeckSpriteBase + i)) << "the deal is set up at once: back " << i;
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
