#include "SpriteTestKit.h"

#include "platform/window/Input.h"
#include "sprite/SpriteButton.h"

#include <tuple>

using namespace sprite_test;

namespace {

using Posted = std::tuple<UINT, WPARAM, LPARAM>;

// Records what the buttons post to their window.
class ButtonWnd : public TestSpriteWnd {
public:
    std::vector<Posted> posted;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND || message == WM_SPRITEBUTTON_HOVER ||
            message == WM_SPRITEBUTTON_PRESS) {
            posted.emplace_back(message, wParam, lParam);
            return 0;
        }
        return TestSpriteWnd::WindowProc(message, wParam, lParam);
    }
};

// A plain button over a ready-made image, as the base class is used.
class PlainButton : public CSpriteButton {
public:
    explicit PlainButton(CSpriteImage* image) { m_pImage = image; }
    ~PlainButton() override { delete m_pImage; }
};

constexpr COLORREF kStateColors[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200),
                                      RGB(90, 90, 90)};
constexpr int kId = 201;

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::StartDisplay(platform::DisplayKind::Headless);
        PumpPending();
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "table", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr));
        PumpPending();
        // Four 20 x 10 state cells and a black (all opaque) mask cell.
        strip = MakeBitmap(100, 10, [](int x, int) { return x < 80 ? kStateColors[x / 20] : 0; });
    }
    void TearDown() override {
        button.reset();
        wnd.DestroyWindow();
        PumpPending();
        platform::StopDisplay();
        DeleteObject(strip);
    }
    CSpriteButtonEx& Make(BOOL checkMode = FALSE) {
        button = std::make_unique<CSpriteButtonEx>(checkMode);
        EXPECT_TRUE(button->Create(strip, 4, TRUE, &wnd, 50, 40, 0, 0, kId));
        return *button;
    }
    void Mouse(platform::MouseAction action, int x, int y) {
        platform::InjectMouse(action, POINT{x, y});
        PumpPending();
    }
    void Click(int x, int y) {
        Mouse(platform::MouseAction::Move, x, y);
        Mouse(platform::MouseAction::LeftDown, x, y);
        Mouse(platform::MouseAction::LeftUp, x, y);
    }
    int Commands() const {
        int n = 0;
        for (const Posted& p : wnd.posted)
            n += std::get<0>(p) == WM_COMMAND && std::get<1>(p) == WPARAM(kId);
        return n;
    }
    uint32_t Shown() {
        wnd.FlushDirty();
        return wnd.Pixel(55, 45);
    }

    platform::ManualClock clock;
    platform::ScopedClock scoped{clock};
    ButtonWnd wnd;
    HBITMAP strip = nullptr;
    std::unique_ptr<CSpriteButtonEx> button;
};

TEST_F(ButtonTest, HoverPressAndReleaseSendTheCommandAndDrawEachState) {
    CSpriteButtonEx& b = Make();
    EXPECT_EQ(b.GetRect(), CRect(50, 40, 70, 50)); // a cell is width / (4 + mask)
    EXPECT_EQ(Shown(), Rgb(kStateColors[0]));

    Mouse(platform::MouseAction::Move, 55, 45);
    EXPECT_EQ(b.GetState(), kButtonHover);
    EXPECT_EQ(Shown(), Rgb(kStateColors[1]));
    Mouse(platform::MouseAction::LeftDown, 55, 45);
    EXPECT_EQ(b.GetState(), kButtonDown);
    EXPECT_EQ(wnd.GetCapturedItem(), &b);
    EXPECT_EQ(Shown(), Rgb(kStateColors[2]));
    EXPECT_EQ(Commands(), 0);
    Mouse(platform::MouseAction::LeftUp, 55, 45);
    EXPECT_EQ(b.GetState(), kButtonHover);
    EXPECT_EQ(wnd.GetCapturedItem(), nullptr);
    Mouse(platform::MouseAction::Move, 150, 150);
    EXPECT_EQ(b.GetState(), kButtonNormal);
    EXPECT_EQ(wnd.posted, (std::vector<Posted>{{WM_SPRITEBUTTON_HOVER, kId, 0},
                                               {WM_COMMAND, kId, 0},
                                               {WM_SPRITEBUTTON_HOVER, kId, 1}}));
}

TEST_F(ButtonTest, ADragOutCancelsTheClickAndADragBackRestoresIt) {
    CSpriteButtonEx& b = Make();
    Mouse(platform::MouseAction::Move, 55, 45);
    Mouse(platform::MouseAction::LeftDown, 55, 45);
    Mouse(platform::MouseAction::Move, 150, 150);
    EXPECT_EQ(b.GetState(), kButtonNormal);
    Mouse(platform::MouseAction::LeftUp, 150, 150);
    EXPECT_EQ(Commands(), 0);
    EXPECT_EQ(b.GetState(), kButtonNormal);

    Mouse(platform::MouseAction::Move, 55, 45);
    Mouse(platform::MouseAction::LeftDown, 55, 45);
    Mouse(platform::MouseAction::Move, 150, 150);
    Mouse(platform::MouseAction::Move, 56, 46);
    EXPECT_EQ(b.GetState(), kButtonDown); // still held
    Mouse(platform::MouseAction::LeftUp, 56, 46);
    EXPECT_EQ(Commands(), 1);
}

