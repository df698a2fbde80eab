// The bean exchange and free charge dialogs driven as a player drives them:
// amounts typed, OK, Cancel and the links clicked, the questions answered;
// what reaches the library and the main window checked.

#include "app/ChargeCoinDlg.h"
#include "app/ExchangeCoinDlg.h"
#include "app/GameApp.h"
#include "app/GameSettings.h"
#include "assets/resource.h"
#include "tests/app/DialogKit.h"

using namespace app_test;

namespace {

constexpr int kWealth = 500;
constexpr int kBeans = 1200;
constexpr DWORD kRate = 1000; // ten beans a unit of wealth

class CoinDlgTest : public AppDialogTest {
protected:
    void SetUp() override {
        AppDialogTest::SetUp();
        ASSERT_TRUE(mainWnd.CreateTop(&mainLog));
    }
    void TearDown() override {
        for (CDialog* dialog :
             {static_cast<CDialog*>(exchange.get()), static_cast<CDialog*>(charge.get())})
            if (dialog && dialog->GetSafeHwnd())
                dialog->DestroyWindow();
        exchange.reset();
        charge.reset();
        mainWnd.DestroyWindow();
        AppDialogTest::TearDown();
    }
    void OpenExchange(BOOL compulsory = FALSE, int required = 0) {
        exchange = std::make_unique<CExchangeCoinDlg>(nullptr, kRate, kWealth, kBeans,
                                                      [this](DWORD amount) {
                                                          exchanged.push_back(amount);
                                                          return 1;
                                                      });
        exchange->m_bCompulsory = compulsory;
        exchange->m_nRequired = required;
        exchange->SetMainWnd(&mainWnd);
        ASSERT_TRUE(exchange->Create());
        exchange->ShowWindow(SW_SHOW);
        PumpPending();
    }
    // The offer as the network client hands it over from the server's record.
    void OpenCharge(int amount, int chargesLeft) {
        charge = std::make_unique<CChargeCoinDlg>(nullptr, [this](DWORD amount) {
            charged.push_back(amount);
            return 1;
        });
        charge->m_nChargeAmount = amount;
        charge->m_nChargesLeft = chargesLeft;
        charge->SetMainWnd(&mainWnd);
        ASSERT_TRUE(charge->Create());
        charge->ShowWindow(SW_SHOW);
        PumpPending();
    }
    // The private messages the main window received, in order.
    std::vector<std::string> MainMessages() const {
        std::vector<std::string> seen;
        for (const Delivered& d : mainLog)
            if (d.message == WM_SHELL_RESORT || d.message == WM_LEAVE_TABLE)
                seen.push_back(std::to_string(d.message) + ":" + std::to_string(d.wParam) + "," +
                               std::to_string(d.lParam));
        return seen;
    }
    static std::string Resort() { return std::to_string(WM_SHELL_RESORT) + ":0,0"; }
    static std::string Leave() { return std::to_string(WM_LEAVE_TABLE) + ":0,0"; }

