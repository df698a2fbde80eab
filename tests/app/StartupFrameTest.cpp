// The running frame against the local table host: the size it stores, the
// keep-alive, the help page, the card order from the settings, and the
// unattended play of a seat.

#include "tests/app/StartupFixture.h"

#include "app/HeadlessPlay.h"
#include "app/SkinWindow.h"
#include "game/GameRecords.h"
#include "platform/CodePage.h"
#include "platform/gdi/WindowDc.h"
#include "platform/sound/Sound.h"
#include "platform/system/Profile.h"
#include "platform/system/Shell.h"
#include "platform/window/Input.h"
#include "sprite/SpritePos.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"

#include <algorithm>
#include <filesystem>

namespace app_test {
namespace {

using platform_test::PumpUntil;

TEST_F(StartupTest, TheSavedSizeSurvivesTenStartsAndAMinimise) {
    // A screen larger than the window: it is placed at its saved size.
    platform::SetScreenSize(1600, 1000);
    WritePrivateProfileString("Setting", "WindowSize", "1100,800",
                              program.File("pellor2.ini").c_str());
    for (int run = 0; run < 10; ++run) {
        host.reset();
        StartHost();
        Launch("1");
        ASSERT_TRUE(theApp.InitInstance()) << Log();
        RECT window{};
        theApp.m_pMainWnd->GetWindowRect(&window);
        EXPECT_EQ(window.right - window.left, 1100) << "run " << run;
        EXPECT_EQ(window.bottom - window.top, 800) << "run " << run;
        if (run == 9)
            theApp.m_pMainWnd->ShowWindow(SW_MINIMIZE);
        theApp.ExitInstance();
        platform_test::Settle();
        ASSERT_NE(program.Read("pellor2.ini").find("WindowSize=1100,800"), std::string::npos)
            << "run " << run;
    }
}

TEST_F(StartupTest, ClockOrderOneTurnsTheSeatsTheOtherWay) {
    WritePrivateProfileString("Setting", "ClockOrder", "1", program.File("pellor2.ini").c_str());
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    ASSERT_TRUE(PumpUntil([this] { return Logged("901,"); }));
    platform_test::Settle();
    CMainFrame* frame = theApp.m_pMainWnd;
    CGameWnd* table = frame->GetGameWnd();
    frame->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    // The cursor rests on the plate right of mine; the information tip's
    // tick names the player of the seat drawn there.
    const POINT at = ResolvePos(theApp.m_layout.m_posAvatar[1]);
    const SIZE plate = theApp.m_layout.m_sizeAvatar;
    POINT p{at.x + plate.cx / 2, at.y + plate.cy / 2};
    table->ClientToScreen(&p);
    platform::InjectMouse(platform::MouseAction::Move, p);
    clock.Advance(CMainFrame::kTableTimerMs);
    platform_test::Settle();
    const CBalloonTipWnd& tip = table->Info().Tip(kTableTip);
    ASSERT_TRUE(tip.IsShown() && !tip.GetLines().empty());
    EXPECT_EQ(tip.GetLines().front(), std::string("用户名:") + theBoard.GetUserInfo(5).szUserName)
        << "my seat is 0: counter-clockwise, seat 5 sits right";
}

TEST_F(StartupTest, TheShippedMusicPlaysFromTheStart) {
    platform::ClearPlayedSounds();
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    EXPECT_STREQ(theApp.m_settings.m_strBackMusic, "pastorale.wav");
    bool looping = false;
    for (const platform::PlayedSound& sound : platform::PlayedSounds())
        looping |= sound.loop && sound.stopMs == 0 &&
                   sound.name.find("pastorale.wav") != std::string::npos;
    EXPECT_TRUE(looping) << "the shipped music loops from the start";
}

TEST_F(StartupTest, TheConnectionIsKeptAliveEveryThirtySeconds) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    platform_test::Settle();
    const int before = CountReceived(0x201);
    clock.Advance(30001);
    ASSERT_TRUE(PumpUntil([&] { return CountReceived(0x201) == before + 1; }));
}

TEST_F(StartupTest, TheHelpButtonOpensTheStoresWebPageOnly) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    EXPECT_NE(WebLinkAddress(kLinkHelp).Find(".example/"), -1) << "the default is ours";
    std::vector<std::string> opened;
    platform::SetShellExecuteHook([&](LPCSTR, LPCSTR file, int) {
        opened.push_back(file);
        return INT_PTR(33);
    });
    CMainFrame* frame = theApp.m_pMainWnd;
    theApp.m_settings.m_strLinks[kLinkHelp] = "/usr/bin/xterm";
    frame->SendMessage(WM_SKIN_USERBUTTON, CMainFrame::kHelp, 0);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(Logged("is not a web address"));
    // The store is what counts, not the file read again.
    WritePrivateProfileString("Setting", "help", "https://file.example/pellor",
                              theApp.GetSettingsFile());
    theApp.m_settings.m_strLinks[kLinkHelp] = "https://help.example/pellor";
    frame->SendMessage(WM_SKIN_USERBUTTON, CMainFrame::kHelp, 0);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "https://help.example/pellor");
    // A desktop that cannot open the page leaves the reason in the log.
    platform::SetShellExecuteHook([](LPCSTR, LPCSTR, int) { return INT_PTR(SE_ERR_NOASSOC); });
    frame->SendMessage(WM_SKIN_USERBUTTON, CMainFrame::kHelp, 0);
    EXPECT_TRUE(Logged("could not be opened"));
    platform::SetShellExecuteHook(nullptr);
}

