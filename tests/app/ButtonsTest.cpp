// The shell's three buttons on the headless display: the skin button of the
// dialogs (theme pictures), the hover button (a bitmap strip with a mask)
// and the text check button, each under the mouse as a user would use it.

#include "sprite/HoverButton.h"
#include "app/SkinButton.h"
#include "app/TextCheckButton.h"
#include "tests/app/SkinFixture.h"
#include "tests/support/DisplayFixture.h"

#include "platform/images/Picture.h"
#include "platform/window/Input.h"
#include "sprite/Theme.h"

#include <filesystem>

using namespace app_test;
using namespace platform;
using namespace platform_test;

namespace {

constexpr uint32_t kBackground = 0x336699;
constexpr int kParentLeft = 100, kParentTop = 100;

// A picture of `w` x `h` whose x / cell gives the frame's colour.
platform::PixelImage Frames(int w, int h, int cell) {
    platform::PixelImage image;
    image.Reset(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.At(x, y) = kFrameColours[std::min(3, x / cell)];
    return image;
}

class ButtonsTest : public DisplayTest {
protected:
    SolidWnd parent;
    std::vector<Delivered> log;
    TempFolder program;

    void SetUp() override {
        DisplayTest::SetUp();
        parent.color = RGB(0x33, 0x66, 0x99);
        parent.log = &log;
        ASSERT_TRUE(parent.Top({kParentLeft, kParentTop, kParentLeft + 300, kParentTop + 200}));
        // A theme of three pictures in a program folder of its own.
        std::filesystem::create_directories(program.File("Theme"));
        std::filesystem::create_directories(program.File("theme_bmp"));
        program.Write("Pellor2.ini", "[Theme]\nTheme=theme_bmp\\T\n");
        program.Write("theme_bmp/T.thm",
                      "[Image]\nWide=wide.bmp\ncheckbox=check.bmp\nRADIO=radio.bmp\n");
        for (const auto& [name, w] :
             {std::pair{"wide.bmp", 233}, {"check.bmp", 64}, {"radio.bmp", 64}})
            ASSERT_TRUE(platform::SaveBmpFile(program.File(std::string("Theme/") + name),
                                              Frames(w, 16, w / 4), platform::BmpFormat::Rgb24));
        SetExeFolderOverride((program.Path() + "/").c_str());
        ASSERT_TRUE(kn::theTheme.Open("Pellor2"));
        PumpPending();
        log.clear();
    }
    void TearDown() override {
        ReleaseCapture();
        InjectMouse(MouseAction::LeftUp, {1000, 760});
        InjectMouse(MouseAction::Move, {1000, 760});
        PumpPending();
        kn::theTheme.Close();
        SetExeFolderOverride(nullptr);
        parent.DestroyWindow();
        DisplayTest::TearDown();
    }
    static POINT Screen(int x, int y) { return POINT{kParentLeft + x, kParentTop + y}; }
    uint32_t At(int x, int y) { return PixelOf(parent, x, y); }
    std::vector<Delivered> Commands() {
        PumpPending();
        std::vector<Delivered> found;
        for (const Delivered& d : log)
            if (d.message == WM_COMMAND)
                found.push_back(d);
        return found;
    }
};

TEST_F(ButtonsTest, ASkinButtonTakesItsFramesFromTheThemePicture) {
    CSkinButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 100, 60), &parent, 7));
    EXPECT_FALSE(button.SetImage("NoSuchPicture"));
    EXPECT_FALSE(button.SetImage(nullptr));
    CRect rect;
    button.GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 90) << "an unknown picture keeps the size";
    PumpPending();
    EXPECT_EQ(At(20, 20), kBackground) << "and draws nothing";

    ASSERT_TRUE(button.SetImage("Wide"));
    EXPECT_EQ(button.m_nFrameWidth, 58) << "233 / 4";
    button.GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 58);
    EXPECT_EQ(rect.Height(), 16);
    EXPECT_EQ(rect.left, kParentLeft + 10) << "the top-left corner is kept";
    PumpPending();
    EXPECT_EQ(At(20, 15), kFrameColours[0]);
    InjectMouse(MouseAction::Move, Screen(20, 15));
    PumpPending();
    EXPECT_EQ(At(20, 15), kFrameColours[1]) << "hover";
    InjectMouse(MouseAction::LeftDown, Screen(20, 15));
    PumpPending();
    EXPECT_EQ(At(20, 15), kFrameColours[2]) << "pressed";
    InjectMouse(MouseAction::LeftUp, Screen(20, 15));
    PumpPending();
    button.EnableWindow(FALSE);
    PumpPending();
    EXPECT_EQ(At(20, 15), kFrameColours[3]) << "disabled";
    button.DestroyWindow();
}

