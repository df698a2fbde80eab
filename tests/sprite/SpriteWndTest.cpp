#include "SpriteTestKit.h"

#include "sprite/SpriteItem.h"

using namespace sprite_test;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
const uint32_t kBack = Rgb(TestSpriteWnd::kBackground);

class SpriteWndTest : public SpriteWndTestBase {
protected:
    POSITION Solid(int cx, int cy, COLORREF color) {
        auto* image = new SolidImage(cx, cy, {color});
        return wnd.AddImage(image);
    }
};

TEST_F(SpriteWndTest, ASpriteStepsOnTheLinesTicksAndEndsOnceWithItsParameter) {
    POSITION image = Solid(10, 10, kRed);
    POSITION s = AddStraight(image, 0, 0, 100, 0, 20, 3);
    ASSERT_TRUE(wnd.StartSprite(s, kNotifyWindow, 77, -1, 1, TRUE));
    std::vector<int> xs{wnd.GetSpriteAt(s)->x};
    for (int tick = 0; tick < 20; ++tick) {
        Run(9);
        ASSERT_EQ(wnd.GetSpriteAt(s)->x, xs.back()) << "moved early at tick " << tick;
        Run(1);
        xs.push_back(wnd.GetSpriteAt(s)->x);
    }
    EXPECT_EQ(xs[1], 5);
    EXPECT_EQ(xs.back(), 100);
    EXPECT_EQ(wnd.Pixel(100, 5), Rgb(kRed));
    EXPECT_EQ(wnd.Count("end"), 0);
    Run(30); // the interval after arrival: 3 ticks
    ASSERT_EQ(wnd.Count("end"), 1);
    EXPECT_EQ(wnd.events[0].pos, s);
    EXPECT_EQ(wnd.events[0].a, 77);
    EXPECT_EQ(wnd.GetSpriteAt(s)->nChannel, -1);
    EXPECT_EQ(wnd.Pixel(100, 5), kBack); // gone from the picture
    Run(100);
    EXPECT_EQ(wnd.Count("end"), 1);
    EXPECT_EQ(wnd.GetChannelsInUse(), 0);
}

TEST_F(SpriteWndTest, PlacedAtOnceWithoutAnimationAndEndsAfterOneTick) {
    POSITION s = AddStraight(Solid(10, 10, kRed), 0, 0, 200, 100, 50, 1);
    ASSERT_TRUE(wnd.StartSprite(s, kNotifyWindow, 0, -1, 1, FALSE));
    EXPECT_EQ(wnd.GetSpriteAt(s)->x, 200);
    EXPECT_EQ(wnd.GetSpriteAt(s)->y, 100);
    Run(10);
    EXPECT_EQ(wnd.Count("end"), 1);
}

TEST_F(SpriteWndTest, AStillImageOnAFixedLineEndsInsideStart) {
    POSITION s = AddFixed(Solid(10, 10, kRed), 30, 30);
    wnd.onEnd = [&](POSITION, int) { EXPECT_EQ(wnd.GetChannelsInUse(), 1); };
    ASSERT_TRUE(wnd.StartSprite(s, kNotifyWindow, 5, -1, 1, TRUE));
    EXPECT_EQ(wnd.Count("end"), 1);
    Run(50);
    EXPECT_EQ(wnd.Count("end"), 1);
}

TEST_F(SpriteWndTest, EqualZDrawsTheNewerOnTopAndHitTestsItFirst) {
    POSITION red = AddFixed(Solid(20, 20, kRed), 10, 10, 5, 0);
    POSITION blue = AddFixed(Solid(20, 20, kBlue), 15, 15, 5, 0);
    wnd.StartSprite(red, 0, 0, -1, -1, TRUE);
    wnd.StartSprite(blue, 0, 0, -1, -1, TRUE);
    Run(10);
    EXPECT_EQ(wnd.Pixel(20, 20), Rgb(kBlue));
    EXPECT_EQ(wnd.HitTest(20, 20), blue);
    EXPECT_EQ(wnd.HitTest(11, 11), red);
    wnd.SetSpriteZ(blue, 4, TRUE);
    Run(10);
    EXPECT_EQ(wnd.Pixel(20, 20), Rgb(kRed));
    EXPECT_EQ(wnd.HitTest(20, 20), red);
}

