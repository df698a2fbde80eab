// End to end: the program starts against the local table host, draws its
// table, takes screenshots, and ends through its close decisions, a server
// close and every start-up failure.

#include "tests/app/StartupFixture.h"

#include "app/GameAppLink.h"
#include "app/LoadingWnd.h"
#include "app/SkinWindow.h"
#include "app/Snapshot.h"
#include "app/ToolWnd.h"
#include "outside/ChatControls.h"
#include "platform/display/Display.h"
#include "platform/display/WindowSurfaces.h"
#include "platform/gdi/Surface.h"
#include "platform/images/JpegFile.h"
#include "platform/system/Path.h"
#include "platform/window/Clipboard.h"
#include "platform/window/HotKey.h"
#include "platform/window/Input.h"
#include "platform/window/NonClient.h"
#include "platform/window/SystemMetrics.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"
#include "table/common/GameWndIds.h"
#include "table/panes/TableInfo.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

namespace app_test {
namespace {

using platform::InjectMouse;
using platform::MouseAction;
using platform_test::PumpUntil;

// Pumps until the main window is gone; false after kRealWaitSeconds.
bool PumpUntilClosed() {
    return PumpUntil(
        [] { return theApp.m_pMainWnd == nullptr || theApp.m_pMainWnd->m_hWnd == nullptr; });
}

TEST_F(StartupTest, StartsAgainstTheHostAndDrawsTheTable) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    CMainFrame* frame = theApp.m_pMainWnd;
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(AfxGetMainWnd(), frame);
    EXPECT_TRUE(frame->IsWindowVisible());
    CString title;
    frame->GetWindowText(title);
    EXPECT_STREQ(title, "Morvane积分版 (" PELLOR_VERSION ") Alice [alice] ")
        << "the title carries the build's version";
    CGameWnd* table = frame->GetGameWnd();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->IsWindowVisible());
    EXPECT_EQ(theClient.m_pGameWnd, static_cast<CGameWndLink*>(table));
    ASSERT_NE(frame->GetToolWnd(), nullptr);
    EXPECT_NE(theApp.m_pChatCtrl, nullptr);
    EXPECT_EQ(theClient.m_nMySeat, 0);
    EXPECT_GE(host->FindClient("alice"), 0);
    platform_test::Settle();

    // The table's green cloth shows in the middle of the table window, between
    // the top seat's name plate and the start pane.
    RECT area{};
    table->GetWindowRect(&area);
    platform::Surface* surface = platform::GetWindowSurfaces()->SurfaceOf(frame->m_hWnd);
    ASSERT_NE(surface, nullptr);
    RECT frameRect{};
    frame->GetWindowRect(&frameRect);
    const uint32_t middle =
        surface->GetPixel((area.left + area.right) / 2 - frameRect.left,
                          area.top + (area.bottom - area.top) / 3 - frameRect.top);
    EXPECT_GT((middle >> 8) & 0xFF, (middle >> 16) & 0xFF) << std::hex << middle;
}

