// The skinned push button: its strip from the skin, its size and shape, the
// frames it shows under the mouse, its sounds, its one command per click
// and its flashing.

#include "SkinFixture.h"

#include "knclientUI05/CoolButton.h"
#include "platform/gdi/Gdi.h"
#include "platform/sound/Sound.h"
#include "platform/window/Input.h"
#include "platform/window/WindowVisibility.h"
#include "tests/support/WaveBytes.h"

#include <vector>

namespace {

using ui_test::SkinTest;

constexpr UINT kButtonId = 77;
constexpr UINT kClickSound = 301;
constexpr UINT kHoverSound = 302;

// Frame k of a strip is the colour 0x20 + 0x30 * k in its green byte.
uint32_t FrameColour(int frame) {
    return uint32_t(0x20 + 0x30 * frame) << 8;
}

// Counts the commands its buttons send.
class Owner : public CWnd {
public:
    std::vector<WPARAM> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(wParam);
        return TRUE;
    }
};

class CoolButtonTest : public SkinTest {
protected:
    static constexpr const char* kSounds = "CoolSounds_res.dll";

    void SetUp() override {
        SkinTest::SetUp();
        platform::StartAudio(platform::AudioOutput::Null);
        platform::ClearPlayedSounds();
        m_folder.Write("click.wav", wave_bytes::SilentWave(8000, 100));
        m_folder.Write("hover.wav", wave_bytes::SilentWave(8000, 50));
        std::string error;
        ASSERT_TRUE(RegisterResourceModuleText(
            kSounds, "301 WAVE \"click.wav\"\n302 WAVE \"hover.wav\"\n", m_folder.Path(), &error))
            << error;
        m_sounds = LoadLibrary(kSounds);
        AfxSetResourceHandle(m_sounds);
        WritePicture("strip.bmp", 300, 24, [](int x, int) { return FrameColour(x / 75); });
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
                                   nullptr, nullptr));
        ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{20, 30, 40, 40},
                                  &owner, kButtonId));
    }
    void TearDown() override {
        owner.DestroyWindow();
        AfxSetResourceHandle(m_library);
        FreeLibrary(m_sounds);
        UnregisterResourceModule(kSounds);
        SkinTest::TearDown();
    }
    POINT Over() const { return POINT{100 + 20 + 30, 100 + 30 + 10}; }
    static POINT Away() { return POINT{100 + 250, 100 + 150}; }
    uint32_t Shown() {
        button.Invalidate();
        button.UpdateWindow();
        return PixelOf(owner.m_hWnd, 20 + 30, 30 + 10);
    }
    std::vector<std::string> Played() {
        std::vector<std::string> names;
        for (const auto& sound : platform::PlayedSounds())
            names.push_back(sound.name);
        return names;
    }

    Owner owner;
    CCoolButton button;
    HMODULE m_sounds = nullptr;
};

TEST_F(CoolButtonTest, TheStripComesFromTheSectionThenKNDLGThenTheDefaultPicture) {
    WritePicture("dlgbutton.bmp", 200, 20, [](int, int) { return 0x102030u; });
    WriteSkin("[KNDLG_Box]\nIDOK=\n[KNDLG]\nIDOK=strip.bmp\n");
    EXPECT_TRUE(button.LoadSkin(&owner, kButtonId, "KNDLG_Box", "IDOK", 0, 0, FALSE));
    RECT r;
    button.GetWindowRect(&r);
    EXPECT_EQ(r.right - r.left, 75);
    EXPECT_EQ(r.bottom - r.top, 24);
    owner.ScreenToClient(&r);
    EXPECT_EQ(r.left, 20); // the top-left corner stays
    EXPECT_EQ(r.top, 30);

    CCoolButton other;
    ASSERT_TRUE(other.Create("", WS_CHILD | BS_OWNERDRAW, RECT{0, 0, 5, 5}, &owner, 78));
    EXPECT_TRUE(other.LoadSkin(&owner, 78, "KNDLG_Box", "IDNO", 0, 0, FALSE));
    other.GetWindowRect(&r);
    EXPECT_EQ(r.right - r.left, 50); // dlgbutton.bmp
    // No picture at all: FALSE, and nothing breaks when it paints.
    WriteSkin("[KNDLG]\nIDOK=gone.bmp\n");
    CCoolButton empty;
    ASSERT_TRUE(
        empty.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{0, 0, 5, 5}, &owner, 79));
    EXPECT_FALSE(empty.LoadSkin(&owner, 79, "KNDLG_Box", "IDOK", 0, 0, FALSE));
    empty.UpdateWindow();
    // Subclassing a control that does not exist fails before anything.
    CCoolButton missing;
    EXPECT_FALSE(missing.LoadSkin(&owner, 999, "KNDLG_Box", "IDOK", 0, 0, TRUE));
}

