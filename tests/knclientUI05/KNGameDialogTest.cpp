// The skinned dialog base: its painting at two sizes, its shape, hit test,
// caption buttons, the hide/show command, maximising and what a broken skin
// does to it.

#include "SkinFixture.h"

#include "knclientUI05/KNGameDialog.h"
#include "knclientUI05/SkinRegionCache.h"
#include "platform/gdi/Gdi.h"
#include "platform/images/BmpFile.h"
#include "platform/window/NonClient.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowVisibility.h"
#include "tests/support/GdiCanvas.h"

#include <algorithm>
#include <string>

namespace {

using ui_test::SkinTest;

constexpr UINT kTemplate = 29733;

class SkinnedDialog : public CKNGameDialog {
public:
    explicit SkinnedDialog(LPCSTR skin) : CKNGameDialog(kTemplate) {
        if (skin != nullptr)
            SetSkinName(skin);
    }
    using CKNGameDialog::m_bmpBackNA;
    using CKNGameDialog::m_nBorderWidth;
    using CKNGameDialog::m_sysBtns;
};

class KNGameDialogTest : public SkinTest {
protected:
    // Shown at (x, y) with the given size, painted.
    static void Open(SkinnedDialog& dialog, int x, int y, int w, int h) {
        ASSERT_TRUE(dialog.Create(kTemplate));
        dialog.MoveWindow(x, y, w, h);
        dialog.ShowWindow(SW_SHOW);
        SetActiveWindow(dialog.m_hWnd);
        dialog.UpdateWindow();
    }
    static LRESULT HitAt(CWnd& dialog, int x, int y) {
        RECT r;
        dialog.GetWindowRect(&r);
        return dialog.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
    }
    static bool InShape(CWnd& dialog, int x, int y) {
        HRGN region = platform::GetWindowRegion(dialog.m_hWnd);
        return region != nullptr && PtInRegion(region, x, y);
    }
    static platform::PixelImage Picture(const std::string& path) {
        platform::PixelImage image;
        EXPECT_TRUE(platform::LoadBmpFile(path, image)) << path;
        return image;
    }
};

TEST_F(KNGameDialogTest, CornersKeepTheirSizeAndEdgesTileAtEverySize) {
    const platform::PixelImage back =
        Picture(std::string(PELLOR_ASSET_DIR) + "/Theme/KNDlgBack.bmp");
    const int cell = back.width / 3;
    for (SIZE size : {SIZE{200, 120}, SIZE{341, 217}}) {
        SkinnedDialog dialog("MsgBox");
        Open(dialog, 30, 40, size.cx, size.cy);
        const int W = size.cx, H = size.cy;
        const auto pixel = [&](int x, int y) { return PixelOf(dialog.m_hWnd, x, y); };
        const auto backAt = [&](int x, int y) { return back.At(x, y) & 0xFFFFFF; };
        // Corners as drawn in the picture (inside the shape).
        EXPECT_EQ(pixel(cell - 3, cell - 3), backAt(cell - 3, cell - 3));
        EXPECT_EQ(pixel(W - 3, H - 10), backAt(3 * cell - 3, 3 * cell - 10));
        EXPECT_EQ(pixel(4, H - 4), backAt(4, 3 * cell - 4));
        // Edges tiled from their cells: the bottom edge and the left border.
        for (int x : {cell + 1, cell + 30, W / 2})
            EXPECT_EQ(pixel(x, H - 2), backAt(cell + (x - cell) % cell, 3 * cell - 2)) << x;
        for (int y : {cell + 2, H / 2})
            EXPECT_EQ(pixel(2, y), backAt(2, cell + (y - cell) % cell)) << y;
        // The page inside the bottom-right corner.
        EXPECT_EQ(pixel(W - 10, H - 10), backAt(3 * cell - 10, 3 * cell - 10));
        SaveWindow(dialog.m_hWnd, "skinned_dialog_" + std::to_string(W) + "x" + std::to_string(H));
        dialog.DestroyWindow();
    }
}

TEST_F(KNGameDialogTest, TheInactiveBackgroundShowsWhileAnotherWindowIsActive) {
    const platform::PixelImage backNA =
        Picture(std::string(PELLOR_ASSET_DIR) + "/Theme/KNDlgBackNA.bmp");
    SkinnedDialog dialog("Wait");
    Open(dialog, 30, 40, 220, 100);
    ASSERT_NE(dialog.m_bmpBackNA.GetSafeHandle(), nullptr);
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, "other", WS_POPUP | WS_VISIBLE, 600, 400, 50, 50,
                               nullptr, nullptr));
    SetActiveWindow(other.m_hWnd);
    dialog.Invalidate();
    dialog.UpdateWindow();
    EXPECT_EQ(PixelOf(dialog.m_hWnd, 2, 60), backNA.At(2, 30) & 0xFFFFFF);
    SaveWindow(dialog.m_hWnd, "skinned_dialog_inactive");
    other.DestroyWindow();
    dialog.DestroyWindow();
}