TEST_F(SpriteWndTest, ASpriteIsFoundByIdFirstFromTheHeadUntilItIsRemoved) {
    POSITION image = Solid(4, 4, kRed);
    auto add = [&](int id, int z) {
        CSpriteLine* line = CreateSpriteLine(kLineFixed);
        return wnd.AddSprite(image, line, id, z, 0, 0, nullptr, FALSE);
    };
    POSITION upper = add(7, 9);
    POSITION lone = add(5, 1);
    POSITION lower = add(7, 2);
    EXPECT_EQ(wnd.FindSpritePos(7), lower); // the lower z lies nearer the head
    EXPECT_EQ(wnd.FindSpritePos(5), lone);
    EXPECT_EQ(wnd.FindSpritePos(6), nullptr);
    wnd.SetSpriteZ(upper, 0, FALSE);
    EXPECT_EQ(wnd.FindSpritePos(7), upper);
    wnd.RemoveSprite(upper);
    EXPECT_EQ(wnd.FindSpritePos(7), lower);
    wnd.RemoveSprite(lower);
    wnd.RemoveSprite(lone);
    EXPECT_EQ(wnd.FindSpritePos(7), nullptr);
    EXPECT_EQ(wnd.FindSpritePos(5), nullptr);
}

TEST_F(SpriteWndTest, TheTwoHundredFiftyFirstStartFailsAndChangesNothing) {
    POSITION image = Solid(4, 4, kRed);
    std::vector<POSITION> sprites;
    for (int i = 0; i < CSpriteWnd::kChannels; ++i) {
        sprites.push_back(AddStraight(image, 0, i, 100, i, 100, -1, 0, 0));
        ASSERT_TRUE(wnd.StartSprite(sprites.back(), 0, 0, -1, -1, TRUE));
    }
    POSITION extra = AddStraight(image, 0, 0, 100, 0, 100, -1, 0, 0);
    EXPECT_FALSE(wnd.StartSprite(extra, kNotifyWindow, 0, 9, 1, TRUE));
    EXPECT_EQ(wnd.GetSpriteAt(extra)->nChannel, -1);
    EXPECT_EQ(wnd.GetSpriteAt(extra)->z, 0);
    EXPECT_EQ(wnd.GetChannelsInUse(), CSpriteWnd::kChannels);
    wnd.RemoveSprite(sprites[3]);
    EXPECT_TRUE(wnd.StartSprite(extra, 0, 0, -1, -1, TRUE));
}

TEST_F(SpriteWndTest, StoppingAnEndlessSpriteLeavesNoTimerOnItsChannel) {
    auto* frames = new SolidImage(8, 8, {kRed, kBlue}, 2);
    POSITION s = AddStraight(wnd.AddImage(frames), 0, 0, 300, 0, 300, -1, 0, 0);
    ASSERT_TRUE(wnd.StartSprite(s, kNotifyWindow, 0, -1, -1, TRUE));
    Run(500);
    const int channel = wnd.GetSpriteAt(s)->nChannel;
    ASSERT_GE(channel, 0);
    EXPECT_TRUE(wnd.StopSprite(s, TRUE, TRUE));
    EXPECT_FALSE(wnd.KillTimer(ChannelTimerId(channel, kFrameTimer)));
    EXPECT_FALSE(wnd.KillTimer(ChannelTimerId(channel, kMotionTimer)));
    EXPECT_FALSE(wnd.StopSprite(s, TRUE, TRUE));
}

TEST_F(SpriteWndTest, ARestartThatEndsAtOnceKillsTheEarlierMotionTimer) {
    POSITION image = Solid(8, 8, kRed);
    POSITION s = AddStraight(image, 0, 0, 300, 0, 300, -1);
    ASSERT_TRUE(wnd.StartSprite(s, kNotifyNone, 0, -1, 1, TRUE));
    const int channel = wnd.GetSpriteAt(s)->nChannel;
    CSpriteLine* fixed = CreateSpriteLine(kLineFixed);
    fixed->SetFrom(50, 50, 0, 255);
    ASSERT_TRUE(wnd.SetSpriteLine(s, fixed, TRUE, 1, -1, 1, TRUE));
    EXPECT_EQ(wnd.Count("end"), 1);
    EXPECT_FALSE(wnd.KillTimer(ChannelTimerId(channel, kMotionTimer)));
    Run(100);
    EXPECT_EQ(wnd.GetSpriteAt(s)->x, 50);
    EXPECT_EQ(wnd.Count("end"), 1);
}

