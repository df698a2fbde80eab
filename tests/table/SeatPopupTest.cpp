// The seat pop-up: what its three buttons decide in each state of the table,
// and the window itself made from the program's dialog, shaped by its
// picture's key colour, with its picture buttons and their tips, hidden by
// every action. Its picture is saved as PNG for a person to look at.

#include "ClientFixture.h"
#include "TableTestKit.h"
#include "platform/display/Display.h"
#include "platform/window/Input.h"
#include "platform/window/WindowVisibility.h"
#include "sprite/GameLayout.h"
#include "sprite/GdiRoutines.h"
#include "sprite/Theme.h"
#include "table/panes/SeatPopupWnd.h"

#include <filesystem>

namespace table_test {
namespace {

using platform_test::PumpPending;

// ---- the decisions ----

SeatPopupState Free(int seat) {
    SeatPopupState s;
    s.mySeat = 2;
    s.seat = seat;
    return s;
}
SeatPopupState Taken(int seat) {
    SeatPopupState s = Free(seat);
    s.seatTaken = TRUE;
    return s;
}

TEST(SeatPopupDecisions, KickIsForMembersOnOthersTakenSeats) {
    SeatPopupState s = Taken(4);
    s.member = TRUE;
    EXPECT_EQ(DecideKick(s).action, SeatPopupAction::Standup);

    SeatPopupState watcher = s;
    watcher.watcher = TRUE;
    EXPECT_EQ(DecideKick(watcher).action, SeatPopupAction::Notice);
    EXPECT_STREQ(DecideKick(watcher).notice, "对不起，旁观不能使用踢人功能！");

    SeatPopupState plain = Taken(4);
    EXPECT_STREQ(DecideKick(plain).notice, "对不起，只有会员才能使用踢人功能！");

    SeatPopupState empty = Free(4);
    empty.member = TRUE;
    EXPECT_EQ(DecideKick(empty).action, SeatPopupAction::None);
    SeatPopupState mine = Taken(2);
    mine.member = TRUE;
    EXPECT_EQ(DecideKick(mine).action, SeatPopupAction::None);

    s.gameRunning = TRUE;
    EXPECT_EQ(DecideKick(s).action, SeatPopupAction::None);
    watcher.gameRunning = TRUE;
    EXPECT_EQ(DecideKick(watcher).action, SeatPopupAction::None);
}

TEST(SeatPopupDecisions, SitNeedsAFreeSeatOutsideAGame) {
    EXPECT_EQ(DecideSit(Free(4)).action, SeatPopupAction::Sit);
    EXPECT_STREQ(DecideSit(Taken(4)).notice, "对不起，该座位已有人！");
    // My own seat counts as taken for a player even when its record is empty.
    EXPECT_STREQ(DecideSit(Free(2)).notice, "对不起，该座位已有人！");
    // A watcher may sit down in the free seat he watches.
    SeatPopupState watcher = Free(2);
    watcher.watcher = TRUE;
    EXPECT_EQ(DecideSit(watcher).action, SeatPopupAction::Sit);
    SeatPopupState running = Free(4);
    running.gameRunning = TRUE;
    EXPECT_EQ(DecideSit(running).action, SeatPopupAction::None);
}

TEST(SeatPopupDecisions, WatchNeedsSomeoneElseAndWorksForWatchersDuringAGame) {
    EXPECT_EQ(DecideWatch(Taken(4)).action, SeatPopupAction::Watch);
    EXPECT_STREQ(DecideWatch(Free(4)).notice, "旁观换座位失败！");
    EXPECT_STREQ(DecideWatch(Taken(2)).notice, "旁观换座位失败！");
    SeatPopupState running = Taken(4);
    running.gameRunning = TRUE;
    EXPECT_EQ(DecideWatch(running).action, SeatPopupAction::None);
    running.watcher = TRUE;
    EXPECT_EQ(DecideWatch(running).action, SeatPopupAction::Watch);
}

// ---- the window ----

class SeatPopupTest : public platform_test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        SetExeFolderOverride(kAssets.c_str());
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        ASSERT_TRUE(owner.CreateTop(&ownerLog, 400, 300));
        state = Taken(4);
        state.member = TRUE;
    }
    void TearDown() override {
        if (popup.m_hWnd != nullptr)
            popup.DestroyWindow();
        owner.DestroyWindow();
        kn::theTheme.Close();
        SetExeFolderOverride(nullptr);
        DisplayTest::TearDown();
    }
    // The table the pop-up acts on: the state the test sets, and what the
    // pop-up asked of it, in order.
    struct RecordingHost : CSeatPopupHost {
        SeatPopupState state;
        std::vector<std::string> events;
        SeatPopupState SeatPopupStateNow() const override { return state; }
        void ShowSeatPopupNotice(LPCSTR text) override {
            events.push_back(std::string("notice ") + text);
        }
        CString SeatUserName(int seat) const override {
            return seat == 4 ? CString("bob") : CString();
        }
        void RequestStandup(LPCSTR name) override {
            events.push_back(std::string("standup ") + name);
        }
        void RequestSeat(int seat, int watch) override {
            events.push_back("seat " + std::to_string(seat) + " " + std::to_string(watch));
        }
    };
    void Make() {
        ASSERT_TRUE(popup.Create(&owner, &layout));
        popup.SetWindowPos(nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        popup.ShowWindow(SW_SHOWNOACTIVATE);
        PumpPending();
    }
    RECT RectOf(CWnd& wnd) {
        RECT r{};
        wnd.GetWindowRect(&r);
        return r;
    }

    ProgramResources resources;
    CGameLayout layout;
    std::vector<platform_test::Delivered> ownerLog;
    platform_test::RecordingWnd owner;
    RecordingHost host;
    SeatPopupState& state = host.state;
    std::vector<std::string>& events = host.events;
    CSeatPopupWnd popup{host};
};

TEST_F(SeatPopupTest, ItTakesTheSizeAndShapeOfItsPicture) {
    ASSERT_TRUE(kn::theTheme.Open("Pellor2"));
    Make();
    EXPECT_TRUE(popup.HasPicture());
    const RECT r = RectOf(popup);
    EXPECT_EQ(r.right - r.left, 102);
    EXPECT_EQ(r.bottom - r.top, 32);
    HRGN region = platform::GetWindowRegion(popup.m_hWnd);
    ASSERT_NE(region, nullptr);
    // The magenta corner is outside, the middle and the edges' middles inside.
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 101, 31));
    EXPECT_TRUE(PtInRegion(region, 51, 16));
    EXPECT_TRUE(PtInRegion(region, 51, 0));
    EXPECT_NE(popup.GetPopupCursor(), nullptr);

    // On the screen: the owner's colour shows through the cut corner.
    std::unique_ptr<platform::Surface> screen = platform::ComposeScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_NE(screen->GetPixel(120, 80) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_NE(screen->GetPixel(120 + 51, 80 + 16) & 0xFFFFFF, 0xFF00FFu);
    platform::PixelImage shot;
    shot.Reset(142, 72);
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 142; ++x)
            shot.At(x, y) = screen->GetPixel(100 + x, 60 + y) & 0xFFFFFF;
    SaveSheet("seat_popup.png", shot);
}

