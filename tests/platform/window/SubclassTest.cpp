// Window-procedure subclassing through GWL_WNDPROC, window longs, and hot keys.

#include "tests/support/MessageLog.h"

#include "platform/window/HotKey.h"
#include "platform/window/Input.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace platform_test;

namespace {

constexpr UINT kProbe = WM_USER + 40;

std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
}

// Each layer remembers the procedure it replaced in a table of its own, as
// subclassing code keeps it in a member or a static.
WNDPROC g_beneathOuter = nullptr;
WNDPROC g_beneathInner = nullptr;

LRESULT CALLBACK BaseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe) {
        Calls().push_back("base");
        return LRESULT(wParam * 10);
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK InnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe)
        Calls().push_back("inner");
    return CallWindowProc(g_beneathInner, hwnd, message, wParam + 1, lParam);
}

LRESULT CALLBACK OuterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe)
        Calls().push_back("outer");
    return CallWindowProc(g_beneathOuter, hwnd, message, wParam + 1, lParam);
}

class SubclassTest : public ::testing::Test {
protected:
    HWND hwnd = nullptr;

    void SetUp() override {
        Calls().clear();
        WNDCLASS wc{};
        wc.lpfnWndProc = BaseProc;
        wc.lpszClassName = "SubclassTestBase";
        RegisterClass(&wc); // registered once per process; the second time fails harmlessly
        hwnd = CreateWindowEx(0, "SubclassTestBase", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr);
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override {
        DestroyWindow(hwnd);
        PumpPending();
    }
};

TEST_F(SubclassTest, TheLastProcedureSetRunsFirstAndEachCallsTheOneItReplaced) {
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWL_WNDPROC)), &BaseProc);
    g_beneathInner = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&InnerProc)));
    g_beneathOuter = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
    EXPECT_EQ(g_beneathInner, &BaseProc);
    EXPECT_EQ(g_beneathOuter, &InnerProc);

    EXPECT_EQ(SendMessage(hwnd, kProbe, 1, 0), 30); // each layer added one
    EXPECT_EQ(Calls(), (std::vector<std::string>{"outer", "inner", "base"}));

    // Posted messages take the same road.
    Calls().clear();
    PostMessage(hwnd, kProbe, 5, 0);
    PumpPending();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"outer", "inner", "base"}));

    // Unhooking the outer layer leaves the inner one in place.
    SetWindowLongPtr(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(g_beneathOuter));
    Calls().clear();
    EXPECT_EQ(SendMessage(hwnd, kProbe, 1, 0), 20);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"inner", "base"}));
    SetWindowLongPtr(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&BaseProc));
    Calls().clear();
    EXPECT_EQ(SendMessage(hwnd, kProbe, 1, 0), 10);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"base"}));
}

TEST_F(SubclassTest, TheShortFormsRefuseProceduresThatDoNotFitInALong) {
    EXPECT_EQ(GetWindowLong(hwnd, GWL_WNDPROC), 0);
    EXPECT_EQ(SetWindowLong(hwnd, GWL_WNDPROC, 0x1234), 0);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWL_WNDPROC)), &BaseProc);
    EXPECT_EQ(SetWindowLongPtr(hwnd, GWL_WNDPROC, 0), 0); // a window always has a procedure
    EXPECT_EQ(SendMessage(hwnd, kProbe, 2, 0), 20);
}

TEST_F(SubclassTest, UserDataAndStylesRoundTrip) {
    EXPECT_EQ(SetWindowLongPtr(hwnd, GWL_USERDATA, 0x5A5A), 0);
    EXPECT_EQ(GetWindowLongPtr(hwnd, GWL_USERDATA), 0x5A5A);
    const LONG style = GetWindowLong(hwnd, GWL_STYLE);
    EXPECT_EQ(SetWindowLong(hwnd, GWL_STYLE, style | WS_THICKFRAME), style);
    EXPECT_NE(GetWindowLong(hwnd, GWL_STYLE) & WS_THICKFRAME, 0);
}

