// The skin on a live window of the headless display: the client area, the
// painted frame on the window's surface, the caption buttons under the mouse,
// the caption's drag and double click, the system menu and the private
// messages.

#include "app/SkinWindow.h"
#include "tests/app/SkinFixture.h"
#include "tests/support/DisplayFixture.h"

#include "platform/display/Display.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"

using namespace app_test;
using namespace platform;
using namespace platform_test;

namespace {

constexpr DWORD kMainStyle =
    WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME;
constexpr int kLeft = 100, kTop = 50, kWidth = 600, kHeight = 400;
constexpr UINT_PTR kActTimer = 77;

class SkinWindowTest : public DisplayTest {
protected:
    SkinFolder folder;
    CSkinFrame frame;
    RecordingWnd wnd;
    std::vector<Delivered> log;

    void SetUp() override {
        DisplayTest::SetUp();
        folder.WriteFull();
        ASSERT_TRUE(frame.LoadSkin(folder.layout.c_str(), folder.bitmaps.c_str()));
        wnd.log = &log;
        // The system commands are recorded, not carried out, unless a test says so.
        wnd.hooks[WM_SYSCOMMAND] = [](WPARAM, LPARAM) { return LRESULT(0); };
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "Pellor", kMainStyle, kLeft, kTop, kWidth, kHeight,
                                 nullptr, nullptr));
        CSkinWindow::Attach(wnd, "main", &frame);
        PumpPending();
        log.clear();
    }
    void TearDown() override {
        ReleaseCapture();
        if (wnd.GetSafeHwnd())
            wnd.DestroyWindow();
        DisplayTest::TearDown();
    }
    CSkinWindow* Skin() { return CSkinWindow::FromWindow(wnd); }
    std::vector<Delivered> Posted(UINT message) {
        PumpPending();
        std::vector<Delivered> found;
        for (const Delivered& d : log)
            if (d.message == message)
                found.push_back(d);
        return found;
    }
    // A screen point in window coordinates.
    static POINT At(int x, int y) { return POINT{kLeft + x, kTop + y}; }
    static POINT CloseButton() { return At(kWidth - 30 - 13, 10); }
    static POINT UserButton(int place) { return At(kWidth - 114 - 28 * place - 13, 10); }
    uint32_t Pixel(int x, int y) { return PixelOf(wnd, x, y); }
    static void DoubleClick(POINT p) {
        for (int i = 0; i < 2; ++i) {
            InjectMouse(MouseAction::LeftDown, p);
            InjectMouse(MouseAction::LeftUp, p);
        }
        PumpPending();
    }
    // Runs `act` from a timer once the next loop waits (the press loop, the
    // menu), as a user's later input would come.
    void WhenWaiting(std::function<void()> act) {
        clock.SetAutoAdvance(true);
        wnd.hooks[WM_TIMER] = [this, act](WPARAM id, LPARAM) {
            if (id == kActTimer) {
                wnd.KillTimer(kActTimer);
                act();
            }
            return LRESULT(0);
        };
        wnd.SetTimer(kActTimer, 10);
    }
};

TEST_F(SkinWindowTest, TheClientAreaIsTheWindowLessTheSkinsBorders) {
    RECT client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.right, kWidth - 8);
    EXPECT_EQ(client.bottom, kHeight - 24 - 4);
    POINT origin{0, 0};
    wnd.ClientToScreen(&origin);
    EXPECT_EQ(origin.x, kLeft + 4);
    EXPECT_EQ(origin.y, kTop + 24);
}