TEST_F(SpriteWndTest, AnEndHandlerMayRemoveOrRestartTheSprite) {
    POSITION image = Solid(8, 8, kRed);
    // Removing an auto-remove sprite from its own end handler.
    POSITION gone = AddStraight(image, 0, 0, 20, 0, 2, 1, 0, 1, TRUE);
    wnd.onEnd = [&](POSITION pos, int) { wnd.RemoveSprite(pos); };
    wnd.StartSprite(gone, kNotifyWindow, 0, -1, -1, TRUE);
    Run(100);
    EXPECT_EQ(wnd.Count("end"), 1);
    EXPECT_EQ(wnd.GetSpriteAt(gone), nullptr);

    // Restarting from the handler of a stop: the stop's bookkeeping is done
    // before the handler runs, so the restart holds.
    POSITION again = AddStraight(image, 0, 50, 100, 50, 100, -1, 0, 0);
    int ends = 0;
    wnd.onEnd = [&](POSITION pos, int) {
        EXPECT_EQ(wnd.GetSpriteAt(pos)->nChannel, -1);
        if (++ends == 1) {
            EXPECT_TRUE(wnd.StartSprite(pos, kNotifyNone, 0, -1, 0, TRUE));
        }
    };
    wnd.StartSprite(again, kNotifyWindow, 0, -1, 0, TRUE);
    Run(50);
    wnd.StopSprite(again, TRUE, FALSE);
    EXPECT_EQ(ends, 1);
    EXPECT_GE(wnd.GetSpriteAt(again)->nChannel, 0);
    Run(50);
    EXPECT_EQ(wnd.GetChannelsInUse(), 1);

    // Removing a playing sprite tells its end once, then forgets it.
    wnd.onEnd = nullptr;
    wnd.events.clear();
    wnd.StartSprite(again, kNotifyWindow, 3, -1, 0, TRUE);
    wnd.RemoveSprite(again);
    EXPECT_EQ(wnd.Count("end"), 1);
    EXPECT_EQ(wnd.GetSpriteAt(again), nullptr);
    EXPECT_EQ(wnd.GetChannelsInUse(), 0);
    Run(50);
}

