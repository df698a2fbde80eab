// End to end: my seat plays whole games against the local table host's
// bots through the table window's own actions: the start button, then on
// each turn the hint and take out (or the pass the hint makes when nothing
// beats the last play). The records come back over loopback and the
// referee must accept every play until game over.
//
// What the window learns from the records is copied here from the
// referee's table (hand, plays, mask, counter and the card key), as the
// record handlers do in the program.

#include "ClientFixture.h"
#include "TableInputKit.h"
#include "WireFixture.h"
#include "platform/display/Display.h"

namespace table_test {
namespace {

using platform_test::PumpUntil;

class TableWholeGame : public wire_test::WireTest {
protected:
    void SetUp() override {
        WireTest::SetUp();
        platform::StartDisplay(platform::DisplayKind::Headless);
        ClearBoard();
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        SetTableAppLink(&app);
        ASSERT_TRUE(parent.CreateTop(&parentLog, 1024, 768));
        wnd = new InputTable;
        wnd->SetLayout(&layout);
        wnd->SetClient(&client);
        ASSERT_TRUE(wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1024, 768), &parent,
                                CGameWnd::kControlId));
        StartHost(HostOptions(1));
        ASSERT_TRUE(Enter(client));
        me = client.m_nMySeat;
        wnd->Fields().nMySeat = me;
    }
    void TearDown() override {
        if (wnd != nullptr && wnd->m_hWnd != nullptr)
            wnd->DestroyWindow();
        parent.DestroyWindow();
        platform_test::PumpPending();
        SetPosResolver(nullptr);
        SetTableAppLink(nullptr);
        ClearBoard();
        theBoard.SetGameState(kStateWaitStart);
        WireTest::TearDown();
        platform::StopDisplay();
    }

    CGameLogic& Referee() { return host->Table().Driver().Referee(); }

    // Reads what waits; the window takes the next record at once, as it
    // does once its animations have ended.
    bool Flow(int gamesBefore) {
        return PumpUntil([&] {
            client.EnableReceive();
            wnd->SetReceiveReady(TRUE);
            return MyTurn() || Referee().GetGamesPlayed() != gamesBefore;
        });
    }
    bool MyTurn() {
        return Referee().GetGameState() == kStatePlay &&
               (Referee().GetSeatActionMask(me) & (kActionTakeOut | kActionPass)) != 0;
    }
    // My turn as the records would have told the window.
    void MirrorMyTurn() {
        CGameLogic& referee = Referee();
        theBoard.SetGameState(referee.GetGameState());
        theBoard.SetRuleFlags(referee.GetRuleFlags());
        theBoard.SetSeatActionMask(me, referee.GetSeatActionMask(me));
        theBoard.SetSeatStatus(me, referee.GetSeatStatus(me), 0);
        theBoard.SetPlayCounter(referee.GetActionSerial());
        theBoard.SetHand(me, referee.GetHand(me), kHandSize);
        theBoard.ClearPlayList();
        // A turn without pass leads a new round: the round-end step has
        // cleared the plays by then.
        if (referee.GetSeatActionMask(me) & kActionPass) {
            for (const tagPLAYENTRY& play : referee.GetPlayList())
                theBoard.AddPlay(play.nSeat, play.type);
        }
        theBoard.m_Cipher = referee.m_Cipher;
        wnd->Hands().ClearHand();
        const tagCARD* hand = referee.GetHand(me);
        for (int i = 0; i < kHandSize; ++i)
            if (IsCountingCard(hand[i]))
                wnd->Hands().DisplayCard(hand[i].code);
        wnd->SetInputAllowed(TRUE);
    }
    // What changes when the referee takes a play of mine.
    std::vector<int> Fingerprint() {
        CGameLogic& referee = Referee();
        return {referee.GetActionSerial(), int(referee.GetPlayList().size()),
                referee.GetSeatActionMask(me), referee.GetHandCardCount(me),
                referee.GetGamesPlayed()};
    }
    void Command(int id) {
        wnd->SendMessage(WM_COMMAND, WPARAM(id), 0);
        platform_test::PumpPending();
    }

    ProgramResources resources;
    DialogsApp app;
    LogCapture log;
    CGameLayout layout;
    CGameNetClient client;
    std::vector<platform_test::Delivered> parentLog;
    platform_test::RecordingWnd parent;
    InputTable* wnd = nullptr;
    int me = -1;
};

TEST_F(TableWholeGame, MySeatPlaysWholeGamesThroughTheWindowsActions) {
    ASSERT_TRUE(PumpUntil([&] { return host->Table().IsSeated(); }));
    ASSERT_GE(me, 0);
    ASSERT_LT(me, kSeatCount);
    const int firstGames = Referee().GetGamesPlayed();
    int takeOuts = 0, passes = 0, turns = 0;
    // The start pane's button, then the result pane's.
    for (int start : {int(kCmdStart), int(kCmdRStart)}) {
        const int gamesBefore = Referee().GetGamesPlayed();
        Command(start);
        for (int step = 0; step < 2000 && Referee().GetGamesPlayed() == gamesBefore; ++step) {
            ASSERT_TRUE(Flow(gamesBefore)) << "the game stopped before my turn " << turns + 1;
            if (!MyTurn())
                break;
            ++turns;
            const std::vector<int> before = Fingerprint();
            MirrorMyTurn();
            Command(kCmdSearch);
            if (wnd->Hands().CountSelected() > 0) {
                Command(kCmdTakeOut);
                ++takeOuts;
            } else {
                ++passes; // the hint passed for me
            }
            ASSERT_TRUE(PumpUntil([&] { return Fingerprint() != before; }))
                << "the referee did not take my play on turn " << turns;
        }
        ASSERT_EQ(Referee().GetGamesPlayed(), gamesBefore + 1) << "game over";
    }
    EXPECT_EQ(Referee().GetGamesPlayed(), firstGames + 2);
    EXPECT_GT(takeOuts, 0);
    EXPECT_GT(passes, 0);
    EXPECT_TRUE(wnd->notices.empty()) << "no play of mine was refused";
    RecordProperty("turns", turns);
}

} // namespace
} // namespace table_test