TEST_F(ButtonTest, ADisabledButtonTakesNoInputAndGivesUpTheHover) {
    CSpriteButtonEx& b = Make();
    Mouse(platform::MouseAction::Move, 55, 45);
    ASSERT_EQ(wnd.GetHoverItem(), &b);
    b.Enable(FALSE);
    EXPECT_EQ(b.GetState(), kButtonDisabled);
    EXPECT_EQ(wnd.GetHoverItem(), nullptr);
    EXPECT_EQ(Shown(), Rgb(kStateColors[3]));
    wnd.posted.clear();
    Click(56, 45);
    EXPECT_TRUE(wnd.posted.empty());
    EXPECT_EQ(wnd.Count("ldown"), 1); // the press went to the table instead

    // Enabled under the cursor it shows hover at once.
    b.Enable(TRUE);
    EXPECT_EQ(b.GetState(), kButtonHover);
    b.Show(FALSE);
    EXPECT_EQ(b.GetState(), kButtonNormal);
    b.Show(TRUE);
    EXPECT_EQ(b.GetState(), kButtonHover);
    Mouse(platform::MouseAction::Move, 150, 150);
    b.Show(TRUE);
    EXPECT_EQ(b.GetState(), kButtonNormal);
}

TEST_F(ButtonTest, ACheckButtonClicksOnceAndStaysDownUntilReset) {
    CSpriteButtonEx& b = Make(TRUE);
    Click(55, 45);
    EXPECT_EQ(Commands(), 1);
    EXPECT_TRUE(b.IsDown());
    Mouse(platform::MouseAction::Move, 150, 150);
    EXPECT_TRUE(b.IsDown()); // leaving does not lift it
    Click(55, 45);
    EXPECT_EQ(Commands(), 1);
    b.SetCheck(FALSE, TRUE);
    EXPECT_EQ(b.GetState(), kButtonNormal);
    Mouse(platform::MouseAction::Move, 150, 150);
    Click(55, 45);
    EXPECT_EQ(Commands(), 2);
}

TEST_F(ButtonTest, AReleaseWithoutAPressOnThePlainButtonIsNoClick) {
    auto* image = new SolidImage(
        20, 10, {kStateColors[0], kStateColors[1], kStateColors[2], kStateColors[3]});
    PlainButton plain(image);
    ASSERT_TRUE(plain.Attach(&wnd, 100, 100, 0, 20, 10, 300, "plain", 0));
    Mouse(platform::MouseAction::Move, 10, 10);
    Mouse(platform::MouseAction::LeftDown, 10, 10); // pressed on the table
    Mouse(platform::MouseAction::Move, 105, 105);
    Mouse(platform::MouseAction::LeftUp, 105, 105);
    EXPECT_TRUE(wnd.posted.empty());
    Click(105, 105);
    EXPECT_EQ(wnd.posted, (std::vector<Posted>{{WM_COMMAND, 300, 0}}));
    plain.Enable(FALSE);
    Click(105, 105);
    EXPECT_EQ(wnd.posted.size(), 1u);
}

TEST_F(ButtonTest, NotifyPostsPressAndReleaseAndTheItemTimerLetsGo) {
    CSpriteButtonEx& b = Make();
    b.SetNotify(TRUE, 100);
    Mouse(platform::MouseAction::Move, 55, 45);
    Mouse(platform::MouseAction::LeftDown, 55, 45);
    EXPECT_EQ(wnd.posted.back(), Posted(WM_SPRITEBUTTON_PRESS, kId, 1));
    for (int t = 0; t < 99; ++t) {
        clock.Advance(1);
        PumpPending();
    }
    EXPECT_TRUE(b.IsDown());
    clock.Advance(1);
    PumpPending();
    // Released at (0, 0), outside: no command, and the timer is gone.
    EXPECT_EQ(wnd.posted.back(), Posted(WM_SPRITEBUTTON_PRESS, kId, 0));
    EXPECT_EQ(b.GetState(), kButtonNormal);
    const size_t count = wnd.posted.size();
    clock.Advance(500);
    PumpPending();
    EXPECT_EQ(wnd.posted.size(), count);
    EXPECT_EQ(Commands(), 0);
}

TEST_F(ButtonTest, StripFormsGiveTheirCellWidthsAndIdsAreUnique) {
    HBITMAP wide = MakeBitmap(160, 12, [](int, int) { return RGB(1, 2, 3); });
    HBITMAP alpha = MakeBitmap(160, 12, [](int, int) { return RGB(255, 255, 255); });
    CSpriteButtonEx separate, oneCell, perState, clash;
    ASSERT_TRUE(separate.CreateEx(wide, alpha, FALSE, &wnd, 0, 0, 0, 0, 1));
    ASSERT_TRUE(oneCell.CreateEx(wide, nullptr, TRUE, &wnd, 0, 20, 0, 0, 2));
    ASSERT_TRUE(perState.CreateEx(wide, nullptr, FALSE, &wnd, 0, 40, 0, 0, 3));
    EXPECT_EQ(separate.GetRect().Width(), 40);
    EXPECT_EQ(oneCell.GetRect().Width(), 32);
    EXPECT_EQ(perState.GetRect().Width(), 20);
    EXPECT_FALSE(clash.Create(wide, 4, FALSE, &wnd, 0, 60, 0, 0, 2));
    EXPECT_EQ(wnd.FindItem(2), &oneCell);
    EXPECT_FALSE(clash.Create(nullptr, 4, FALSE, &wnd, 0, 60, 0, 0, 9));
    DeleteObject(wide);
    DeleteObject(alpha);
}

} // namespace
