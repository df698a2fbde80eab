// The single-line edit: its text model (GBK never split, limit, selection)
// and the control (typing, keys, mouse selection, password, number-only,
// read-only, notifications, the caret's blink on the stepped clock).

#include "tests/support/DialogFixture.h"

#include "platform/controls/EditText.h"

using namespace platform_test;
using platform::EditText;

namespace {

// "中文" in GBK: two double-byte characters.
const std::string kChinese = "中文";

TEST(EditTextTest, CaretAndSelectionNeverSplitADoubleByteCharacter) {
    EditText text;
    text.SetText("a" + kChinese + "b"); // a 中 文 b: bytes 0, 1-2, 3-4, 5
    EXPECT_EQ(text.Snap(2), 1);
    EXPECT_EQ(text.Next(1), 3);
    EXPECT_EQ(text.Previous(5), 3);
    text.SetSelection(2, 4); // both inside characters: snapped back
    EXPECT_EQ(text.SelectionStart(), 1);
    EXPECT_EQ(text.SelectionEnd(), 3);
    text.MoveCaret(5, false);
    EXPECT_TRUE(text.DeleteBackward()); // removes 文 whole
    EXPECT_EQ(text.text(), "a中b");
}

TEST(EditTextTest, LimitCutsInsertionsOnCharacterBoundaries) {
    EditText text;
    text.SetLimit(4);
    EXPECT_FALSE(text.ReplaceSelection("ab" + kChinese)); // room for ab + 中 only
    EXPECT_EQ(text.text(), "ab中");
    text.SetText("abc");
    text.MoveCaret(3, false);
    EXPECT_FALSE(text.ReplaceSelection(kChinese)); // one byte left: a character needs two
    EXPECT_EQ(text.text(), "abc");
    text.SetSelection(0, -1);
    EXPECT_TRUE(text.ReplaceSelection(kChinese)); // replacing frees room
    EXPECT_EQ(text.text(), kChinese);
}

TEST(EditTextTest, ABrokenLeadByteCountsAlone) {
    EditText text;
    text.SetText(std::string("a\xD6", 2)); // a lead byte with no trail
    EXPECT_EQ(text.Next(1), 2);
    text.MoveCaret(2, false);
    EXPECT_TRUE(text.DeleteBackward());
    EXPECT_EQ(text.text(), "a");
}

class EditControlTest : public DialogTest {
protected:
    std::vector<Delivered> log;
    SolidWnd parent;
    CEdit edit;