// As the program's loop runs: a window sees its messages first, so that the
// buttons relay the mouse to their tips.
void PumpLikeTheProgram() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!AfxPreTranslateMessage(&msg))
            DispatchMessage(&msg);
}

uint32_t ScreenPixel(POINT p) {
    std::unique_ptr<platform::Surface> screen = platform::ComposeScreen();
    return screen ? screen->GetPixel(p.x, p.y) & 0xFFFFFF : 0xDEADBEEF;
}

// A frame of a four-frame strip at a point of it, as 0xRRGGBB.
uint32_t StripPixel(CBitmap& strip, int frame, int x, int y) {
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, strip);
    const COLORREF c = GetPixel(memory, frame * GetBitmapSize(strip).cx / 4 + x, y);
    SelectObject(memory, old);
    DeleteDC(memory);
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// The buttons stand in a row, each one frame of its strip; the one under
// the mouse shows its hover frame and, after the delay, its tip; a disabled
// one its disabled frame. The table hides the pop-up while the cursor still
// rests on a button (a game starts): its tip goes with it.
TEST_F(SeatPopupTest, ItsButtonsShowTheirFramesAndTipsUnderTheMouse) {
    ASSERT_TRUE(kn::theTheme.Open("Pellor2"));
    Make();
    const RECT popupRect = RectOf(popup);
    int x = popupRect.left + 11;
    for (int i = 0; i < 3; ++i) {
        const RECT r = RectOf(popup.Button(i));
        EXPECT_EQ(r.left, x) << i;
        EXPECT_EQ(r.top, popupRect.top + 4) << i;
        EXPECT_EQ((r.right - r.left) * 4,
                  GetBitmapSize(layout.m_bmpFlags[CGameLayout::FLAG_OUT + i]).cx)
            << i;
        EXPECT_LE(r.right, popupRect.right) << i;
        x = r.right;
    }

    CHoverButton& sit = popup.Button(1);
    CBitmap& strip = layout.m_bmpFlags[CGameLayout::FLAG_DOWN];
    const RECT r = RectOf(sit);
    // A point where the normal, hover and disabled frames differ.
    POINT at{-1, -1};
    for (int y = 0; y < r.bottom - r.top && at.x < 0; ++y)
        for (int dx = 0; dx < r.right - r.left && at.x < 0; ++dx) {
            const uint32_t normal = StripPixel(strip, 0, dx, y);
            if (normal != StripPixel(strip, 1, dx, y) && normal != StripPixel(strip, 3, dx, y))
                at = {dx, y};
        }
    ASSERT_GE(at.x, 0) << "the strip's frames look alike";
    const POINT probe{r.left + at.x, r.top + at.y};
    EXPECT_EQ(ScreenPixel(probe), StripPixel(strip, 0, at.x, at.y));

    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    platform::InjectMouse(platform::MouseAction::Move, centre);
    PumpLikeTheProgram();
    EXPECT_EQ(ScreenPixel(probe), StripPixel(strip, 1, at.x, at.y)) << "the hover frame";
    clock.Advance(500);
    PumpLikeTheProgram();
    EXPECT_TRUE(sit.GetToolTip().IsWindowVisible()) << "坐下";

    popup.ShowWindow(SW_HIDE);
    PumpLikeTheProgram();
    EXPECT_FALSE(sit.GetToolTip().IsWindowVisible());
    platform::InjectMouse(platform::MouseAction::Move, {centre.x + 1, centre.y});
    clock.Advance(1000);
    PumpLikeTheProgram();
    EXPECT_FALSE(sit.GetToolTip().IsWindowVisible()) << "no tip of a hidden pop-up";

    // Shown again, it tells the player again.
    popup.ShowWindow(SW_SHOWNOACTIVATE);
    platform::InjectMouse(platform::MouseAction::Move, {popupRect.left - 20, popupRect.top - 20});
    PumpLikeTheProgram();
    platform::InjectMouse(platform::MouseAction::Move, centre);
    PumpLikeTheProgram();
    clock.Advance(500);
    PumpLikeTheProgram();
    EXPECT_TRUE(sit.GetToolTip().IsWindowVisible());

    platform::InjectMouse(platform::MouseAction::Move, {popupRect.left - 20, popupRect.top - 20});
    sit.EnableWindow(FALSE);
    PumpLikeTheProgram();
    EXPECT_EQ(ScreenPixel(probe), StripPixel(strip, 3, at.x, at.y)) << "the disabled frame";
    popup.EnableButtons();
    PumpLikeTheProgram();
    EXPECT_EQ(ScreenPixel(probe), StripPixel(strip, 0, at.x, at.y));
}