TEST_F(StartupTest, AScreenshotHoldsTheWindowsPixels) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    platform_test::Settle();
    SetSnapshotClock([] { return SnapshotTime{2026, 12, 7, 14, 3, 9, 45}; });
    const std::string folder = program.File("shots/deeper");
    CString notice;
    ASSERT_TRUE(theApp.SaveSnapshot(folder.c_str(), notice));
    SetSnapshotClock(nullptr);
    const std::string file = folder + "/2026年12月07日14时03分09秒045.jpg";
    // The notice names the file as the desktop writes it.
    EXPECT_STREQ(notice, ("截图已存储到" + folder + "/2026年12月07日14时03分09秒045.jpg").c_str());

    platform::PixelImage shot;
    std::ifstream in(NativePath(file.c_str()), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(platform::DecodeJpeg(bytes.data(), bytes.size(), shot)) << file;
    CMainFrame* frame = theApp.m_pMainWnd;
    RECT rect{};
    frame->GetWindowRect(&rect);
    ASSERT_EQ(shot.width, rect.right - rect.left);
    ASSERT_EQ(shot.height, rect.bottom - rect.top);
    platform::Surface* surface = platform::GetWindowSurfaces()->SurfaceOf(frame->m_hWnd);
    ASSERT_NE(surface, nullptr);
    // JPEG at full quality: the averages close, and nearly every sampled
    // pixel close too (sharp text and plate edges ring a little in JPEG; a
    // shifted or wrong picture is far off nearly everywhere).
    long sums[2][3] = {};
    std::vector<int> differences;
    for (int y = 2; y < shot.height; y += 17) {
        for (int x = 2; x < shot.width; x += 13) {
            const uint32_t a = shot.At(x, y), b = surface->GetPixel(x, y);
            int worst = 0;
            for (int c = 0; c < 3; ++c) {
                const int va = (a >> (8 * c)) & 0xFF, vb = (b >> (8 * c)) & 0xFF;
                sums[0][c] += va;
                sums[1][c] += vb;
                worst = std::max(worst, std::abs(va - vb));
            }
            differences.push_back(worst);
        }
    }
    const int samples = int(differences.size());
    ASSERT_GT(samples, 1000);
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(double(sums[0][c]) / samples, double(sums[1][c]) / samples, 1.5) << c;
    std::sort(differences.begin(), differences.end());
    const auto percentile = [&](int perMille) {
        return differences[size_t(samples) * size_t(perMille) / 1000];
    };
    EXPECT_LE(percentile(500), 4) << "the typical sampled pixel matches the window's";
    EXPECT_LT(percentile(950), 20) << "nearly every sampled pixel is close";
    EXPECT_LT(percentile(995), 60) << "only edge pixels ring further";

    // The clipboard holds the window as a bitmap.
    ASSERT_TRUE(OpenClipboard(nullptr));
    HBITMAP onClipboard = HBITMAP(GetClipboardData(CF_BITMAP));
    ASSERT_NE(onClipboard, nullptr);
    BITMAP info{};
    GetObject(onClipboard, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, rect.right - rect.left);
    EXPECT_EQ(info.bmHeight, rect.bottom - rect.top);
    CloseClipboard();
}

TEST_F(StartupTest, AScreenshotThatCannotBeWrittenIsToldToThePlayer) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    program.Write("blocker", "a file where the folder should be");
    const std::string folder = program.File("blocker/shots");
    theApp.m_settings.m_strPhotoPath = folder.c_str();
    SetSnapshotClock([] { return SnapshotTime{2026, 12, 7, 14, 3, 9, 45}; });
    CMainFrame* frame = theApp.m_pMainWnd;
    frame->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    frame->SendMessage(WM_HOTKEY, CMainFrame::kHotKeyShot, 0);
    SetSnapshotClock(nullptr);
    platform_test::Settle();
    const std::string told = "截图未能存储到" + folder + "/2026年12月07日14时03分09秒045.jpg";
    ASSERT_NE(theApp.m_pChatCtrl, nullptr);
    const std::vector<std::string>& lines = ChatControlStateOf(theApp.m_pChatCtrl->m_hWnd)->lines;
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find(told), std::string::npos) << "the chat says so";
    std::string tip;
    for (const std::string& line : frame->GetGameWnd()->Info().Tip(kStatusTip).GetLines())
        tip += line;
    EXPECT_EQ(tip, told) << "and the table's status tip";
    EXPECT_TRUE(Logged("截图保存失败"));
    EXPECT_FALSE(std::filesystem::exists(program.File("blocker/shots")));
}

TEST_F(StartupTest, APlayerBetweenGamesLeavesWithoutAQuestionAndTheProgramEnds) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    // The table's first records are read before the user closes.
    ASSERT_TRUE(PumpUntil([this] { return Logged("901,"); }));
    platform_test::Settle();
    theApp.m_pMainWnd->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(PumpUntil([&] { return CountReceived(0x202) == 1; })) << HostLog();
    EXPECT_TRUE(boxes().empty());
    ASSERT_TRUE(PumpUntilClosed());
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

TEST_F(StartupTest, CancellingTheInGameQuestionLeavesEverythingAsItWas) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    theApp.m_pfnUnattendedAnswer = nullptr;
    SetMessageBoxPresenter([](const CString& text) {
        boxes().push_back((LPCSTR)text);
        return IDCANCEL;
    });
    theBoard.SetGameState(3);
    theApp.m_pMainWnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(boxes().size(), 1u);
    platform_test::Settle();
    EXPECT_EQ(CountReceived(0x202), 0);
    EXPECT_TRUE(theApp.m_pMainWnd->m_hWnd != nullptr && theApp.m_pMainWnd->IsWindowVisible());
    theBoard.SetGameState(0);
}

