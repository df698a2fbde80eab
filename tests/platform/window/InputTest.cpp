// Input routing on the headless display: hit-testing, capture, leave
// tracking, double clicks, cursors and keys.

#include "tests/support/DisplayFixture.h"

#include "platform/CodePage.h"
#include "platform/window/Cursor.h"
#include "platform/window/Input.h"

using namespace platform;
using namespace platform_test;

namespace {

class InputTest : public DisplayTest {
protected:
    std::vector<Delivered> log;
    SolidWnd top, child;

    void SetUp() override {
        DisplayTest::SetUp();
        top.log = child.log = &log;
        ASSERT_TRUE(top.Top({100, 50, 300, 250}));
        ASSERT_TRUE(child.Child(&top, {10, 20, 40, 50}));
        PumpPending();
        log.clear();
    }
    void TearDown() override {
        ReleaseCapture();
        InjectMouse(MouseAction::LeftUp, {0, 0});
        InjectMouse(MouseAction::Move, {900, 700}); // ends any tracking
        DisplayTest::TearDown();
    }

    // What the pump delivered of the mouse messages, as (window, message, x, y).
    struct Mouse {
        HWND hwnd;
        UINT message;
        int x, y;
        bool operator==(const Mouse&) const = default;
    };
    std::vector<Mouse> MouseMessages() {
        PumpPending();
        std::vector<Mouse> out;
        for (const Delivered& d : log)
            if ((d.message >= WM_MOUSEMOVE && d.message <= WM_MBUTTONUP) ||
                d.message == WM_MOUSELEAVE)
                out.push_back({d.hwnd, d.message, GET_X_LPARAM(d.lParam), GET_Y_LPARAM(d.lParam)});
        log.clear();
        return out;
    }
};

TEST_F(InputTest, AClickReachesTheDeepestWindowAtItsClientPoint) {
    InjectMouse(MouseAction::LeftDown, {115, 75});
    InjectMouse(MouseAction::LeftUp, {160, 80});
    EXPECT_EQ(MouseMessages(),
              (std::vector<Mouse>{{child, WM_LBUTTONDOWN, 5, 5}, {top, WM_LBUTTONUP, 60, 30}}));
    EXPECT_EQ(GetActiveWindow(), top.m_hWnd); // a press activates its top-level window

    InjectMouse(MouseAction::LeftDown, {10, 10}); // over no window: nobody
    EXPECT_TRUE(MouseMessages().empty());
}

TEST_F(InputTest, ButtonStateTravelsInWParam) {
    InjectMouse(MouseAction::LeftDown, {200, 100});
    InjectMouse(MouseAction::Move, {201, 100});
    PumpPending();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(log.back().wParam & MK_LBUTTON, WPARAM(MK_LBUTTON));
    EXPECT_NE(GetKeyState(VK_LBUTTON) & 0x8000, 0);
}

TEST_F(InputTest, TheCaptureWindowGetsTheMouseEvenOutsideIt) {
    child.SetCapture();
    InjectMouse(MouseAction::Move, {500, 400});
    InjectMouse(MouseAction::LeftUp, {90, 60});
    EXPECT_EQ(MouseMessages(), (std::vector<Mouse>{{child, WM_MOUSEMOVE, 390, 330},
                                                   {child, WM_LBUTTONUP, -20, -10}}));
}

TEST_F(InputTest, ADisabledChildPassesTheMouseToItsParentAndADisabledTopSwallowsIt) {
    child.EnableWindow(FALSE);
    InjectMouse(MouseAction::LeftDown, {115, 75});
    InjectMouse(MouseAction::LeftUp, {115, 75});
    EXPECT_EQ(MouseMessages(),
              (std::vector<Mouse>{{top, WM_LBUTTONDOWN, 15, 25}, {top, WM_LBUTTONUP, 15, 25}}));
    top.EnableWindow(FALSE);
    InjectMouse(MouseAction::LeftDown, {115, 75});
    EXPECT_TRUE(MouseMessages().empty());
    top.EnableWindow(TRUE);
}

TEST_F(InputTest, MouseLeaveComesOncePerArming) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, child, 0};
    InjectMouse(MouseAction::Move, {115, 75});
    ASSERT_TRUE(TrackMouseEvent(&track));
    InjectMouse(MouseAction::Move, {116, 75}); // still inside
    InjectMouse(MouseAction::Move, {200, 200});
    InjectMouse(MouseAction::Move, {600, 600});
    PumpPending();
    ASSERT_EQ(Only(log, {WM_MOUSELEAVE}).size(), 1u);
    for (const Delivered& d : log) {
        if (d.message == WM_MOUSELEAVE) {
            EXPECT_EQ(d.hwnd, child.m_hWnd);
        }
    }
    log.clear();

    // Armed while the mouse is already elsewhere: the leave comes at once.
    ASSERT_TRUE(TrackMouseEvent(&track));
    PumpPending();
    EXPECT_EQ(Only(log, {WM_MOUSELEAVE}).size(), 1u);
    log.clear();

    // Cancelled: none.
    InjectMouse(MouseAction::Move, {115, 75});
    ASSERT_TRUE(TrackMouseEvent(&track));
    track.dwFlags = TME_LEAVE | TME_CANCEL;
    ASSERT_TRUE(TrackMouseEvent(&track));
    InjectMouse(MouseAction::Move, {600, 600});
    PumpPending();
    EXPECT_TRUE(Only(log, {WM_MOUSELEAVE}).empty());
}

