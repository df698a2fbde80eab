// Painting through window surfaces: paint clips, children, regions, erasing,
// layered composition and saving pictures.

#include "tests/support/DisplayFixture.h"
#include "tests/support/TempFolder.h"

#include "platform/images/PngFile.h"
#include "platform/system/FileIo.h"
#include "platform/window/Redraw.h"
#include "platform/window/SystemMetrics.h"

using namespace platform;
using namespace platform_test;

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

using PaintTest = DisplayTest;

TEST_F(PaintTest, PaintIsClippedToTheInvalidAreaAndReportsIt) {
    SolidWnd w;
    w.eraseItself = true;
    ASSERT_TRUE(w.Top({10, 10, 110, 90}));
    PumpPending();
    EXPECT_EQ(w.paints, 1);
    EXPECT_EQ(PixelOf(w, 50, 50), kRed);

    FillThroughGetDC(w, RGB(0, 0, 255));
    w.color = RGB(0, 255, 0);
    RECT part{10, 10, 20, 30};
    w.InvalidateRect(&part, FALSE);
    w.UpdateWindow(); // paints now, without pumping
    EXPECT_EQ(w.paints, 2);
    EXPECT_EQ(w.lastPaint.left, 10);
    EXPECT_EQ(w.lastPaint.bottom, 30);
    EXPECT_EQ(PixelOf(w, 10, 10), kGreen);
    EXPECT_EQ(PixelOf(w, 19, 29), kGreen);
    EXPECT_EQ(PixelOf(w, 20, 10), kBlue);
    EXPECT_EQ(PixelOf(w, 10, 30), kBlue);
    RECT none;
    EXPECT_FALSE(GetUpdateRect(w, &none, FALSE));
}

TEST_F(PaintTest, EraseUsesTheClassBrushAndWhiteWithoutOne) {
    WNDCLASS wc{};
    wc.lpszClassName = "GreenBackground";
    wc.hbrBackground = CreateSolidBrush(RGB(0, 255, 0));
    ASSERT_TRUE(RegisterClass(&wc));
    HWND green = CreateWindowEx(0, "GreenBackground", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40,
                                nullptr, nullptr, nullptr, nullptr);
    WNDCLASS plain{};
    plain.lpszClassName = "NoBackground";
    ASSERT_TRUE(RegisterClass(&plain));
    HWND white = CreateWindowEx(0, "NoBackground", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                                nullptr, nullptr, nullptr);
    FillThroughGetDC(white, RGB(1, 2, 3));
    InvalidateRect(white, nullptr, TRUE);
    PumpPending();
    EXPECT_EQ(PixelOf(green, 5, 5), kGreen);
    EXPECT_EQ(PixelOf(white, 5, 5), kWhite);
    DestroyWindow(green);
    DestroyWindow(white);
}

TEST_F(PaintTest, ChildrenDrawAtTheirOffsetKeptOffSiblingsAboveAndTheParentKeepsOffThem) {
    SolidWnd parent, lower, upper;
    parent.color = RGB(0, 0, 255);
    lower.color = RGB(255, 0, 0);
    upper.color = RGB(0, 255, 0);
    ASSERT_TRUE(parent.Top({0, 0, 100, 100}));
    ASSERT_TRUE(lower.Child(&parent, {20, 20, 60, 60}, 1));
    ASSERT_TRUE(upper.Child(&parent, {40, 40, 80, 80}, 2)); // created later: above
    PumpPending();
    EXPECT_EQ(PixelOf(parent, 10, 10), kBlue);
    EXPECT_EQ(PixelOf(parent, 25, 25), kRed);
    EXPECT_EQ(PixelOf(parent, 50, 50), kGreen);
    EXPECT_EQ(PixelOf(parent, 70, 70), kGreen);

    // The lower child and the parent draw outside paints: still clipped.
    FillThroughGetDC(lower, RGB(255, 255, 0));
    FillThroughGetDC(parent, RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(parent, 25, 25), 0xFFFF00u);
    EXPECT_EQ(PixelOf(parent, 50, 50), kGreen);
    EXPECT_EQ(PixelOf(parent, 10, 10), 0u);

    // Hiding the upper child repaints what it uncovered in the parent and the lower child.
    upper.ShowWindow(SW_HIDE);
    PumpPending();
    EXPECT_EQ(PixelOf(parent, 50, 50), kRed);
    EXPECT_EQ(PixelOf(parent, 70, 70), kBlue);
}

TEST_F(PaintTest, AWindowRegionClipsDrawingAndHitTesting) {
    SolidWnd back, shaped;
    back.color = RGB(0, 0, 255);
    ASSERT_TRUE(back.Top({0, 0, 200, 200}));
    ASSERT_TRUE(shaped.Top({50, 50, 150, 150}));
    shaped.SetWindowRgn(CreateRectRgn(0, 0, 50, 50), TRUE);
    PumpPending();
    FillThroughGetDC(shaped, RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(shaped, 10, 10), kRed);
    EXPECT_NE(PixelOf(shaped, 70, 70), kRed);

    EXPECT_EQ(WindowFromPoint({60, 60}), shaped.m_hWnd);
    EXPECT_EQ(WindowFromPoint({120, 120}), back.m_hWnd); // outside the region: the window behind

    auto screen = ComposeScreen();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->GetPixel(60, 60) & kRgbMask, kRed);
    EXPECT_EQ(screen->GetPixel(120, 120) & kRgbMask, kBlue);
}