TEST_F(StartupTest, AGameThatEndsWhileTheCloseQuestionIsOpenGivesALeave) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    ASSERT_TRUE(PumpUntil([this] { return Logged("901,"); }));
    platform_test::Settle();
    SetMessageBoxPresenter([](const CString& text) {
        boxes().push_back((LPCSTR)text);
        // The game-over record comes in while the question waits.
        theBoard.SetGameState(0);
        return IDOK;
    });
    theBoard.SetGameState(3);
    theApp.m_pMainWnd->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(boxes().size(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return CountReceived(0x202) == 1; })) << HostLog();
    EXPECT_EQ(CountReceived(0x21A), 0) << "no trusteeship exit for a game that is over";
}

TEST_F(StartupTest, AServerCloseTellsTheUserAndEndsTheProgram) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    ASSERT_TRUE(host->Drop(host->FindClient("alice")));
    ASSERT_TRUE(PumpUntil([] { return theClient.m_bClosed != 0; }));
    EXPECT_TRUE(boxes().empty()) << "the notice waits for the frame's timer";
    clock.Advance(kCloseNoticeDelayMs);
    ASSERT_TRUE(PumpUntilClosed());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0], "网络连接关闭!");
}

TEST_F(StartupTest, TheFramesSystemCommandsTakeEffectAtMostOnceASecond) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    CMainFrame* frame = theApp.m_pMainWnd;
    CGameWnd* table = frame->GetGameWnd();
    // The headless screen is exactly 1024 wide: the frame starts maximised.
    frame->ShowWindow(SW_RESTORE);
    ASSERT_FALSE(frame->IsZoomed());
    frame->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(frame->IsMinimized());
    EXPECT_FALSE(frame->IsSysCmdReady());
    frame->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(frame->IsMinimized()) << "a second command within a second is ignored";
    clock.Advance(CMainFrame::kSysCmdMs);
    platform_test::Settle();
    EXPECT_TRUE(frame->IsSysCmdReady());
    frame->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(frame->IsMinimized());

    // Maximise while the table is busy: ignored, and nothing more for a second.
    clock.Advance(CMainFrame::kSysCmdMs);
    platform_test::Settle();
    table->ReceiveGate().Hold(CReceiveGate::kRecord);
    frame->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(frame->IsZoomed());
    table->ReceiveGate().Release(CReceiveGate::kRecord);
    frame->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(frame->IsZoomed()) << "the next try waits for the timer";
    clock.Advance(CMainFrame::kSysCmdMs);
    platform_test::Settle();
    frame->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(frame->IsZoomed());
    RECT zoomed{};
    frame->GetWindowRect(&zoomed);
    EXPECT_EQ(zoomed.left, 0);
    EXPECT_EQ(zoomed.top, 0) << "the maximised frame fills the work area";
    EXPECT_TRUE(table->IsReceiveReady()) << "the table takes records again after the size change";
}

TEST_F(StartupTest, TheWatchButtonsSendTheCardViewAndSwapThemselves) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    CMainFrame* frame = theApp.m_pMainWnd;
    theApp.m_settings.m_bAllowWatch = 0;
    frame->SendMessage(WM_SKIN_USERBUTTON, CMainFrame::kAllowWatch, 0);
    EXPECT_EQ(theApp.m_settings.m_bAllowWatch, 1);
    frame->SendMessage(WM_SKIN_USERBUTTON, CMainFrame::kForbidWatch, 0);
    EXPECT_EQ(theApp.m_settings.m_bAllowWatch, 0);
    // Both choices reached the host as game records.
    ASSERT_TRUE(PumpUntil([&] { return CountReceived(0x243) >= 2; }));
}

TEST_F(StartupTest, HotKeysActOnlyWhileTheFrameIsActive) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    theApp.m_settings.m_strPhotoPath = program.File("hotkey").c_str();
    CMainFrame* frame = theApp.m_pMainWnd;
    frame->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    frame->SendMessage(WM_HOTKEY, CMainFrame::kHotKeyShot, 0);
    EXPECT_FALSE(std::filesystem::exists(program.File("hotkey")));
    frame->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(frame->IsActive());
    frame->SendMessage(WM_HOTKEY, CMainFrame::kHotKeyShot, 0);
    EXPECT_TRUE(std::filesystem::exists(program.File("hotkey")));
}

