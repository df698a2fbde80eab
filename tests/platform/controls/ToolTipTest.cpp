// The tooltip: shown after the initial delay on the stepped clock, hidden by
// a click, by leaving the tool and by the auto-pop delay.

#include "tests/support/DialogFixture.h"

#include "platform/controls/ToolTip.h"

using namespace platform_test;

namespace {

class ToolTipTest : public DialogTest {
protected:
    SolidWnd owner;
    CToolTipCtrl tip;
    RECT tool{20, 20, 80, 50};

    void SetUp() override {
        DialogTest::SetUp();
        clock.SetAutoAdvance(false);
        ASSERT_TRUE(owner.Top({100, 100, 400, 300}));
        ASSERT_TRUE(tip.Create(&owner));
        ASSERT_TRUE(tip.AddTool(&owner, "提示", &tool, 1));
        EXPECT_EQ(tip.GetToolCount(), 1);
    }
    // The owner relays its mouse messages, as CHoverButton does.
    void Relay(UINT message, int x, int y) {
        MSG msg{owner.m_hWnd, message, 0, MAKELPARAM(x, y), 0, {0, 0}};
        tip.RelayEvent(&msg);
        PumpInput();
    }
    void Step(uint64_t ms) {
        clock.Advance(ms);
        PumpInput();
    }
};

TEST_F(ToolTipTest, ShowsAfterTheInitialDelayBelowTheCursor) {
    Relay(WM_MOUSEMOVE, 30, 30);
    Step(499);
    EXPECT_FALSE(tip.IsWindowVisible());
    Step(1);
    ASSERT_TRUE(tip.IsWindowVisible());
    RECT r;
    tip.GetWindowRect(&r);
    EXPECT_EQ(r.left, 130);
    EXPECT_GT(r.top, 130); // under the cursor's point
    // Moving within the same tool keeps it; the auto-pop hides it.
    Relay(WM_MOUSEMOVE, 40, 35);
    EXPECT_TRUE(tip.IsWindowVisible());
    Step(5000);
    EXPECT_FALSE(tip.IsWindowVisible());
}

TEST_F(ToolTipTest, AClickOrLeavingTheToolHidesIt) {
    Relay(WM_MOUSEMOVE, 30, 30);
    Step(500);
    ASSERT_TRUE(tip.IsWindowVisible());
    Relay(WM_LBUTTONDOWN, 30, 30);
    EXPECT_FALSE(tip.IsWindowVisible());
    Step(1000); // not again over the same tool after a click
    EXPECT_FALSE(tip.IsWindowVisible());
    Relay(WM_MOUSEMOVE, 200, 150); // off the tool
    Relay(WM_MOUSEMOVE, 30, 30);
    Step(500);
    EXPECT_TRUE(tip.IsWindowVisible());
    Relay(WM_MOUSEMOVE, 200, 150);
    EXPECT_FALSE(tip.IsWindowVisible());
}

TEST_F(ToolTipTest, InactiveTipsNeverShowAndTextCanChange) {
    tip.Activate(FALSE);
    Relay(WM_MOUSEMOVE, 30, 30);
    Step(1000);
    EXPECT_FALSE(tip.IsWindowVisible());
    tip.Activate(TRUE);
    tip.UpdateTipText("新的提示文字更长一些", &owner, 1);
    Relay(WM_MOUSEMOVE, 200, 150);
    Relay(WM_MOUSEMOVE, 30, 30);
    Step(500);
    ASSERT_TRUE(tip.IsWindowVisible());
    char text[64] = "";
    TOOLINFO info{sizeof info, 0, owner.m_hWnd, 1, {}, nullptr, text, 0};
    ASSERT_TRUE(tip.SendMessage(TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_STREQ(text, "新的提示文字更长一些");
    tip.DelTool(&owner, 1);
    EXPECT_EQ(tip.GetToolCount(), 0);
    EXPECT_FALSE(tip.IsWindowVisible());
}

TEST_F(ToolTipTest, DelaysFollowSetDelayTime) {
    tip.SetDelayTime(TTDT_INITIAL, 100);
    EXPECT_EQ(tip.GetDelayTime(TTDT_INITIAL), 100);
    Relay(WM_MOUSEMOVE, 30, 30);
    Step(100);
    EXPECT_TRUE(tip.IsWindowVisible());
}

} // namespace
