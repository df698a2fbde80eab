// The hover bitmap button: the tiling of a strip frame (corners kept, the
// middle third repeated), states and colours under mouse and focus, and its
// pictures, plus the owner-drawn dialog's frame metrics and hit test.

#include "../support/DisplayFixture.h"
#include "../support/GdiCanvas.h"

#include "knclubpub/HoverButton.h"
#include "platform/display/Display.h"
#include "platform/resources/Resource.h"
#include "platform/system/FileOps.h"
#include "platform/window/Input.h"
#include "platform/window/NonClient.h"
#include "platform/window/WindowVisibility.h"

#include <gtest/gtest.h>

namespace {

// A bitmap selected nowhere, with the canvas's pixels.
HBITMAP LooseCopy(const GdiCanvas& canvas) {
    HBITMAP copy = CreateCompatibleBitmap(canvas.dc(), canvas.width(), canvas.height());
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, canvas.width(), canvas.height(), canvas.dc(), 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    return copy;
}

// A bitmap whose pixel (x, y) is a colour made of x and y.
HBITMAP Numbered(int width, int height) {
    GdiCanvas canvas(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            canvas.Set(x, y, (uint32_t)((x << 16) | (y << 8) | 0x40));
        }
    }
    return LooseCopy(canvas);
}

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

// The owner-drawn dialog's frame as a non-client area, with pieces made here.
TEST_F(HoverButtonTest, OwnerDialogFrameMetricsAndHitTest) {
    DialogTemplate tpl;
    tpl.style = WS_POPUP | WS_VISIBLE;
    CKNOwnerDialog dialog(0, nullptr);
    ASSERT_TRUE(dialog.CreateIndirect(tpl));
    dialog.SetFrameBitmap(CKNOwnerDialog::kTopLeft, Numbered(10, 20));
    dialog.SetFrameBitmap(CKNOwnerDialog::kCaption, Numbered(8, 20));
    dialog.SetFrameBitmap(CKNOwnerDialog::kTopRight, Numbered(10, 20));
    dialog.SetFrameBitmap(CKNOwnerDialog::kLeft, Numbered(5, 8));
    dialog.SetFrameBitmap(CKNOwnerDialog::kRight, Numbered(7, 8));
    dialog.SetFrameBitmap(CKNOwnerDialog::kBottom, Numbered(8, 9));
    dialog.SetWindowPos(nullptr, 50, 40, 200, 150, SWP_NOZORDER | SWP_FRAMECHANGED);
    CRect client;
    dialog.GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(200 - 12, 150 - 29));
    CPoint origin(0, 0);
    dialog.ClientToScreen(&origin);
    EXPECT_EQ(origin, CPoint(55, 60));
    // The frame as painted: a keyed corner pixel is left out, tiles repeat
    // from their rectangle's corner and are cut at its far edge.
    GdiCanvas corner(10, 20);
    corner.Fill(0x102030);
    corner.Set(0, 0, 0xFF00FF);
    dialog.SetFrameBitmap(CKNOwnerDialog::kTopLeft, LooseCopy(corner));
    {
        CWindowDC dc(&dialog);
        dc.FillSolidRect(0, 0, 200, 150, RGB(1, 1, 1));
    }
    dialog.DrawCaption();
    const HWND window = dialog.GetSafeHwnd();
    EXPECT_EQ(PixelOf(window, 0, 0), 0x010101u);
    EXPECT_EQ(PixelOf(window, 1, 0), 0x102030u);
    EXPECT_EQ(PixelOf(window, 10 + 8 * 3 + 2, 7), (2u << 16) | (7u << 8) | 0x40); // caption
    EXPECT_EQ(PixelOf(window, 10 + 8 * 22 + 3, 4), (3u << 16) | (4u << 8) | 0x40);
    EXPECT_EQ(PixelOf(window, 199, 4), (9u << 16) | (4u << 8) | 0x40); // the top-right corner
    EXPECT_EQ(PixelOf(window, 2, 20 + 8 + 3), (2u << 16) | (3u << 8) | 0x40); // left border
    EXPECT_EQ(PixelOf(window, 5 + 8 * 24 + 2, 150 - 9 + 1), (2u << 16) | (1u << 8) | 0x40);
    const auto hit = [&](int x, int y) {
        return dialog.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(50 + x, 40 + y));
    };
    EXPECT_EQ(hit(100, 100), HTCLIENT);
    EXPECT_EQ(hit(2, 100), HTNOWHERE); // a border
    EXPECT_EQ(hit(100, 2), HTNOWHERE); // above the caption's start
    EXPECT_EQ(hit(100, 5), HTCAPTION); // 4 pixels down
    EXPECT_EQ(hit(100, 145), HTNOWHERE);
    // No close strip: its rectangle is empty and never hit.
    EXPECT_TRUE(dialog.GetCloseRect().IsRectEmpty());
    dialog.SetFrameBitmap(CKNOwnerDialog::kClose, Numbered(64, 16));
    const CPoint close = dialog.GetCloseRect().CenterPoint();
    EXPECT_EQ(dialog.GetCloseRect().Width(), 16);
    EXPECT_EQ(dialog.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y)), HTSYSMENU);
    EXPECT_TRUE(dialog.IsCloseHover());
    // A press whose release was lost outside is cleared by the next hit test.
    dialog.SendMessage(WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(close.x, close.y));
    EXPECT_TRUE(dialog.IsClosePressed());
    dialog.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y));
    EXPECT_FALSE(dialog.IsClosePressed()); // the left button is up
    // Round corners set a region and take it away again.
    dialog.SetRoundCorner(12, 12);
    HRGN round = platform::GetWindowRegion(dialog.GetSafeHwnd());
    ASSERT_NE(round, nullptr);
    EXPECT_FALSE(PtInRegion(round, 0, 0));
    EXPECT_TRUE(PtInRegion(round, 100, 75));
    dialog.SetRoundCorner(0, 5);
    EXPECT_EQ(platform::GetWindowRegion(dialog.GetSafeHwnd()), nullptr);
    // Without a module nothing loads and every piece is 0 x 0.
    EXPECT_TRUE(dialog.LoadFrameBitmaps(29664, RT_BITMAP, nullptr));
    EXPECT_EQ(dialog.GetFrameSize(CKNOwnerDialog::kCaption), CSize(0, 0));
    dialog.DestroyWindow();
}
