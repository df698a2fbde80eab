// The running frame against the local table host: the size it stores, the
// keep-alive, the help page, the card order from the settings, and the
// unattended play of a seat.

#include "tests/app/StartupFixture.h"

#include "app/HeadlessPlay.h"
#include "app/SkinWindow.h"
#include "game/GameRecords.h"
#include "platform/system/Profile.h"
#include "platform/system/Shell.h"
#include "table/GameNetClient.h"

#include <algorithm>

namespace app_test {
namespace {

using platform_test::PumpUntil;

TEST_F(StartupTest, TheFrameStoresTheUsersSizeButNotAMinimisedOne) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    CMainFrame* frame = theApp.m_pMainWnd;
    frame->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1016, 700));
    EXPECT_EQ(theApp.m_settings.m_nWindowWidth, 1024);
    EXPECT_EQ(theApp.m_settings.m_nWindowHeight, 734);
    frame->SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(theApp.m_settings.m_nWindowWidth, 1024);
    EXPECT_EQ(theApp.m_settings.m_nWindowHeight, 734);
    theApp.ExitInstance();
    EXPECT_NE(program.Read("pellor2.ini").find("WindowSize=1024,734"), std::string::npos);
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

TEST_F(StartupTest, OnlyAWebHelpPageIsOpened) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    std::vector<std::string> opened;
    platform::SetShellExecuteHook([&](LPCSTR, LPCSTR file, int) {
        opened.push_back(file);
        return INT_PTR(33);
    });
    CMainFrame* frame = theApp.m_pMainWnd;
    WritePrivateProfileString("Setting", "help", "/usr/bin/xterm", theApp.GetSettingsFile());
    frame->SendMessage(WM_SKIN_USERBUTTON, CMainFrame::kHelp, 0);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(Logged("is not a web address"));
    WritePrivateProfileString("Setting", "help", "https://help.example/pellor",
                              theApp.GetSettingsFile());
    frame->SendMessage(WM_SKIN_USERBUTTON, CMainFrame::kHelp, 0);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "https://help.example/pellor");
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
