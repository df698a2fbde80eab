// The sprite window at rest and on the move: no timer wakes a still table,
// a change is on the window once its messages are handled, and sprites
// hidden under opaque ones are left out without changing the picture.

#include "SpriteTestKit.h"

#include "platform/display/Display.h"
#include "platform/display/WindowSurfaces.h"
#include "sprite/FrameImage.h"

#include <random>

using namespace sprite_test;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class SpriteWndQuietTest : public SpriteWndTestBase {
protected:
    // Steps the clock by ms a millisecond at a time; the timer messages the
    // window received meanwhile.
    int TimersDuring(int ms) {
        int timers = 0;
        for (int t = 0; t < ms; ++t) {
            clock.Advance(1);
            MSG msg;
            while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
                timers += msg.message == WM_TIMER && msg.hwnd == wnd.m_hWnd;
                DispatchMessage(&msg);
            }
        }
        return timers;
    }
    // What the screen shows of the window.
    uint32_t Shown(int x, int y) {
        platform::Surface* s = platform::GetWindowSurfaces()->SurfaceOf(wnd.m_hWnd);
        return s ? s->GetPixel(x, y) & 0xFFFFFF : 0xDEADBEEF;
    }
};

TEST_F(SpriteWndQuietTest, AStillTableHasNoTimersUntilSomethingMovesAgain) {
    // Endless sprites that stand still, a one-frame one and a held last frame.
    POSITION still = AddFixed(wnd.AddImage(new SolidImage(10, 10, {kRed})), 20, 20, 0, 0);
    POSITION held = AddFixed(wnd.AddImage(new SolidImage(10, 10, {kBlue})), 60, 20, 0, 0);
    ASSERT_TRUE(wnd.StartSprite(still, kNotifyNone, 0, -1, -1, TRUE));
    ASSERT_TRUE(wnd.StartSprite(held, kNotifyNone, 0, -1, -1, TRUE));
    TimersDuring(30);
    EXPECT_EQ(TimersDuring(1000), 0);
    EXPECT_EQ(Shown(25, 25), Rgb(kRed));
    EXPECT_EQ(Shown(65, 25), Rgb(kBlue));

    // A move wakes the table; its ten steps reach the screen at most once a
    // display refresh, and each time on its way; then it sleeps again.
    POSITION moving =
        AddStraight(wnd.AddImage(new SolidImage(10, 10, {kBlue})), 0, 100, 100, 100, 10, 1);
    ASSERT_TRUE(wnd.StartSprite(moving, kNotifyWindow, 0, -1, 1, TRUE));
    platform::GetWindowSurfaces()->TakeDirty(wnd.m_hWnd);
    int timers = 0, presented = 0, lastPresented = -1000, closest = 1000;
    for (int ms = 0; ms < 100; ++ms) {
        timers += TimersDuring(1);
        if (platform::GetWindowSurfaces()->TakeDirty(wnd.m_hWnd).empty())
            continue;
        ++presented;
        closest = std::min(closest, ms - lastPresented);
        lastPresented = ms;
    }
    EXPECT_GE(timers, 10);
    EXPECT_GE(presented, 5) << "the move was seen on its way";
    EXPECT_GE(closest, int(kFrameMs)) << "two presentations within one refresh";
    EXPECT_EQ(Shown(105, 105), Rgb(kBlue)); // arrived
    TimersDuring(50);
    EXPECT_EQ(wnd.Count("end"), 1);
    EXPECT_EQ(TimersDuring(1000), 0);
    EXPECT_EQ(Shown(105, 105), Rgb(TestSpriteWnd::kBackground));
    EXPECT_EQ(Shown(25, 25), Rgb(kRed));
}

TEST_F(SpriteWndQuietTest, AChangeAtAQuietTableIsShownOnceItsMessagesAreHandled) {
    TimersDuring(30);
    POSITION s = AddFixed(wnd.AddImage(new SolidImage(10, 10, {kRed})), 200, 100, 0, 0);
    ASSERT_TRUE(wnd.StartSprite(s, kNotifyNone, 0, -1, -1, TRUE));
    EXPECT_EQ(Shown(205, 105), Rgb(TestSpriteWnd::kBackground)); // not before the pump
    platform::GetWindowSurfaces()->TakeDirty(wnd.m_hWnd);
    PumpPending(); // the clock stands still
    EXPECT_EQ(Shown(205, 105), Rgb(kRed));
    // Only what changed is to be shown again on the screen, not the window.
    const std::vector<RECT> dirty = platform::GetWindowSurfaces()->TakeDirty(wnd.m_hWnd);
    ASSERT_FALSE(dirty.empty());
    for (const RECT& r : dirty)
        EXPECT_TRUE(r.left >= 200 && r.top >= 100 && r.right <= 210 && r.bottom <= 110)
            << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    wnd.StopSprite(s, TRUE, TRUE);
    PumpPending();
    EXPECT_EQ(Shown(205, 105), Rgb(TestSpriteWnd::kBackground));
}

