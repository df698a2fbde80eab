// End to end on a real X display (an X server of the test's own; skipped
// without Xvfb):
// an SDL window opens for a top-level window, a click pushed into SDL's event
// queue (as the X server would deliver it) arrives as WM_LBUTTONDOWN at the
// right client point, and the X screen, read back from the root window, shows
// what the window drew, cut to its window region.

#include "tests/support/MessageLog.h"

#include "platform/display/Display.h"
#include "platform/system/EventLoop.h"
#include "platform/window/Input.h"
#include "platform/window/WindowDcs.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <thread>
#include <unistd.h>

// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include "tests/support/SdlScreen.h"

#include <X11/extensions/XTest.h>

using namespace platform;
using namespace platform_test;

// SDL's video start-up makes D-Bus keep a buffer for the life of the process;
// the leak checker is told it is not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

namespace {

// Paints green with a red square at (20, 30)-(40, 50).
class PaintedWnd : public RecordingWnd {
public:
    void OnPaint() override {
        CPaintDC dc(this);
        dc.FillSolidRect(0, 0, 200, 150, RGB(0, 255, 0));
        dc.FillSolidRect(20, 30, 20, 20, RGB(255, 0, 0));
    }
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
};

using SdlWindowTest = SdlScreenTest;

// Lets the loop go idle a turn at a time (at most the turns given) until done
// holds; whether it does. The turns' own timer messages leave the log.
bool SettleUntil(CWnd& wnd, std::vector<Delivered>& log, int turns,
                 const std::function<bool()>& done) {
    for (int turn = 0; turn < turns && !done(); ++turn) {
        wnd.SetTimer(kSettleTimer, 50);
        RunUntil(wnd, WM_TIMER, kSettleTimer, log);
        wnd.KillTimer(kSettleTimer);
        std::erase_if(log, [](const Delivered& d) { return d.message == WM_TIMER; });
    }
    return done();
}

TEST_F(SdlWindowTest, AClickArrivesAtTheClientPointAndTheScreenShowsTheDrawing) {

    std::vector<Delivered> log;
    PaintedWnd wnd;
    wnd.log = &log;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "e2e", WS_POPUP | WS_VISIBLE, 100, 80, 200, 150, nullptr,
                             nullptr));
    wnd.SetWindowRgn(CreateRectRgn(0, 0, 150, 150), TRUE);
    SDL_Window* native = NativeWindowTitled("e2e");
    ASSERT_NE(native, nullptr);

    SDL_Event press{};
    press.button.type = SDL_MOUSEBUTTONDOWN;
    press.button.windowID = SDL_GetWindowID(native);
    press.button.button = SDL_BUTTON_LEFT;
    press.button.state = SDL_PRESSED;
    press.button.clicks = 1;
    press.button.x = 25;
    press.button.y = 35;
    ASSERT_EQ(SDL_PushEvent(&press), 1);
    ASSERT_TRUE(RunUntil(wnd, WM_LBUTTONDOWN, 0, log));
    const Delivered* down = nullptr;
    for (const Delivered& d : log)
        if (d.message == WM_LBUTTONDOWN)
            down = &d;
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->hwnd, wnd.m_hWnd);
    EXPECT_EQ(GET_X_LPARAM(down->lParam), 25);
    EXPECT_EQ(GET_Y_LPARAM(down->lParam), 35);

    Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    int left = 0, top = 0;
    SDL_GetWindowPosition(native, &left, &top);
    ASSERT_EQ(left, 100);
    ASSERT_EQ(top, 80);

    SettleUntilShown(wnd.m_hWnd, log, x, left + 25, top + 35, 0xFF0000ul);
    EXPECT_EQ(RootPixel(x, left + 25, top + 35), 0xFF0000ul);  // the red square
    EXPECT_EQ(RootPixel(x, left + 5, top + 5), 0x00FF00ul);    // the green ground
    EXPECT_NE(RootPixel(x, left + 175, top + 75), 0x00FF00ul); // outside the region
    XCloseDisplay(x);

    wnd.DestroyWindow();
}

