// The plain message box: button sets, default button and countdown, the text
// measure and layout, and the input line.

#include "BoxFixture.h"

#include "platform/window/SystemMetrics.h"

#include <vector>

namespace {

using platform_test::Script;
using ui_test::BoxTest;

class MsgBoxDlgTest : public BoxTest {};

// A box that keeps what it showed: the countdown after each tick and the
// layout as set up.
class WatchedBox : public CMsgBoxDlg {
public:
    using CMsgBoxDlg::CMsgBoxDlg;
    std::vector<std::string> counts;
    RECT textRect{}, window{}, button{};
    DWORD defId = 0;
    int focusId = 0;

    BOOL OnInitDialog() override {
        const BOOL result = CMsgBoxDlg::OnInitDialog();
        counts.push_back(CountText());
        m_txtMessage.GetClientRect(&textRect);
        GetClientRect(&window);
        m_btn1.GetWindowRect(&button);
        defId = GetDefID();
        focusId = ::GetFocus() ? ::GetDlgCtrlID(::GetFocus()) : 0;
        return result;
    }
    void OnTimer(UINT_PTR id) override {
        CMsgBoxDlg::OnTimer(id);
        counts.push_back(CountText());
    }

private:
    std::string CountText() const {
        char text[16] = "";
        ::GetWindowText(::GetDlgItem(m_hWnd, IDC_KN_MSG_COUNTDOWN), text, sizeof text);
        return text;
    }
};

struct SetCase {
    UINT style;
    std::vector<UINT> captions;
    std::vector<int> results;
};

TEST_F(MsgBoxDlgTest, EachButtonSetShowsItsCaptionsAndGivesItsResults) {
    const SetCase sets[] = {
        {MB_OK, {29700}, {IDOK}},
        {MB_OKCANCEL, {29700, 29706}, {IDOK, IDCANCEL}},
        {MB_ABORTRETRYIGNORE, {29701, 29702, 29703}, {IDABORT, IDRETRY, IDIGNORE}},
        {MB_YESNOCANCEL, {29704, 29705, 29706}, {IDYES, IDNO, IDCANCEL}},
        {MB_YESNO, {29704, 29705}, {IDYES, IDNO}},
        {MB_RETRYCANCEL, {29702, 29706}, {IDRETRY, IDCANCEL}},
    };
    for (const SetCase& set : sets) {
        for (size_t pressed = 0; pressed < set.results.size(); ++pressed) {
            CMsgBoxDlg box("问题", set.style, 0);
            std::vector<std::string> captions;
            bool unusedHidden = true;
            Script::Run({[&] {
                for (int i = 0; i < 3; ++i) {
                    HWND button = Item(box.m_hWnd, IDC_KN_BUTTON1 + i);
                    if (size_t(i) < set.captions.size())
                        captions.push_back(TextOf(button));
                    else
                        unusedHidden = unusedHidden && !Shown(button);
                }
                Click(Item(box.m_hWnd, IDC_KN_BUTTON1 + int(pressed)));
            }});
            EXPECT_EQ(box.DoModal(), set.results[pressed]) << "set " << set.style;
            EXPECT_EQ(box.m_nResult, set.results[pressed]);
            ASSERT_EQ(captions.size(), set.captions.size());
            for (size_t i = 0; i < captions.size(); ++i)
                EXPECT_EQ(captions[i], StringOf(set.captions[i]));
            EXPECT_TRUE(unusedHidden);
        }
    }
}

TEST_F(MsgBoxDlgTest, QuestionAnswersEnterWithYesAndIgnoresEscape) {
    CMsgBoxDlg box("继续吗?", MB_YESNO | MB_ICONQUESTION, 0);
    HICON icon = nullptr;
    bool openAfterEscape = false;
    Script::Run({[&] {
                     icon = box.m_stcIcon.GetIcon();
                     Key(VK_ESCAPE);
                 },
                 [&] {
                     openAfterEscape = IsWindow(box.m_hWnd) && box.IsWindowVisible();
                     Key(VK_RETURN);
                 }});
    EXPECT_EQ(box.DoModal(), IDYES);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(icon, LoadIcon(nullptr, IDI_QUESTION));
}

TEST_F(MsgBoxDlgTest, StyleWithoutIconBitsShowsTheExclamation) {
    CMsgBoxDlg box("注意", MB_OK, 0);
    HICON icon = nullptr;
    bool shown = false;
    Script::Run({[&] {
        icon = box.m_stcIcon.GetIcon();
        shown = Shown(box.m_stcIcon.m_hWnd);
        Click(box.m_btn1.m_hWnd);
    }});
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_EQ(icon, LoadIcon(nullptr, IDI_EXCLAMATION));
    EXPECT_TRUE(shown);
}

TEST_F(MsgBoxDlgTest, CountdownEndsWithTheDefaultButtonAfterItsSeconds) {
    WatchedBox box("自动关闭", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, 10);
    const uint64_t start = clock.NowMs();
    EXPECT_EQ(box.DoModal(), IDIGNORE);
    EXPECT_EQ(box.m_nResult, IDIGNORE);
    const std::vector<std::string> expected = {"10", "9", "8", "7", "6", "5",
                                               "4",  "3", "2", "1", "0"};
    EXPECT_EQ(box.counts, expected);
    EXPECT_GE(clock.NowMs() - start, 10000u);
    EXPECT_LT(clock.NowMs() - start, 11000u);
    EXPECT_EQ(LOWORD(box.defId), IDC_KN_BUTTON3);
    EXPECT_EQ(box.focusId, IDC_KN_BUTTON3);
}

TEST_F(MsgBoxDlgTest, SecondDefaultOnOneButtonSetsNoDefaultYetTheCountdownGivesOk) {
    WatchedBox box("好", MB_OK | MB_DEFBUTTON2, 2);
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_NE(LOWORD(box.defId), IDC_KN_BUTTON1);
    EXPECT_EQ(box.focusId, 0);
}

TEST_F(MsgBoxDlgTest, LineBreaksOfEveryKindCountOnce) {
    // Each line adds its height and 2; the text rectangle adds 2 more.
    auto textHeight = [](const char* text) {
        WatchedBox box(text, MB_OK, 1);
        box.DoModal();
        return int(box.textRect.bottom);
    };
    const int one = textHeight("a");
    const int lineHeight = one - 4;
    ASSERT_GT(lineHeight, 0);
    EXPECT_EQ(textHeight("a\r\n\r\nb"), 3 * (lineHeight + 2) + 2);
    EXPECT_EQ(textHeight("a\\nb"), 2 * (lineHeight + 2) + 2);
    EXPECT_EQ(textHeight("a\n\rb"), 2 * (lineHeight + 2) + 2);
    EXPECT_EQ(textHeight("a\r\rb"), 2 * (lineHeight + 2) + 2);
}

TEST_F(MsgBoxDlgTest, ShortTextKeepsTheButtonRowWidthAndLongLinesWidenTheBox) {
    WatchedBox shortBox("好", MB_OK, 1);
    shortBox.DoModal();
    EXPECT_EQ(shortBox.window.right, (shortBox.button.right - shortBox.button.left) + 64);

    WatchedBox longBox(std::string(400, 'W').c_str(), MB_OK, 1);
    longBox.DoModal();
    EXPECT_GT(longBox.window.right, GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(MsgBoxDlgTest, InputLineKeepsItsTextAndTheButtonAfterTheBoxEnds) {
    CMsgBoxDlg box(TRUE, "名字:", MB_OKCANCEL, 0);
    bool secondHidden = false;
    Script::Run({[&] {
                     secondHidden = !Shown(Item(box.m_hWnd, IDC_KN_INPUT2)) ||
                                    Shown(Item(box.m_hWnd, IDC_KN_INPUT1));
                     ::SetFocus(Item(box.m_hWnd, IDC_KN_INPUT1));
                     Type("张三");
                 },
                 [&] { Click(box.m_btn2.m_hWnd); }});
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_EQ(box.m_nResult, IDCANCEL);
    EXPECT_STREQ(box.m_strInput1.GetString(), "张三");
    EXPECT_TRUE(secondHidden);
}

TEST_F(MsgBoxDlgTest, SecondInputControlIsUsedWhenAsked) {
    CMsgBoxDlg box(TRUE, "密码:", MB_OK, 0);
    box.m_bSecondInput = TRUE;
    bool firstHidden = false;
    Script::Run({[&] {
                     firstHidden = !Shown(Item(box.m_hWnd, IDC_KN_INPUT1));
                     ::SetFocus(Item(box.m_hWnd, IDC_KN_INPUT2));
                     Type("secret");
                 },
                 [&] { Click(box.m_btn1.m_hWnd); }});
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_TRUE(firstHidden);
    EXPECT_STREQ(box.m_strInput2.GetString(), "secret");
    EXPECT_STREQ(box.m_strInput1.GetString(), "");
}

TEST_F(MsgBoxDlgTest, StringIdFormShowsTheResourceString) {
    CMsgBoxDlg box(UINT(29704), MB_OK, 1);
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_EQ(std::string(box.m_strText.GetString()), StringOf(29704));
}

TEST_F(MsgBoxDlgTest, UnknownButtonSetStillOffersOk) {
    CMsgBoxDlg box("?", 0x6, 0);
    Script::Run({[&] { Click(box.m_btn1.m_hWnd); }});
    EXPECT_EQ(box.DoModal(), IDOK);
}

TEST_F(MsgBoxDlgTest, MissingResourceLibraryFailsTheBox) {
    AfxSetResourceHandle(m_savedHandle);
    CMsgBoxDlg box("x", MB_OK, 0);
    EXPECT_EQ(box.DoModal(), -1);
}

} // namespace