// A 60 x 60 background of 20-pixel cells whose corners are magenta squares
// of 12 pixels: the shape follows them only where the two bands leave
// room (8 pixels on the left and top, 16 on the right and bottom).
TEST_F(KNGameDialogTest, TheShapeIsTheMovedCornerCellsAndTwoBands) {
    WritePicture("magenta.bmp", 60, 60, [](int x, int y) -> uint32_t {
        const bool edgeX = x < 12 || x >= 48, edgeY = y < 12 || y >= 48;
        return edgeX && edgeY ? 0xFF00FF : 0x336699;
    });
    WritePicture("close.bmp", 72, 18, [](int, int) { return 0x202020u; });
    WriteSkin("[KNDLG]\nbackgrdbmp=magenta.bmp\ntitleclose=close.bmp\n");
    SkinnedDialog dialog("Shape");
    Open(dialog, 10, 10, 150, 100);
    const int W = 150, H = 100;
    EXPECT_FALSE(InShape(dialog, 3, 3));
    EXPECT_TRUE(InShape(dialog, 9, 3)); // the upright band
    EXPECT_TRUE(InShape(dialog, 3, 9)); // the flat band
    EXPECT_FALSE(InShape(dialog, W - 5, 3));
    EXPECT_FALSE(InShape(dialog, W - 5, H - 5));
    EXPECT_FALSE(InShape(dialog, 3, H - 5));
    // The right corner cell starts at W - 19: its first 8 columns are shown.
    EXPECT_TRUE(InShape(dialog, W - 14, 3));
    EXPECT_TRUE(InShape(dialog, W / 2, H / 2));
    SaveWindow(dialog.m_hWnd, "skinned_dialog_shape");
    dialog.DestroyWindow();
}

TEST_F(KNGameDialogTest, BackgroundsDifferingOnlyInCaseShareOneCachedRegion) {
    WritePicture("Round.bmp", 60, 60, [](int x, int y) { return x + y < 6 ? 0xFF00FFu : 0x80u; });
    WritePicture("close.bmp", 72, 18, [](int, int) { return 0x202020u; });
    WriteSkin("[KNDLG]\ntitleclose=close.bmp\n[KNDLG_A]\nbackgrdbmp=Round.bmp\n"
              "[KNDLG_B]\nbackgrdbmp=ROUND.BMP\n");
    // The file layer finds the upper-case name too: only the cache is tested.
    const int before = SkinRegionCount();
    SkinnedDialog a("A");
    Open(a, 0, 0, 100, 80);
    EXPECT_EQ(SkinRegionCount(), before + 1);
    SkinnedDialog b("B");
    if (b.Create(kTemplate))
        b.DestroyWindow();
    EXPECT_EQ(SkinRegionCount(), before + 1);
    a.DestroyWindow();
}