TEST_F(SeatPopupTest, WithoutItsPictureItStaysARectangle) {
    // A theme without "Avatar_Tip".
    TempFolder program;
    std::filesystem::create_directories(program.File("Theme"));
    std::filesystem::create_directories(program.File("theme_bmp"));
    program.Write("Pellor2.ini", "[Theme]\nTheme=theme_bmp\\T\n");
    program.Write("theme_bmp/T.thm", "[Image]\n");
    SetExeFolderOverride((program.Path() + "/").c_str());
    kn::theTheme.Close();
    ASSERT_TRUE(kn::theTheme.Open("Pellor2"));
    LogCapture log;
    Make();
    EXPECT_FALSE(popup.HasPicture());
    EXPECT_EQ(platform::GetWindowRegion(popup.m_hWnd), nullptr);
    EXPECT_NE(log.Text().find("Avatar_Tip"), std::string::npos);
    // Its buttons still act.
    popup.SendMessage(WM_COMMAND, CSeatPopupWnd::kKickId, 0);
    EXPECT_EQ(events, std::vector<std::string>{"standup bob"});
}

TEST_F(SeatPopupTest, EveryButtonActsAndHidesThePopUp) {
    Make();
    const struct {
        int id;
        SeatPopupState state;
        std::string event;
    } cases[] = {
        {CSeatPopupWnd::kKickId, state, "standup bob"},
        {CSeatPopupWnd::kSitId, Free(5), "seat 5 0"},
        {CSeatPopupWnd::kWatchId, Taken(4), "seat 4 1"},
        {CSeatPopupWnd::kSitId, Taken(4), "notice 对不起，该座位已有人！"},
        {CSeatPopupWnd::kWatchId, Free(5), "notice 旁观换座位失败！"},
    };
    for (const auto& c : cases) {
        popup.ShowWindow(SW_SHOWNOACTIVATE);
        state = c.state;
        events.clear();
        popup.SendMessage(WM_COMMAND, WPARAM(c.id), 0);
        EXPECT_EQ(events, std::vector<std::string>{c.event}) << c.id;
        EXPECT_FALSE(popup.IsWindowVisible()) << c.id;
    }
}

TEST_F(SeatPopupTest, AClickOnAButtonKicks) {
    ASSERT_TRUE(kn::theTheme.Open("Pellor2"));
    Make();
    const RECT r = RectOf(popup.Button(0));
    const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    platform::InjectMouse(platform::MouseAction::Move, p);
    platform::InjectMouse(platform::MouseAction::LeftDown, p);
    platform::InjectMouse(platform::MouseAction::LeftUp, p);
    PumpPending();
    EXPECT_EQ(events, std::vector<std::string>{"standup bob"});
    EXPECT_FALSE(popup.IsWindowVisible());
}

TEST_F(SeatPopupTest, ASeatOffTheTableIsRefused) {
    LogCapture log;
    Make();
    for (int seat : {-1, 6, 1000}) {
        state.seat = seat;
        for (int id : {CSeatPopupWnd::kKickId, CSeatPopupWnd::kSitId, CSeatPopupWnd::kWatchId})
            popup.SendMessage(WM_COMMAND, WPARAM(id), 0);
    }
    EXPECT_TRUE(events.empty());
    EXPECT_NE(log.Text().find("no seat to act on"), std::string::npos);
}

} // namespace
} // namespace table_test
