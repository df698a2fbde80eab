// The running program's joints between the frame, the table and the
// dialogs: the settings dialog edits the one store the program and the
// table read, the title bar and the system menu open their dialogs, the
// client's coin requests open the coin dialogs, a line arriving in the chat
// pane passes through the table to the chat control, and the table's
// dialogs go with the frame.

#include "tests/app/StartupFixture.h"

#include "Tablehub/KNChatEx.h"
#include "app/AboutDlg.h"
#include "app/ChargeCoinDlg.h"
#include "app/ExchangeCoinDlg.h"
#include "app/GameAppLink.h"
#include "app/SettingDlg.h"
#include "app/SkinWindow.h"
#include "app/ToolWnd.h"
#include "assets/resource.h"
#include "outside/ChatControls.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"
#include "tests/support/DialogFixture.h"

#include <cstdio>
#include <string>

namespace app_test {
namespace {

using platform_test::PumpUntil;

class WiringTest : public StartupTest {
protected:
    void Start() {
        StartHost();
        Launch("1");
        ASSERT_TRUE(theApp.InitInstance()) << Log();
        platform_test::Settle();
        frame = theApp.m_pMainWnd;
        ASSERT_NE(frame->GetGameWnd(), nullptr);
    }
    static void ClickItem(CWnd& dialog, int id) {
        RECT r;
        ::GetWindowRect(::GetDlgItem(dialog.GetSafeHwnd(), id), &r);
        const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        platform::InjectMouse(platform::MouseAction::Move, p);
        platform::InjectMouse(platform::MouseAction::LeftDown, p);
        platform::InjectMouse(platform::MouseAction::LeftUp, p);
        platform_test::Settle();
    }
    static std::string TextOf(CWnd& dialog, int id) {
        char buffer[64] = {};
        ::GetWindowText(::GetDlgItem(dialog.GetSafeHwnd(), id), buffer, sizeof buffer);
        return buffer;
    }
    CMainFrame* frame = nullptr;
};

TEST_F(WiringTest, TheSettingsDialogEditsTheStoreTheProgramAndTheTableRead) {
    Start();
    ASSERT_EQ(theApp.m_settings.m_nCardOrder, 0);
    frame->SendMessage(WM_SKIN_USERBUTTON, CMainFrame::kSettings, 0);
    CSettingDlg* dlg = frame->GetSettingsDialog();
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(dlg->IsWindowVisible());

    ClickItem(*dlg, IDC_SETTINGS_CARD_ORDER);
    ClickItem(*dlg, IDC_SETTINGS_OK);
    ASSERT_TRUE(PumpUntil([] { return theApp.m_settings.m_nCardOrder == 1; }));
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_EQ(TableApp().GetCardOrder(), 1);
    EXPECT_EQ(frame->GetGameWnd()->Viewpoint().nCardOrder, 1)
        << "the next deal is sorted so too";

    // A second opening replaces the first and shows the stored order.
    frame->SendMessage(WM_SKIN_USERBUTTON, CMainFrame::kSettings, 0);
    ASSERT_NE(frame->GetSettingsDialog(), nullptr);
    EXPECT_TRUE(frame->GetSettingsDialog()->IsWindowVisible());

    theApp.ExitInstance();
    EXPECT_EQ(frame = theApp.m_pMainWnd, nullptr);
    CGameSettings read;
    read.LoadSettings(theApp.GetSettingsFile());
    EXPECT_EQ(read.m_nCardOrder, 1) << program.Read("pellor2.ini");
    theApp.m_settings.m_nCardOrder = 0;
    theApp.LoadSettings();
    EXPECT_EQ(theApp.m_settings.m_nCardOrder, 1);
}

TEST_F(WiringTest, TheSystemMenusAboutEntryOpensTheAboutBox) {
    Start();
    // The script's steps come from a timer inside the modal loop.
    clock.SetAutoAdvance(true);
    bool shown = false;
    std::string version;
    platform_test::Script::Run({[&] {
        const HWND active = ::GetActiveWindow();
        auto* about = dynamic_cast<CAboutDlg*>(CWnd::FromHandlePermanent(active));
        shown = about != nullptr;
        if (about != nullptr)
            version = (LPCSTR)about->m_strVersion;
        // Ends the box whatever is in front, so the test cannot hang.
        ::PostMessage(active, WM_COMMAND, shown ? IDC_ABOUT_OK : IDCANCEL, 0);
    }});
    frame->SendMessage(WM_SYSCOMMAND, CMainFrame::kAboutCommand, 0);
    ASSERT_TRUE(PumpUntil([] { return platform_test::Script::Done(); }));
    EXPECT_TRUE(shown);
    // The build's version a.b.c.d reads as "a.b Beta:c+1 Build:d".
    int a = 0, b = 0, c = 0, d = 0;
    ASSERT_EQ(sscanf(PELLOR_VERSION, "%d.%d.%d.%d", &a, &b, &c, &d), 4);
    EXPECT_EQ(version, "Morvane " + std::to_string(a) + "." + std::to_string(b) +
                           " Beta:" + std::to_string(c + 1) + " Build:" + std::to_string(d));
    EXPECT_FALSE(Logged("not part of this build"));
}

TEST_F(WiringTest, TheClientsCoinRequestsOpenTheCoinDialogsOverTheTable) {
    Start();
    theClient.OnNeedExchangeGameCoin(300, 0, nullptr);
    CExchangeCoinDlg* exchange = TheGameAppLink().GetExchange();
    ASSERT_NE(exchange, nullptr);
    EXPECT_TRUE(exchange->IsWindowVisible());
    EXPECT_TRUE(exchange->m_bCompulsory) << "the server asked";
    EXPECT_EQ(TextOf(*exchange, IDC_EXCHANGE_AMOUNT), "300");

    tagGAMECOINCHARGE charge{};
    charge.dwValue0 = 2000;
    charge.dwValue1 = 500;
    charge.wValue2 = 3;
    charge.wValue4 = 1;
    charge.wValue5 = 1;
    theClient.OnNeedChargeGameCoin(charge, nullptr);
    CChargeCoinDlg* offer = TheGameAppLink().GetCharge();
    ASSERT_NE(offer, nullptr);
    EXPECT_TRUE(offer->IsWindowVisible());
    EXPECT_EQ(offer->m_nChargeAmount, 2000);
    EXPECT_EQ(offer->m_nChargesLeft, 2);

    // The table's dialogs go with the frame that holds the table.
    theApp.ExitInstance();
    EXPECT_EQ(TheGameAppLink().GetExchange(), nullptr);
    EXPECT_EQ(TheGameAppLink().GetCharge(), nullptr);
    EXPECT_EQ(TheGameAppLink().GetMagnifier(), nullptr);
}

TEST_F(WiringTest, ALineArrivingInTheChatPaneReachesTheChatControlThroughTheTable) {
    Start();
    CKNChatEx* chat = frame->GetToolWnd()->GetChatCtrl();
    ASSERT_NE(chat, nullptr);
    EXPECT_EQ(frame->GetChatControl(), chat);
    ChatControlState* state = ChatControlStateOf(chat->m_hWnd);
    ASSERT_NE(state, nullptr);
    ASSERT_EQ(state->notifyWindow, frame->GetGameWnd()->m_hWnd);
    const size_t before = state->lines.size();
    ChatControlReceiveLine(chat->m_hWnd, "[bob]说：快出牌");
    platform_test::Settle();
    ASSERT_EQ(state->lines.size(), before + 1);
    EXPECT_EQ(state->lines.back(), "[bob]说：快出牌");
}

} // namespace
} // namespace app_test