TEST_F(SkinWindowTest, UserButtonsFollowTheGroupAndTheShowMessages) {
    EXPECT_EQ(Skin()->ShownButtons(), (std::vector<int>{0, 2})) << "\"other\" is not main's";
    wnd.PostMessage(WM_SKIN_SHOWBUTTON, 1, 1);
    wnd.PostMessage(WM_SKIN_SHOWBUTTON, 0, 0);
    PumpPending();
    EXPECT_EQ(Skin()->ShownButtons(), (std::vector<int>{1, 2}));
    wnd.PostMessage(WM_SKIN_SHOWBUTTON, 2, 1); // already shown: only a repaint
    wnd.PostMessage(WM_SKIN_SHOWBUTTON, 0, 1);
    wnd.PostMessage(WM_SKIN_SHOWBUTTON, 99, 1); // no such button
    PumpPending();
    EXPECT_EQ(Skin()->ShownButtons(), (std::vector<int>{0, 1, 2}));

    // Re-attaching brings back what the groups say; a tenth button is left out.
    for (int i = 0; i < 9; ++i)
        frame.m_userButtons.push_back(frame.m_userButtons[0]);
    CSkinWindow::Attach(wnd, "main", &frame);
    EXPECT_EQ(Skin()->ShownButtons(), (std::vector<int>{0, 2, 3, 4, 5, 6, 7, 8, 9}));
    CSkinWindow::Attach(wnd, "other", &frame);
    EXPECT_EQ(Skin()->ShownButtons().at(1), 1);
}

TEST_F(SkinWindowTest, AFramePaintsActiveAndInactiveOnTheWindow) {
    EXPECT_EQ(Pixel(100, 22), kTitleActive);
    EXPECT_EQ(Pixel(1, 200), kBorder);
    EXPECT_EQ(Pixel(300, kHeight - 2), kBottom);
    EXPECT_EQ(Pixel(kWidth - 30 - 13, 10), kFrameColours[0]);
    SaveWindowPng(wnd, OutputPath("window_active.png"));

    wnd.SendMessage(WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(Skin()->IsActive());
    EXPECT_EQ(Pixel(100, 22), kTitleInactive);
    SaveWindowPng(wnd, OutputPath("window_inactive.png"));
    wnd.SendMessage(WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(Pixel(100, 22), kTitleActive);

    // The alternative look, and the disabled user button in frame 3.
    wnd.PostMessage(WM_SKIN_ALTLOOK, 1, 0);
    wnd.PostMessage(WM_SKIN_ENABLEBUTTON, 0, 0);
    PumpPending();
    EXPECT_EQ(Pixel(kWidth - 2, 200), kBorderA);
    EXPECT_EQ(Pixel(UserButton(0).x - kLeft, 10), kFrameColours[3]);
    wnd.PostMessage(WM_SKIN_ALTLOOK, 0, 0);
    PumpPending();
    EXPECT_EQ(Pixel(kWidth - 2, 200), kBorder);
}

TEST_F(SkinWindowTest, HoverAndPressShowTheButtonsFrames) {
    InjectMouse(MouseAction::Move, CloseButton());
    PumpPending();
    EXPECT_EQ(Skin()->HotHit(), HTCLOSE);
    EXPECT_EQ(Pixel(kWidth - 30 - 13, 10), kFrameColours[1]);
    InjectMouse(MouseAction::Move, UserButton(0));
    PumpPending();
    EXPECT_EQ(Pixel(kWidth - 30 - 13, 10), kFrameColours[0]) << "the old hot button is put back";
    EXPECT_EQ(Pixel(UserButton(0).x - kLeft, 10), kFrameColours[1]);

    // While pressed, the button shows frame 2 and only the release ends it.
    uint32_t pressedFace = 0;
    WhenWaiting([&] {
        pressedFace = Pixel(UserButton(0).x - kLeft, 10);
        InjectMouse(MouseAction::LeftUp, UserButton(0));
    });
    InjectMouse(MouseAction::LeftDown, UserButton(0));
    PumpPending();
    EXPECT_EQ(pressedFace, kFrameColours[2]);
    EXPECT_EQ(Skin()->PressedHit(), 0);
    EXPECT_EQ(GetCapture(), nullptr);

    // The mouse leaves: the timer notices and the hot face goes.
    InjectMouse(MouseAction::Move, At(-50, -20));
    clock.Advance(250);
    PumpPending();
    EXPECT_EQ(Pixel(UserButton(0).x - kLeft, 10), kFrameColours[0]);
}

TEST_F(SkinWindowTest, ACaptionButtonActsOnlyWhenReleasedOverIt) {
    // Pressed on close, released outside the window: nothing.
    WhenWaiting([] { InjectMouse(MouseAction::LeftUp, At(kWidth + 50, 100)); });
    InjectMouse(MouseAction::LeftDown, CloseButton());
    PumpPending();
    EXPECT_TRUE(Posted(WM_SYSCOMMAND).empty());
    // Pressed on close, released on maximise: nothing.
    WhenWaiting([] { InjectMouse(MouseAction::LeftUp, At(kWidth - 58 - 13, 10)); });
    InjectMouse(MouseAction::LeftDown, CloseButton());
    PumpPending();
    EXPECT_TRUE(Posted(WM_SYSCOMMAND).empty());
    // Released over it, after wandering off and back: the command, once.
    WhenWaiting([] {
        InjectMouse(MouseAction::Move, At(300, 200));
        InjectMouse(MouseAction::Move, CloseButton());
        InjectMouse(MouseAction::LeftUp, CloseButton());
    });
    InjectMouse(MouseAction::LeftDown, CloseButton());
    PumpPending();
    const auto commands = Posted(WM_SYSCOMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, WPARAM(SC_CLOSE));

    log.clear();
    WhenWaiting([] { InjectMouse(MouseAction::LeftUp, UserButton(1)); });
    InjectMouse(MouseAction::LeftDown, UserButton(1));
    PumpPending();
    const auto clicks = Posted(WM_SKIN_USERBUTTON);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].wParam, 2u) << "the second shown button is user button 2";
    EXPECT_TRUE(Posted(WM_SYSCOMMAND).empty());
}