// A card: a picture of noise with a mask that leaves its corners and a
// few holes out, side by side with the picture in one sheet.
HBITMAP CardSheet(int cx, int cy) {
    std::mt19937 noise(3);
    return MakeBitmap(2 * cx, cy, [&](int x, int y) -> COLORREF {
        const int u = x % cx;
        const bool corner = (u < 2 || u >= cx - 2) && (y < 2 || y >= cy - 2);
        const bool hole = (u * 7 + y * 3) % 53 == 0;
        const bool clear = corner || hole;
        if (x >= cx)
            return clear ? RGB(255, 255, 255) : RGB(0, 0, 0);
        return clear ? RGB(0, 0, 0) : COLORREF(noise() & 0xFFFFFF);
    });
}

TEST_F(SpriteWndQuietTest, SpritesUnderOpaqueOnesAreLeftOutWithoutChangingThePicture) {
    constexpr int kCx = 30, kCy = 40;
    HBITMAP sheet = CardSheet(kCx, kCy);
    const RECT face{0, 0, kCx, kCy}, mask{kCx, 0, 2 * kCx, kCy};
    auto* card = new CAlphaFrameImage;
    card->AddFrame(sheet, &face, 0);
    card->SetMask(sheet, &mask);
    POSITION cardImage = wnd.AddImage(card);
    auto* plain = new CFrameImage;
    plain->AddFrame(sheet, &face, 0);
    POSITION plainImage = wnd.AddImage(plain);
    POSITION solidImage = wnd.AddImage(new SolidImage(25, 25, {kBlue}));

    // A fan, a pile, sprites half seen through, a raised card and a highlight.
    std::mt19937 random(11);
    std::vector<POSITION> sprites;
    for (int i = 0; i < 60; ++i) {
        const int kind = int(random() % 10);
        const POSITION image = kind == 0 ? solidImage : kind == 1 ? plainImage : cardImage;
        const int x = i < 20 ? 10 + i * 8 : int(random() % 360);
        const int y = i < 20 ? 200 - (i % 7 == 3 ? 10 : 0) : int(random() % 260);
        POSITION s = AddFixed(image, x, y, int(random() % 5), 0);
        SPRITEINFO* info = wnd.GetSpriteAt(s);
        if (random() % 6 == 0)
            info->pLine->SetFrom(x, y, 0, BYTE(128 + random() % 100));
        if (random() % 8 == 0)
            info->nUser[2] = CAlphaFrameImage::kHighlightBit;
        ASSERT_TRUE(wnd.StartSprite(s, kNotifyNone, 0, -1, -1, TRUE));
        sprites.push_back(s);
    }
    wnd.FillFrame(0x123456);
    wnd.InvalidateRect(RECT{0, 0, 400, 300});
    wnd.FlushDirty();

    // The same scene drawn whole, sprite by sprite from the lowest.
    HBITMAP expected = MakeBitmap(400, 300, [](int, int) { return TestSpriteWnd::kBackground; });
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, expected);
    std::vector<POSITION> order = sprites;
    std::stable_sort(order.begin(), order.end(), [&](POSITION a, POSITION b) {
        return wnd.GetSpriteAt(a)->z < wnd.GetSpriteAt(b)->z;
    });
    for (POSITION s : order) {
        SPRITEINFO* info = wnd.GetSpriteAt(s);
        CSpriteImage* image = wnd.GetImageList().GetAt(info->posImage);
        const SIZE size = image->GetSize(info);
        image->Draw(dc, 0, info, info->x, info->y, size.cx, size.cy, 0, 0, info->alpha);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    const platform::Surface& want = *platform::SurfaceOfBitmap(expected);
    int differ = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            differ += (want.GetPixel(x, y) & 0xFFFFFF) != wnd.Pixel(x, y);
    EXPECT_EQ(differ, 0);
    DeleteObject(expected);
    wnd.DestroyWindow();
    DeleteObject(sheet);
}

} // namespace
