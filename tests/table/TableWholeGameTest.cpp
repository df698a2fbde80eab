// End to end: my seat plays whole games against the local table host's
// bots through the table window's own actions: the start button, then on
// each turn the hint and take out (or the pass the hint makes when nothing
// beats the last play). The records come back over loopback to the
// window's own record handlers, whose animations run on the stepped clock;
// the referee must accept every play until game over.

#include "HostTableKit.h"
#include "TableWindowsKit.h"

namespace table_test {
namespace {

using platform_test::PumpUntil;

class TableWholeGame : public HostTableKit<> {
protected:
    // The window's own actions, not the mouse, play these games.
    bool MouseFindsTable() const override { return false; }
    void Command(int id) {
        wnd->SendMessage(WM_COMMAND, WPARAM(id), 0);
        platform_test::PumpPending();
    }
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

// Games played the way a person plays them: every button is pressed with
// the mouse at its drawn rectangle, and only while it is shown and enabled.
class TableButtonsGame : public TableWholeGame {
protected:
    // Bots that act forty times for each record that wakes them: a seat
    // in trusteeship does not play the game out before the window has
    // shown it the way back.
    CTableHost::Options TableOptions() override {
        CTableHost::Options options = HostOptions(1);
        options.table.maxBotActionsPerTurn = 40;
        return options;
    }
    // Shown, so that the mouse finds the table.
    bool MouseFindsTable() const override { return true; }
    // A click at the middle of a button that is shown and enabled; false
    // (and no click) for one that is not.
    bool Click(CSpriteItem* button) {
        if (button == nullptr || !button->IsVisible() || !button->IsEnabled())
            return false;
        HostTableKit::Click(button->GetRect().CenterPoint());
        // Off the button again, as a hand moves on.
        Mouse(platform::MouseAction::Move, POINT{2, 2});
        return true;
    }
    bool Click(int button) { return Click(&wnd->Button(button)); }
    static bool Up(CSpriteItem* b) { return b != nullptr && b->IsVisible() && b->IsEnabled(); }
    bool Up(int button) { return Up(&wnd->Button(button)); }
    std::string Save(const std::string& name) { return SaveWindowSheet(wnd, name); }
    // My turns until the game is over: the hint, then take out when it
    // raised cards (else the hint passed for me).
    void PlayToGameOver(int gamesBefore) {
        const auto gameOver = [&] { return Referee().GetGamesPlayed() != gamesBefore; };
        std::pair<int, int> lastTurn{-1, -1};
        const auto turnNow = [&] {
            return std::make_pair(theBoard.GetPlayCounter(), theBoard.GetSeatActionMask(me));
        };
        for (int step = 0; step < 2000 && !gameOver(); ++step) {
            ASSERT_TRUE(RunUntil([&] {
                return gameOver() || (MyTurn() && turnNow() != lastTurn && Up(kBtnSearch));
            })) << "the game stopped before my turn";
            if (gameOver())
                break;
            lastTurn = turnNow();
            const std::vector<int> before = Fingerprint();
            ASSERT_TRUE(Click(kBtnSearch));
            if (Up(kBtnTakeOut)) {
                ASSERT_TRUE(Click(kBtnTakeOut));
            }
            ASSERT_TRUE(RunUntil([&] { return Fingerprint() != before; }))
                << "the referee did not take my play";
        }
        ASSERT_TRUE(gameOver());
    }
    CSpriteItem* Item(int id) { return wnd->FindItem(id); }
    bool SpriteShown(int id) {
        POSITION pos = wnd->FindSpritePos(id);
        return pos != nullptr && wnd->GetSpriteAt(pos)->nChannel >= 0;
    }
};

TEST_F(TableButtonsGame, ChipsTrusteeshipAndPlayAgainWorkThroughTheMouse) {
    ASSERT_TRUE(PumpUntil([&] { return host->Table().IsSeated(); }));
    ASSERT_TRUE(RunUntil([&] { return wnd->IsReceiveReady() && Up(Item(kCmdStart)); }));
    // Every seat's picture follows its player.
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const CSeatDisplayWnd* picture = SeatPictureOf(*wnd, seat);
        ASSERT_NE(picture, nullptr) << "seat " << seat;
        EXPECT_STREQ(picture->GetNameRecord(), theBoard.GetUserInfo(seat).szUserName)
            << "seat " << seat;
    }
    Save("buttons_start_pane.png");
    // The chip of the multiple chosen now starts the game like any other.
    ASSERT_TRUE(Click(Item(kCmdChipFirst))) << "the x1 chip is shown and enabled";
    ASSERT_TRUE(RunUntil([&] {
        return Referee().GetStartFlag(me) != 0 || Referee().GetGameState() != 0;
    })) << "the x1 chip started nothing";
    EXPECT_EQ(Referee().GetTableHead().nMultiple[me], 1);