TEST_F(SkinWindowTest, TheCaptionDragsAndADoubleClickMaximisesAndRestores) {
    wnd.hooks.erase(WM_SYSCOMMAND); // the move loop and the zoom are carried out
    InjectMouse(MouseAction::LeftDown, At(200, 12));
    InjectMouse(MouseAction::Move, At(230, 32));
    InjectMouse(MouseAction::Move, At(260, 52));
    InjectMouse(MouseAction::LeftUp, At(260, 52));
    PumpPending();
    RECT moved;
    wnd.GetWindowRect(&moved);
    EXPECT_EQ(moved.left, kLeft + 60);
    EXPECT_EQ(moved.top, kTop + 40);

    const POINT caption{moved.left + 200, moved.top + 12};
    clock.Advance(1000);
    DoubleClick(caption);
    ASSERT_FALSE(Posted(WM_SYSCOMMAND).empty());
    EXPECT_EQ(Posted(WM_SYSCOMMAND).back().wParam, WPARAM(SC_MAXIMIZE));
    EXPECT_TRUE(wnd.IsZoomed());
    // Maximised: the restore picture in the maximise place, no moving.
    EXPECT_EQ(Skin()->State().zoomed, TRUE);
    SaveWindowPng(wnd, OutputPath("window_maximised.png"));
    RECT zoomed;
    wnd.GetWindowRect(&zoomed);
    const POINT zoomedCaption{zoomed.left + 200, zoomed.top + 12};
    InjectMouse(MouseAction::LeftDown, zoomedCaption);
    InjectMouse(MouseAction::Move, {zoomedCaption.x + 40, zoomedCaption.y + 40});
    InjectMouse(MouseAction::LeftUp, {zoomedCaption.x + 40, zoomedCaption.y + 40});
    PumpPending();
    RECT still;
    wnd.GetWindowRect(&still);
    EXPECT_EQ(still.left, zoomed.left);
    EXPECT_EQ(still.top, zoomed.top);

    clock.Advance(1000);
    log.clear();
    DoubleClick(zoomedCaption);
    ASSERT_FALSE(Posted(WM_SYSCOMMAND).empty());
    EXPECT_EQ(Posted(WM_SYSCOMMAND).back().wParam, WPARAM(SC_RESTORE));
    EXPECT_FALSE(wnd.IsZoomed());
    RECT restored;
    wnd.GetWindowRect(&restored);
    EXPECT_EQ(restored.left, moved.left);
    EXPECT_EQ(restored.right - restored.left, kWidth);
}