TEST_F(ButtonsTest, ASkinPushButtonCommandsOnlyOnAReleaseInsideAfterAPress) {
    CSkinButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 100, 60), &parent, 7));
    ASSERT_TRUE(button.SetImage("Wide"));
    // A release without a press.
    InjectMouse(MouseAction::Move, Screen(20, 15));
    InjectMouse(MouseAction::LeftUp, Screen(20, 15));
    EXPECT_TRUE(Commands().empty());
    // Pressed, moved out, released.
    InjectMouse(MouseAction::LeftDown, Screen(20, 15));
    InjectMouse(MouseAction::Move, Screen(200, 150));
    InjectMouse(MouseAction::LeftUp, Screen(200, 150));
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(GetCapture(), nullptr) << "the capture is let go when the mouse leaves";
    // Pressed and released inside: one command with the control's id.
    InjectMouse(MouseAction::Move, Screen(20, 15));
    InjectMouse(MouseAction::LeftDown, Screen(20, 15));
    InjectMouse(MouseAction::LeftUp, Screen(20, 15));
    const auto commands = Commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0].wParam), 7);
    EXPECT_EQ(reinterpret_cast<HWND>(commands[0].lParam), button.m_hWnd);
    button.DestroyWindow();
}

TEST_F(ButtonsTest, SkinCheckBoxesToggleAndRadioButtonsStaySet) {
    CSkinButton check, radio;
    ASSERT_TRUE(check.Create("声音", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(10, 10, 120, 26),
                             &parent, 8));
    ASSERT_TRUE(radio.Create("左", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON,
                             CRect(10, 40, 120, 56), &parent, 9));
    EXPECT_TRUE(check.m_bCheckBox);
    EXPECT_TRUE(radio.m_bRadio);
    EXPECT_EQ(check.m_nFrameWidth, 16);
    CRect rect;
    check.GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 110) << "check boxes keep their size";
    auto click = [this](POINT p) {
        clock.Advance(1000); // one click at a time, never a double click
        InjectMouse(MouseAction::Move, p);
        InjectMouse(MouseAction::LeftDown, p);
        InjectMouse(MouseAction::LeftUp, p);
        PumpPending();
    };
    click(Screen(15, 15));
    EXPECT_TRUE(check.m_bChecked);
    EXPECT_EQ(At(14, 14), kFrameColours[2]) << "checked and hovered";
    click(Screen(15, 15));
    EXPECT_FALSE(check.m_bChecked);
    // The check box still holds the mouse when the radio button is pressed:
    // that press is not the check box's.
    click(Screen(15, 45));
    EXPECT_FALSE(check.m_bChecked);
    click(Screen(15, 45));
    EXPECT_TRUE(radio.m_bChecked);
    InjectMouse(MouseAction::Move, Screen(250, 150));
    PumpPending();
    EXPECT_EQ(At(14, 45), kFrameColours[3]) << "checked, not hovered";
    // Its text is drawn beside the frame in the check-box grey.
    int grey = 0;
    for (int x = 28; x < 60; ++x)
        for (int y = 40; y < 56; ++y)
            grey += At(x, y) == 0x6B696A;
    EXPECT_GT(grey, 3);
    // A command of id 0 toggles a check box.
    check.SendMessage(WM_COMMAND, 0, 0);
    EXPECT_TRUE(check.m_bChecked);
    check.DestroyWindow();
    radio.DestroyWindow();
}

// A strip of four 40-pixel frames and a mask: the mask is black in a 30 x 20
// box in the middle and white (see-through) around it.
CBitmap* MakeHoverStrip(CBitmap& bitmap) {
    platform::PixelImage image;
    image.Reset(200, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x) {
            const int frame = x / 40, fx = x % 40;
            const bool opaque = fx >= 5 && fx < 35 && y >= 5 && y < 25;
            image.At(x, y) =
                frame < 4 ? (opaque ? kFrameColours[frame] : 0) : (opaque ? 0 : 0xFFFFFF);
        }
    TempFolder folder;
    platform::SaveBmpFile(folder.File("strip.bmp"), image, platform::BmpFormat::Rgb24);
    bitmap.Attach(
        LoadImage(nullptr, folder.File("strip.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    return &bitmap;
}

int g_hovers = 0;
int g_clicks = 0;

TEST_F(ButtonsTest, AHoverButtonShowsItsFramesThroughItsMask) {
    CBitmap strip;
    ASSERT_NE(MakeHoverStrip(strip)->GetSafeHandle(), nullptr);
    CHoverButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 100, 100), &parent, 5));
    button.SetBitmapStrip(&strip, 4, TRUE);
    EXPECT_EQ(button.GetFrameWidth(), 40);
    CRect rect;
    button.GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 40);
    EXPECT_EQ(rect.Height(), 30);
    g_hovers = g_clicks = 0;
    button.m_pfnOnHover = [] { ++g_hovers; };
    button.m_pfnOnClick = [](CHoverButton*) { ++g_clicks; };
    PumpPending();
    EXPECT_EQ(At(30, 25), kFrameColours[0]);
    EXPECT_EQ(At(12, 12), kBackground) << "the mask keeps the background";

    InjectMouse(MouseAction::Move, Screen(30, 25));
    clock.Advance(20);
    PumpPending();
    EXPECT_EQ(g_hovers, 1);
    EXPECT_TRUE(button.IsHovered());
    EXPECT_EQ(At(30, 25), kFrameColours[1]);
    InjectMouse(MouseAction::LeftDown, Screen(30, 25));
    PumpPending();
    EXPECT_EQ(At(30, 25), kFrameColours[2]) << "pressed wins over hovered";
    InjectMouse(MouseAction::LeftUp, Screen(30, 25));
    EXPECT_EQ(Commands().size(), 1u);
    EXPECT_EQ(g_clicks, 1);

    // Leaving takes the hover face away at once.
    InjectMouse(MouseAction::Move, Screen(250, 150));
    PumpPending();
    EXPECT_FALSE(button.IsHovered());
    EXPECT_EQ(At(30, 25), kFrameColours[0]);

    // Disabled: frame 3 and no hover callback.
    button.EnableWindow(FALSE);
    InjectMouse(MouseAction::Move, Screen(30, 25));
    clock.Advance(20);
    PumpPending();
    EXPECT_EQ(g_hovers, 1);
    EXPECT_EQ(At(30, 25), kFrameColours[3]);
    button.DestroyWindow();
}