TEST_F(KNGameDialogTest, AHitTestFindsBordersCaptionIconAndButtons) {
    WritePicture("back.bmp", 60, 60, [](int, int) { return 0x405060u; });
    WritePicture("close.bmp", 72, 18, [](int, int) { return 0x202020u; });
    WritePicture("max.bmp", 72, 18, [](int, int) { return 0x303030u; });
    WriteSkin("[KNDLG]\nbackgrdbmp=back.bmp\ntitleclose=close.bmp\ntitlemax=max.bmp\n"
              "usetitlemax=1\nBorderWidth=8\nCaptionHeight=24\nResize=1\n[KNDLG_H]\nResize=1\n");
    SkinnedDialog dialog("H");
    Open(dialog, 100, 100, 300, 200);
    EXPECT_EQ(HitAt(dialog, 2, 10), HTTOPLEFT);
    EXPECT_EQ(HitAt(dialog, 150, 3), HTTOP);
    EXPECT_EQ(HitAt(dialog, 150, 5), HTCAPTION); // the top border stays 4 high
    EXPECT_EQ(HitAt(dialog, 10, 10), HTSYSMENU);
    EXPECT_EQ(HitAt(dialog, 2, 100), HTLEFT);
    EXPECT_EQ(HitAt(dialog, 297, 100), HTRIGHT);
    EXPECT_EQ(HitAt(dialog, 150, 196), HTBOTTOM);
    EXPECT_EQ(HitAt(dialog, 298, 198), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(dialog, 150, 100), HTCLIENT);
    // Buttons right-aligned 6 pixels from the edge, 3 from the top.
    EXPECT_EQ(HitAt(dialog, 300 - 6 - 5, 8), HTCLOSE);
    EXPECT_EQ(HitAt(dialog, 300 - 6 - 18 - 1 - 5, 8), HTMAXBUTTON);
    dialog.ShowWindow(SW_MAXIMIZE);
    EXPECT_EQ(HitAt(dialog, 2, 10), HTCAPTION);
    dialog.DestroyWindow();
}

TEST_F(KNGameDialogTest, ResizeInTheSharedSectionDoesNotCount) {
    WriteSkin(std::string("[KNDLG]\nResize=1\nbackgrdbmp=") + PELLOR_ASSET_DIR +
              "/Theme/KNDlgBack.bmp\n");
    UseDefaultSkin();
    SkinnedDialog dialog("MsgBox");
    Open(dialog, 100, 100, 300, 200);
    EXPECT_EQ(HitAt(dialog, 2, 100), HTCLIENT);
    dialog.DestroyWindow();
}

TEST_F(KNGameDialogTest, CaptionButtonsFollowTheMouseAndTheCloseButtonCloses) {
    SkinnedDialog dialog("Wait");
    Open(dialog, 100, 100, 240, 120);
    const CSysBmpBtn::Button& close = dialog.m_sysBtns.GetButton(0);
    ASSERT_EQ(close.nID, UINT(IDC_KN_SYS_CLOSE));
    RECT r;
    dialog.GetWindowRect(&r);
    const POINT over{r.left + (close.rc.left + close.rc.right) / 2,
                     r.top + (close.rc.top + close.rc.bottom) / 2};
    const POINT pixel{(close.rc.left + close.rc.right) / 2, close.rc.top + 2};
    uint32_t faces[3];
    // The template's text control lies under the caption until a box lays
    // it out.
    for (int id : {29811, 29852, 29853})
        ::ShowWindow(::GetDlgItem(dialog.m_hWnd, id), SW_HIDE);
    platform::InjectMouse(platform::MouseAction::Move, over);
    PumpInput();
    dialog.UpdateWindow();
    EXPECT_EQ(close.nState, 1);
    faces[1] = PixelOf(dialog.m_hWnd, pixel.x, pixel.y);
    SaveWindow(dialog.m_hWnd, "skinned_dialog_close_over");
    platform::InjectMouse(platform::MouseAction::LeftDown, over);
    PumpInput();
    dialog.UpdateWindow();
    EXPECT_EQ(close.nState, 2);
    faces[2] = PixelOf(dialog.m_hWnd, pixel.x, pixel.y);
    SaveWindow(dialog.m_hWnd, "skinned_dialog_close_pressed");
    platform::InjectMouse(platform::MouseAction::Move, POINT{r.left + 60, r.top + 60});
    platform::InjectMouse(platform::MouseAction::LeftUp, POINT{r.left + 60, r.top + 60});
    PumpInput();
    dialog.m_sysBtns.OnMouseMove(HTCAPTION, POINT{60, 5}); // the pointer left the caption
    dialog.Invalidate();
    dialog.UpdateWindow();
    faces[0] = PixelOf(dialog.m_hWnd, pixel.x, pixel.y);
    EXPECT_NE(faces[0], faces[1]);
    EXPECT_NE(faces[1], faces[2]);
    EXPECT_NE(faces[0], faces[2]);
    EXPECT_TRUE(dialog.IsWindowVisible());
    ClickAt(over);
    PumpInput();
    PumpInput();
    // The close command became WM_CLOSE: a dialog's cancel hides it.
    EXPECT_FALSE(dialog.IsWindowVisible());
    dialog.DestroyWindow();
}