TEST_F(SpriteWndTest, APlaysCallbackRunsWithItsEndAndIsDroppedWithoutOne) {
    POSITION image = Solid(8, 8, kRed);
    std::vector<std::string> done;
    auto note = [&](std::string what) { return [&done, what] { done.push_back(what); }; };
    // Run after the end hook, once; the play notifies the window for it.
    POSITION s = AddStraight(image, 0, 0, 20, 0, 2, 1);
    wnd.onEnd = [&](POSITION, int) { done.push_back("hook"); };
    ASSERT_TRUE(wnd.PlaySprite(s, FALSE, 9, -1, 1, TRUE, note("ran")));
    Run(100);
    EXPECT_EQ(done, (std::vector<std::string>{"hook", "ran"}));
    wnd.onEnd = nullptr;

    // A restart, a quiet stop and the window's end drop theirs.
    done.clear();
    wnd.PlaySprite(s, TRUE, 1, -1, 0, TRUE, note("restarted"));
    wnd.PlaySprite(s, TRUE, 2, -1, 0, TRUE, note("stopped quietly"));
    wnd.StopSprite(s, TRUE, TRUE);
    POSITION removed = AddStraight(image, 0, 20, 90, 20, 50, 1);
    wnd.PlaySprite(removed, TRUE, 3, -1, 1, TRUE, note("removed"));
    wnd.RemoveSprite(removed); // a removed play tells its end
    wnd.PlaySprite(s, TRUE, 4, -1, 0, TRUE, note("destroyed"));
    Run(50);
    EXPECT_EQ(done, std::vector<std::string>{"removed"});

    // A callback may start the next play on its own sprite; one handed on to
    // a new line runs at that line's end.
    done.clear();
    POSITION next = AddStraight(image, 0, 40, 20, 40, 2, 1);
    wnd.PlaySprite(next, TRUE, 5, -1, 1, TRUE, [&] {
        done.push_back("first");
        wnd.PlaySprite(next, TRUE, 6, -1, 1, TRUE, note("second"));
    });
    Run(10);
    CSpriteLine* line = CreateSpriteLine(kLineStraight);
    line->Init(0, 40, 0, 60, 40, 0, 2, 1, 255, 255);
    wnd.SetSpriteLine(next, line, TRUE, 7, -1, 1, TRUE, wnd.TakeSpriteDone(next));
    Run(100);
    EXPECT_EQ(done, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(wnd.GetSpriteAt(next)->x, 60);
    wnd.DestroyWindow();
    PumpPending();
    EXPECT_EQ(done.size(), 2u) << "destroying the window ran a dropped callback";
}

TEST_F(SpriteWndTest, RemovingASpriteWithPendingRepaintsLeavesOnlyItsRectangles) {
    POSITION s = AddFixed(Solid(20, 20, kRed), 40, 40, 0, 0);
    wnd.StartSprite(s, 0, 0, -1, -1, TRUE);
    Run(10);
    ASSERT_EQ(wnd.Pixel(45, 45), Rgb(kRed));
    wnd.InvalidateSprite(s);
    wnd.StopSprite(s, FALSE, TRUE);
    wnd.InvalidateSprite(s); // a pending entry naming a sprite that no longer plays
    wnd.RemoveSprite(s);
    wnd.FlushDirty();
    EXPECT_EQ(wnd.Pixel(45, 45), kBack);
}

TEST_F(SpriteWndTest, OnlyDirtyAreasAreRecomposedAndStillnessDrawsNothing) {
    auto* image = new SolidImage(20, 20, {kRed});
    POSITION pos = wnd.AddImage(image);
    POSITION a = AddFixed(pos, 10, 10, 0, 0);
    POSITION b = AddFixed(pos, 200, 10, 0, 0);
    wnd.StartSprite(a, 0, 0, -1, 1, TRUE);
    wnd.StartSprite(b, 0, 0, -1, 1, TRUE);
    Run(50);
    image->draws = 0;
    Run(200);
    EXPECT_EQ(image->draws, 0); // nothing moves: no tick draws

    // Two far-apart areas are painted each on its own.
    wnd.FillFrame(0x123456);
    wnd.InvalidateSprite(a);
    wnd.InvalidateSprite(b);
    wnd.FlushDirty();
    EXPECT_EQ(image->draws, 2);
    EXPECT_EQ(wnd.Pixel(15, 15), Rgb(kRed));
    EXPECT_EQ(wnd.Pixel(100, 15), 0x123456u);

    // Overlapping ones as their bounding box: the corner neither covers too.
    wnd.FillFrame(0x123456);
    wnd.InvalidateRect(RECT{0, 100, 50, 120});
    wnd.InvalidateRect(RECT{40, 100, 60, 160});
    wnd.FlushDirty();
    EXPECT_EQ(wnd.Pixel(5, 150), kBack);
    EXPECT_EQ(wnd.Pixel(59, 101), kBack);
    EXPECT_EQ(wnd.Pixel(61, 101), 0x123456u);
    EXPECT_EQ(wnd.Pixel(5, 161), 0x123456u);
}

TEST_F(SpriteWndTest, EngineTimersNeverReachTheWindowsOwn) {
    for (int channel = 0; channel < CSpriteWnd::kChannels; ++channel)
        ASSERT_GE(ChannelTimerId(channel, kFrameTimer), kEngineTimerBase);
    ASSERT_GE(GroupTimerId(0, 0), kEngineTimerBase);
    ASSERT_NE(GroupTimerId(0, 0), ChannelTimerId(0, kMotionTimer));
    wnd.SetTimer(0x1234, 30);
    POSITION s = AddStraight(wnd.AddImage(new SolidImage(5, 5, {kRed, kBlue}, 1)), 0, 0, 100, 0, 50,
                             -1, 0, 0);
    wnd.StartSprite(s, 0, 0, -1, -1, TRUE);
    Run(95);
    ASSERT_EQ(wnd.Count("user"), 3);
    for (const HookEvent& e : wnd.events)
        if (e.what == "user") {
            EXPECT_EQ(e.a, 0x1234);
        }
}

TEST_F(SpriteWndTest, AnchoredSpritesFollowAResize) {
    SetAnchorWindow(wnd.m_hWnd);
    SetPosResolver(AnchorToClient);
    CSpriteLine* line = CreateSpriteLine(kLineFixed);
    line->SetFrom(-20, -20, 8, 255); // the bottom right corner
    POSITION s = wnd.AddSprite(wnd.AddImage(new SolidImage(10, 10, {kRed})), line, 0, 0, 0, 0,
                               nullptr, FALSE);
    wnd.StartSprite(s, 0, 0, -1, -1, TRUE);
    EXPECT_EQ(wnd.GetSpriteAt(s)->x, 380);
    wnd.MoveWindow(0, 0, 600, 500);
    PumpPending();
    EXPECT_EQ(wnd.GetSpriteAt(s)->x, 580);
    EXPECT_EQ(wnd.GetSpriteAt(s)->y, 480);
    Run(20);
    EXPECT_EQ(wnd.Pixel(585, 485), Rgb(kRed));
    SetPosResolver(nullptr);
    SetAnchorWindow(nullptr);
}

// An item that records what reaches it.
class LogItem : public CSpriteItem {
public:
    explicit LogItem(std::vector<std::string>* log, BOOL eatKeys = FALSE)
        : m_log(log), m_eatKeys(eatKeys) {}
    void OnMouseEnter() override { Log("enter"); }
    void OnMouseLeave() override { Log("leave"); }
    void OnMouseMove(UINT, int, int) override { Log("move"); }
    void OnLButtonDown(UINT, int, int) override {
        Log("down");
        SetCapture();
    }
    void OnLButtonUp(UINT, int, int) override {
        Log("up");
        ReleaseCapture();
    }
    BOOL OnKeyDown(UINT, UINT, UINT) override {
        Log("key");
        return !m_eatKeys;
    }
    void Draw(CDC* pDC) override { pDC->FillSolidRect(0, 0, 30, 30, RGB(255, 255, 0)); }

private:
    void Log(const char* what) { m_log->push_back(std::to_string(GetId()) + what); }
    std::vector<std::string>* m_log;
    BOOL m_eatKeys;
};

void Move(HWND hwnd, int x, int y) {
    SendMessage(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

TEST_F(SpriteWndTest, MouseReachesTheTopmostItemThenTheHooks) {
    std::vector<std::string> log;
    LogItem low(&log), high(&log);
    ASSERT_TRUE(low.Attach(&wnd, 10, 10, 0, 30, 30, 1, "low", 1));
    ASSERT_TRUE(high.Attach(&wnd, 20, 20, 0, 30, 30, 2, "high", 2));
    LogItem twin(&log);
    EXPECT_FALSE(twin.Attach(&wnd, 0, 0, 0, 5, 5, 2, "twin", 0)); // the id is taken

    Move(wnd.m_hWnd, 25, 25);
    EXPECT_EQ(log, (std::vector<std::string>{"2enter", "2move"}));
    EXPECT_EQ(wnd.Count("move"), 1);
    Move(wnd.m_hWnd, 12, 12);
    EXPECT_EQ(log, (std::vector<std::string>{"2enter", "2move", "2leave", "1enter", "1move"}));

    // Pressed on an item, the item keeps the mouse outside itself.
    log.clear();
    SendMessage(wnd.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 12));
    Move(wnd.m_hWnd, 300, 200);
    Move(wnd.m_hWnd, 15, 15);
    SendMessage(wnd.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    EXPECT_EQ(log, (std::vector<std::string>{"1down", "1leave", "1enter", "1move", "1up"}));
    EXPECT_EQ(wnd.Count("ldown"), 0);
    SendMessage(wnd.m_hWnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(wnd.GetHoverItem(), nullptr);
    SendMessage(wnd.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
    EXPECT_EQ(wnd.Count("ldown"), 1);
    SendMessage(wnd.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
}

TEST_F(SpriteWndTest, ASpriteAboveAnItemCoversItAndOneOfItsNumberDoesNot) {
    std::vector<std::string> log;
    LogItem item(&log);
    ASSERT_TRUE(item.Attach(&wnd, 100, 100, 0, 30, 30, 7, nullptr, 3));
    POSITION cover = AddFixed(wnd.AddImage(new SolidImage(10, 10, {kRed})), 100, 100, 4, 0);
    wnd.StartSprite(cover, 0, 0, -1, -1, TRUE);
    Move(wnd.m_hWnd, 105, 105);
    EXPECT_TRUE(log.empty());
    Move(wnd.m_hWnd, 120, 120);
    EXPECT_EQ(log, (std::vector<std::string>{"7enter", "7move"}));
    Move(wnd.m_hWnd, 105, 105);
    EXPECT_EQ(log.back(), "7leave");
    wnd.SetSpriteZ(cover, 3, TRUE);
    Move(wnd.m_hWnd, 106, 106);
    EXPECT_EQ(log.back(), "7move");
    // In the picture the sprite still covers the item of its number.
    Run(10);
    EXPECT_EQ(wnd.Pixel(105, 105), Rgb(kRed));
    EXPECT_EQ(wnd.Pixel(125, 125), Rgb(RGB(255, 255, 0)));
}

TEST_F(SpriteWndTest, KeysGoToItemsUntilOneTakesThem) {
    std::vector<std::string> log;
    LogItem first(&log), eater(&log, TRUE);
    first.Attach(&wnd, 0, 0, 0, 5, 5, 1, nullptr, 0);
    eater.Attach(&wnd, 0, 0, 0, 5, 5, 2, nullptr, 0);
    SendMessage(wnd.m_hWnd, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(log, (std::vector<std::string>{"1key", "2key"}));
    EXPECT_EQ(wnd.Count("key"), 0);
    eater.Enable(FALSE);
    SendMessage(wnd.m_hWnd, WM_KEYDOWN, 'B', 0);
    EXPECT_EQ(wnd.Count("key"), 1);
    EXPECT_EQ(SendMessage(wnd.m_hWnd, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
}

} // namespace