TEST_F(PaintTest, LayeredWindowsComposeWithConstantAlphaAndColourKey) {
    SolidWnd back, faded, keyed;
    back.color = RGB(0, 0, 200);
    faded.color = RGB(200, 0, 0);
    keyed.color = RGB(255, 0, 255);
    ASSERT_TRUE(back.Top({0, 0, 300, 100}));
    ASSERT_TRUE(faded.Top({0, 0, 100, 100}, WS_EX_LAYERED));
    ASSERT_TRUE(keyed.Top({150, 0, 250, 100}, WS_EX_LAYERED));
    ASSERT_TRUE(faded.SetLayeredWindowAttributes(0, 128, LWA_ALPHA));
    ASSERT_TRUE(keyed.SetLayeredWindowAttributes(RGB(255, 0, 255), 255, LWA_COLORKEY));
    PumpPending();
    {
        CClientDC dc(&keyed);
        dc.FillSolidRect(0, 0, 10, 10, RGB(0, 255, 0)); // not the key: shows
    }
    auto screen = ComposeScreen();
    ASSERT_TRUE(screen);
    // (200*128 + 0*127)/255 red, (0*128 + 200*127)/255 blue.
    EXPECT_EQ(screen->GetPixel(50, 50) & kRgbMask, (100u << 16) | 99u);
    EXPECT_EQ(screen->GetPixel(200, 50) & kRgbMask, 200u); // key: the window behind shows
    EXPECT_EQ(screen->GetPixel(155, 5) & kRgbMask, kGreen);
    EXPECT_EQ(screen->GetPixel(500, 50) & kRgbMask, 0u); // the bare desktop
}

TEST_F(PaintTest, ResizingKeepsPixelsAndRedrawWindowPaintsChildrenNow) {
    SolidWnd parent, child;
    ASSERT_TRUE(parent.Top({0, 0, 50, 50}));
    ASSERT_TRUE(child.Child(&parent, {10, 10, 20, 20}));
    PumpPending();
    parent.MoveWindow(0, 0, 80, 60);
    EXPECT_EQ(PixelOf(parent, 5, 5), kRed); // kept until repainted
    PumpPending();
    EXPECT_EQ(PixelOf(parent, 70, 55), kRed);

    const int before = child.paints;
    RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(child.paints, before + 1);
}

TEST_F(PaintTest, WindowsAndTheScreenSaveAsPng) {
    TempFolder folder;
    SolidWnd parent, child;
    parent.color = RGB(0, 0, 255);
    child.color = RGB(0, 255, 0);
    ASSERT_TRUE(parent.Top({20, 30, 120, 90}));
    ASSERT_TRUE(child.Child(&parent, {10, 10, 30, 20}));
    PumpPending();

    const std::string childFile = folder.File("child.png"), screenFile = folder.File("screen.png");
    ASSERT_TRUE(SaveWindowPng(child, childFile));
    ASSERT_TRUE(SaveScreenPng(screenFile));
    std::string bytes;
    PixelImage image;
    ASSERT_TRUE(ReadWholeFile(childFile, bytes, size_t(1) << 30));
    ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), image));
    EXPECT_EQ(image.width, 20);
    EXPECT_EQ(image.height, 10);
    EXPECT_EQ(image.At(0, 0) & kRgbMask, kGreen);
    ASSERT_TRUE(ReadWholeFile(screenFile, bytes, size_t(1) << 30));
    ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), image));
    EXPECT_EQ(image.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(image.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(image.At(30, 40) & kRgbMask, kGreen);
    EXPECT_EQ(image.At(21, 31) & kRgbMask, kBlue);
    EXPECT_FALSE(SaveWindowPng(nullptr, folder.File("none.png")));
}

TEST_F(PaintTest, MetricsFollowTheHeadlessScreen) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    SolidWnd w;
    ASSERT_TRUE(w.Top({0, 0, 10, 10}));
    CClientDC dc(&w);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 1024);
    EXPECT_EQ(dc.GetDeviceCaps(BITSPIXEL), 32);
    RECT work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.right, 1024);
}

} // namespace

namespace {

TEST_F(PaintTest, WindowFromDCNamesTheWindowOfLentDCsOnly) {
    SolidWnd parent, child;
    ASSERT_TRUE(parent.Top({0, 0, 80, 60}));
    ASSERT_TRUE(child.Child(&parent, {10, 10, 30, 30}));
    HDC client = GetDC(child);
    HDC whole = GetWindowDC(parent);
    EXPECT_EQ(WindowFromDC(client), child.m_hWnd);
    EXPECT_EQ(WindowFromDC(whole), parent.m_hWnd);
    ReleaseDC(child, client);
    ReleaseDC(parent, whole);
    // A returned DC no longer belongs to anything.
    EXPECT_EQ(WindowFromDC(client), nullptr);

    HDC memory = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(WindowFromDC(memory), nullptr);
    EXPECT_EQ(WindowFromDC(screen), nullptr);
    EXPECT_EQ(WindowFromDC(nullptr), nullptr);
    ReleaseDC(nullptr, screen);
    DeleteDC(memory);
}

} // namespace