TEST_F(ButtonsTest, AHoverButtonsTooltipNeedsAText) {
    CHoverButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 50, 40), &parent, 5));
    button.SetToolTipText("");
    button.SetToolTipText(nullptr);
    EXPECT_EQ(button.GetToolTip().GetSafeHwnd() ? button.GetToolTip().GetToolCount() : 0, 0);
    button.SetToolTipText("托管");
    ASSERT_NE(button.GetToolTip().GetSafeHwnd(), nullptr);
    EXPECT_EQ(button.GetToolTip().GetToolCount(), 1);
    button.SetToolTipText("取消托管");
    EXPECT_EQ(button.GetToolTip().GetToolCount(), 1) << "one tool, its text changed";
    button.DestroyWindow();
}

TEST_F(ButtonsTest, ATextCheckButtonTogglesAndRepaintsAtOnce) {
    CBitmap unchecked, checked;
    ASSERT_TRUE(unchecked.CreateBitmap(12, 12, 1, 32, nullptr));
    ASSERT_TRUE(checked.CreateBitmap(12, 12, 1, 32, nullptr));
    {
        CClientDC dc(&parent);
        HDC memory = CreateCompatibleDC(dc.GetSafeHdc());
        HGDIOBJ old = SelectObject(memory, unchecked);
        RECT all{0, 0, 12, 12};
        CBrush white(RGB(255, 255, 255)), red(RGB(255, 0, 0));
        FillRect(memory, &all, white);
        SelectObject(memory, checked);
        FillRect(memory, &all, red);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    CTextCheckButton button;
    ASSERT_TRUE(button.Create("声音", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(10, 10, 110, 24),
                              &parent, 6));
    button.SetBitmap(&unchecked, &checked);
    PumpPending();
    EXPECT_EQ(At(14, 14), 0xFFFFFFu);
    auto click = [] {
        InjectMouse(MouseAction::Move, Screen(14, 14));
        InjectMouse(MouseAction::LeftDown, Screen(14, 14));
        InjectMouse(MouseAction::LeftUp, Screen(14, 14));
        PumpPending();
    };
    click();
    EXPECT_TRUE(button.GetCheck());
    EXPECT_EQ(At(14, 14), 0xFF0000u);
    click();
    EXPECT_FALSE(button.GetCheck());
    EXPECT_EQ(At(14, 14), 0xFFFFFFu);

    // SetCheck alone waits for the next paint.
    button.SetCheck(TRUE);
    EXPECT_EQ(At(14, 14), 0xFFFFFFu);
    button.Invalidate();
    PumpPending();
    EXPECT_EQ(At(14, 14), 0xFF0000u);
    button.DestroyWindow();
}

TEST_F(ButtonsTest, ATextCheckButtonWithoutBitmapsWritesItsTextAtFive) {
    CTextCheckButton button;
    ASSERT_TRUE(button.Create("显示", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(10, 10, 110, 24),
                              &parent, 6));
    PumpPending();
    int firstInk = -1;
    for (int x = 10; x < 40 && firstInk < 0; ++x)
        for (int y = 10; y < 24; ++y)
            if (At(x, y) == 0x000000) {
                firstInk = x - 10;
                break;
            }
    EXPECT_GE(firstInk, 5);
    EXPECT_LE(firstInk, 8);
    button.DestroyWindow();
}

} // namespace