TEST_F(CoolButtonTest, ACommaSelectsTheFiveFrameStripAndItsShape) {
    // Frames of 20 x 20; the mask frame is white (transparent) in its left
    // half and black elsewhere; the bottom-right pixel is the key.
    WritePicture("five.bmp", 100, 20, [](int x, int y) -> uint32_t {
        if (x >= 80)
            return (x - 80 < 10 && y < 19) ? 0xFFFFFF : 0x000000;
        return FrameColour(x / 20);
    });
    WriteSkin("[KNDLG]\nIDOK=any, five.bmp\n");
    EXPECT_TRUE(button.LoadSkin(&owner, kButtonId, "KNDLG_X", "IDOK", 0, 0, FALSE));
    RECT r;
    button.GetWindowRect(&r);
    EXPECT_EQ(r.right - r.left, 20);
    HRGN shape = platform::GetWindowRegion(button.m_hWnd);
    ASSERT_NE(shape, nullptr);
    EXPECT_TRUE(PtInRegion(shape, 3, 3));
    EXPECT_FALSE(PtInRegion(shape, 15, 3));
}

TEST_F(CoolButtonTest, TheMouseDrivesTheFramesTheSoundsAndOneCommand) {
    ASSERT_TRUE(button.LoadFromFile(&owner, kButtonId, m_folder.File("strip.bmp").c_str(), FALSE));
    // LoadFromFile has no sounds: the skin loads are given them.
    WriteSkin("[KNDLG]\nIDOK=strip.bmp\n");
    ASSERT_TRUE(
        button.LoadSkin(&owner, kButtonId, "KNDLG_X", "IDOK", kHoverSound, kClickSound, FALSE));
    EXPECT_EQ(Shown(), FrameColour(0));
    platform::InjectMouse(platform::MouseAction::Move, Over());
    PumpInput();
    EXPECT_EQ(Shown(), FrameColour(1));
    EXPECT_EQ(::GetCapture(), button.m_hWnd);
    platform::InjectMouse(platform::MouseAction::LeftDown, Over());
    PumpInput();
    EXPECT_EQ(Shown(), FrameColour(2));
    platform::InjectMouse(platform::MouseAction::Move, POINT{Over().x + 1, Over().y});
    PumpInput();
    EXPECT_EQ(Shown(), FrameColour(2));
    const std::vector<std::string> played = Played();
    ASSERT_EQ(played.size(), 2u); // hover once, click once
    // Released outside: no command, the capture goes, frame 0.
    platform::InjectMouse(platform::MouseAction::Move, Away());
    PumpInput();
    EXPECT_NE(::GetCapture(), button.m_hWnd);
    platform::InjectMouse(platform::MouseAction::LeftUp, Away());
    PumpInput();
    EXPECT_TRUE(owner.commands.empty());
    EXPECT_EQ(Shown(), FrameColour(0));
    // A click on it: exactly one command with the id and no notification.
    ClickAt(Over());
    PumpInput();
    EXPECT_EQ(owner.commands, std::vector<WPARAM>{kButtonId});
}

TEST_F(CoolButtonTest, ADisabledButtonShowsItsFourthFrameAndStaysSilent) {
    WriteSkin("[KNDLG]\nIDOK=strip.bmp\n");
    ASSERT_TRUE(
        button.LoadSkin(&owner, kButtonId, "KNDLG_X", "IDOK", kHoverSound, kClickSound, FALSE));
    button.EnableWindow(FALSE);
    platform::InjectMouse(platform::MouseAction::Move, Over());
    PumpInput();
    EXPECT_EQ(Shown(), FrameColour(3));
    EXPECT_TRUE(Played().empty());
    SaveWindow(owner.m_hWnd, "cool_button_disabled");
}