TEST_F(KNGameDialogTest, TheHideAndShowCommandRemembersTheVisibility) {
    for (const char* skin : {"Wait", static_cast<const char*>(nullptr)}) {
        SkinnedDialog dialog(skin);
        ASSERT_TRUE(dialog.Create(kTemplate));
        const auto send = [&](ULONG_PTR data) {
            COPYDATASTRUCT copy{data, 0, nullptr};
            return dialog.SendMessage(WM_COPYDATA, 0, LPARAM(&copy));
        };
        // Before any hide, a show shows.
        EXPECT_TRUE(send(KN_COPYDATA_SHOW));
        EXPECT_TRUE(dialog.IsWindowVisible());
        EXPECT_TRUE(send(KN_COPYDATA_HIDE));
        EXPECT_FALSE(dialog.IsWindowVisible());
        EXPECT_TRUE(send(0xEBEBEB05));
        EXPECT_FALSE(dialog.IsWindowVisible());
        EXPECT_FALSE(send(1));
        EXPECT_TRUE(send(KN_COPYDATA_SHOW));
        EXPECT_TRUE(dialog.IsWindowVisible());
        // Hidden while invisible: the show leaves it hidden.
        dialog.ShowWindow(SW_HIDE);
        send(KN_COPYDATA_HIDE);
        send(KN_COPYDATA_SHOW);
        EXPECT_FALSE(dialog.IsWindowVisible());
        dialog.DestroyWindow();
    }
}

TEST_F(KNGameDialogTest, ASkinnedDialogIsMarkedAndItsInnerRectLeavesTheFrame) {
    SkinnedDialog dialog("MsgBox");
    Open(dialog, 0, 0, 200, 100);
    EXPECT_EQ(GetWindowLong(dialog.m_hWnd, GWL_USERDATA), KN_DIALOG_MARK);
    RECT inner;
    dialog.GetInnerRect(&inner);
    EXPECT_EQ(inner.left, 6);
    EXPECT_EQ(inner.top, 24);
    EXPECT_EQ(inner.right, 194);
    EXPECT_EQ(inner.bottom, 94);
    dialog.ShowTitle(FALSE);
    dialog.GetInnerRect(&inner);
    EXPECT_EQ(inner.top, 6);
    // The client area is the whole window.
    RECT client;
    dialog.GetClientRect(&client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
    dialog.DestroyWindow();
}

TEST_F(KNGameDialogTest, APlainDialogSwallowsOnlyTheCaptionDoubleClick) {
    SkinnedDialog dialog(nullptr);
    ASSERT_TRUE(dialog.Create(29810)); // the plain box's captioned template
    dialog.ShowWindow(SW_SHOW);
    EXPECT_NE(GetWindowLong(dialog.m_hWnd, GWL_USERDATA), KN_DIALOG_MARK);
    RECT r;
    dialog.GetWindowRect(&r);
    EXPECT_EQ(HitAt(dialog, (r.right - r.left) / 2, 5), HTCAPTION);
    dialog.SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(r.left + 20, r.top + 5));
    EXPECT_FALSE(dialog.IsZoomed());
    dialog.DestroyWindow();
}

