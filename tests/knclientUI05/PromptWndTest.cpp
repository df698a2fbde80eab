// The rising prompt texts on the stepped clock: the queue and its refusal,
// the rise and the fade of a run, the pace of following labels, the timer's
// end, and the labels painted over their host.

#include "SkinFixture.h"

#include "knclientUI05/PromptWnd.h"
#include "platform/system/DebugOutput.h"
#include "platform/window/WindowDcs.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using ui_test::SkinTest;

std::vector<std::string>& DebugLines() {
    return ui_test::DebugOutputWatch::Lines();
}

// The window the labels rise over: black, with the labels drawn on it.
class Host : public CDialog {
public:
    CPromptWnd* prompt = nullptr;
    RECT lastPaint{};
    void OnPaint() override {
        CPaintDC dc(this);
        lastPaint = dc.m_ps.rcPaint;
        RECT client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(0, 0, 0));
        if (prompt != nullptr)
            prompt->Draw(&dc);
    }
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
};

// Counts its timer ticks.
class CountingPrompt : public CPromptWnd {
public:
    int ticks = 0;
    void OnTimer(UINT_PTR id) override {
        ++ticks;
        CPromptWnd::OnTimer(id);
    }
};

class PromptWndTest : public SkinTest {
protected:
    static constexpr int kHeight = 400;

    void SetUp() override {
        SkinTest::SetUp();
        clock.SetAutoAdvance(false);
        debugOutput = std::make_unique<ui_test::DebugOutputWatch>();
        ASSERT_TRUE(host.Create(29800)); // a dialog keeps its font
        host.ModifyStyle(WS_CAPTION, 0, SWP_FRAMECHANGED);
        host.MoveWindow(0, 0, 500, kHeight);
        // Only the labels show over the host.
        EnumChildWindows(
            host.m_hWnd, [](HWND child, LPARAM) { return ::ShowWindow(child, SW_HIDE), TRUE; }, 0);
        host.ShowWindow(SW_SHOW);
        ASSERT_TRUE(prompt.Create(nullptr, "", WS_CHILD, RECT{0, 0, 0, 0}, &host, 1));
        host.prompt = &prompt;
    }
    void TearDown() override {
        prompt.DestroyWindow();
        host.DestroyWindow();
        debugOutput.reset();
        SkinTest::TearDown();
    }
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            clock.Advance(100);
            PumpInput();
        }
    }
    int Running() const {
        int running = 0;
        for (int i = 0; i < CPromptWnd::kSlots; ++i)
            running += prompt.Slot(i).IsIdle() ? 0 : 1;
        return running;
    }

    Host host;
    CountingPrompt prompt;
    std::unique_ptr<ui_test::DebugOutputWatch> debugOutput;
};

TEST_F(PromptWndTest, ADefaultRunRisesFromSeventyToTwentyPercentAndFadesOut) {
    ASSERT_TRUE(prompt.ShowPrompt("欢迎来到牌桌"));
    const CPromptStr& label = prompt.Slot(0);
    EXPECT_EQ(label.Steps(), 71);
    // The outline's own top (a few pixels of the font's ascent) rides along.
    const int outlineTop = label.TextRect().top - kHeight * 70 / 100;
    EXPECT_GE(outlineTop, 0);
    EXPECT_LT(outlineTop, 8);
    EXPECT_EQ(label.Alpha(), 128);
    host.UpdateWindow();
    const RECT start = label.TextRect();
    // The yellow text shows, half blended, over the black host.
    uint32_t brightest = 0;
    for (int y = start.top; y < start.bottom; ++y)
        for (int x = start.left; x < start.right; ++x)
            brightest = std::max(brightest, PixelOf(host.m_hWnd, x, y));
    EXPECT_EQ(brightest, 0x808000u);
    SaveWindow(host.m_hWnd, "prompt_rising_start");
    Tick(35);
    EXPECT_EQ(label.StepsDone(), 35);
    EXPECT_EQ(label.Alpha(), 128 - int(35 * 128.0 / 71));
    EXPECT_EQ(label.TextRect().top, start.top - int(35 * (kHeight * 50 / 100.0) / 71));
    host.UpdateWindow();
    SaveWindow(host.m_hWnd, "prompt_rising_middle");
    Tick(36);
    EXPECT_EQ(label.Alpha(), 0);
    EXPECT_EQ(label.TextRect().top, kHeight * 20 / 100 + outlineTop);
    EXPECT_TRUE(prompt.IsBusy());
    Tick(1);
    EXPECT_FALSE(prompt.IsBusy());
    // The last place of the label is repainted (to nothing).
    EXPECT_LE(host.lastPaint.top, label.TextRect().top);
    EXPECT_GE(host.lastPaint.bottom, label.TextRect().bottom);
    // With no label the timer ends.
    Tick(1);
    const int ticks = prompt.ticks;
    Tick(20);
    EXPECT_EQ(prompt.ticks, ticks);
}

