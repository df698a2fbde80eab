// The table window's own buttons, deck, clock and text sprites as it makes
// them, and the messages it answers.

#include "TableDealKit.h"
#include "TableWindowKit.h"

namespace table_test {
namespace {

class GameWndCreateTest : public WithDeal<TableWindowTest> {
protected:
    bool Visible(int b) { return wnd->Button(b).IsVisible() != FALSE; }
    bool Enabled(int b) { return wnd->Button(b).IsEnabled() != FALSE; }

    // What every table shows at first, whoever sits at it.
    void ExpectCommonFirstStates() {
        for (int b = 0; b < kButtonCount; ++b)
            EXPECT_EQ(wnd->FindItem(CGameWnd::ButtonIdOf(b)), &wnd->Button(b)) << b;
        for (int b : {kBtnReelOpen, kBtnMagnifOpen, kBtnLeftCue, kBtnRightCue}) {
            EXPECT_FALSE(Visible(b)) << b;
            EXPECT_FALSE(Enabled(b)) << b;
        }
        EXPECT_FALSE(Visible(kBtnTakeChance));
        EXPECT_FALSE(Visible(kBtnExchange));
        for (int b : kActionButtons) {
            EXPECT_FALSE(Visible(b)) << b;
            EXPECT_FALSE(Enabled(b)) << b;
        }
        for (int b : {kBtnHistory, kBtnPrevturn, kBtnReel, kBtnMagnif}) {
            EXPECT_TRUE(Visible(b)) << b;
            EXPECT_TRUE(Enabled(b)) << b;
        }
    }
};

TEST_F(GameWndCreateTest, APlayerGetsTrustAndSoundButNoTrusteeshipExit) {
    ASSERT_TRUE(CreateTable());
    ExpectCommonFirstStates();
    EXPECT_TRUE(Visible(kBtnTrust) && Enabled(kBtnTrust));
    EXPECT_TRUE(Visible(kBtnSound) && Enabled(kBtnSound));
    EXPECT_TRUE(Enabled(kBtnExchange) && Enabled(kBtnTakeChance));
    EXPECT_FALSE(Visible(kBtnTrustExit) || Enabled(kBtnTrustExit));
}

TEST_F(GameWndCreateTest, AWatcherCannotTrustSoundExchangeOrBet) {
    client.m_bWatcher = TRUE;
    ASSERT_TRUE(CreateTable());
    ExpectCommonFirstStates();
    for (int b : {kBtnTrust, kBtnTrustExit, kBtnSound, kBtnExchange, kBtnTakeChance})
        EXPECT_FALSE(Enabled(b)) << b;
    EXPECT_TRUE(Visible(kBtnTrust));
}

TEST_F(GameWndCreateTest, EnteringInTrusteeshipOffersItsExit) {
    client.m_bOption = TRUE;
    ASSERT_TRUE(CreateTable());
    ExpectCommonFirstStates();
    EXPECT_FALSE(Visible(kBtnTrust) || Enabled(kBtnTrust));
    EXPECT_TRUE(Visible(kBtnTrustExit) && Enabled(kBtnTrustExit));
}

TEST_F(GameWndCreateTest, TheDeckHas54HiddenBacksEightPixelsApart) {
    ASSERT_TRUE(CreateTable());
    // Below 1000 px the table keeps the small faces, and their deck.
    wnd->MoveWindow(0, 0, 900, kHeight);
    platform_test::PumpPending();
    const SIZE card = layout.m_sizeCard;
    ASSERT_GT(card.cx, 0);
    for (int i = 0; i < kDeckSize; ++i) {
        SPRITEINFO* s = Sprite(kDeckSpriteBase + i);
        ASSERT_NE(s, nullptr) << i;
        EXPECT_EQ(s->nUser[0], 0x80000 | i) << i;
        EXPECT_EQ(s->z, 100);
        EXPECT_LT(s->nChannel, 0) << "a back shows only during a deal";
        EXPECT_TRUE(s->pLine->m_from.IsEqual(-(card.cx + 408) / 2 + 8 * i, -card.cy / 2, 4)) << i;
    }
}

TEST_F(GameWndCreateTest, TheClockAndTheTextSpritesAreMadeButNotShown) {
    ASSERT_TRUE(CreateTable());
    for (int id : {kClockSprite, kClockCounterSprite, kWaitSprite, kFlashSprite, kShuffleSprite,
                   kRevolutionSprite, kTributeSprite, kTouKeSprite, kBurnOneSprite, kBurnTwoSprite,
                   kBurnThreeSprite, kChuanSanHuSprite, kWinSprite, kLoseSprite, kExchangeSprite,
                   kUpgradeSprite}) {
        ASSERT_NE(Sprite(id), nullptr) << id;
        EXPECT_FALSE(Shown(id)) << id;
    }
    // My turn's clock stands above every pane (the last-card pane's 601 is
    // the highest), and its last seconds' counter above the clock.
    EXPECT_GT(Sprite(kClockSprite)->z, 601);
    EXPECT_GT(Sprite(kClockCounterSprite)->z, Sprite(kClockSprite)->z);
    EXPECT_STREQ(Sprite(kClockCounterSprite)->szName, "gif_clock");
    // The point texts belong to tables that declare points.
    EXPECT_EQ(Sprite(kOpenPointSprite), nullptr);
    EXPECT_EQ(Sprite(kPrePointSprite), nullptr);
    theBoard.SetRuleFlags(1);
    wnd->DestroyWindow();
    ASSERT_TRUE(CreateTable());
    EXPECT_NE(Sprite(kOpenPointSprite), nullptr);
    EXPECT_NE(Sprite(kPrePointSprite), nullptr);
    EXPECT_NE(Sprite(kUpgradeSprite), nullptr) << "and every text after them";
}

TEST_F(GameWndCreateTest, ATableWithoutCardPicturesStillOpensAndLinksItself) {
    // No card sheet: no back can be made for the deck.
    layout.m_bmpCards.DeleteObject();
    layout.m_bmpCardsBig.DeleteObject();
    ASSERT_TRUE(CreateDealingTable());
    for (int i = 0; i < kDeckSize; ++i)
        EXPECT_EQ(Sprite(kDeckSpriteBase + i), nullptr) << i;
    EXPECT_TRUE(Logged("could not make deck back 53"));
    EXPECT_TRUE(wnd->IsReceiveReady());
    EXPECT_EQ(client.m_pGameWnd, static_cast<CGameWndLink*>(wnd));
    EXPECT_NE(Sprite(kClockSprite), nullptr);
    // A deal on it deals nothing into nothing and ends as usual: my 36
    // cards are counted, and one beyond the deal is none.
    ASSERT_TRUE(StartDealRecord());
    ASSERT_TRUE(RunDealOut());
    wnd->SendMessage(WM_DEAL_CARD, WPARAM(-1), 0);
    EXPECT_EQ(std::count(wnd->sounds.begin(), wnd->sounds.end(), "/sounds/fapai0.wav"), 36);
}

TEST_F(GameWndCreateTest, AThemeWithoutTheClockCounterKeepsTheClock) {
    TempFolder theme;
    // The default theme with the counter's picture missing.
    app.themeFile = ThemeVariant(theme, "resource=gif_clock.gif", "resource=missing.gif").c_str();
    ASSERT_TRUE(CreateTable());
    EXPECT_NE(Sprite(kClockSprite), nullptr);
    EXPECT_EQ(Sprite(kClockCounterSprite), nullptr);
    EXPECT_TRUE(Logged("clock counter"));
    EXPECT_TRUE(wnd->IsReceiveReady());
}

TEST_F(GameWndCreateTest, LeavingPostsCloseToTheMainWindow) {
    app.mainHwnd = parent.m_hWnd;
    // The main window only notes the request here.
    parent.hooks[WM_CLOSE] = [](WPARAM, LPARAM) { return LRESULT(0); };
    ASSERT_TRUE(CreateTable());
    parentLog.clear();
    EXPECT_EQ(wnd->SendMessage(WM_TABLE_LEAVE, 0, 0), 0);
    platform_test::PumpPending();
    const std::vector<UINT> got = platform_test::MessagesOf(parentLog, parent.m_hWnd);
    EXPECT_EQ(std::count(got.begin(), got.end(), UINT(WM_CLOSE)), 1);
}

TEST_F(GameWndCreateTest, TheMagnifierIsMadeOnceAndCentredOnTheTable) {
    platform_test::RecordingWnd magnifier;
    std::vector<platform_test::Delivered> magnifierLog;
    ASSERT_TRUE(magnifier.CreateTop(&magnifierLog, 200, 120));
    app.magnifier = &magnifier;
    ASSERT_TRUE(CreateTable());
    EXPECT_EQ(app.magnifiersMade, 1);
    EXPECT_EQ(app.magnifierName, "Dovrik");
    // The window keeps the magnifier the application made: it moves that one.
    wnd->MoveWindow(0, 0, 800, 600, TRUE);
    platform_test::PumpPending();
    CRect where;
    magnifier.GetWindowRect(&where);
    POINT origin{0, 0};
    wnd->ClientToScreen(&origin);
    EXPECT_EQ(where, CRect(origin.x + 300, origin.y + 240, origin.x + 500, origin.y + 360));
    wnd->DestroyWindow();
    wnd = nullptr;
    magnifier.DestroyWindow();
}

TEST_F(GameWndCreateTest, ThePrivateMessagesReachTheirOperations) {
    ASSERT_TRUE(CreateDealingTable());
    ASSERT_TRUE(StartDealRecord()); // input and receiving wait for the deal
    const size_t before = wnd->Hands().GetHand().size();
    wnd->SendMessage(WM_DEAL_CARD, WPARAM(7), 0);
    EXPECT_EQ(wnd->Hands().GetHand().size(), before + 1) << "dealt into my hand";
    wnd->SendMessage(WM_DEAL_DONE, 0, 0);
    EXPECT_TRUE(wnd->IsInputAllowed());
    EXPECT_TRUE(wnd->IsReceiveReady());
}

} // namespace
} // namespace table_test