TEST_F(SkinWindowTest, TheSystemMenuEnablesWhatTheZoomAllows) {
    UINT moveState = 0, restoreState = 0;
    HMENU menu = GetSystemMenu(wnd, FALSE);
    WhenWaiting([&] {
        moveState = GetMenuState(menu, SC_MOVE, MF_BYCOMMAND);
        restoreState = GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND);
        InjectKey(VK_ESCAPE, true);
    });
    InjectMouse(MouseAction::Move, At(200, 12));
    InjectMouse(MouseAction::RightDown, At(200, 12));
    InjectMouse(MouseAction::RightUp, At(200, 12));
    PumpPending();
    EXPECT_FALSE(moveState & MF_GRAYED);
    EXPECT_TRUE(restoreState & MF_GRAYED);
    EXPECT_TRUE(Posted(WM_SYSCOMMAND).empty()) << "closed without a choice";
}

TEST_F(SkinWindowTest, ReattachingDuringAPressEndsThePressSafely) {
    WhenWaiting([this] {
        CSkinWindow::Attach(wnd, "main", &frame);
        InjectMouse(MouseAction::LeftUp, CloseButton());
    });
    InjectMouse(MouseAction::LeftDown, CloseButton());
    PumpPending();
    ASSERT_NE(Skin(), nullptr);
    EXPECT_EQ(Skin()->PressedHit(), 0);
    EXPECT_TRUE(Posted(WM_SYSCOMMAND).empty()) << "the press belonged to the old skin";
    // Taking the skin off leaves a plain window that still works.
    CSkinWindow::Attach(wnd, "main", nullptr);
    EXPECT_EQ(Skin(), nullptr);
    wnd.SendMessage(WM_NCPAINT, 1, 0);
}

TEST_F(SkinWindowTest, ASkinWithoutFramePiecesLeavesAPlainWindow) {
    folder.Write("[MAIN]\nBORDER=40\n");
    CSkinFrame empty;
    EXPECT_FALSE(empty.LoadSkin(folder.layout.c_str(), folder.bitmaps.c_str()));
    EXPECT_NE(folder.Log().find("did not load"), std::string::npos);
    CSkinWindow::Attach(wnd, "main", &empty);
    RECT client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.right, kWidth);
    EXPECT_EQ(client.bottom, kHeight);
    InjectMouse(MouseAction::LeftDown, At(200, 12));
    InjectMouse(MouseAction::LeftUp, At(200, 12));
    PumpPending();
    EXPECT_FALSE(Posted(WM_LBUTTONDOWN).empty()) << "the whole window is client area";
}

TEST_F(SkinWindowTest, TheDefaultThemesFrameLoadsWholeAndIsSavedForALook) {
    const std::string program = std::string(PELLOR_ASSET_DIR) + "/";
    CSkinFrame theme;
    ASSERT_TRUE(theme.LoadSkin((program + "theme_bmp/Default.thm").c_str(),
                               (program + "theme_bmp/Default").c_str()));
    EXPECT_EQ(theme.m_userButtons.size(), 5u);
    CSkinWindow::Attach(wnd, "main", &theme);
    EXPECT_EQ(Skin()->ShownButtons().size(), 5u);
    wnd.SetWindowText("够级 - 第1桌");
    PumpPending();
    RECT client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.right, kWidth - theme.GetFrameSize(0) - theme.GetFrameSize(2));
    SaveWindowPng(wnd, OutputPath("default_frame_active.png"));
    wnd.PostMessage(WM_SKIN_ALTLOOK, 1, 0);
    wnd.SendMessage(WM_NCACTIVATE, FALSE, 0);
    PumpPending();
    SaveWindowPng(wnd, OutputPath("default_frame_inactive_alternative.png"));
    CSkinWindow::Attach(wnd, "main", nullptr); // before the skin goes
}

} // namespace
