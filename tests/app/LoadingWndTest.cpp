// The loading splash: its shape, its marker, and its worker thread.

#include "app/LoadingWnd.h"
#include "platform/gdi/Region.h"
#include "tests/app/AppFixture.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class LoadingWndTest : public ::testing::Test {
protected:
    void SetUp() override { platform::StartDisplay(platform::DisplayKind::Headless); }
    void TearDown() override {
        platform_test::PumpPending();
        platform::StopDisplay();
    }
    platform::ManualClock clock;
    platform::ScopedClock useClock{clock};
    app_test::ResourceLibrary resources;
};

// A bitmap of w x h in one colour with a black block at the left.
HBITMAP PictureWithBlack(int w, int h, int blackWidth, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, w, h}, black{0, 0, blackWidth, h};
    HBRUSH fill = CreateSolidBrush(colour), dark = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(dc, &all, fill);
    FillRect(dc, &black, dark);
    SelectObject(dc, old);
    DeleteObject(fill);
    DeleteObject(dark);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

TEST_F(LoadingWndTest, BlackPixelsAreSeeThrough) {
    CBitmap picture;
    picture.Attach(PictureWithBlack(40, 20, 10, RGB(200, 30, 30)));
    HRGN shape = CLoadingWnd::ShapeOf(picture);
    ASSERT_NE(shape, nullptr);
    RECT box{};
    GetRgnBox(shape, &box);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.right, 40);
    EXPECT_FALSE(PtInRegion(shape, 5, 5));
    EXPECT_TRUE(PtInRegion(shape, 25, 5));
    DeleteObject(shape);

    CBitmap plain;
    plain.Attach(PictureWithBlack(40, 20, 0, RGB(10, 10, 10)));
    HRGN full = CLoadingWnd::ShapeOf(plain);
    ASSERT_NE(full, nullptr);
    GetRgnBox(full, &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 40);
    EXPECT_EQ(box.bottom, 20);
    DeleteObject(full);
}

TEST_F(LoadingWndTest, TheMarkerRunsToTheEndAndStartsOver) {
    CLoadingWnd splash;
    EXPECT_EQ(CLoadingWnd::MarkerX(0), 10);
    EXPECT_EQ(CLoadingWnd::MarkerX(100), 210);
    for (int i = 0; i < 100; ++i)
        splash.Step();
    EXPECT_EQ(splash.GetProgress(), 100);
    splash.Step();
    EXPECT_EQ(splash.GetProgress(), 0) << "after 101 steps the marker is back at x 10";
}

TEST_F(LoadingWndTest, TheSplashShowsTheResourcePictureShapedAndStopsItsWorker) {
    for (int round = 0; round < 2; ++round) {
        // A second splash in the same run is made and taken down the same way.
        CLoadingWnd splash;
        ASSERT_TRUE(splash.Create()) << round;
        EXPECT_TRUE(splash.IsWindowVisible());
        EXPECT_TRUE(splash.IsWorkerRunning()) << round;
        RECT rect{};
        splash.GetWindowRect(&rect);
        EXPECT_GE(rect.right - rect.left, 242);
        EXPECT_GE(rect.bottom - rect.top, 112);
        splash.DestroyWindow();
        EXPECT_FALSE(splash.IsWorkerRunning()) << "the worker is joined with the window";
        EXPECT_EQ(splash.m_hWnd, nullptr);
    }
}

TEST_F(LoadingWndTest, WithoutItsPicturesNoSplashIsShown) {
    HINSTANCE saved = AfxGetResourceHandle();
    AfxSetResourceHandle(nullptr);
    CLoadingWnd splash;
    EXPECT_FALSE(splash.Create());
    EXPECT_EQ(splash.m_hWnd, nullptr);
    EXPECT_FALSE(splash.IsWorkerRunning());
    AfxSetResourceHandle(saved);
}

} // namespace