// A skinned frame: no system frame, a 20-pixel caption it draws itself (blue),
// green below with a red square at (20, 30)-(40, 50).
class SkinnedFrame : public PaintedWnd {
public:
    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) override {} // the client is the whole window
    LRESULT OnNcHitTest(CPoint point) override {
        RECT r;
        GetWindowRect(&r);
        return point.y - r.top < 20 ? HTCAPTION : HTCLIENT;
    }
    void OnPaint() override {
        PaintedWnd::OnPaint();
        CClientDC dc(this);
        dc.FillSolidRect(0, 0, 200, 20, RGB(0, 0, 255));
    }
};

TEST_F(SdlWindowTest, ABorderlessFrameDraggedByItsCaptionEndsWhereTheDragSaysOnTheScreen) {
    std::vector<Delivered> log;
    SkinnedFrame wnd;
    wnd.log = &log;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "drag", WS_POPUP | WS_VISIBLE, 100, 80, 200, 150, nullptr,
                             nullptr));
    SDL_Window* native = NativeWindowTitled("drag");
    ASSERT_NE(native, nullptr);

    // The pointer goes from (150, 90) on the caption to (180, 110), then to
    // (260, 150), and is released there.
    EXPECT_EQ(DragWindow(wnd, native, {150, 90}, {{180, 110}, {260, 150}}, log), 3u)
        << "every step of the drag was taken";

    RECT r;
    wnd.GetWindowRect(&r);
    EXPECT_EQ(r.left, 210);
    EXPECT_EQ(r.top, 140);
    EXPECT_EQ(r.right - r.left, 200);

    // Let the loop go idle so the server has the window's place and pixels.
    wnd.SetTimer(kSettleTimer, 50);
    ASSERT_TRUE(RunUntil(wnd, WM_TIMER, kSettleTimer, log));
    wnd.KillTimer(kSettleTimer);
    int left = 0, top = 0;
    SDL_GetWindowPosition(native, &left, &top);
    EXPECT_EQ(left, 210);
    EXPECT_EQ(top, 140);

    Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    SettleUntilShown(wnd.m_hWnd, log, x, 210 + 25, 140 + 35, 0xFF0000ul);
    EXPECT_EQ(RootPixel(x, 210 + 100, 140 + 5), 0x0000FFul); // the caption, where it went
    EXPECT_EQ(RootPixel(x, 210 + 25, 140 + 35), 0xFF0000ul); // the red square
    EXPECT_NE(RootPixel(x, 100 + 5, 80 + 5), 0x0000FFul);    // nothing left where it was
    XCloseDisplay(x);

    wnd.DestroyWindow();
}

// A dialog that holds the keyboard and goes (hidden, as the history is
// closed) hands the keyboard back to its owner, also on a desktop with no
// window manager to do it: the owner's hot keys keep working.
TEST_F(SdlWindowTest, AHiddenWindowHandsTheKeyboardBackToItsOwner) {
    std::vector<Delivered> log;
    PaintedWnd owner, dialog;
    owner.log = &log;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 50, 50, 200, 150,
                               nullptr, nullptr));
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, "dialog", WS_POPUP | WS_VISIBLE, 120, 90, 200, 150,
                                owner.m_hWnd, nullptr));
    SDL_Window* ownerNative = NativeWindowTitled("owner");
    SDL_Window* dialogNative = NativeWindowTitled("dialog");
    ASSERT_NE(ownerNative, nullptr);
    ASSERT_NE(dialogNative, nullptr);
    const auto settleUntil = [&](SDL_Window* focused) {
        return SettleUntil(owner, log, 100, [&] { return SDL_GetKeyboardFocus() == focused; });
    };
    // The desktop gives the new dialog the keyboard.
    SDL_SetWindowInputFocus(dialogNative);
    ASSERT_TRUE(settleUntil(dialogNative));

    dialog.ShowWindow(SW_HIDE);
    EXPECT_TRUE(settleUntil(ownerNative)) << "the keyboard went back to the owner";
    EXPECT_EQ(::GetActiveWindow(), owner.m_hWnd);
    dialog.DestroyWindow();
    owner.DestroyWindow();
}

