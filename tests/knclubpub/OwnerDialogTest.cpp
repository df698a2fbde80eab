// The owner-drawn dialog: its frame pieces as a true non-client area, the
// frame as painted, the hit test, the close button's lost release, round
// corners and the loader's refusal without a module.

#include "../support/DisplayFixture.h"
#include "BitmapKit.h"

#include "knclubpub/KNOwnerDialog.h"
#include "platform/resources/Resource.h"
#include "platform/window/Input.h"
#include "platform/window/NonClient.h"
#include "platform/window/WindowVisibility.h"

#include <gtest/gtest.h>

using namespace clubpub_test;

namespace {

class OwnerDialogTest : public platform_test::DisplayTest {};

} // namespace

// The owner-drawn dialog's frame as a non-client area, with pieces made here.
TEST_F(OwnerDialogTest, FrameMetricsPaintingAndHitTest) {
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
    // The corners come last, keyed over the borders: the bottom-right one's
    // magenta pixel shows the bottom border's tile beneath it.
    GdiCanvas bottomRight(10, 9);
    bottomRight.Fill(0x405060);
    bottomRight.Set(0, 0, 0xFF00FF);
    dialog.SetFrameBitmap(CKNOwnerDialog::kBottomRight, LooseCopy(bottomRight));
    dialog.DrawCaption();
    EXPECT_EQ(PixelOf(window, 190, 141), (1u << 16) | 0x40); // tile (185 % 8, 0)
    EXPECT_EQ(PixelOf(window, 191, 141), 0x405060u);
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
