// The betting dialog driven as a player drives it: an amount typed, an
// option and confirm clicked, the shuffle stepped on the clock, the result
// passed on by the table window; every refusal worded and nothing sent.

#include "app/GameApp.h"
#include "app/TakeChanceDlg.h"
#include "assets/resource.h"
#include "game/GameLogic.h"
#include "game/PlayRecords.h"
#include "tests/app/DialogKit.h"
#include "tests/table/ClientFixture.h"

#include <cstring>
#include <set>

using namespace app_test;

namespace {

constexpr int kSeat = 2;

class BettingDlgTest : public AppDialogTest {
protected:
    void SetUp() override {
        AppDialogTest::SetUp();
        savedHead = theBoard.GetTableHead();
        savedUser = theBoard.GetUserInfo(kSeat);
        tagTABLEHEAD& head = theBoard.GetTableHead();
        head.nMaxGuesses = 3;
        head.nMinStake = 100;
        head.nMaxStake = 5000;
        head.nKeepBeans = 1000;
        const int odds[5] = {50, 40, 10, 4, 2};
        memcpy(head.nGuessOdds, odds, sizeof odds);
        memset(head.nGuessesPlaced, 0, sizeof head.nGuessesPlaced);
        head.nGuessesPlaced[kSeat] = 1;
        SetBeans(4000);
        client.m_nMySeat = kSeat;
        client.m_bWatcher = FALSE;
    }
    void TearDown() override {
        if (dlg && dlg->GetSafeHwnd())
            dlg->DestroyWindow();
        dlg.reset();
        theBoard.GetTableHead() = savedHead;
        theBoard.SetUserInfo(kSeat, savedUser);
        AppDialogTest::TearDown();
    }
    void SetBeans(int beans) {
        tagUSERINFO user = theBoard.GetUserInfo(kSeat);
        user.nBeans = beans;
        theBoard.SetUserInfo(kSeat, user);
    }
    void Open(BOOL watcher = FALSE) {
        dlg = std::make_unique<CTakeChanceDlg>(
            nullptr, [] { return bet_rules::BetTableOf(theBoard, kSeat); },
            [this](int seat, int option, int amount) {
                ++sends;
                return client.SendTakeChance(seat, option, amount);
            },
            kSeat, watcher);
        ASSERT_TRUE(dlg->Create());
        dlg->ShowWindow(SW_SHOW);
        PumpPending();
    }
    const tagGUESSMSG* LastBet() const {
        if (client.sent.empty() || client.sent.back().size() != sizeof(tagGUESSMSG))
            return nullptr;
        return reinterpret_cast<const tagGUESSMSG*>(client.sent.back().data());
    }
    std::string Status() const { return (LPCSTR)dlg->m_strStatus; }

