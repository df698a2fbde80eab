// The hover bitmap button: the tiling of a strip frame (corners kept, the
// middle third repeated), states and colours under mouse and focus, and its
// pictures.

#include "../support/DisplayFixture.h"
#include "BitmapKit.h"

#include "knclubpub/HoverButton.h"
#include "platform/display/Display.h"
#include "platform/system/FileOps.h"

#include <gtest/gtest.h>

using namespace clubpub_test;

namespace {

// The source column (or row) a destination column shows, written from the
// rule: first third at the start, last third at the end, middle third
// repeated between.
int ModelSource(int d, int dSize, int sSize) {
    if (dSize <= sSize) {
        return d;
    }
    const int p = sSize < 3 ? sSize : sSize / 3;
    if (d >= dSize - p) {
        return sSize - (dSize - d);
    }
    if (d < p) {
        return d;
    }
    return (sSize < 3 ? 0 : p) + d % p;
}

} // namespace

TEST(HoverButtonTiles, LargerDestinationKeepsCornersAndRepeatsTheMiddle) {
    for (auto [sw, sh, dw, dh] : {std::array<int, 4>{9, 9, 20, 14},
                                  {9, 6, 9, 17},
                                  {2, 5, 7, 12},
                                  {12, 9, 31, 9},
                                  {1, 1, 5, 3}}) {
        HBITMAP source = Numbered(sw + 4, sh + 3);
        GdiCanvas canvas(40, 30);
        canvas.Fill(0x000001);
        CDC* dc = CDC::FromHandle(canvas.dc());
        // The source block starts at (4, 3) inside the bitmap.
        CHoverBitmapButton::TileBitmapPart(dc, source, 5, 2, dw, dh, 4, 3, sw, sh);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inside = x >= 5 && x < 5 + dw && y >= 2 && y < 2 + dh;
                const uint32_t want =
                    inside ? (uint32_t)(((4 + ModelSource(x - 5, dw, sw)) << 16) |
                                        ((3 + ModelSource(y - 2, dh, sh)) << 8) | 0x40)
                           : 0x000001;
                ASSERT_EQ(canvas.At(x, y), want)
                    << sw << "x" << sh << " into " << dw << "x" << dh << " at " << x << "," << y;
            }
        }
        DeleteObject(source);
    }
}

TEST(HoverButtonTiles, SmallerDestinationGetsTheSourceUnscaled) {
    HBITMAP source = Numbered(10, 10);
    GdiCanvas canvas(12, 12);
    canvas.Fill(0x000001);
    CHoverBitmapButton::TileBitmapPart(CDC::FromHandle(canvas.dc()), source, 1, 1, 4, 20, 0, 0, 10,
                                       10);
    EXPECT_EQ(canvas.At(10, 10), (uint32_t)((9 << 16) | (9 << 8) | 0x40)); // beyond dw: whole
    // Nothing for an empty block or no bitmap.
    canvas.Fill(0x000001);
    CHoverBitmapButton::TileBitmapPart(CDC::FromHandle(canvas.dc()), source, 0, 0, 0, 5, 0, 0, 10,
                                       10);
    CHoverBitmapButton::TileBitmapPart(CDC::FromHandle(canvas.dc()), nullptr, 0, 0, 5, 5, 0, 0, 3,
                                       3);
    EXPECT_EQ(canvas.At(0, 0), 0x000001u);
    DeleteObject(source);
}

class HoverButtonTest : public platform_test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 320, 120,
                                      nullptr, nullptr));
    }
    void TearDown() override {
        ReleaseCapture();
        m_parent.DestroyWindow();
        DisplayTest::TearDown();
    }
    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
    static std::string OutputPath(const std::string& name) {
        CreateDirectory(CLUBPUB_TEST_OUTPUT_DIR, nullptr);
        return std::string(CLUBPUB_TEST_OUTPUT_DIR) + "/" + name;
    }

    CWnd m_parent;
};