TEST_F(PromptWndTest, TwelveQuickTextsRunOneQueueTenAndRefuseTheLast) {
    for (int i = 0; i < 11; ++i)
        EXPECT_TRUE(prompt.ShowPrompt(("提示" + std::to_string(i)).c_str())) << i;
    EXPECT_FALSE(prompt.ShowPrompt("第十二"));
    EXPECT_EQ(DebugLines(), std::vector<std::string>{"超过显示提示缓冲区长度了\n"});
    EXPECT_EQ(Running(), 1);
    // Each waiting text starts once the one before has risen past its own
    // height and a fifth.
    const CPromptStr& first = prompt.Slot(0);
    const int height = first.TextRect().bottom - first.TextRect().top;
    const int clearance = height + (height + 5) / 5;
    int ticks = 0;
    const int startTop = first.TextRect().top;
    int risenBefore = 0;
    while (Running() == 1 && ticks < 100) {
        risenBefore = startTop - first.TextRect().top;
        Tick();
        ++ticks;
    }
    ASSERT_EQ(Running(), 2);
    // It started at the tick after the first had cleared: the rise seen at
    // the start of that tick was already past the clearance, the one before
    // was not.
    const double dy = kHeight * 50 / 100.0 / 71;
    EXPECT_GT(risenBefore, clearance);
    EXPECT_LE(int((ticks - 2) * dy), clearance);
    // And so on for the third.
    const CPromptStr& second = prompt.Slot(1);
    const int secondTop = second.TextRect().top;
    while (Running() < 3 && ticks < 200) {
        Tick();
        ++ticks;
    }
    EXPECT_GT(secondTop - second.TextRect().top, clearance);
    Tick(600);
    EXPECT_FALSE(prompt.IsBusy());
    EXPECT_EQ(DebugLines().size(), 1u);
}

TEST_F(PromptWndTest, EmptyTextsAndFontlessHostsShowNothing) {
    EXPECT_FALSE(prompt.ShowPrompt(""));
    EXPECT_FALSE(prompt.ShowPrompt(static_cast<LPCSTR>(nullptr)));
    EXPECT_FALSE(prompt.ShowPrompt(UINT(1)));
    EXPECT_FALSE(prompt.IsBusy());

    CWnd bare;
    ASSERT_TRUE(bare.CreateEx(0, nullptr, "bare", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    CPromptWnd fontless;
    ASSERT_TRUE(fontless.Create(nullptr, "", WS_CHILD, RECT{0, 0, 0, 0}, &bare, 1));
    EXPECT_TRUE(fontless.ShowPrompt("无字体"));
    EXPECT_FALSE(fontless.IsBusy());
    // The text was dropped, not kept waiting.
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(fontless.ShowPrompt("再来"));
    fontless.DestroyWindow();
    bare.DestroyWindow();
}

TEST_F(PromptWndTest, AShowTimeUnderOneStepRunsOneStep) {
    for (int showTime : {-500, -100, 50}) {
        CPromptWnd quick;
        ASSERT_TRUE(quick.Create(nullptr, "", WS_CHILD, RECT{0, 0, 0, 0}, &host, 2));
        quick.SetShowTime(showTime);
        quick.SetPosition(60, 30, 100);
        ASSERT_TRUE(quick.ShowPrompt("快"));
        EXPECT_EQ(quick.Slot(0).Steps(), 1) << showTime;
        EXPECT_EQ(quick.Slot(0).Alpha(), 128);
        Tick(2);
        EXPECT_FALSE(quick.IsBusy());
        quick.DestroyWindow();
    }
}

TEST_F(PromptWndTest, ColoursAndPlaceFollowTheSettings) {
    prompt.SetTextColor(RGB(255, 255, 255));
    prompt.SetBkColor(RGB(0, 0, 200));
    prompt.SetPosition(50, 10, 120);
    prompt.SetShowTime(1000);
    ASSERT_TRUE(prompt.ShowPrompt("蓝底白字"));
    const CPromptStr& label = prompt.Slot(0);
    EXPECT_EQ(label.Steps(), 11);
    EXPECT_NEAR(label.TextRect().top, kHeight / 2, 8);
    EXPECT_NEAR((label.TextRect().left + label.TextRect().right) / 2, 120, 4);
    host.UpdateWindow();
    const uint32_t corner =
        PixelOf(host.m_hWnd, label.TextRect().left + 4, label.TextRect().bottom - 3);
    EXPECT_EQ(corner & 0xFF, 100u); // half of the blue box over black
    SaveWindow(host.m_hWnd, "prompt_blue");
}

} // namespace