TEST_F(KNGameDialogTest, MaximisingStaysInsideTheScreenAndShowsTheRestorePicture) {
    WritePicture("back.bmp", 60, 60, [](int, int) { return 0x405060u; });
    WritePicture("close.bmp", 72, 18, [](int, int) { return 0x202020u; });
    WritePicture("max.bmp", 72, 18, [](int, int) { return 0x303030u; });
    WritePicture("restore.bmp", 72, 18, [](int, int) { return 0x707070u; });
    WriteSkin("[KNDLG]\nbackgrdbmp=back.bmp\ntitleclose=close.bmp\ntitlemax=max.bmp\n"
              "titlerestore=12, restore.bmp\nusetitlemax=1\n");
    SkinnedDialog dialog("M");
    Open(dialog, 50, 50, 200, 100);
    ASSERT_EQ(dialog.m_sysBtns.GetCount(), 2);
    dialog.SendMessage(WM_COMMAND, IDC_KN_SYS_MAX, 0);
    EXPECT_TRUE(dialog.IsZoomed());
    RECT r;
    dialog.GetWindowRect(&r);
    EXPECT_LE(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN) - 1);
    EXPECT_TRUE(dialog.m_sysBtns.GetButton(0).bUseAlt);
    RECT work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r.left, work.left);
    EXPECT_EQ(r.right - r.left, work.right - work.left);
    // The caption's double-click restores it.
    dialog.SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(r.left + 20, r.top + 5));
    EXPECT_FALSE(dialog.IsZoomed());
    EXPECT_FALSE(dialog.m_sysBtns.GetButton(0).bUseAlt);
    dialog.DestroyWindow();
}

TEST_F(KNGameDialogTest, ABrokenSkinFailsTheCreationWithoutACrash) {
    WritePicture("close.bmp", 72, 18, [](int, int) { return 0x202020u; });
    WritePicture("back.bmp", 60, 60, [](int, int) { return 0x405060u; });
    m_folder.Write("broken.bmp", "BM not a picture");
    // No background picture that loads.
    WriteSkin("[KNDLG]\ntitleclose=close.bmp\nbackgrdbmp=broken.bmp\n");
    {
        SkinnedDialog dialog("X");
        EXPECT_EQ(dialog.DoModal(), -1);
    }
    // No close button.
    WriteSkin("[KNDLG]\nbackgrdbmp=back.bmp\n");
    {
        SkinnedDialog dialog("X");
        EXPECT_EQ(dialog.DoModal(), -1);
    }
    // An empty picture of no size paints nothing and ends.
    WritePicture("tiny.bmp", 2, 2, [](int, int) { return 0x405060u; });
    WriteSkin("[KNDLG]\nbackgrdbmp=tiny.bmp\ntitleclose=close.bmp\n");
    SkinnedDialog dialog("X");
    Open(dialog, 0, 0, 100, 60);
    EXPECT_TRUE(dialog.IsWindowVisible());
    dialog.DestroyWindow();
}

