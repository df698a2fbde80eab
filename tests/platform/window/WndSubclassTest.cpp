// CWnd's subclassing and fonts on plain windows (not only on controls).

#include "tests/support/MessageLog.h"

#include "platform/text/CFont.h"

#include <gtest/gtest.h>

using namespace platform_test;

namespace {

// What the window's own class procedure saw.
std::vector<UINT> g_classSaw;

LRESULT CALLBACK RecordingClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER)
        g_classSaw.push_back(message);
    return DefWindowProc(hwnd, message, wParam, lParam);
}

// Takes over windows; counts PreSubclassWindow calls.
class TakingWnd : public RecordingWnd {
public:
    int preSubclassCalls = 0;
    void PreSubclassWindow() override { ++preSubclassCalls; }
};

class WndSubclassTest : public ::testing::Test {
protected:
    std::vector<Delivered> log;
    HWND plain = nullptr;

    void SetUp() override {
        g_classSaw.clear();
        static const bool registered = [] {
            WNDCLASS wc{};
            wc.lpfnWndProc = RecordingClassProc;
            wc.lpszClassName = "SubclassTestPlain";
            return RegisterClass(&wc) != FALSE;
        }();
        ASSERT_TRUE(registered);
        plain = CreateWindowEx(0, "SubclassTestPlain", "plain", WS_POPUP, 0, 0, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_TRUE(plain);
    }
    void TearDown() override {
        if (IsWindow(plain))
            DestroyWindow(plain);
        PumpPending();
    }
};

TEST_F(WndSubclassTest, TheObjectSeesMessagesFirstAndTheClassProcedureStillRuns) {
    TakingWnd taker;
    taker.log = &log;
    ASSERT_TRUE(taker.SubclassWindow(plain));
    EXPECT_EQ(taker.m_hWnd, plain);
    EXPECT_EQ(taker.preSubclassCalls, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), &taker);

    ::SendMessage(plain, WM_USER + 1, 0, 0);
    EXPECT_EQ(Only(log, {WM_USER + 1}).size(), 1u);
    EXPECT_EQ(g_classSaw, std::vector<UINT>{WM_USER + 1}); // the default went on to it

    // One object a window, one window an object.
    TakingWnd second;
    EXPECT_FALSE(second.SubclassWindow(plain));
    EXPECT_EQ(second.preSubclassCalls, 0);
    HWND other = CreateWindowEx(0, "SubclassTestPlain", "other", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
    EXPECT_FALSE(taker.SubclassWindow(other));
    DestroyWindow(other);

    // Let go: the class procedure alone answers again.
    EXPECT_EQ(taker.UnsubclassWindow(), plain);
    EXPECT_EQ(taker.m_hWnd, nullptr);
    log.clear();
    g_classSaw.clear();
    ::SendMessage(plain, WM_USER + 2, 0, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(g_classSaw, std::vector<UINT>{WM_USER + 2});
}

TEST_F(WndSubclassTest, ADialogItemIsTakenOverByItsIdUnderAPlainParent) {
    HWND child = CreateWindowEx(0, "SubclassTestPlain", "item", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20,
                                plain, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_TRUE(child);
    CWnd* parent = CWnd::FromHandle(plain);
    TakingWnd taker;
    EXPECT_FALSE(taker.SubclassDlgItem(8, parent)); // no such item
    EXPECT_FALSE(taker.SubclassDlgItem(7, nullptr));
    EXPECT_EQ(taker.preSubclassCalls, 0);
    ASSERT_TRUE(taker.SubclassDlgItem(7, parent));
    EXPECT_EQ(taker.m_hWnd, child);
    EXPECT_EQ(taker.preSubclassCalls, 1);
    EXPECT_EQ(taker.GetDlgCtrlID(), 7);
}

TEST_F(WndSubclassTest, CreatingAWindowAlsoCallsPreSubclassWindow) {
    TakingWnd made;
    ASSERT_TRUE(made.CreateEx(0, nullptr, "made", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(made.preSubclassCalls, 1);
}

TEST_F(WndSubclassTest, FontsTravelAsMessagesAndAPlainWindowKeepsNone) {
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "宋体"));

    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateTop(&log));
    log.clear();
    wnd.SetFont(&font, FALSE);
    std::vector<Delivered> sets;
    for (const Delivered& d : log)
        if (d.message == WM_SETFONT)
            sets.push_back(d);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].wParam, reinterpret_cast<WPARAM>(font.m_hObject));
    EXPECT_EQ(sets[0].lParam, FALSE);
    EXPECT_EQ(wnd.GetFont(), nullptr); // the default handling keeps no font

    // A window that keeps the font it is given answers with it.
    HFONT kept = nullptr;
    wnd.hooks[WM_SETFONT] = [&](WPARAM wParam, LPARAM) {
        kept = reinterpret_cast<HFONT>(wParam);
        return LRESULT(0);
    };
    wnd.hooks[WM_GETFONT] = [&](WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(kept); };
    wnd.SetFont(&font);
    CFont* answer = wnd.GetFont();
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->m_hObject, font.m_hObject);
    wnd.SetFont(nullptr);
    EXPECT_EQ(wnd.GetFont(), nullptr);

    CWnd unbound;
    EXPECT_EQ(unbound.GetFont(), nullptr);
}

} // namespace