TEST_F(CoolButtonTest, TheAlternateStripShowsAtOnceAndAFlashRunsOnTheTimerItIsGiven) {
    constexpr UINT kFlashTimer = 4242;
    WriteSkin("[KNDLG]\nIDOK=strip.bmp\n");
    WritePicture("alt.bmp", 300, 24, [](int x, int) { return 0x400000u + uint32_t(x / 75); });
    ASSERT_TRUE(button.LoadSkin(&owner, kButtonId, "KNDLG_X", "IDOK", 0, 0, FALSE));
    platform::InjectMouse(platform::MouseAction::Move, Over());
    PumpInput();
    EXPECT_EQ(Shown(), FrameColour(1));
    // Switching strips repaints by itself: nothing else invalidates here.
    ASSERT_TRUE(button.SetAltBitmap(m_folder.File("alt.bmp").c_str()));
    button.UseAltBitmap(TRUE);
    button.UpdateWindow();
    EXPECT_EQ(PixelOf(owner.m_hWnd, 20 + 30, 30 + 10), 0x400001u); // the alternate hover frame
    SaveWindow(owner.m_hWnd, "cool_button_alternate_hover");
    // A flash draws from the main strip, every 300 ms of the timer named.
    button.StartFlash(kFlashTimer);
    const uint32_t phases[] = {FrameColour(1), FrameColour(0), FrameColour(1)};
    for (uint32_t expected : phases) {
        clock.Advance(300);
        PumpInput();
        EXPECT_EQ(PixelOf(owner.m_hWnd, 20 + 30, 30 + 10), expected);
    }
    ::KillTimer(button.m_hWnd, kFlashTimer);
    clock.Advance(300);
    PumpInput();
    EXPECT_EQ(PixelOf(owner.m_hWnd, 20 + 30, 30 + 10), FrameColour(1))
        << "that timer was the flash";
    // Away from the button the flash draws nothing.
    button.StartFlash(kFlashTimer);
    platform::InjectMouse(platform::MouseAction::Move, Away());
    PumpInput();
    const uint32_t resting = Shown();
    clock.Advance(300);
    PumpInput();
    EXPECT_EQ(PixelOf(owner.m_hWnd, 20 + 30, 30 + 10), resting);
}

TEST_F(CoolButtonTest, AClickGoesToTheOwnerTheCallerSetNotToTheParent) {
    Owner other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    ASSERT_TRUE(button.LoadFromFile(&owner, kButtonId, m_folder.File("strip.bmp").c_str(), FALSE));
    button.SetOwner(&other);
    ClickAt(Over());
    PumpInput();
    EXPECT_TRUE(owner.commands.empty());
    EXPECT_EQ(other.commands, std::vector<WPARAM>{kButtonId});
    other.DestroyWindow();
}

TEST_F(CoolButtonTest, ATransparentButtonShowsItsParentWhereTheStripHasTheKey) {
    // Frames of 20 x 10 whose left half is the key of the top-left pixel.
    WritePicture("keyed.bmp", 80, 10, [](int x, int) -> uint32_t {
        return x % 20 < 10 ? 0xFF00FF : FrameColour(x / 20);
    });
    ASSERT_TRUE(
        button.LoadTransparent(&owner, kButtonId, m_folder.File("keyed.bmp").c_str(), TRUE));
    RECT r;
    button.GetWindowRect(&r);
    EXPECT_EQ(r.right - r.left, 20);
    button.Invalidate();
    button.UpdateWindow();
    // The owner erases itself white; the key lets that through.
    EXPECT_EQ(PixelOf(owner.m_hWnd, 20 + 3, 30 + 3), 0xFFFFFFu);
    EXPECT_EQ(PixelOf(owner.m_hWnd, 20 + 15, 30 + 3), FrameColour(0));
    // A bitmap resource that is not there: FALSE, and no crash on painting.
    CCoolButton missing;
    ASSERT_TRUE(
        missing.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RECT{0, 0, 5, 5}, &owner, 80));
    EXPECT_FALSE(missing.LoadFromResource(&owner, 80, 61234, 0, 0, FALSE));
    EXPECT_FALSE(missing.LoadFromModule(&owner, 80, m_sounds, 61234, 0, 0, FALSE));
    missing.UpdateWindow();
}

} // namespace
