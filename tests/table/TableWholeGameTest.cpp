// End to end: my seat plays whole games against the local table host's
// bots through the table window's own actions: the start button, then on
// each turn the hint and take out (or the pass the hint makes when nothing
// beats the last play). The records come back over loopback to the
// window's own record handlers, whose animations run on the stepped clock;
// the referee must accept every play until game over.

#include "ClientFixture.h"
#include "TableInputKit.h"
#include "WireFixture.h"
#include "platform/display/Display.h"

#include <functional>

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
        client.SetGameWnd(wnd);
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

    // Pumps what waits, and steps the clock whenever nothing does, so that
    // the window's animations end and it takes the next record, until done
    // (or about a game's worth of stepped time has passed).
    bool RunUntil(const std::function<bool()>& done) {
        for (int idle = 0; idle < 30000;) {
            if (done())
                return true;
            MSG msg;
            if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessage(&msg);
                continue;
            }
            platform::WaitForEvents(1);
            if (!PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                clock.Advance(10);
                ++idle;
            }
        }
        return done();
    }
    // My turn as the window knows it from its records: it is ready for
    // records and input, and my mask offers a play.
    bool MyTurn() const {
        return wnd->IsReceiveReady() && wnd->IsInputAllowed() &&
               theBoard.GetGameState() == kStatePlay &&
               (theBoard.GetSeatActionMask(me) & (kActionTakeOut | kActionPass)) != 0;
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
        ASSERT_TRUE(RunUntil([&] { return wnd->IsReceiveReady() != FALSE; }))
            << "the window stayed closed to records before game " << gamesBefore + 1;
        Command(start);
        // A turn is told by its play counter and my mask: a round I won hands
        // me the lead under the counter of my pass.
        std::pair<int, int> lastTurn{-1, -1};
        const auto turnNow = [&] {
            return std::make_pair(theBoard.GetPlayCounter(), theBoard.GetSeatActionMask(me));
        };
        const auto gameOver = [&] { return Referee().GetGamesPlayed() != gamesBefore; };
        for (int step = 0; step < 2000 && !gameOver(); ++step) {
            ASSERT_TRUE(RunUntil([&] { return gameOver() || (MyTurn() && turnNow() != lastTurn); }))
                << "the game stopped before my turn " << turns + 1;
            if (gameOver())
                break;
            ++turns;
            lastTurn = turnNow();
            const std::vector<int> before = Fingerprint();
            Command(kCmdSearch);
            if (wnd->Hands().CountSelected() > 0) {
                Command(kCmdTakeOut);
                ++takeOuts;
            } else {
                ++passes; // the hint passed for me
            }
            ASSERT_TRUE(RunUntil([&] { return Fingerprint() != before; }))
                << "the referee did not take my play on turn " << turns;
        }
        ASSERT_EQ(Referee().GetGamesPlayed(), gamesBefore + 1) << "game over";
        // The window learns of the game's end from its own records.
        ASSERT_TRUE(RunUntil([&] { return theBoard.GetGameState() != kStatePlay; }));
    }
    EXPECT_EQ(Referee().GetGamesPlayed(), firstGames + 2);
    EXPECT_GT(takeOuts, 0);
    EXPECT_GT(passes, 0);
    EXPECT_TRUE(wnd->notices.empty()) << "no play of mine was refused";
    EXPECT_FALSE(Referee().IsSeatTrusted(me)) << "my seat played without trusteeship";
    RecordProperty("turns", turns);
}

} // namespace
} // namespace table_test