// A window that takes the capture while pressed and asks to hear when the
// mouse leaves it, as the table's buttons do.
class PressedWnd : public PaintedWnd {
public:
    void OnMouseMove(UINT, CPoint) override {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
        TrackMouseEvent(&track);
    }
    void OnLButtonDown(UINT, CPoint) override { SetCapture(); }
    void OnLButtonUp(UINT, CPoint) override { ReleaseCapture(); }
};

// A click made at the X server, press and release a few hundredths of a
// second apart as a person's (or xdotool's), on a window while a pop-up of
// ours holds the keyboard (a desktop without a window manager gives it to
// each window that shows, a tip or the magnifier): the window hears the
// press and the release and never that the mouse left it, which would drop
// a button's press.
TEST_F(SdlWindowTest, AClickWhileAPopUpHoldsTheKeyboardStaysWithTheWindowClicked) {
    std::vector<Delivered> log;
    PressedWnd table;
    PaintedWnd tip;
    table.log = &log;
    ASSERT_TRUE(table.CreateEx(0, nullptr, "table", WS_POPUP | WS_VISIBLE, 50, 50, 200, 150,
                               nullptr, nullptr));
    ASSERT_TRUE(tip.CreateEx(0, nullptr, "tip", WS_POPUP | WS_VISIBLE, 300, 50, 120, 40,
                             table.m_hWnd, nullptr));
    SDL_Window* tipNative = NativeWindowTitled("tip");
    ASSERT_NE(tipNative, nullptr);
    const auto settle = [&](int turns, const std::function<bool()>& done) {
        return SettleUntil(table, log, turns, done);
    };
    SDL_SetWindowInputFocus(tipNative);
    ASSERT_TRUE(settle(100, [&] { return SDL_GetKeyboardFocus() == tipNative; }));

    Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    const auto got = [&](UINT message) {
        return std::any_of(log.begin(), log.end(), [&](const Delivered& d) {
            return d.hwnd == table.m_hWnd && d.message == message;
        });
    };
    XTestFakeMotionEvent(x, -1, 150, 120, 0);
    XFlush(x);
    ASSERT_TRUE(settle(100, [&] { return got(WM_MOUSEMOVE); }));
    log.clear();
    XTestFakeButtonEvent(x, 1, True, 0);
    XTestFakeButtonEvent(x, 1, False, 30);
    XFlush(x);
    EXPECT_TRUE(settle(100, [&] { return got(WM_LBUTTONUP); })) << "the release arrived";
    settle(10, [] { return false; }); // whatever the click stirred up comes in
    EXPECT_TRUE(got(WM_LBUTTONDOWN));
    EXPECT_FALSE(got(WM_MOUSELEAVE)) << "the mouse never left the window";
    XCloseDisplay(x);
    tip.DestroyWindow();
    table.DestroyWindow();
}

// While the loop sleeps in SDL, a descriptor that becomes ready and a message
// posted from another thread both wake it.
TEST_F(SdlWindowTest, TheLoopWaitingInSdlWakesForDescriptorsAndPostsFromOtherThreads) {
    std::vector<Delivered> log;
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateTop(&log)); // hidden: no native window, messages only
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const WatchId watch = WatchFd(pipeFds[0], kFdReadable, [&](int fd, uint32_t) {
        char byte;
        [[maybe_unused]] ssize_t n = read(fd, &byte, 1);
        wnd.PostMessage(WM_USER + 1, byte);
    });
    std::thread writer([&] { [[maybe_unused]] ssize_t n = write(pipeFds[1], "x", 1); });
    EXPECT_TRUE(RunUntil(wnd, WM_USER + 1, 0, log));
    writer.join();
    std::thread poster([&] { PostMessage(wnd, WM_USER + 2, 0, 0); });
    EXPECT_TRUE(RunUntil(wnd, WM_USER + 2, 0, log));
    poster.join();
    UnwatchFd(watch);
    close(pipeFds[0]);
    close(pipeFds[1]);
    wnd.DestroyWindow();
}

} // namespace