    RecordingWnd mainWnd;
    std::vector<Delivered> mainLog;
    std::unique_ptr<CExchangeCoinDlg> exchange;
    std::unique_ptr<CChargeCoinDlg> charge;
    std::vector<DWORD> exchanged;
    std::vector<DWORD> charged;
};

TEST_F(CoinDlgTest, ATypedAmountIsRoundedToTheUnitAndSent) {
    OpenExchange();
    EXPECT_EQ(TextOf(*exchange, IDC_EXCHANGE_AMOUNT), "10") << "a voluntary exchange offers 10";
    EXPECT_EQ(TextOf(*exchange, IDC_EXCHANGE_NEEDED), "所需财富值:  1");
    Type(*exchange, IDC_EXCHANGE_AMOUNT, "1234");
    EXPECT_EQ(TextOf(*exchange, IDC_EXCHANGE_NEEDED), "所需财富值:  124");
    Save(*exchange, "exchange_typed.png");
    ClickItem(*exchange, IDC_COIN_OK);
    ASSERT_EQ(BoxLog::Texts().size(), 1u);
    EXPECT_NE(BoxLog::Texts()[0].find("1230"), std::string::npos) << "the rounding notice";
    ASSERT_EQ(exchanged.size(), 1u);
    EXPECT_EQ(exchanged[0], 1230u);
    EXPECT_FALSE(exchange->IsWindowVisible()) << "closed once sent";
    EXPECT_TRUE(MainMessages().empty()) << "a voluntary exchange tells the main window nothing";
}

TEST_F(CoinDlgTest, TheWealthLimitIsInclusiveAndOneMoreIsRefused) {
    OpenExchange();
    Type(*exchange, IDC_EXCHANGE_AMOUNT, "5001");
    ClickItem(*exchange, IDC_COIN_OK);
    ASSERT_EQ(BoxLog::Texts().size(), 1u);
    EXPECT_EQ(BoxLog::Texts()[0], "您兑换游戏豆的数量超出了范围,您目前最多只能兑换5000个游戏豆.");
    EXPECT_TRUE(exchanged.empty());
    EXPECT_FALSE(Enabled(*exchange, IDC_COIN_OK)) << "until the amount changes";
    EXPECT_TRUE(exchange->IsWindowVisible());

    Type(*exchange, IDC_EXCHANGE_AMOUNT, "5000");
    EXPECT_TRUE(Enabled(*exchange, IDC_COIN_OK));
    ClickItem(*exchange, IDC_COIN_OK);
    ASSERT_EQ(exchanged.size(), 1u);
    EXPECT_EQ(exchanged[0], 5000u);
}

TEST_F(CoinDlgTest, EmptyZeroNegativeAndNonNumericAmountsSendNothing) {
    OpenExchange();
    Type(*exchange, IDC_EXCHANGE_AMOUNT, "");
    EXPECT_FALSE(Enabled(*exchange, IDC_COIN_OK)) << "nothing typed, nothing to send";
    EXPECT_EQ(TextOf(*exchange, IDC_EXCHANGE_NEEDED), "所需财富值:  1") << "left as it was";

    for (const char* amount : {"0", "-30", "5"}) {
        exchange->SetDlgItemText(IDC_EXCHANGE_AMOUNT, amount);
        PumpPending();
        ClickItem(*exchange, IDC_COIN_OK);
        ASSERT_FALSE(BoxLog::Texts().empty()) << amount;
        EXPECT_EQ(BoxLog::Texts().back(), "请至少兑换10个游戏豆.") << amount;
    }
    // Not a number: the field's own check speaks and the dialog goes no further.
    exchange->SetDlgItemText(IDC_EXCHANGE_AMOUNT, "abc");
    PumpPending();
    EXPECT_EQ(TextOf(*exchange, IDC_EXCHANGE_NEEDED), "所需财富值:  0");
    const size_t boxes = BoxLog::Texts().size();
    Script::Run({[] {
        InjectKey(VK_RETURN, true);
        InjectKey(VK_RETURN, false);
    }});
    clock.SetAutoAdvance(true);
    ClickItem(*exchange, IDC_COIN_OK);
    clock.SetAutoAdvance(false);
    EXPECT_EQ(BoxLog::Texts().size(), boxes);
    EXPECT_TRUE(exchanged.empty());
    EXPECT_TRUE(exchange->IsWindowVisible());
}

TEST_F(CoinDlgTest, ACompulsoryExchangeSendsTheAmountNeededRoundedUp) {
    OpenExchange(TRUE, 15);
    EXPECT_EQ(TextOf(*exchange, IDC_EXCHANGE_AMOUNT), "15") << "the amount needed is offered";
    Type(*exchange, IDC_EXCHANGE_AMOUNT, "10");
    ClickItem(*exchange, IDC_COIN_OK);
    ASSERT_EQ(BoxLog::Texts().size(), 2u);
    EXPECT_EQ(BoxLog::Texts()[0], "您需要兑换20游戏豆，才可以继续游戏！");
    ASSERT_EQ(exchanged.size(), 1u);
    EXPECT_EQ(exchanged[0], 20u) << "never rounded below what the server needs";
    PumpPending();
    EXPECT_EQ(MainMessages(), std::vector<std::string>{Resort()});
    EXPECT_FALSE(exchange->m_bCompulsory);
}

TEST_F(CoinDlgTest, RefusingACompulsoryOfferAsksAndOnlyOkLeavesTheGame) {
    OpenExchange(TRUE, 100);
    BoxLog::Answer() = IDCANCEL;
    ClickItem(*exchange, IDC_EXCHANGE_CANCEL);
    ASSERT_EQ(BoxLog::Texts().size(), 1u);
    EXPECT_EQ(BoxLog::Texts()[0], "您的游戏豆已不够房间最小游戏豆要求,如果您确定不兑换所需游戏豆,"
                                  "您将退出游戏.");
    EXPECT_TRUE(exchange->IsWindowVisible()) << "answered Cancel: the offer stays";
    EXPECT_TRUE(MainMessages().empty());

    BoxLog::Answer() = IDOK;
    PressKey(*exchange, VK_ESCAPE, IDC_EXCHANGE_AMOUNT);
    EXPECT_EQ(BoxLog::Texts().size(), 2u) << "Escape is the same refusal";
    EXPECT_FALSE(exchange->IsWindowVisible());
    EXPECT_EQ(MainMessages(), std::vector<std::string>{Leave()});
    EXPECT_TRUE(exchanged.empty());
}

TEST_F(CoinDlgTest, AVoluntaryExchangeSimplyCloses) {
    OpenExchange();
    ClickItem(*exchange, IDC_EXCHANGE_CLOSE);
    EXPECT_TRUE(BoxLog::Texts().empty());
    EXPECT_FALSE(exchange->IsWindowVisible());
    EXPECT_TRUE(MainMessages().empty());
}

TEST_F(CoinDlgTest, TheLinksOpenTheirPagesAndShowTheHand) {
    OpenExchange();
    const RECT intro = CExchangeCoinDlg::kIntroWord, help = CExchangeCoinDlg::kHelpWord;
    for (int id : {IDC_EXCHANGE_INTRO_LINK, IDC_COIN_HAND_INTRO, IDC_EXCHANGE_HELP_LINK,
                   IDC_EXCHANGE_HAND_HELP}) {
        RECT r;
        ::GetWindowRect(::GetDlgItem(exchange->GetSafeHwnd(), id), &r);
        POINT corner{r.left, r.top};
        exchange->ScreenToClient(&corner);
        const RECT& expected =
            id == IDC_EXCHANGE_INTRO_LINK || id == IDC_COIN_HAND_INTRO ? intro : help;
        EXPECT_EQ(corner.x, expected.left) << id;
        EXPECT_EQ(corner.y, expected.top) << id;
    }
    InjectMouse(MouseAction::Move, ScreenPoint(*exchange, intro.left + 5, intro.top + 5));
    PumpPending();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    Click(ScreenPoint(*exchange, intro.left + 5, intro.top + 5));
    Click(ScreenPoint(*exchange, help.left + 5, help.top + 5));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], (LPCSTR)WebLinkAddress(kLinkGameIntro));
    EXPECT_EQ(opened[1], (LPCSTR)WebLinkAddress(kLinkWealthHelp));

    // What the settings file names that is no web page is not handed on.
    const CGameSettings saved = theApp.m_settings;
    theApp.m_settings.m_strLinks[kLinkGameIntro] = "file:///etc/passwd";
    theApp.m_settings.m_strLinks[kLinkWealthHelp] = "C:\\Windows\\calc.exe";
    Click(ScreenPoint(*exchange, intro.left + 5, intro.top + 5));
    Click(ScreenPoint(*exchange, help.left + 5, help.top + 5));
    theApp.m_settings = saved;
    EXPECT_EQ(opened.size(), 2u);
    const std::string log = temp.Read("test.log");
    EXPECT_NE(log.find("GameIntro address \"file:///etc/passwd\" is not a web address"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("WealthHelp address"), std::string::npos) << log;
}

