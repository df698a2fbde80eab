// The quick-buy pop-up on the program's resource library: its frame, shape
// and layout, titles, navigation through the page control, closing in each
// way the user or the page can, and re-creation at a new size.

#include "BoxFixture.h"

#include "assets/resource.h"
#include "knclientUI05/KnQuickbuyDlg.h"
#include "outside/WebBrowser.h"
#include "platform/display/Display.h"
#include "platform/system/FileOps.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowVisibility.h"

#include <gtest/gtest.h>

namespace {

class QuickbuyTest : public ui_test::BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        ASSERT_TRUE(m_main.CreateEx(0, nullptr, "main", WS_POPUP | WS_VISIBLE, 100, 100, 800, 600,
                                    nullptr, nullptr));
    }
    void TearDown() override {
        m_main.DestroyWindow();
        BoxTest::TearDown();
    }
    static CRect ScreenRectOf(CWnd& wnd) {
        CRect r;
        wnd.GetWindowRect(&r);
        return r;
    }
    static std::string Text(const CString& s) { return s.GetString(); }
    static std::string OutputPath(const std::string& name) {
        CreateDirectory(UI_TEST_OUTPUT_DIR, nullptr);
        return std::string(UI_TEST_OUTPUT_DIR) + "/" + name;
    }

    CWnd m_main;
};

TEST_F(QuickbuyTest, CreatedTitledAndNavigated) {
    CKnQuickbuyDlg popup(&m_main);
    EXPECT_FALSE(popup.Navigate("https://shop.example/")); // no window yet
    ASSERT_TRUE(popup.CreatePopup(420, 300));
    EXPECT_EQ(ScreenRectOf(popup).Size(), CSize(420, 300));
    // Centred over the main window.
    EXPECT_EQ(ScreenRectOf(popup).CenterPoint(), CRect(100, 100, 900, 700).CenterPoint());
    EXPECT_EQ(Text(popup.GetCaption()), "温馨提示");
    popup.SetPageTitle("");
    EXPECT_EQ(Text(popup.GetCaption()), "温馨提示");
    popup.SetPageTitle("充值中心");
    EXPECT_EQ(Text(popup.GetCaption()), "温馨提示 - 充值中心");

    EXPECT_FALSE(popup.IsWindowVisible());
    ASSERT_TRUE(popup.Navigate("https://shop.example/buy?item=3"));
    EXPECT_TRUE(popup.IsWindowVisible());
    EXPECT_EQ(Text(popup.GetUrl()), "https://shop.example/buy?item=3");
    EXPECT_EQ(popup.GetBrowser().GetNavigations().back(), "https://shop.example/buy?item=3");
    // Only web pages: the address stays the last good one.
    for (const char* refused :
         {"javascript:alert(1)", "file:///etc/passwd", "calc.exe", "http://", "https://a b", ""}) {
        EXPECT_FALSE(popup.Navigate(refused)) << refused;
    }
    EXPECT_EQ(Text(popup.GetUrl()), "https://shop.example/buy?item=3");
    EXPECT_EQ(popup.GetBrowser().GetNavigations().size(), 1u);

    // The page control fills the inside of the frame exactly.
    const CSize left = popup.GetFrameSize(CKNOwnerDialog::kLeft);
    const CSize caption = popup.GetFrameSize(CKNOwnerDialog::kCaption);
    const CSize right = popup.GetFrameSize(CKNOwnerDialog::kRight);
    const CSize bottom = popup.GetFrameSize(CKNOwnerDialog::kBottom);
    ASSERT_GT(left.cx, 0);
    ASSERT_GT(caption.cy, 0);
    const CRect inner(left.cx, caption.cy, 420 - right.cx, 300 - bottom.cy);
    EXPECT_EQ(popup.GetBrowserRect(), inner);
    CRect page = ScreenRectOf(popup.GetBrowser());
    const CRect whole = ScreenRectOf(popup);
    page.OffsetRect(-whole.left, -whole.top);
    EXPECT_EQ(page, inner);
    platform_test::PumpPending();
    std::string error;
    EXPECT_TRUE(platform::SaveWindowPng(popup.GetSafeHwnd(), OutputPath("quickbuy.png"), &error))
        << error;
}