// A press and release at the middle of a window, through the mouse path.
void ClickCentreOf(CWnd* wnd) {
    ASSERT_NE(wnd, nullptr);
    RECT r{};
    wnd->GetWindowRect(&r);
    const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    InjectMouse(MouseAction::Move, p);
    InjectMouse(MouseAction::LeftDown, p);
    InjectMouse(MouseAction::LeftUp, p);
    platform_test::Settle();
}

TEST_F(StartupTest, CtrlWOpensTheHistoryAndClosesItAgain) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    platform_test::Settle();
    CMainFrame* frame = theApp.m_pMainWnd;
    ::SetActiveWindow(frame->m_hWnd);
    const auto pressCtrlW = [] {
        platform::InjectKey(VK_CONTROL, true);
        platform::InjectKey('W', true);
        platform::InjectKey('W', false);
        platform::InjectKey(VK_CONTROL, false);
        platform_test::Settle();
    };
    pressCtrlW();
    ASSERT_TRUE(TheGameAppLink().IsHistoryShown()) << "the first press opens it";
    // On a desktop the new window takes the keyboard, as SDL reports it.
    const HWND history = ::FindWindow(nullptr, "积分记录");
    ASSERT_NE(history, nullptr);
    ::SetActiveWindow(history);
    ASSERT_FALSE(frame->IsActive());
    pressCtrlW();
    EXPECT_FALSE(TheGameAppLink().IsHistoryShown()) << "the second press closes it";
}

// Ctrl+S as the user presses it, and the status tip it shows: a balloon
// whose window lies inside the frame, on the screen, over the frame's
// bottom part.
void ExpectScreenshotTipInside(CMainFrame* frame) {
    platform::InjectKey(VK_CONTROL, true);
    platform::InjectKey('S', true);
    platform::InjectKey('S', false);
    platform::InjectKey(VK_CONTROL, false);
    platform_test::Settle();
    CBalloonTipWnd& tip = frame->GetGameWnd()->Info().Tip(kStatusTip);
    ASSERT_TRUE(tip.IsShown());
    RECT box{}, outer{};
    tip.GetWindowRect(&box);
    frame->GetWindowRect(&outer);
    EXPECT_TRUE(box.left >= outer.left && box.right <= outer.right && box.bottom <= outer.bottom &&
                box.bottom <= GetSystemMetrics(SM_CYSCREEN))
        << box.left << "," << box.top << "," << box.right << "," << box.bottom;
    EXPECT_GT(box.top, (outer.top + outer.bottom) / 2);
}

TEST_F(StartupTest, TheScreenshotNoticeIsDrawnInBlueInTheChatWithoutItsMarkup) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    theApp.m_settings.m_strPhotoPath = program.File("shots").c_str();
    CMainFrame* frame = theApp.m_pMainWnd;
    platform_test::Settle();
    ::SetActiveWindow(frame->m_hWnd);
    ExpectScreenshotTipInside(frame);
    ASSERT_NE(theApp.m_pChatCtrl, nullptr);
    HWND chat = theApp.m_pChatCtrl->m_hWnd;
    ASSERT_FALSE(ChatControlStateOf(chat)->lines.empty());
    RECT area{};
    ::GetWindowRect(chat, &area);
    RECT frameRect{};
    frame->GetWindowRect(&frameRect);
    platform::Surface* surface = platform::GetWindowSurfaces()->SurfaceOf(frame->m_hWnd);
    ASSERT_NE(surface, nullptr);
    // The newest line stands at the control's bottom; the notice, longer
    // than the control is wide, wraps onto the rows above it.
    int blue = 0, blueAbove = 0, dark = 0;
    for (int y = area.bottom - 44; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c =
                platform::ColorFromPixel(surface->GetPixel(x - frameRect.left, y - frameRect.top));
            const bool isBlue = GetBValue(c) > 200 && GetRValue(c) < 80 && GetGValue(c) < 80;
            (y < area.bottom - 22 ? blueAbove : blue) += isBlue;
            dark += GetBValue(c) < 60 && GetRValue(c) < 60 && GetGValue(c) < 60;
        }
    }
    platform::SaveWindowPng(frame->m_hWnd, std::string(APP_TEST_OUTPUT_DIR) + "/chat_notice.png");
    EXPECT_GT(blue, 40) << "the notice in its blue";
    EXPECT_GT(blueAbove, 40) << "a notice wider than the chat wraps";
    EXPECT_EQ(dark, 0) << "no markup drawn as black text";

    frame->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    platform_test::Settle();
    ExpectScreenshotTipInside(frame);
}