TEST(SubclassCWnd, ASubclassedCWndSeesMessagesAfterTheNewProcedure) {
    static std::vector<UINT>* order = nullptr;
    static WNDPROC objectProc = nullptr;
    std::vector<UINT> seen;
    order = &seen;
    RecordingWnd wnd;
    wnd.hooks[kProbe] = [&](WPARAM, LPARAM) {
        seen.push_back(2);
        return LRESULT(7);
    };
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    auto hook = [](HWND h, UINT message, WPARAM w, LPARAM l) -> LRESULT {
        if (message == kProbe)
            order->push_back(1);
        return CallWindowProc(objectProc, h, message, w, l);
    };
    objectProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(wnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(+hook)));
    ASSERT_NE(objectProc, nullptr);
    EXPECT_EQ(wnd.SendMessage(kProbe), 7);
    EXPECT_EQ(seen, (std::vector<UINT>{1, 2}));
    wnd.DestroyWindow();
}

class HotKeyTest : public ::testing::Test {
protected:
    std::vector<Delivered> log;
    RecordingWnd frame, other;

    void SetUp() override {
        ASSERT_TRUE(frame.CreateTop(&log));
        ASSERT_TRUE(other.CreateTop(&log));
        SetActiveWindow(frame);
        PumpPending();
        log.clear();
    }
    void TearDown() override {
        InjectKey(VK_CONTROL, false);
        InjectKey(VK_SHIFT, false);
        SetActiveWindow(nullptr);
        frame.DestroyWindow();
        other.DestroyWindow();
        PumpPending();
    }
    std::vector<Delivered> Keyish() {
        PumpPending();
        std::vector<Delivered> out;
        for (const Delivered& d : log)
            if (d.message == WM_HOTKEY || d.message == WM_KEYDOWN)
                out.push_back(d);
        log.clear();
        return out;
    }
};

TEST_F(HotKeyTest, ARegisteredCombinationArrivesAsHotKeyInsteadOfAKeyPress) {
    ASSERT_TRUE(RegisterHotKey(frame, 1001, MOD_CONTROL, 'S'));
    ASSERT_TRUE(RegisterHotKey(frame, 1002, MOD_CONTROL, 'W'));
    EXPECT_FALSE(RegisterHotKey(other, 7, MOD_CONTROL, 'S'));  // the combination is taken
    EXPECT_FALSE(RegisterHotKey(frame, 1001, MOD_SHIFT, 'Q')); // the id is taken
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL, 'Q'));

    InjectKey(VK_CONTROL, true);
    PumpPending();
    log.clear();
    InjectKey('W', true);
    InjectKey('W', false);
    std::vector<Delivered> got = Keyish();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, UINT(WM_HOTKEY));
    EXPECT_EQ(got[0].hwnd, frame.m_hWnd);
    EXPECT_EQ(got[0].wParam, WPARAM(1002));
    EXPECT_EQ(got[0].lParam, MAKELPARAM(MOD_CONTROL, 'W'));

    // Other modifiers, or none: an ordinary key press.
    InjectKey(VK_SHIFT, true);
    InjectKey('S', true);
    InjectKey(VK_SHIFT, false);
    InjectKey(VK_CONTROL, false);
    InjectKey('S', true);
    got = Keyish();
    for (const Delivered& d : got)
        EXPECT_EQ(d.message, UINT(WM_KEYDOWN));

    // Unregistered, Ctrl+S is a key press again.
    EXPECT_TRUE(UnregisterHotKey(frame, 1001));
    EXPECT_FALSE(UnregisterHotKey(frame, 1001));
    InjectKey(VK_CONTROL, true);
    PumpPending();
    log.clear();
    InjectKey('S', true);
    got = Keyish();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().message, UINT(WM_KEYDOWN));
    EXPECT_EQ(got.back().wParam, WPARAM('S'));
}

TEST_F(HotKeyTest, AHotKeyOfADestroyedWindowLapses) {
    RecordingWnd gone;
    ASSERT_TRUE(gone.CreateTop(&log));
    ASSERT_TRUE(RegisterHotKey(gone, 5, MOD_CONTROL, 'K'));
    gone.DestroyWindow();
    EXPECT_TRUE(RegisterHotKey(frame, 6, MOD_CONTROL, 'K')); // free again
    InjectKey(VK_CONTROL, true);
    PumpPending();
    log.clear();
    InjectKey('K', true);
    std::vector<Delivered> got = Keyish();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].hwnd, frame.m_hWnd);
    EXPECT_EQ(got[0].wParam, WPARAM(6));
}

} // namespace