    table_test::RecordingClient client;
    std::unique_ptr<CTakeChanceDlg> dlg;
    int sends = 0;
    tagTABLEHEAD savedHead{};
    tagUSERINFO savedUser{};
};

TEST_F(BettingDlgTest, ATypedBetIsSentWithItsOptionAndTheCardShufflesUntilTheResult) {
    Open();
    EXPECT_EQ(TextOf(*dlg, IDC_BET_AMOUNT), "100") << "the minimum is offered";
    EXPECT_EQ(TextOf(*dlg, IDC_BET_MAXIMUM), "3000");
    EXPECT_STREQ(dlg->m_strStatus, "本盘剩余竞猜机会为2次!");
    EXPECT_FALSE(Enabled(*dlg, IDC_BET_CONFIRM));

    Type(*dlg, IDC_BET_AMOUNT, "250");
    ClickItem(*dlg, IDC_BET_OPTION_TWO);
    EXPECT_EQ(dlg->m_nOption, 2);
    EXPECT_FALSE(Enabled(*dlg, IDC_BET_OPTION_TWO)) << "the chosen option is pressed";
    EXPECT_TRUE(Enabled(*dlg, IDC_BET_OPTION_BIG_JOKER));
    EXPECT_TRUE(Enabled(*dlg, IDC_BET_CONFIRM));

    // The shuffle changes the card every 100 ms.
    std::set<int> shown;
    for (int i = 0; i < 20; ++i) {
        Step(100);
        shown.insert(dlg->m_nShownCard);
    }
    EXPECT_GT(shown.size(), 3u);

    ClickItem(*dlg, IDC_BET_CONFIRM);
    ASSERT_EQ(sends, 1);
    const tagGUESSMSG* bet = LastBet();
    ASSERT_NE(bet, nullptr);
    EXPECT_EQ(bet->head.nMsgId, 0x91A);
    EXPECT_EQ(bet->nSeat, kSeat);
    EXPECT_EQ(bet->nOption, 2);
    EXPECT_EQ(bet->nAmount, 250);
    EXPECT_FALSE(Enabled(*dlg, IDC_BET_CONFIRM)) << "one bet per choice";
    Save(*dlg, "betting_pending.png");

    // Won: the drawn card stays, the options come back, the maximum follows the beans.
    theBoard.GetTableHead().nGuessesPlaced[kSeat] = 2;
    SetBeans(4300);
    dlg->SendMessage(WM_GUESS_RESULT, 300, 53);
    Step(500);
    EXPECT_EQ(dlg->m_nShownCard, 53) << "the shuffle has stopped";
    EXPECT_EQ(Status(), "恭喜您中奖啦，您赢得游戏豆：300个, 本盘剩余竞猜机会为1次!");
    EXPECT_EQ(TextOf(*dlg, IDC_BET_MAXIMUM), "3300");
    EXPECT_TRUE(Enabled(*dlg, IDC_BET_OPTION_TWO));
    Save(*dlg, "betting_won.png");

    dlg->SendMessage(WM_GUESS_RESULT, 0, 7);
    EXPECT_EQ(Status(), "抱歉，您没有中奖，本盘剩余竞猜机会为1次!");
}

TEST_F(BettingDlgTest, EachRefusalIsWordedAndNothingIsSent) {
    Open();
    const std::pair<const char*, std::string> refused[] = {
        {"99", "对不起，您投注额小于最小投注额：100豆!"},
        {"3001", "对不起，您的投注额大于可投注额!"},
    };
    for (const auto& [typed, text] : refused) {
        Type(*dlg, IDC_BET_AMOUNT, typed);
        ClickItem(*dlg, IDC_BET_OPTION_SUIT);
        EXPECT_EQ(Status(), text) << typed;
        EXPECT_FALSE(Enabled(*dlg, IDC_BET_CONFIRM)) << typed;
    }
    Save(*dlg, "betting_refused.png");

    SetBeans(1000000);
    Type(*dlg, IDC_BET_AMOUNT, "5001");
    ClickItem(*dlg, IDC_BET_OPTION_SUIT);
    EXPECT_EQ(Status(), "对不起，您的投注额大于可投注额!");

    // A negative amount set into the field (no typing makes one).
    dlg->SetDlgItemText(IDC_BET_AMOUNT, "-500");
    ClickItem(*dlg, IDC_BET_OPTION_SUIT);
    EXPECT_EQ(Status(), "对不起，您投注额小于最小投注额：100豆!");

    theBoard.GetTableHead().nGuessesPlaced[kSeat] = 3;
    Type(*dlg, IDC_BET_AMOUNT, "200");
    ClickItem(*dlg, IDC_BET_OPTION_SUIT);
    EXPECT_EQ(Status(), "对不起，您在本盘的3次竞猜机会已用完!");
    const int before = dlg->m_nShownCard;
    Step(1000);
    EXPECT_EQ(dlg->m_nShownCard, before) << "no shuffle after the last guess";
    EXPECT_EQ(sends, 0);
    EXPECT_TRUE(client.sent.empty());
}

TEST_F(BettingDlgTest, TheSendersRefusalsAreWordedWhenTheTableChangesAfterTheChoice) {
    Open();
    Type(*dlg, IDC_BET_AMOUNT, "200");
    ClickItem(*dlg, IDC_BET_OPTION_BIG_JOKER);
    ASSERT_TRUE(Enabled(*dlg, IDC_BET_CONFIRM));
    theBoard.GetTableHead().nGuessesPlaced[kSeat] = 3; // a guess used meanwhile
    ClickItem(*dlg, IDC_BET_CONFIRM);
    EXPECT_EQ(Status(), "对不起，您在本盘的3次竞猜机会已用完!");
    EXPECT_TRUE(client.sent.empty());

    // An amount emptied to zero after the choice is never sent.
    theBoard.GetTableHead().nGuessesPlaced[kSeat] = 0;
    theBoard.GetTableHead().nMinStake = 0;
    Type(*dlg, IDC_BET_AMOUNT, "0");
    ClickItem(*dlg, IDC_BET_CONFIRM);
    EXPECT_EQ(Status(), "对不起，您投注额小于最小投注额：0豆!");
    EXPECT_TRUE(client.sent.empty());
}

TEST_F(BettingDlgTest, TheAmountTakesSevenCharactersAndABadOneIsRefusedByTheField) {
    Open();
    Type(*dlg, IDC_BET_AMOUNT, "12345678");
    EXPECT_EQ(TextOf(*dlg, IDC_BET_AMOUNT), "1234567");

    // Text past an int is refused by the field's own check before anything else.
    dlg->SetDlgItemText(IDC_BET_AMOUNT, "99999999999");
    platform_test::Script::Run({[] {
        InjectKey(VK_RETURN, true);
        InjectKey(VK_RETURN, false);
    }});
    clock.SetAutoAdvance(true);
    ClickItem(*dlg, IDC_BET_OPTION_NUMBER);
    clock.SetAutoAdvance(false);
    EXPECT_EQ(dlg->m_nOption, -1);
    EXPECT_FALSE(Enabled(*dlg, IDC_BET_CONFIRM));
    EXPECT_TRUE(client.sent.empty());
}

TEST_F(BettingDlgTest, OkAndCancelOnlyHideAndEnterAndEscapeDoNothing) {
    Open();
    dlg->m_bShown = TRUE;
    PressKey(*dlg, VK_ESCAPE, IDC_BET_AMOUNT);
    PressKey(*dlg, VK_RETURN, IDC_BET_AMOUNT);
    EXPECT_TRUE(dlg->IsWindowVisible());
    EXPECT_TRUE(dlg->m_bShown);
    for (int id : {IDOK, IDCANCEL}) {
        dlg->ShowWindow(SW_SHOW);
        dlg->m_bShown = TRUE;
        PumpPending();
        ClickItem(*dlg, id);
        EXPECT_FALSE(dlg->IsWindowVisible()) << id;
        EXPECT_FALSE(dlg->m_bShown) << id;
        EXPECT_TRUE(::IsWindow(dlg->GetSafeHwnd())) << "kept by the table window";
    }
}

TEST_F(BettingDlgTest, AWatcherChoosesNothing) {
    Open(TRUE);
    ClickItem(*dlg, IDC_BET_OPTION_BIG_JOKER);
    EXPECT_EQ(dlg->m_nOption, -1);
    EXPECT_FALSE(Enabled(*dlg, IDC_BET_CONFIRM));
}

TEST_F(BettingDlgTest, TheShopCornerOpensTheShopPage) {
    Open();
    Click(ScreenPoint(*dlg, 300, 170));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("http://"), std::string::npos);
    // A shop address from the settings file that is no web page is not opened.
    const CGameSettings saved = theApp.m_settings;
    theApp.m_settings.m_strLinks[kLinkBeanShop] = "javascript:alert(1)";
    Click(ScreenPoint(*dlg, 300, 170));
    theApp.m_settings = saved;
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_NE(temp.Read("test.log").find("BeanShop address"), std::string::npos);
    Click(ScreenPoint(*dlg, 200, 200));
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(BettingDlgTest, TheFaceShowsTheOddsStatusAndCard) {
    Open();
    dlg->m_nShownCard = 52;
    dlg->DrawInfo();
    dlg->Invalidate();
    PumpPending();
    RECT odds{88, 127, 108, 138};
    EXPECT_GT(CountColour(*dlg, odds, 0x562103), 5) << "odds in their brown";
    RECT status{340, 45, 530, 88};
    EXPECT_GT(CountColour(*dlg, status, 0x9BFD01), 20) << "status in its green";
    Save(*dlg, "betting_face.png");
}

} // namespace