TEST_F(HoverButtonTest, StatesFollowTheMouseWithCapture) {
    // Four 50-pixel frames: red, green, blue, grey.
    GdiCanvas strip(200, 30);
    const uint32_t faces[4] = {0xC03020, 0x30C040, 0x2040C0, 0x808080};
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 30; ++y)
            strip.Set(x, y, faces[x / 50]);
    HBITMAP strip4 = LooseCopy(strip);
    CHoverBitmapButton button;
    ASSERT_TRUE(button.Create("确定", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 50), &m_parent, 7));
    EXPECT_TRUE(button.GetStyle() & BS_OWNERDRAW);
    ASSERT_TRUE(button.SetBitmap(strip4));
    CRect r;
    button.GetWindowRect(&r);
    EXPECT_EQ(r.Height(), 30);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(button.CurrentFrame(), 0);
    button.m_crHover = RGB(0, 0, 255);
    button.m_crPressed = RGB(0, 255, 0);

    button.SendMessage(WM_MOUSEMOVE, 0, At(5, 5));
    EXPECT_EQ(button.CurrentFrame(), 1);
    EXPECT_TRUE(button.IsCaptured());
    EXPECT_EQ(::GetCapture(), button.GetSafeHwnd());
    EXPECT_EQ(button.CurrentTextColor(), RGB(0, 0, 255));
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    EXPECT_EQ(button.CurrentFrame(), 2);
    EXPECT_EQ(button.CurrentTextColor(), RGB(255, 0, 0)); // the click took the focus
    m_parent.SetFocus();
    EXPECT_EQ(button.CurrentTextColor(), RGB(0, 255, 0));
    // Out while pressed: the capture stays, the frame goes back to normal.
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(300, 5));
    EXPECT_EQ(button.CurrentFrame(), 0);
    EXPECT_TRUE(button.IsCaptured());
    EXPECT_EQ(::GetCapture(), button.GetSafeHwnd());
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(5, 5));
    EXPECT_EQ(button.CurrentFrame(), 2);
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(300, 5));
    button.SendMessage(WM_LBUTTONUP, 0, At(300, 5));
    EXPECT_FALSE(button.IsCaptured());
    EXPECT_EQ(::GetCapture(), nullptr);

    // The focus colour wins over hover and pressed.
    button.SetFocus();
    button.SendMessage(WM_MOUSEMOVE, 0, At(5, 5));
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    EXPECT_EQ(button.CurrentTextColor(), RGB(255, 0, 0));
    button.SendMessage(WM_LBUTTONUP, 0, At(5, 5));
    platform_test::PumpPending();
    EXPECT_EQ(PixelOf(m_parent.GetSafeHwnd(), 12, 12), faces[1]); // hover frame painted

    button.EnableWindow(FALSE);
    EXPECT_EQ(button.CurrentFrame(), 3);
    button.m_crDisabled = RGB(1, 2, 3);
    EXPECT_EQ(button.CurrentTextColor(), RGB(1, 2, 3));
    platform_test::PumpPending();
    EXPECT_EQ(PixelOf(m_parent.GetSafeHwnd(), 12, 12), faces[3]);

    // Without a strip: white, text centred on one line.
    CHoverBitmapButton plain;
    ASSERT_TRUE(plain.Create("取消", WS_CHILD | WS_VISIBLE, CRect(150, 10, 250, 40), &m_parent, 8));
    EXPECT_FALSE(plain.SetBitmap(nullptr));
    platform_test::PumpPending();
    EXPECT_EQ(PixelOf(m_parent.GetSafeHwnd(), 151, 11), 0xFFFFFFu);
    int dark = 0;
    for (int y = 10; y < 40; ++y)
        for (int x = 150; x < 250; ++x)
            dark += PixelOf(m_parent.GetSafeHwnd(), x, y) != 0xFFFFFFu;
    EXPECT_GT(dark, 20); // the text
    // A framed strip on a wide button: corners and edges kept, the middle
    // repeated (for the picture).
    GdiCanvas framed(96, 24);
    for (int x = 0; x < 96; ++x)
        for (int y = 0; y < 24; ++y) {
            const int cx = x % 24;
            const bool edge = cx < 3 || cx > 20 || y < 3 || y > 20;
            framed.Set(x, y, edge ? 0x203060 : faces[x / 24]);
        }
    HBITMAP framedStrip = LooseCopy(framed);
    CHoverBitmapButton wide;
    ASSERT_TRUE(wide.Create("充值", WS_CHILD | WS_VISIBLE, CRect(10, 60, 250, 84), &m_parent, 9));
    ASSERT_TRUE(wide.SetBitmap(framedStrip));
    platform_test::PumpPending();
    EXPECT_EQ(PixelOf(m_parent.GetSafeHwnd(), 10 + 239, 60 + 23), 0x203060u); // far corner
    EXPECT_EQ(PixelOf(m_parent.GetSafeHwnd(), 10 + 100, 60 + 1), 0x203060u);  // top edge
    EXPECT_EQ(PixelOf(m_parent.GetSafeHwnd(), 10 + 4, 60 + 4), faces[0]);
    std::string error;
    EXPECT_TRUE(
        platform::SaveWindowPng(m_parent.GetSafeHwnd(), OutputPath("hover_buttons.png"), &error))
        << error;
    button.DestroyWindow();
    wide.DestroyWindow();
    DeleteObject(strip4);
    DeleteObject(framedStrip);
}
