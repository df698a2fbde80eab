// The wait dialogs: fitting the window to the text at every Show, the
// cancel button coming and going, cancelling that only sets a flag, a
// template that cannot be made, and the window ending with its object.

#include "SkinFixture.h"

#include "knclientUI05/WaitDlg.h"
#include "platform/window/WindowDcs.h"

#include <memory>
#include <string>

namespace {

using ui_test::SkinTest;

class WaitDlgTest : public SkinTest {
protected:
    static SIZE SizeOf(HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    static bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }
    // The text's extent as one line in the dialog's font.
    static int OneLine(CWnd& dialog, CFont* font, const char* text) {
        CClientDC dc(&dialog);
        CFont* old = dc.SelectObject(font);
        const int cx = dc.GetTextExtent(text, int(strlen(text))).cx;
        dc.SelectObject(old);
        return cx;
    }
};

TEST_F(WaitDlgTest, TheSkinnedDialogIsAtLeastTwoHundredWideAndFitsALongTextOnOneLine) {
    CWaitDlg2 wait("请稍候", FALSE, nullptr);
    ASSERT_NE(wait.m_hWnd, nullptr);
    EXPECT_TRUE(Visible(wait.m_hWnd));
    // The default skin's frame: 6-pixel borders; no caption text shown.
    EXPECT_EQ(SizeOf(wait.m_hWnd).cx, 200 + 2 * 6);
    EXPECT_EQ(SizeOf(wait.m_hWnd).cy, 48 + 2 * 6);
    wait.UpdateWindow();
    SaveWindow(wait.m_hWnd, "wait_skinned_short");

    const char* twoLines = "正在连接游戏服务器,请稍候……\r\n连接成功后将自动进入牌桌";
    wait.Show(twoLines, FALSE);
    EXPECT_EQ(SizeOf(wait.m_hWnd).cx, OneLine(wait, wait.m_pFont, twoLines) + 56 + 2 * 6);
    EXPECT_EQ(wait.m_strText, twoLines);
    SaveWindow(wait.m_hWnd, "wait_skinned_long");
}

TEST_F(WaitDlgTest, TheSkinnedCancelButtonComesAndGoesWithTheHeight) {
    CWaitDlg2 wait(static_cast<LPCSTR>(nullptr), FALSE, nullptr);
    EXPECT_EQ(wait.m_hWnd, nullptr); // nothing is shown before a text
    wait.Show("连接中", TRUE);
    ASSERT_NE(wait.m_btnCancel.m_hWnd, nullptr);
    EXPECT_TRUE(Visible(wait.m_btnCancel.m_hWnd));
    const SIZE withCancel = SizeOf(wait.m_hWnd);
    const SIZE button = SizeOf(wait.m_btnCancel.m_hWnd);
    RECT inner, window;
    wait.GetInnerRect(&inner);
    wait.GetWindowRect(&window);
    // The caption text shows with a cancel button: the caption adds its
    // height above the inner rectangle.
    const int topExtra = (window.bottom - window.top) - (inner.bottom - inner.top) - 2 * 6;
    EXPECT_EQ(withCancel.cy, topExtra + button.cy + 56 + 2 * 6);
    RECT cancel;
    wait.m_btnCancel.GetWindowRect(&cancel);
    wait.ScreenToClient(&cancel);
    EXPECT_EQ(cancel.top, inner.top + 48);
    wait.UpdateWindow();
    SaveWindow(wait.m_hWnd, "wait_skinned_cancel");

    wait.Show("连接中", FALSE);
    EXPECT_FALSE(Visible(wait.m_btnCancel.m_hWnd));
    EXPECT_LT(SizeOf(wait.m_hWnd).cy, withCancel.cy);
    wait.Show("连接中", TRUE);
    EXPECT_EQ(SizeOf(wait.m_hWnd).cy, withCancel.cy);
}

TEST_F(WaitDlgTest, CancellingOnlySetsTheFlagUntilTheNextShow) {
    CWaitDlg2 wait(static_cast<LPCSTR>(nullptr), TRUE, nullptr);
    wait.Show("可取消", TRUE);
    Click(wait.m_btnCancel.m_hWnd);
    PumpInput();
    EXPECT_TRUE(wait.m_bCancelled);
    EXPECT_TRUE(Visible(wait.m_hWnd));
    wait.Show("再等等", TRUE);
    EXPECT_FALSE(wait.m_bCancelled);
    // Escape and the caption's close button cancel the same way.
    wait.SendMessage(WM_COMMAND, IDC_KN_SYS_CLOSE, 0);
    PumpInput();
    EXPECT_TRUE(wait.m_bCancelled);
    EXPECT_TRUE(Visible(wait.m_hWnd));
    wait.Show("再等等", FALSE);
    ::SetFocus(wait.m_hWnd);
    Key(VK_ESCAPE);
    PumpInput();
    EXPECT_TRUE(wait.m_bCancelled);
    Key(VK_RETURN);
    PumpInput();
    EXPECT_TRUE(Visible(wait.m_hWnd));
}

TEST_F(WaitDlgTest, ThePlainDialogTakesItsCaptionOnlyWithCancelOrTopmost) {
    CWaitDlg wait("请稍候", TRUE, nullptr);
    ASSERT_NE(wait.m_hWnd, nullptr);
    EXPECT_EQ(wait.GetStyle() & WS_CAPTION, 0u);
    EXPECT_FALSE(Visible(wait.m_btnCancel.m_hWnd));
    const SIZE without = SizeOf(wait.m_hWnd);
    EXPECT_EQ(without.cy, wait.m_nCancelTopInClient);
    SaveWindow(wait.m_hWnd, "wait_plain");

    wait.Show("正在进入游戏……", TRUE);
    EXPECT_EQ(wait.GetStyle() & WS_CAPTION, DWORD(WS_CAPTION));
    EXPECT_TRUE(Visible(wait.m_btnCancel.m_hWnd));
    EXPECT_EQ(SizeOf(wait.m_hWnd).cy, wait.m_nFullHeight);
    // The button is centred in the new width.
    RECT cancel, window;
    wait.m_btnCancel.GetWindowRect(&cancel);
    wait.GetWindowRect(&window);
    const int width = cancel.right - cancel.left;
    wait.ScreenToClient(&cancel);
    EXPECT_EQ(cancel.left, (window.right - window.left - width) / 2);
    wait.UpdateWindow();
    SaveWindow(wait.m_hWnd, "wait_plain_cancel");
    Click(wait.m_btnCancel.m_hWnd);
    PumpInput();
    EXPECT_TRUE(wait.m_bCancelled);

    wait.SetTopMost();
    wait.Show("置顶", FALSE);
    EXPECT_EQ(wait.GetStyle() & WS_CAPTION, DWORD(WS_CAPTION));
    EXPECT_EQ(SizeOf(wait.m_hWnd).cy, wait.m_nCancelTopInWindow);
}

TEST_F(WaitDlgTest, AMissingTemplateShowsNothingAndALaterShowTriesAgain) {
    AfxSetResourceHandle(m_savedHandle); // templates of another library
    CWaitDlg2 skinned(static_cast<LPCSTR>(nullptr), FALSE, nullptr);
    CWaitDlg plain(static_cast<LPCSTR>(nullptr), FALSE, nullptr);
    skinned.Show("无模板", FALSE);
    plain.Show("无模板", FALSE);
    EXPECT_EQ(skinned.m_hWnd, nullptr);
    EXPECT_EQ(plain.m_hWnd, nullptr);
    AfxSetResourceHandle(m_library);
    skinned.Show("有模板", FALSE);
    plain.Show("有模板", FALSE);
    EXPECT_NE(skinned.m_hWnd, nullptr);
    EXPECT_NE(plain.m_hWnd, nullptr);
}

TEST_F(WaitDlgTest, TheWindowEndsWithItsObject) {
    HWND skinnedWindow, plainWindow;
    {
        auto skinned = std::make_unique<CWaitDlg2>("稍候", FALSE, nullptr);
        auto plain = std::make_unique<CWaitDlg>("稍候", FALSE, nullptr);
        skinnedWindow = skinned->m_hWnd;
        plainWindow = plain->m_hWnd;
        ASSERT_TRUE(IsWindow(skinnedWindow));
        ASSERT_TRUE(IsWindow(plainWindow));
    }
    EXPECT_FALSE(IsWindow(skinnedWindow));
    EXPECT_FALSE(IsWindow(plainWindow));
}

TEST_F(WaitDlgTest, ASkinWithoutTheWaitSectionsShowsNoSkinnedWindow) {
    WriteSkin("[KNDLG]\nBorderWidth=3\n");
    CWaitDlg2 wait("没有皮肤", FALSE, nullptr);
    EXPECT_EQ(wait.m_hWnd, nullptr);
}

} // namespace