TEST_F(InputTest, ASecondPressSoonAndNearIsADoubleClickOnlyForDoubleClickClasses) {
    SolidWnd dbl;
    dbl.log = &log;
    ASSERT_TRUE(dbl.Top({400, 400, 500, 500}, 0, AfxRegisterWndClass(CS_DBLCLKS)));
    PumpPending();
    log.clear();
    auto click = [&](POINT p) {
        InjectMouse(MouseAction::LeftDown, p);
        InjectMouse(MouseAction::LeftUp, p);
    };
    click({410, 410});
    clock.Advance(200);
    click({411, 411});
    click({411, 411}); // a third press starts afresh
    clock.Advance(600);
    click({411, 411}); // too late for a double click with the one before
    PumpPending();
    EXPECT_EQ(
        Only(log, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
        (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
    log.clear();

    click({115, 75}); // the child's class has no CS_DBLCLKS
    click({115, 75});
    PumpPending();
    EXPECT_EQ(Only(log, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
}

TEST_F(InputTest, MovesSetTheClassCursorUnlessTheParentSetsOne) {
    HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    ASSERT_NE(hand, nullptr);
    SolidWnd handed;
    ASSERT_TRUE(handed.Top({600, 0, 700, 100}, 0, AfxRegisterWndClass(0, hand)));
    InjectMouse(MouseAction::Move, {650, 50});
    EXPECT_EQ(GetCursor(), hand);
    InjectMouse(MouseAction::Move, {115, 75});
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));

    HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
    top.hooks[WM_SETCURSOR] = [&](WPARAM, LPARAM) -> LRESULT {
        SetCursor(wait);
        return TRUE;
    };
    InjectMouse(MouseAction::Move, {116, 75});
    EXPECT_EQ(GetCursor(), wait);
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
}

TEST_F(InputTest, EveryStandardCursorLoadsOnceAndNumbersBetweenThemDoNot) {
    for (LPCSTR name :
         {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_UPARROW, IDC_SIZENWSE, IDC_SIZENESW,
          IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_NO, IDC_HAND, IDC_APPSTARTING}) {
        HCURSOR cursor = LoadCursor(nullptr, name);
        ASSERT_NE(cursor, nullptr) << reinterpret_cast<uintptr_t>(name);
        EXPECT_EQ(LoadCursor(nullptr, name), cursor); // shared, not made again
        const platform::CursorShape* shape = platform::CursorShapeOf(cursor);
        ASSERT_NE(shape, nullptr);
        EXPECT_EQ(uintptr_t(shape->standardId), reinterpret_cast<uintptr_t>(name));
    }
    // The gaps in the standard numbers name no cursor.
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(32517)), nullptr);
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(32647)), nullptr);
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(32651)), nullptr);
}

TEST_F(InputTest, KeysAndTextGoToTheFocusWindow) {
    child.SetFocus();
    log.clear();
    InjectKey('A', true);
    InjectKey('A', false);
    InjectKey(VK_RETURN, true);
    InjectText(UnicodeToGbk(U"a中"));
    PumpPending();
    std::vector<std::pair<UINT, WPARAM>> keys;
    for (const Delivered& d : log) {
        EXPECT_EQ(d.hwnd, child.m_hWnd);
        keys.emplace_back(d.message, d.wParam);
    }
    const std::string zhong = UnicodeToGbk(U"中");
    ASSERT_EQ(zhong.size(), 2u);
    EXPECT_EQ(keys, (std::vector<std::pair<UINT, WPARAM>>{
                        {WM_KEYDOWN, 'A'},
                        {WM_KEYUP, 'A'},
                        {WM_KEYDOWN, VK_RETURN},
                        {WM_CHAR, '\r'},
                        {WM_CHAR, 'a'},
                        {WM_CHAR, BYTE(zhong[0])},
                        {WM_CHAR, BYTE(zhong[1])},
                    }));
    EXPECT_TRUE(log[1].lParam & (LPARAM(1) << 31)); // the release flag
}

TEST_F(InputTest, TheWheelGoesToTheFocusWindowWithScreenCoordinatesAndUpToItsParent) {
    child.SetFocus();
    log.clear();
    InjectMouse(MouseAction::Wheel, {250, 200}, -WHEEL_DELTA);
    PumpPending();
    ASSERT_EQ(log.size(), 2u); // unhandled: handed on to the parent
    EXPECT_EQ(log[0].hwnd, child.m_hWnd);
    EXPECT_EQ(log[1].hwnd, top.m_hWnd);
    EXPECT_EQ(short(HIWORD(log[0].wParam)), -WHEEL_DELTA);
    EXPECT_EQ(GET_X_LPARAM(log[0].lParam), 250);
}

} // namespace