TEST_F(StartupTest, TheChatBarButtonWaitsForTheTableAndHidesThenRestoresTheChat) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    platform_test::Settle();
    CMainPane& pane = theApp.m_pMainWnd->GetPane();
    CGameWnd* table = theApp.m_pMainWnd->GetGameWnd();
    const int width = pane.GetToolWidth();
    ASSERT_GT(width, 0);
    // A card flight holds the table: the button waits.
    table->ReceiveGate().Hold(CReceiveGate::kRecord);
    ClickCentreOf(pane.GetDlgItem(CMainPane::kCloseId));
    EXPECT_EQ(pane.GetToolWidth(), width) << "nothing happens while the table is busy";
    table->ReceiveGate().Release(CReceiveGate::kRecord);

    // Hide, then show again by the other button: the table stays ready
    // for clicks throughout.
    ClickCentreOf(pane.GetDlgItem(CMainPane::kCloseId));
    EXPECT_EQ(pane.GetToolWidth(), 0);
    EXPECT_FALSE(pane.IsChatShown());
    EXPECT_TRUE(table->IsReceiveReady());
    ClickCentreOf(pane.GetDlgItem(CMainPane::kOpenId));
    EXPECT_EQ(pane.GetToolWidth(), width);
    EXPECT_TRUE(table->IsReceiveReady());
    RECT client{};
    pane.GetClientRect(&client);
    RECT tableRect{};
    table->GetWindowRect(&tableRect);
    const CMainPane::Places places = pane.Compute(CRect(client));
    EXPECT_EQ(tableRect.right - tableRect.left, places.left.Width());
    EXPECT_EQ(places.right.Width(), width) << "the chat pane is as wide as before";
}

TEST_F(StartupTest, ACardFlightStaysHeldThroughMinimiseRestoreAndMove) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    CMainFrame* frame = theApp.m_pMainWnd;
    CGameWnd* table = frame->GetGameWnd();
    table->ReceiveGate().Hold(CReceiveGate::kRecord);
    frame->SendMessage(WM_SYSCOMMAND, SC_MOVE, 0);
    EXPECT_FALSE(table->IsReceiveReady());
    frame->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(table->IsReceiveReady());
    clock.Advance(CMainFrame::kSysCmdMs);
    platform_test::Settle();
    frame->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(frame->IsMinimized());
    EXPECT_FALSE(table->IsReceiveReady()) << "the flight's end lets clicks in, not a command";
}

TEST_F(StartupTest, AKickFromTheChatMovesAPlayerButNotAWatcher) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    CToolWnd* tool = theApp.m_pMainWnd->GetToolWnd();
    ASSERT_NE(tool, nullptr);
    const int before = CountReceived(0x22B);
    tool->OnKick(nullptr);
    theClient.m_bWatcher = TRUE;
    tool->OnKick("bob");
    theClient.m_bWatcher = FALSE;
    platform_test::Settle();
    EXPECT_EQ(CountReceived(0x22B), before) << "neither a null name nor a watcher sends";
}

// ---- start-up failures ----

TEST_F(StartupTest, AMissingResourceLibraryEndsTheStart) {
    std::filesystem::remove(program.File("Pellor2_res.rc"));
    Launch("1", 1);
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_STREQ(theApp.m_strStartFailure, "载入资源库失败!");
    EXPECT_TRUE(Logged("载入资源库失败!"));
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(boxes(), std::vector<std::string>{"载入资源库失败!"}) << "the player is told";
}

TEST_F(StartupTest, AThemeThatCannotOpenEndsTheStart) {
    std::filesystem::remove(program.File("pellor2.ini"));
    program.Write("pellor2.ini", "[Setting]\nAllowWatch=0\n");
    Launch("1", 1);
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_TRUE(Logged("kn::theTheme初始化失败!"));
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_TRUE(boxes().empty()) << "only the failed entry is shown to the user";
}

TEST_F(StartupTest, NoServerEndsTheStartWithTheEntryNotice) {
    Launch("1", 1); // nothing listens on port 1
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_TRUE(Logged("进入游戏通道失败!"));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0], "进入游戏通道失败!");
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

TEST_F(StartupTest, ABadLaunchRecordIsRefused) {
    StartHost();
    Launch("0"); // seats count from 1: 0 is no seat
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_TRUE(Logged("进入游戏通道失败!"));
    EXPECT_EQ(host->FindClient("alice"), -1);
}

} // namespace
} // namespace app_test
