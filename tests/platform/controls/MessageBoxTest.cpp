// The message box: its buttons by style, the default button, Enter, Escape
// and clicks, driven inside its modal loop.

#include "tests/support/DialogFixture.h"

#include "platform/controls/MessageBox.h"

using namespace platform_test;

namespace {

using MessageBoxTest = DialogTest;

// Runs a box with the steps; each step finds the box as the active window.
int RunBox(UINT style, std::deque<std::function<void()>> steps) {
    Script::Run(std::move(steps));
    return MessageBox(nullptr, "要继续吗?", "标题", style);
}

HWND BoxButton(int id) {
    return GetDlgItem(GetActiveWindow(), id);
}

TEST_F(MessageBoxTest, EnterGivesTheDefaultButton) {
    EXPECT_EQ(RunBox(MB_OK, {[] { Key(VK_RETURN); }}), IDOK);
    EXPECT_EQ(RunBox(MB_YESNO | MB_ICONQUESTION, {[] { Key(VK_RETURN); }}), IDYES);
    EXPECT_EQ(RunBox(MB_YESNOCANCEL | MB_DEFBUTTON2, {[] { Key(VK_RETURN); }}), IDNO);
    EXPECT_EQ(RunBox(MB_OKCANCEL | MB_DEFBUTTON3, {[] { Key(VK_RETURN); }}), IDOK); // no third
}

TEST_F(MessageBoxTest, EscapeMeansCancelOrOkButNeverYesOrNo) {
    EXPECT_EQ(RunBox(MB_OKCANCEL, {[] { Key(VK_ESCAPE); }}), IDCANCEL);
    EXPECT_EQ(RunBox(MB_OK, {[] { Key(VK_ESCAPE); }}), IDOK);
    // A yes/no box ignores Escape and the close command.
    EXPECT_EQ(RunBox(MB_YESNO, {[] { Key(VK_ESCAPE); },
                                [] { PostMessage(GetActiveWindow(), WM_CLOSE, 0, 0); },
                                [] { Click(BoxButton(IDNO)); }}),
              IDNO);
}

TEST_F(MessageBoxTest, ClicksAndTabsReachEveryButton) {
    EXPECT_EQ(RunBox(MB_ABORTRETRYIGNORE, {[] { Click(BoxButton(IDRETRY)); }}), IDRETRY);
    EXPECT_EQ(RunBox(MB_RETRYCANCEL, {[] { Key(VK_TAB); }, [] { Key(VK_RETURN); }}), IDCANCEL);
}

TEST_F(MessageBoxTest, TheBoxFitsItsTextAndTheOwnerWaits) {
    SolidWnd owner;
    ASSERT_TRUE(owner.Top({0, 0, 300, 200}));
    const std::string text(200, 'w');
    RECT box{};
    BOOL ownerEnabled = TRUE;
    Script::Run({[&] {
        GetWindowRect(GetActiveWindow(), &box);
        ownerEnabled = owner.IsWindowEnabled();
        Key(VK_RETURN);
    }});
    EXPECT_EQ(MessageBox(owner.m_hWnd, text.c_str(), nullptr, MB_OK), IDOK);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_GT(box.right - box.left, 300); // widened for the text, then wrapped
    EXPECT_LT(box.right - box.left, 500);
    EXPECT_GT(box.bottom - box.top, 60);
    owner.DestroyWindow();
}

} // namespace
