// The skinned frame on a real X display through the SDL driver (an X server
// of the test's own; skipped without Xvfb): the X screen shows the caption and its
// buttons as the frame painted them, and a drag of the caption moves the
// window there.

#include "app/SkinWindow.h"
#include "tests/app/SkinFixture.h"

#include "platform/display/Display.h"
#include "platform/display/WindowSurfaces.h"
#include "platform/window/Input.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include "tests/support/SdlScreen.h"

using namespace app_test;
using namespace platform;
using namespace platform_test;

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

namespace {

constexpr int kWidth = 400, kHeight = 240;
constexpr DWORD kMainStyle =
    WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME;

// The X screen's pixels of a rectangle, 0x00RRGGBB.
platform::PixelImage ScreenPart(Display* x, int left, int top, int w, int h) {
    platform::PixelImage image;
    XImage* shot =
        XGetImage(x, DefaultRootWindow(x), left, top, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (!shot)
        return image;
    image.Reset(w, h);
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
            image.At(px, py) = uint32_t(XGetPixel(shot, px, py) & 0xFFFFFF);
    XDestroyImage(shot);
    return image;
}

// Pixels of the title bar that differ between the screen and the window's
// own drawing.
int CaptionDifferences(Display* x, HWND hwnd, int left, int top) {
    const platform::PixelImage screen = ScreenPart(x, left, top, kWidth, 24);
    platform::Surface* surface = platform::GetWindowSurfaces()->SurfaceOf(hwnd);
    if (screen.pixels.empty() || !surface)
        return -1;
    int differences = 0;
    for (int py = 0; py < 24; ++py)
        for (int px = 4; px < kWidth - 4; ++px) // the cut corners aside
            differences += screen.At(px, py) != (surface->GetPixel(px, py) & platform::kRgbMask);
    return differences;
}

// The caption's differences once the X screen has caught up: a loaded server
// may show the frame's first pixels before the rest of its caption, so the
// loop goes idle a turn at a time (about ten seconds at most) until none
// differ.
int SettledCaptionDifferences(Display* x, HWND hwnd, std::vector<Delivered>& log, int left,
                              int top) {
    int differences = CaptionDifferences(x, hwnd, left, top);
    for (int turn = 0; turn < 200 && differences != 0; ++turn) {
        std::erase_if(log, [](const Delivered& d) {
            return d.message == WM_TIMER && d.wParam == kSettleTimer;
        });
        SetTimer(hwnd, kSettleTimer, 50, nullptr);
        const bool ticked = RunUntil(hwnd, WM_TIMER, kSettleTimer, log);
        KillTimer(hwnd, kSettleTimer);
        if (!ticked)
            break;
        differences = CaptionDifferences(x, hwnd, left, top);
    }
    return differences;
}

using SdlFrameTest = SdlScreenTest;

TEST_F(SdlFrameTest, TheSkinnedFrameShowsOnTheScreenAndMovesByItsCaption) {
    SkinFolder folder;
    folder.WriteFull();
    CSkinFrame frame;
    ASSERT_TRUE(frame.LoadSkin(folder.layout.c_str(), folder.bitmaps.c_str()));
    std::vector<Delivered> log;
    RecordingWnd wnd;
    wnd.log = &log;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "skinned", kMainStyle, 100, 80, kWidth, kHeight, nullptr,
                             nullptr));
    CSkinWindow::Attach(wnd, "main", &frame);
    SDL_Window* native = NativeWindowTitled("skinned");
    ASSERT_NE(native, nullptr);

    Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    SettleUntilShown(wnd, log, x, 100 + kWidth - 30 - 13, 80 + 10, kFrameColours[0]);
    EXPECT_EQ(SettledCaptionDifferences(x, wnd, log, 100, 80), 0);
    EXPECT_EQ(ScreenPart(x, 100 + 200, 80 + 20, 1, 1).At(0, 0), kTitleActive);
    SavePngFile(OutputPath("sdl_frame.png"), ScreenPart(x, 100, 80, kWidth, kHeight));

    // Pressed on the caption at (300, 90), dragged to (330, 110) and (380, 150).
    EXPECT_EQ(DragWindow(wnd, native, {300, 90}, {{330, 110}, {380, 150}}, log), 3u);
    RECT r;
    wnd.GetWindowRect(&r);
    EXPECT_EQ(r.left, 180);
    EXPECT_EQ(r.top, 140);

    SettleUntilShown(wnd, log, x, 180 + kWidth - 30 - 13, 140 + 10, kFrameColours[0]);
    int left = 0, top = 0;
    SDL_GetWindowPosition(native, &left, &top);
    EXPECT_EQ(left, 180);
    EXPECT_EQ(top, 140);
    EXPECT_EQ(SettledCaptionDifferences(x, wnd, log, 180, 140), 0)
        << "caption and buttons where it went";
    SavePngFile(OutputPath("sdl_frame_moved.png"), ScreenPart(x, 180, 140, kWidth, kHeight));
    XCloseDisplay(x);
    wnd.DestroyWindow();
}

TEST_F(SdlFrameTest, AMaximisedFrameShowsAtTheScreensTopLeft) {
    SkinFolder folder;
    folder.WriteFull();
    CSkinFrame frame;
    ASSERT_TRUE(frame.LoadSkin(folder.layout.c_str(), folder.bitmaps.c_str()));
    std::vector<Delivered> log;
    RecordingWnd wnd;
    wnd.log = &log;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "skinned", kMainStyle, 100, 80, kWidth, kHeight, nullptr,
                             nullptr));
    CSkinWindow::Attach(wnd, "main", &frame);
    Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    SettleUntilShown(wnd, log, x, 100 + 200, 80 + 20, kTitleActive);
    wnd.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(wnd.IsZoomed());
    // The resized native window stays where the frame is, not where SDL
    // makes shaped windows.
    SettleUntilShown(wnd, log, x, 200, 20, kTitleActive);
    EXPECT_EQ(ScreenPart(x, 200, 20, 1, 1).At(0, 0), kTitleActive);
    SavePngFile(OutputPath("sdl_frame_maximised.png"), ScreenPart(x, 0, 0, 640, 120));
    XCloseDisplay(x);
    wnd.DestroyWindow();
}

} // namespace