TEST_F(StartupTest, ANewCardOrderFromTheSettingsIsKept) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    theApp.m_settings.m_nCardOrder = 0;
    theApp.m_pMainWnd->SendMessage(WM_SHELL_RESORT, 1, 1);
    EXPECT_EQ(theApp.m_settings.m_nCardOrder, 1);
}

TEST_F(StartupTest, UnattendedTheSeatStartsHandsOverAndTakesPictures) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    theApp.m_settings.m_strPhotoPath = program.File("shots").c_str();
    CHeadlessPlay play;
    std::vector<std::string> said;
    play.report = [&](const std::string& line) { said.push_back(line); };
    CHeadlessPlay::Options options;
    options.shotEveryMs = 20000;
    ASSERT_TRUE(play.Start(options));
    auto sent = [&](int id) { return std::count(recordIds.begin(), recordIds.end(), id) > 0; };
    // The table's first records come, then the poll presses start.
    ASSERT_TRUE(PumpUntil([&] { return Logged("901,"); }));
    clock.Advance(CHeadlessPlay::kPollMs);
    ASSERT_TRUE(PumpUntil([&] { return sent(kMsgStart); })) << HostLog();
    // The host's players start too and the cards are dealt: the seat is
    // handed to trusteeship.
    for (int i = 0; i < 20 && !sent(kMsgTrust); ++i) {
        clock.Advance(1000);
        host->Tick();
        PumpUntil([&] { return sent(kMsgTrust); });
    }
    EXPECT_TRUE(sent(kMsgTrust)) << HostLog();
    clock.Advance(options.shotEveryMs);
    ASSERT_TRUE(PumpUntil([&] { return play.GetShotCount() == 1; }));
    ASSERT_FALSE(said.empty());
    EXPECT_NE(said.back().find("screenshot during play: "), std::string::npos) << said.back();
    EXPECT_NE(said.back().find("/shots/"), std::string::npos) << said.back();
    // The printed path opens: the picture's name, in Chinese, is not
    // converted a second time.
    const std::string printed = said.back().substr(said.back().rfind(": ") + 2);
    EXPECT_TRUE(std::filesystem::exists(printed)) << printed;
    // The log is GBK throughout: the path in it too.
    EXPECT_TRUE(Logged("Pellor: screenshot during play: " + platform::Utf8ToGbk(printed)))
        << platform::GbkToUtf8(Log());
}

} // namespace
} // namespace app_test

namespace app_test {
namespace {

TEST_F(StartupTest, TheDesktopsCloseButtonAsksLikeTheSystemMenu) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    theApp.m_pfnUnattendedAnswer = nullptr;
    SetMessageBoxPresenter([](const CString& text) {
        boxes().push_back((LPCSTR)text);
        return IDCANCEL;
    });
    theBoard.SetGameState(3);
    theApp.m_pMainWnd->SendMessage(WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes().size(), 1u) << "a player in a game is asked";
    EXPECT_NE(theApp.m_pMainWnd->m_hWnd, nullptr) << "cancelled: the window stays";
    theBoard.SetGameState(0);
}

} // namespace
} // namespace app_test
