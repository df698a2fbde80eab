// The caption buttons: adding from the skin, placing, hit-testing, the
// mouse's states and commands, and drawing through the saved clipping.

#include "SkinFixture.h"

#include "knclientUI05/SysBmpBtn.h"
#include "platform/gdi/Gdi.h"
#include "platform/system/DebugOutput.h"
#include "platform/window/Wnd.h"
#include "tests/support/GdiCanvas.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using ui_test::SkinTest;

std::vector<std::string>& DebugLines() {
    return ui_test::DebugOutputWatch::Lines();
}

// Frame k of a strip is painted in the colour k * 0x40 in its red byte.
uint32_t FrameColour(int frame) {
    return uint32_t(0x20 + frame * 0x40) << 16;
}

class SysBmpBtnTest : public SkinTest {
protected:
    void SetUp() override {
        SkinTest::SetUp();
        for (int w : {72, 80, 90})
            WritePicture("strip" + std::to_string(w) + ".bmp", w, 18,
                         [w](int x, int) { return FrameColour(x / (w / 4)); });
        WriteSkin("[KNDLG]\nclose=strip72.bmp\n[KNDLG_T]\nwide=strip80.bmp\nodd=strip90.bmp\n"
                  "missing=none.bmp\n");
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100,
                                   nullptr, nullptr));
        buttons.SetOwner(&owner);
        debugOutput = std::make_unique<ui_test::DebugOutputWatch>();
    }
    void TearDown() override {
        debugOutput.reset();
        owner.DestroyWindow();
        SkinTest::TearDown();
    }
    // The commands the owner has been posted.
    std::vector<WPARAM> PostedCommands() {
        std::vector<WPARAM> ids;
        MSG msg;
        while (PeekMessage(&msg, owner.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            ids.push_back(msg.wParam);
        return ids;
    }

    CWnd owner;
    CSysBmpBtn buttons;
    std::unique_ptr<ui_test::DebugOutputWatch> debugOutput;
};

TEST_F(SysBmpBtnTest, ButtonsComeFromTheSkinWithTheSharedSectionBehind) {
    EXPECT_TRUE(buttons.AddButton(1, "KNDLG_T", "wide", 20));
    EXPECT_TRUE(buttons.AddButton(2, "KNDLG_T", "close", 21)); // from "KNDLG"
    EXPECT_TRUE(buttons.AddButton(3, "KNDLG_T", "odd", 22));
    EXPECT_EQ(buttons.GetCount(), 3);
    // Frames are a quarter of the strip, truncated: 90 gives 22.
    const RECT& odd = buttons.GetButton(2).rc;
    EXPECT_EQ(odd.right - odd.left, 22);
    EXPECT_EQ(buttons.GetButton(1).rc.right, 18);
    EXPECT_EQ(buttons.GetButton(0).nHitCode, 20);
}

TEST_F(SysBmpBtnTest, AMissingPictureAddsNothingAndIsReportedOnlyForCaptionCodes) {
    EXPECT_FALSE(buttons.AddButton(1, "KNDLG_T", "missing", 20));
    EXPECT_FALSE(buttons.AddButton(2, "KNDLG_T", "unnamed", 20));
    EXPECT_FALSE(buttons.AddButton(3, "KNDLG_T", "missing", 100));
    EXPECT_FALSE(buttons.AddButton(4, "KNDLG_T", "missing", -2));
    EXPECT_EQ(buttons.GetCount(), 0);
    ASSERT_EQ(DebugLines().size(), 2u);
    EXPECT_EQ(
        DebugLines()[0].find("LoadBitmapRes Failed! Section = KNDLG_T,Entry = missing,file = "),
        0u);
    EXPECT_EQ(DebugLines()[1], "LoadBitmapRes Failed! Section = KNDLG_T,Entry = unnamed");
}

TEST_F(SysBmpBtnTest, TheSixteenthButtonIsRefused) {
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(buttons.AddButton(UINT(i), "KNDLG_T", "close", 20));
    EXPECT_FALSE(buttons.AddButton(15, "KNDLG_T", "close", 20));
    EXPECT_EQ(buttons.GetCount(), 15);
}

TEST_F(SysBmpBtnTest, PlacedSideBySideOnePixelApartAndHitOnlyWhenShown) {
    WriteSkin("[KNDLG]\na=strip72.bmp\nb=strip80.bmp\n");
    ASSERT_TRUE(buttons.AddButton(1, "KNDLG_T", "a", HTMAXBUTTON));
    ASSERT_TRUE(buttons.AddButton(2, "KNDLG_T", "b", HTCLOSE));
    buttons.SetPos(100, 3);
    EXPECT_EQ(buttons.GetButton(0).rc.left, 100);
    EXPECT_EQ(buttons.GetButton(0).rc.right, 118);
    EXPECT_EQ(buttons.GetButton(1).rc.left, 119);
    EXPECT_EQ(buttons.GetButton(1).rc.right, 139);
    RECT all;
    buttons.GetRect(&all);
    EXPECT_EQ(all.left, 100);
    EXPECT_EQ(all.right, 139);
    EXPECT_EQ(buttons.HitTest(105, 5), HTMAXBUTTON);
    EXPECT_EQ(buttons.HitTest(118, 5), -2); // the gap
    buttons.ShowButton(SW_HIDE, 0);
    EXPECT_EQ(buttons.HitTest(105, 5), -2);
    EXPECT_FALSE(buttons.OnLButtonDown(HTCAPTION, POINT{105, 5}));
    // Indexes out of range change nothing.
    EXPECT_FALSE(buttons.SetState(1, -1));
    EXPECT_FALSE(buttons.SetState(1, 2));
    EXPECT_EQ(buttons.GetState(-1), -1);
}

TEST_F(SysBmpBtnTest, PressingOneAndReleasingOnTheNeighbourPostsTheNeighboursCommand) {
    ASSERT_TRUE(buttons.AddButton(29754, "KNDLG_T", "close", HTMAXBUTTON));
    ASSERT_TRUE(buttons.AddButton(29735, "KNDLG_T", "close", HTCLOSE));
    buttons.SetPos(0, 0);
    EXPECT_TRUE(buttons.OnMouseMove(HTMAXBUTTON, POINT{5, 5}));
    EXPECT_EQ(buttons.GetState(0), 1);
    EXPECT_TRUE(buttons.OnLButtonDown(HTMAXBUTTON, POINT{5, 5}));
    EXPECT_EQ(buttons.GetState(0), 2);
    EXPECT_TRUE(buttons.OnMouseMove(HTCLOSE, POINT{25, 5}));
    EXPECT_EQ(buttons.GetState(0), 0);
    EXPECT_EQ(buttons.GetState(1), 2); // still pressed
    EXPECT_TRUE(PostedCommands().empty());
    EXPECT_TRUE(buttons.OnLButtonUp(HTCLOSE, POINT{25, 5}));
    EXPECT_EQ(buttons.GetState(1), 0);
    EXPECT_EQ(PostedCommands(), std::vector<WPARAM>{29735});
    // Away from every button: nothing is taken.
    EXPECT_FALSE(buttons.OnMouseMove(HTCAPTION, POINT{200, 5}));
    EXPECT_FALSE(buttons.OnLButtonUp(HTCAPTION, POINT{200, 5}));
    EXPECT_TRUE(PostedCommands().empty());
}

TEST_F(SysBmpBtnTest, TheAlternateStripNeedsAPicture) {
    ASSERT_TRUE(buttons.AddButton(1, "KNDLG_T", "close", 20));
    EXPECT_FALSE(buttons.UseAlt(TRUE, 0));
    EXPECT_FALSE(buttons.GetButton(0).bUseAlt);
    EXPECT_TRUE(buttons.LoadAltBitmap(m_folder.File("strip80.bmp").c_str(), 0));
    EXPECT_TRUE(buttons.UseAlt(TRUE, 0));
    EXPECT_FALSE(buttons.UseAlt(TRUE, 1));
}

TEST_F(SysBmpBtnTest, DrawingShowsTheStateFrameAndPutsTheClippingBack) {
    ASSERT_TRUE(buttons.AddButton(1, "KNDLG_T", "close", 20));
    buttons.SetPos(10, 10);
    GdiCanvas canvas(40, 40);
    CDC* dc = CDC::FromHandle(canvas.dc());
    for (int state : {0, 1, 2, 5}) {
        buttons.SetState(state, 0);
        dc->FillSolidRect(0, 0, 40, 40, RGB(0, 0, 255));
        buttons.ExcludeFromClip(dc);
        // The background painted now leaves the button alone.
        dc->FillSolidRect(0, 0, 40, 40, RGB(0, 255, 0));
        EXPECT_EQ(canvas.At(12, 12), 0x0000FFu);
        buttons.Draw(dc);
        const int frame = state <= 2 ? state : 3;
        EXPECT_EQ(canvas.At(12, 12), FrameColour(frame)) << "state " << state;
        // The clipping is whole again.
        dc->FillSolidRect(0, 0, 40, 40, RGB(0, 255, 0));
        EXPECT_EQ(canvas.At(12, 12), 0x00FF00u);
    }
}

} // namespace