    // Trusteeship on with its button, and off again with the exit button.
    const int gamesBefore = Referee().GetGamesPlayed();
    ASSERT_TRUE(RunUntil([&] { return MyTurn() && Up(kBtnTrust); }));
    EXPECT_FALSE(wnd->Button(kBtnTrustExit).IsVisible());
    ASSERT_TRUE(Click(kBtnTrust));
    ASSERT_TRUE(RunUntil([&] {
        return Up(kBtnTrustExit) || Referee().GetGamesPlayed() != gamesBefore;
    })) << "trusteeship came on without a way out";
    EXPECT_TRUE(Referee().IsSeatTrusted(me));
    EXPECT_FALSE(wnd->Button(kBtnTrust).IsVisible());
    Save("buttons_trusted.png");
    ASSERT_TRUE(Click(kBtnTrustExit));
    ASSERT_TRUE(RunUntil([&] { return Up(kBtnTrust) && !Referee().IsSeatTrusted(me); }))
        << "the exit button did not end trusteeship";
    EXPECT_FALSE(wnd->Button(kBtnTrustExit).IsVisible());
    PlayToGameOver(gamesBefore);

    // Game over: the result pane with its own buttons, nothing of the start pane.
    ASSERT_TRUE(RunUntil([&] { return wnd->IsReceiveReady() && SpriteShown(501); }));
    Save("buttons_result_pane.png");
    EXPECT_EQ(wnd->FindSpritePos(500), nullptr) << "the start pane is gone";
    // Nothing of the table is drawn over the pane's rows: no chip, and not
    // the win or loss text.
    const CRect pane = wnd->GetSpriteRect(wnd->FindSpritePos(501));
    CRect overlap;
    for (int multiple : {1, 2, 4, 8, 16}) {
        CSpriteItem* chip = Item(400 + multiple);
        ASSERT_TRUE(Up(chip)) << "chip " << multiple;
        const CRect r = chip->GetRect();
        EXPECT_FALSE(overlap.IntersectRect(&pane, &r)) << "chip " << multiple;
    }
    for (int banner : {int(kWinSprite), int(kLoseSprite)})
        if (SpriteShown(banner)) {
            const CRect r = wnd->GetSpriteRect(wnd->FindSpritePos(banner));
            EXPECT_FALSE(overlap.IntersectRect(&pane, &r)) << "banner " << banner;
            EXPECT_GE(r.top, 0) << "banner " << banner;
        }
    CSpriteItem* again = Item(kCmdRStart);
    ASSERT_TRUE(Up(again));
    const int gamesNow = Referee().GetGamesPlayed();
    ASSERT_TRUE(Click(again));
    ASSERT_TRUE(RunUntil([&] { return MyTurn(); })) << "play again started no game";
    EXPECT_EQ(Item(kCmdRStart), nullptr) << "play again left on the running game";
    for (int multiple : {1, 2, 4, 8, 16})
        EXPECT_EQ(Item(400 + multiple), nullptr) << "chip " << multiple << " left on the game";
    EXPECT_FALSE(SpriteShown(501));
    Save("buttons_next_game.png");
    PlayToGameOver(gamesNow);
    EXPECT_EQ(Referee().GetGamesPlayed(), gamesNow + 1);
}

} // namespace
} // namespace table_test