TEST_F(QuickbuyTest, EveryWayOfClosingBlanksThePageAndHides) {
    CKnQuickbuyDlg popup(&m_main);
    const auto reopen = [&] {
        ASSERT_TRUE(popup.CreatePopup(360, 260));
        ASSERT_TRUE(popup.Navigate("http://shop.example/"));
        ASSERT_TRUE(popup.IsWindowVisible());
    };
    const auto expectClosed = [&](const char* how) {
        EXPECT_FALSE(popup.IsWindowVisible()) << how;
        EXPECT_TRUE(IsWindow(popup.GetSafeHwnd())) << how; // hidden, not destroyed
        EXPECT_EQ(Text(popup.GetUrl()), "about:blank") << how;
        EXPECT_EQ(popup.GetBrowser().GetNavigations().back(), "about:blank") << how;
    };
    reopen();
    popup.SendMessage(WM_COMMAND, IDCANCEL, 0); // Escape
    expectClosed("escape");
    reopen();
    popup.GetBrowser().FireWindowClosing(); // the page's window.close
    expectClosed("page");
    reopen();
    // Press and release on the painted close button.
    const CPoint button = popup.GetCloseRect().CenterPoint();
    ASSERT_EQ(popup.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(button.x, button.y)), HTSYSMENU);
    popup.SendMessage(WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(button.x, button.y));
    EXPECT_TRUE(popup.IsClosePressed());
    popup.SendMessage(WM_NCLBUTTONUP, HTSYSMENU, MAKELPARAM(button.x, button.y));
    expectClosed("close button");
}

