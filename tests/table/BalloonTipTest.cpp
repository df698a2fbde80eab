// The balloon tip as a window on the headless display: its sizes, its shape's
// pixels on the composed screen (also saved as PNG), its opacity, its timers
// on the stepped clock and its clicks.

#include "ClientFixture.h"
#include "platform/display/Display.h"
#include "platform/text/Font.h"
#include "platform/text/Text.h"
#include "table/panes/BalloonTipWnd.h"

#include <filesystem>

namespace table_test {
namespace {

using platform_test::PumpPending;

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kTipGrey = 0xDCDCDC;
constexpr uint32_t kFrameGrey = 0x3C3C3C;

class BalloonTip : public platform_test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ASSERT_TRUE(owner.CreateTop(&ownerLog, 100, 60));
        ASSERT_TRUE(tip.Create(&owner));
    }
    void TearDown() override {
        tip.DestroyWindow();
        owner.DestroyWindow();
        DisplayTest::TearDown();
    }
    uint32_t ScreenAt(int x, int y) {
        PumpPending();
        std::unique_ptr<platform::Surface> screen = platform::ComposeScreen();
        return screen ? screen->GetPixel(x, y) & 0xFFFFFF : 0xDEADBEEF;
    }
    // The width of a line in the tip's default font.
    static int TextWidth(const char* text) {
        HDC dc = CreateCompatibleDC(nullptr);
        HFONT font = CreateFont(14, 0, 0, 0, 450, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size = {0, 0};
        GetTextExtentPoint32(dc, text, int(strlen(text)), &size);
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteDC(dc);
        return size.cx;
    }
    static int Width(const RECT& r) { return r.right - r.left; }
    static int Height(const RECT& r) { return r.bottom - r.top; }

    std::vector<platform_test::Delivered> ownerLog;
    platform_test::RecordingWnd owner;
    CBalloonTipWnd tip;
};

TEST_F(BalloonTip, OneLineKeepsTheMinimumWidthOrFitsItsText) {
    tip.SetMinSize(60, 30);
    tip.Show("ab", 300, 300, 290, 280, 0);
    EXPECT_TRUE(tip.IsSingleLine());
    EXPECT_EQ(Width(tip.GetBodyRect()), 60);
    EXPECT_GE(Height(tip.GetBodyRect()), 30);

    const char* longer = "玩家重新连接";
    tip.Show(longer, 300, 300, 290, 280, 0);
    EXPECT_EQ(Width(tip.GetBodyRect()), TextWidth(longer) + 16);
    EXPECT_EQ(tip.GetBodyRect().left, 300);
    EXPECT_EQ(tip.GetBodyRect().top, 300);
}

TEST_F(BalloonTip, SeveralLinesAreClampedToTheMaximumHeight) {
    tip.Show("a\nb\nc", 300, 300, 290, 280, 0);
    EXPECT_FALSE(tip.IsSingleLine());
    const int threeLines = Height(tip.GetBodyRect());
    EXPECT_GT(threeLines, 40);
    ASSERT_TRUE(tip.SetMaxSize(150, 40));
    tip.Show("a\nb\nc", 300, 300, 290, 280, 0);
    EXPECT_EQ(Height(tip.GetBodyRect()), 40);
    EXPECT_EQ(tip.GetLines().size(), 3u);
    // Refusals leave the size alone.
    EXPECT_FALSE(tip.SetMaxSize(0, 40));
    EXPECT_FALSE(tip.SetMaxSize(100, -2));
}

TEST_F(BalloonTip, ALongChineseTextWrapsWithinTheMaximumWidth) {
    tip.Show("由于有玩家与服务器失去联系，现在游戏结束!", 300, 300, 290, 280, 0);
    EXPECT_GT(tip.GetLines().size(), 1u);
    EXPECT_LE(Width(tip.GetBodyRect()), 150);
}

TEST_F(BalloonTip, TheShapeIsFilledFramedAndRoundedOnTheScreen) {
    tip.SetOpacity(100);
    tip.SetMinSize(80, 40);
    tip.Show("ab", 400, 300, 380, 270, 0);
    const RECT body = tip.GetBodyRect();
    const int midX = (body.left + body.right) / 2;
    EXPECT_EQ(ScreenAt(midX, body.top + 4), kTipGrey);
    EXPECT_EQ(ScreenAt(midX, body.top), kFrameGrey);
    EXPECT_EQ(ScreenAt(body.left, body.top + 20), kFrameGrey);
    // The rounded corner leaves the desktop showing.
    EXPECT_EQ(ScreenAt(body.right - 1, body.bottom - 1), kBlack);
    // The tail reaches up towards its point (380, 270) from its base at
    // (416..428, 301), and beside it is desktop.
    EXPECT_NE(ScreenAt(390, 278), kBlack);
    EXPECT_EQ(ScreenAt(380, 278), kBlack);
    EXPECT_EQ(ScreenAt(400, 278), kBlack);
    EXPECT_EQ(ScreenAt(body.right + 2, body.top + 10), kBlack);
}

TEST_F(BalloonTip, AShadowFallsBehindTheShape) {
    tip.SetOpacity(100);
    tip.SetShadow(4, 4, 25);
    tip.SetMinSize(80, 40);
    tip.Show("ab", 400, 300, 380, 270, 0);
    const RECT body = tip.GetBodyRect();
    const uint32_t grey = 255 * 75 / 100;
    EXPECT_EQ(ScreenAt((body.left + body.right) / 2, body.bottom + 2), grey * 0x010101);
    EXPECT_EQ(ScreenAt((body.left + body.right) / 2, body.bottom - 4), kTipGrey);
}

TEST_F(BalloonTip, OpacityBlendsWithWhatLiesBehind) {
    tip.SetMinSize(80, 40);
    tip.SetOpacity(101); // ignored: the default 70 stays
    tip.SetOpacity(-5);
    EXPECT_EQ(tip.GetOpacity(), 70);
    tip.SetOpacity(60);
    tip.Show("ab", 400, 300, 380, 270, 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(tip.m_hWnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 153);
    EXPECT_EQ(flags & LWA_ALPHA, DWORD(LWA_ALPHA));
    const RECT body = tip.GetBodyRect();
    const uint32_t blended = ScreenAt((body.left + body.right) / 2, body.top + 4) & 0xFF;
    EXPECT_NEAR(int(blended), 220 * 153 / 255, 2);

    tip.SetOpacity(100);
    tip.Show("ab", 400, 300, 380, 270, 0);
    GetLayeredWindowAttributes(tip.m_hWnd, nullptr, &alpha, &flags);
    EXPECT_EQ(alpha, 255);
}

TEST_F(BalloonTip, AutoHideRunsOnTheClock) {
    tip.SetAutoHide(5000);
    tip.Show("ab", 300, 300, 290, 280, 0);
    clock.Advance(4999);
    PumpPending();
    EXPECT_TRUE(tip.IsShown());
    EXPECT_TRUE(IsWindowVisible(tip.m_hWnd));
    clock.Advance(1);
    PumpPending();
    EXPECT_FALSE(tip.IsShown());
    EXPECT_FALSE(IsWindowVisible(tip.m_hWnd));

    tip.SetAutoHide(0);
    tip.Show("ab", 300, 300, 290, 280, 0);
    clock.Advance(60000);
    PumpPending();
    EXPECT_TRUE(tip.IsShown());
}

TEST_F(BalloonTip, ShowLaterWaitsAndHideStopsBothTimers) {
    tip.ShowLater("later", 300, 300, 290, 280, 0);
    clock.Advance(299);
    PumpPending();
    EXPECT_FALSE(tip.IsShown());
    clock.Advance(1);
    PumpPending();
    EXPECT_TRUE(tip.IsShown());
    EXPECT_EQ(tip.GetLines(), std::vector<std::string>{"later"});

    tip.Hide();
    tip.ShowLater("again", 300, 300, 290, 280, 0);
    tip.Hide();
    clock.Advance(5000);
    PumpPending();
    EXPECT_FALSE(tip.IsShown());
    EXPECT_TRUE(tip.GetLines().empty());
}

TEST_F(BalloonTip, MovingWithTheSameTailOnlyMovesTheWindow) {
    tip.Show("ab", 300, 300, 290, 280, 0);
    const RECT before = tip.GetBodyRect();
    tip.MoveTo("ab", 320, 310, 310, 290, 0);
    RECT after = tip.GetBodyRect();
    EXPECT_EQ(after.left - before.left, 20);
    EXPECT_EQ(after.top - before.top, 10);
    RECT window;
    GetWindowRect(tip.m_hWnd, &window);
    EXPECT_EQ(window.left, 310);
    EXPECT_EQ(window.top, 290);
    // Another tail: shown again with the new points.
    tip.MoveTo("ab", 320, 310, 360, 400, 0);
    GetWindowRect(tip.m_hWnd, &window);
    EXPECT_EQ(window.left, 320);
    EXPECT_EQ(window.top, 310);
    EXPECT_GE(window.bottom, 395);
}

TEST_F(BalloonTip, AClickHidesOrReachesTheOwner) {
    tip.Show("ab", 300, 300, 290, 280, 0);
    SendMessage(tip.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    EXPECT_FALSE(tip.IsShown());

    tip.SetClickHides(0);
    tip.Show("ab", 300, 300, 290, 280, 0);
    ownerLog.clear();
    SendMessage(tip.m_hWnd, WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
    EXPECT_TRUE(tip.IsShown());
    ASSERT_EQ(platform_test::Only(ownerLog, {WM_RBUTTONUP}).size(), 1u);
    for (const platform_test::Delivered& d : ownerLog)
        if (d.message == WM_RBUTTONUP) {
            EXPECT_EQ(d.lParam, MAKELPARAM(5, 6));
        }
}

// Tips with their tails in several directions, as a person sees them.
TEST_F(BalloonTip, ShapesOnTheScreenAreSavedForALook) {
    const std::string folder = TABLE_TEST_OUTPUT_DIR;
    std::filesystem::create_directories(folder);
    struct Placed {
        const char* text;
        int bx, by, tx, ty, mode;
    } placed[] = {
        {"上方的尾巴", 120, 120, 100, 80, 0},
        {"下方居中\n两行文字", 420, 200, 360, 260, 3},
        {"左边", 600, 100, 540, 120, 0},
        {"右边的提示", 300, 420, 360, 440, 1},
        {"由于有玩家与服务器失去联系，现在游戏结束!", 600, 420, 730, 320, 2},
    };
    std::vector<std::unique_ptr<CBalloonTipWnd>> tips;
    for (const Placed& p : placed) {
        auto one = std::make_unique<CBalloonTipWnd>();
        ASSERT_TRUE(one->Create(&owner));
        one->SetOpacity(100);
        one->SetShadow(3, 3, 25);
        one->SetBkColor(RGB(255, 255, 225));
        one->Show(p.text, p.bx, p.by, p.tx, p.ty, p.mode);
        EXPECT_TRUE(one->IsShown());
        tips.push_back(std::move(one));
    }
    PumpPending();
    ASSERT_TRUE(platform::SaveScreenPng(folder + "/balloon_tips.png"));
    // Each tail reaches most of the way to its point.
    EXPECT_NE(ScreenAt(110, 90), kBlack);
    EXPECT_NE(ScreenAt(555, 117), kBlack);
}

} // namespace
} // namespace table_test