TEST_F(CoinDlgTest, AChargeShowsTheServersOfferAndOkSendsIt) {
    OpenCharge(2000, 2);
    EXPECT_EQ(charge->m_nChargeAmount, 2000);
    EXPECT_EQ(charge->m_nChargesLeft, 2);
    // The whole figure shows in orange before the black words that follow it.
    int lastOrange = 0, firstBlack = 1000;
    for (int x = 181; x < 300; ++x)
        for (int y = 78; y < 92; ++y) {
            const uint32_t pixel = PixelOf(charge->GetSafeHwnd(), x, y);
            if (pixel == 0xF75A00)
                lastOrange = x;
            else if (pixel == 0x000000)
                firstBlack = std::min(firstBlack, x);
        }
    EXPECT_GT(lastOrange, 190) << "four digits";
    EXPECT_LT(lastOrange, firstBlack) << "no word covers the figure";
    Save(*charge, "charge_offer.png");
    ClickItem(*charge, IDC_COIN_OK);
    ASSERT_EQ(charged.size(), 1u);
    EXPECT_EQ(charged[0], 2000u);
    PumpPending();
    EXPECT_EQ(MainMessages(), std::vector<std::string>{Resort()});
    EXPECT_FALSE(charge->IsWindowVisible());
}

TEST_F(CoinDlgTest, RefusingAChargeAlwaysAsksAndEnterAndEscapeDoNothing) {
    OpenCharge(3000, 3);
    EXPECT_EQ(charge->m_nChargeAmount, 3000);
    EXPECT_EQ(charge->m_nChargesLeft, 3);
    PressKey(*charge, VK_ESCAPE);
    PressKey(*charge, VK_RETURN);
    EXPECT_TRUE(charge->IsWindowVisible());
    EXPECT_TRUE(BoxLog::Texts().empty());
    EXPECT_TRUE(charged.empty());

    BoxLog::Answer() = IDCANCEL;
    ClickItem(*charge, IDC_CHARGE_CANCEL);
    EXPECT_TRUE(charge->IsWindowVisible());
    BoxLog::Answer() = IDOK;
    ClickItem(*charge, IDC_CLOSE);
    ASSERT_EQ(BoxLog::Texts().size(), 2u);
    EXPECT_EQ(BoxLog::Texts()[1],
              "您的游戏豆不够房间最小游戏豆要求,如果您确定不免费获得游戏豆,您将退出游戏!");
    EXPECT_FALSE(charge->IsWindowVisible());
    PumpPending();
    EXPECT_EQ(MainMessages(), std::vector<std::string>{Leave()});
    EXPECT_TRUE(charged.empty());
}

} // namespace