TEST_F(QuickbuyTest, ASecondPopupIsANewWindowAtItsSize) {
    CKnQuickbuyDlg popup(&m_main);
    ASSERT_TRUE(popup.CreatePopup(360, 260));
    ASSERT_TRUE(popup.Navigate("https://first.example/"));
    const HWND first = popup.GetSafeHwnd();
    ASSERT_TRUE(popup.CreatePopup(500, 380));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(ScreenRectOf(popup).Size(), CSize(500, 380));
    ASSERT_TRUE(popup.Navigate("https://second.example/"));
    EXPECT_EQ(Text(popup.GetUrl()), "https://second.example/");
    EXPECT_EQ(popup.GetBrowserRect().right, 500 - popup.GetFrameSize(CKNOwnerDialog::kRight).cx);
    // Sizes from the server are held between the frame and the screen.
    ASSERT_TRUE(popup.CreatePopup(-5, 100000));
    const CSize held = ScreenRectOf(popup).Size();
    EXPECT_GE(held.cx, popup.GetFrameSize(CKNOwnerDialog::kTopLeft).cx +
                           popup.GetFrameSize(CKNOwnerDialog::kTopRight).cx);
    EXPECT_LE(held.cy, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(QuickbuyTest, KeyedCornerPixelsAreLeftOutOfTheShape) {
    CKnQuickbuyDlg popup(&m_main);
    ASSERT_TRUE(popup.CreatePopup(300, 200));
    HRGN shape = platform::GetWindowRegion(popup.GetSafeHwnd());
    ASSERT_NE(shape, nullptr);
    // Our corners key out a 2 x 2 square at each outer corner.
    EXPECT_FALSE(PtInRegion(shape, 0, 0));
    EXPECT_FALSE(PtInRegion(shape, 1, 1));
    EXPECT_TRUE(PtInRegion(shape, 2, 0));
    EXPECT_TRUE(PtInRegion(shape, 0, 2));
    EXPECT_FALSE(PtInRegion(shape, 299, 0));
    EXPECT_TRUE(PtInRegion(shape, 297, 0));
    EXPECT_FALSE(PtInRegion(shape, 299, 199));
    EXPECT_FALSE(PtInRegion(shape, 0, 199));
    EXPECT_TRUE(PtInRegion(shape, 150, 100));
}

// A top-right corner whose opaque part stops short of its inner edge stays
// where the corner is drawn, not pushed out by the gap.
TEST_F(QuickbuyTest, CornerShapesStayWhereTheCornersAreDrawn) {
    CKnQuickbuyDlg popup(&m_main);
    ASSERT_TRUE(popup.CreatePopup(300, 200));
    const CSize piece = popup.GetFrameSize(CKNOwnerDialog::kTopRight);
    ASSERT_GE(piece.cx, 8);
    // Magenta all over but a block two columns in from the outer edge.
    HDC screen = GetDC(nullptr);
    HBITMAP corner = CreateCompatibleBitmap(screen, piece.cx, piece.cy);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, corner);
    HBRUSH key = CreateSolidBrush(RGB(255, 0, 255));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 200));
    const RECT all{0, 0, piece.cx, piece.cy};
    const RECT block{piece.cx - 5, 2, piece.cx - 2, 10};
    FillRect(dc, &all, key);
    FillRect(dc, &block, blue);
    DeleteObject(key);
    DeleteObject(blue);
    SelectObject(dc, old);
    DeleteDC(dc);
    popup.SetFrameBitmap(CKNOwnerDialog::kTopRight, corner);
    popup.UpdateWindowRegion();
    HRGN shape = platform::GetWindowRegion(popup.GetSafeHwnd());
    ASSERT_NE(shape, nullptr);
    const int left = 300 - piece.cx;
    EXPECT_TRUE(PtInRegion(shape, left + block.left, 5));
    EXPECT_TRUE(PtInRegion(shape, left + block.right - 1, 5));
    EXPECT_FALSE(PtInRegion(shape, left + block.right, 5));
    EXPECT_FALSE(PtInRegion(shape, 299, 5));
    EXPECT_FALSE(PtInRegion(shape, left + block.left, 1));
}

// A resource library holding only the first four pieces.
TEST_F(QuickbuyTest, MissingPiecesStopTheLoadAndTheCreation) {
    std::string script;
    const char* files[] = {"kn_frame_top_left.bmp", "kn_frame_caption.bmp",
                           "kn_frame_top_right.bmp", "kn_frame_left.bmp"};
    for (int k = 0; k < 4; ++k) {
        script += std::to_string(IDB_KN_FRAME_TOP_LEFT + k) + " BITMAP \"" + files[k] + "\"\n";
    }
    std::string error;
    ASSERT_TRUE(RegisterResourceModuleText("Partial_res.dll", script, PELLOR_ASSET_DIR, &error))
        << error;
    HINSTANCE partial = LoadLibrary("Partial_res.dll");
    ASSERT_NE(partial, nullptr);
    CKnQuickbuyDlg popup(&m_main);
    AfxSetResourceHandle(partial);
    EXPECT_FALSE(popup.LoadPopupBitmaps());
    EXPECT_NE(popup.GetFrameBitmap(CKNOwnerDialog::kLeft), nullptr);
    EXPECT_EQ(popup.GetFrameBitmap(CKNOwnerDialog::kRight), nullptr);
    EXPECT_EQ(popup.GetFrameSize(CKNOwnerDialog::kRight), CSize(0, 0));
    // No template here either: the pop-up cannot be made, nor navigated.
    EXPECT_FALSE(popup.CreatePopup(300, 200));
    EXPECT_FALSE(popup.Navigate("https://shop.example/"));
    AfxSetResourceHandle(m_library);
    FreeLibrary(partial);
    UnregisterResourceModule("Partial_res.dll");
}

} // namespace