    void SetUp() override {
        DialogTest::SetUp();
        parent.log = &log;
        ASSERT_TRUE(parent.Top({100, 100, 400, 200}));
        Make(ES_AUTOHSCROLL);
    }
    void Make(DWORD style) {
        if (edit.m_hWnd)
            edit.DestroyWindow();
        ASSERT_TRUE(edit.Create(style | WS_VISIBLE | WS_BORDER | WS_TABSTOP, {10, 10, 210, 32},
                                &parent, 7));
        edit.SetFocus();
        PumpInput();
        log.clear();
    }
    std::string Text() const { return TextOf(edit.m_hWnd); }
    std::pair<int, int> Selection() const {
        int start = 0, end = 0;
        edit.GetSel(start, end);
        return {start, end};
    }
    int Notifications(UINT code) const {
        int n = 0;
        for (const Delivered& d : log)
            if (d.message == WM_COMMAND && HIWORD(d.wParam) == code && LOWORD(d.wParam) == 7)
                ++n;
        return n;
    }
};

TEST_F(EditControlTest, TypingGbkTextArrivesWholeAndNotifiesEachChange) {
    Type(("x" + kChinese).c_str());
    PumpInput();
    EXPECT_EQ(Text(), "x" + kChinese);
    EXPECT_EQ(Notifications(EN_CHANGE), 3); // x, 中, 文: one change per character
    Key(VK_BACK);
    PumpInput();
    EXPECT_EQ(Text(), "x中");
}

TEST_F(EditControlTest, LimitRefusesWhatDoesNotFitAndSaysSo) {
    edit.LimitText(3);
    Type(("ab" + kChinese).c_str()); // 中 would need bytes 3 and 4
    PumpInput();
    EXPECT_EQ(Text(), "ab");
    EXPECT_GE(Notifications(EN_MAXTEXT), 1);
    edit.SetWindowText("abcdef"); // setting the text is not limited
    EXPECT_EQ(Text(), "abcdef");
}

TEST_F(EditControlTest, ShiftArrowsSelectAndTypingReplacesTheSelection) {
    Type(("ab" + kChinese).c_str());
    PumpInput();
    ShiftKey(VK_LEFT);
    PumpInput();
    EXPECT_EQ(Selection(), std::make_pair(4, 6)); // 文, two bytes at once
    ShiftKey(VK_LEFT);
    PumpInput();
    EXPECT_EQ(Selection(), std::make_pair(2, 6));
    Type("Z");
    PumpInput();
    EXPECT_EQ(Text(), "abZ");
    Key(VK_HOME);
    PumpInput();
    ShiftKey(VK_END);
    Key(VK_DELETE);
    PumpInput();
    EXPECT_EQ(Text(), "");
}

TEST_F(EditControlTest, DraggingTheMouseSelects) {
    edit.SetWindowText("abcdefghij");
    RECT r;
    edit.GetWindowRect(&r);
    const int y = (r.top + r.bottom) / 2;
    platform::InjectMouse(platform::MouseAction::Move, {r.left + 3, y});
    platform::InjectMouse(platform::MouseAction::LeftDown, {r.left + 3, y});
    platform::InjectMouse(platform::MouseAction::Move, {r.right - 2, y});
    platform::InjectMouse(platform::MouseAction::LeftUp, {r.right - 2, y});
    PumpInput();
    EXPECT_EQ(Selection(), std::make_pair(0, 10));
}

TEST_F(EditControlTest, PasswordKeepsTheTextButDrawsStars) {
    Make(ES_AUTOHSCROLL | ES_PASSWORD);
    EXPECT_EQ(edit.GetPasswordChar(), '*');
    Type("secret");
    PumpInput();
    EXPECT_EQ(Text(), "secret");
    // Inside the frame, without caret or selection: the ink of six stars.
    auto ink = [&] {
        parent.SetFocus();
        edit.UpdateWindow();
        int dark = 0;
        for (int y = 13; y < 29; ++y)
            for (int x = 13; x < 207; ++x)
                dark += (PixelOf(parent.m_hWnd, x, y) & 0xFF) < 0x80;
        return dark;
    };
    const int stars = ink();
    edit.SetPasswordChar(0);
    edit.SetWindowText("******");
    EXPECT_GT(stars, 0);
    EXPECT_EQ(stars, ink());
}

TEST_F(EditControlTest, NumberOnlyAndReadOnlyRefuseTyping) {
    Make(ES_AUTOHSCROLL | ES_NUMBER);
    Type(("1a2-" + kChinese + "3").c_str());
    PumpInput();
    EXPECT_EQ(Text(), "123");
    edit.SetReadOnly(TRUE);
    Type("4");
    Key(VK_BACK);
    PumpInput();
    EXPECT_EQ(Text(), "123");
}

TEST_F(EditControlTest, WithoutAutoScrollTheTextStopsAtTheBoxEdge) {
    Make(0);
    for (int i = 0; i < 60; ++i)
        Type("W");
    PumpInput();
    const size_t typed = Text().size();
    EXPECT_GT(typed, 3u);
    EXPECT_LT(typed, 60u);
    EXPECT_GE(Notifications(EN_MAXTEXT), 1);
}

TEST_F(EditControlTest, CaretBlinksOnTheSteppedClock) {
    clock.SetAutoAdvance(false);
    edit.UpdateWindow();
    RECT r;
    edit.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    // The caret is a one-pixel line just inside the text area's left edge.
    auto caretInk = [&] {
        int dark = 0;
        for (int x = r.left + 2; x < r.left + 8; ++x)
            for (int y = r.top + 4; y < r.bottom - 4; ++y)
                dark += PixelOf(parent.m_hWnd, x, y) == 0x000000u;
        return dark;
    };
    const int on = caretInk();
    clock.Advance(530);
    PumpInput();
    const int off = caretInk();
    clock.Advance(530);
    PumpInput();
    EXPECT_GT(on, 0);
    EXPECT_EQ(off, 0);
    EXPECT_EQ(caretInk(), on);
}

TEST_F(EditControlTest, CopyAndPasteGoThroughTheClipboard) {
    Type("hello");
    PumpInput();
    edit.SetSel(0, 4);
    edit.Copy();
    edit.SetSel(5, 5);
    edit.Paste();
    EXPECT_EQ(Text(), "hellohell");
    Make(ES_AUTOHSCROLL | ES_PASSWORD);
    edit.SetWindowText("pw");
    edit.SetSel(0, -1);
    edit.Copy(); // a password is never copied
    edit.SetSel(2, 2);
    edit.Paste();
    EXPECT_EQ(Text(), "pwhell");
}

} // namespace