TEST_F(KNGameDialogTest, AGroupFrameIsEtchedRoundItsControlWithTheTextInItsTopLine) {
    SkinnedDialog dialog("MsgBox");
    Open(dialog, 0, 0, 300, 200);
    CWnd* control = dialog.GetDlgItem(29811);
    ASSERT_NE(control, nullptr);
    control->SetWindowText("");
    control->MoveWindow(40, 60, 120, 80);
    control->ShowWindow(SW_HIDE);
    GdiCanvas canvas(300, 200);
    canvas.Fill(0x000000);
    CDC* dc = CDC::FromHandle(canvas.dc());
    dialog.DrawGroupFrame(dc, 29811, RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 255));
    // Without a text the top line runs on from the tenth pixel.
    EXPECT_EQ(canvas.At(40, 65), 0xFF0000u);   // top-left, dark line
    EXPECT_EQ(canvas.At(40, 100), 0xFF0000u);  // left
    EXPECT_EQ(canvas.At(41, 100), 0x0000FFu);  // the light line inside
    EXPECT_EQ(canvas.At(100, 139), 0xFF0000u); // bottom, dark
    EXPECT_EQ(canvas.At(100, 140), 0x0000FFu); // and light below
    EXPECT_EQ(canvas.At(159, 100), 0xFF0000u); // right, dark
    EXPECT_EQ(canvas.At(160, 100), 0x0000FFu); // and light outside
    EXPECT_EQ(canvas.At(100, 66), 0x0000FFu);  // top, light under dark
    // With a text the top line leaves a gap for it.
    control->SetWindowText("分组");
    canvas.Fill(0x000000);
    dialog.DrawGroupFrame(dc, 29811, RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(45, 65), 0xFF0000u);
    EXPECT_NE(canvas.At(52, 65), 0xFF0000u);
    uint32_t brightest = 0;
    for (int y = 55; y < 75; ++y)
        for (int x = 50; x < 80; ++x)
            brightest = std::max(brightest, canvas.At(x, y));
    EXPECT_EQ(brightest, 0xFFFFFFu);
    dialog.DestroyWindow();
}

// Missing controls and DCs are ignored.
TEST_F(KNGameDialogTest, AGroupFrameOfNoControlDrawsNothing) {
    SkinnedDialog dialog("MsgBox");
    Open(dialog, 0, 0, 100, 80);
    GdiCanvas canvas(100, 80);
    canvas.Fill(0x123456);
    dialog.DrawGroupFrame(CDC::FromHandle(canvas.dc()), 4242, 0, RGB(255, 0, 0), 0);
    dialog.DrawGroupFrame(nullptr, 29811, 0, RGB(255, 0, 0), 0);
    for (uint32_t pixel : canvas.Pixels())
        ASSERT_EQ(pixel, 0x123456u);
    dialog.DestroyWindow();
}

// The texts of a window's children, one after another.
std::string ChildTexts(HWND window) {
    std::string texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM all) -> BOOL {
            char text[256] = "";
            GetWindowText(child, text, sizeof text);
            *reinterpret_cast<std::string*>(all) += std::string(text) + "|";
            return TRUE;
        },
        LPARAM(&texts));
    return texts;
}

TEST_F(KNGameDialogTest, AMissingThemeLibraryPictureIsToldAndLeavesAHalfBuiltDialog) {
    WriteSkin("[KNDLG]\nbackgrdbmp=64001,0\nbackgrdbmpNA=64002,0\ntitleclose=64003,0\n");
    // The resource library stands in for the theme library: it holds none
    // of these pictures.
    theSkin.nThemeResMode = 2;
    theSkin.hThemeRes = m_library;
    std::string told;
    platform_test::Script::Run({[&] {
        told = ChildTexts(GetActiveWindow());
        Key(VK_RETURN);
    }});
    SkinnedDialog dialog("Theme");
    ASSERT_TRUE(dialog.Create(kTemplate));
    EXPECT_NE(told.find("LoadBitmapRes Failed! DialogName = KNDLG_Theme,Entry = backgrdbmp|"),
              std::string::npos)
        << told;
    EXPECT_EQ(dialog.m_sysBtns.GetCount(), 0);
    EXPECT_NE(GetWindowLong(dialog.m_hWnd, GWL_USERDATA), KN_DIALOG_MARK);
    // It still paints, from an empty picture, without looping.
    dialog.ShowWindow(SW_SHOW);
    dialog.UpdateWindow();
    dialog.DestroyWindow();
}

} // namespace
