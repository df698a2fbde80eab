// The non-client area on the headless display: hit-test routing, the frame
// messages, inset client areas, and the move and size loops.

#include "tests/support/DisplayFixture.h"

#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

using namespace platform;
using namespace platform_test;

namespace {

// A skinned top-level window as the shell makes them: the client area is the
// whole window (WM_NCCALCSIZE answered with nothing), the top 20 pixels are
// the caption and an 8-pixel square at the bottom right sizes the window.
class SkinnedWnd : public SolidWnd {
public:
    MINMAXINFO limits{};
    bool limitTracking = false;

    BOOL Open(RECT r, DWORD style = WS_POPUP | WS_VISIBLE) {
        hooks[WM_NCCALCSIZE] = [](WPARAM, LPARAM) { return LRESULT(0); };
        hooks[WM_NCHITTEST] = [this](WPARAM, LPARAM lParam) {
            RECT w;
            ::GetWindowRect(m_hWnd, &w);
            const int x = GET_X_LPARAM(lParam) - w.left, y = GET_Y_LPARAM(lParam) - w.top;
            if (x >= w.right - w.left - 8 && y >= w.bottom - w.top - 8)
                return LRESULT(HTBOTTOMRIGHT);
            if (x < 8 && y < 8)
                return LRESULT(HTTOPLEFT);
            return LRESULT(y < 20 ? HTCAPTION : HTCLIENT);
        };
        return CreateEx(0, nullptr, "skinned", style, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr);
    }
    void OnGetMinMaxInfo(MINMAXINFO* info) override {
        CWnd::OnGetMinMaxInfo(info);
        if (limitTracking) {
            info->ptMinTrackSize = limits.ptMinTrackSize;
            info->ptMaxTrackSize = limits.ptMaxTrackSize;
        }
    }
};

RECT WindowRectOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class NonClientTest : public DisplayTest {
protected:
    std::vector<Delivered> log;

    void TearDown() override {
        ReleaseCapture();
        InjectMouse(MouseAction::LeftUp, {1000, 760});
        PumpPending();
        DisplayTest::TearDown();
    }

    // The messages delivered (sent and posted) since the last look, pumping first.
    std::vector<UINT> Seen(std::vector<UINT> leaveOut = {WM_PAINT, WM_ERASEBKGND, WM_MOUSELEAVE}) {
        PumpPending();
        std::vector<UINT> ids;
        for (const Delivered& d : log)
            if (std::find(leaveOut.begin(), leaveOut.end(), d.message) == leaveOut.end())
                ids.push_back(d.message);
        return ids;
    }
    std::vector<RECT> Sizes() {
        std::vector<RECT> sizes;
        for (const Delivered& d : log)
            if (d.message == WM_SIZE)
                sizes.push_back(RECT{0, 0, LOWORD(d.lParam), HIWORD(d.lParam)});
        return sizes;
    }
    const Delivered* Find(UINT message) {
        for (const Delivered& d : log)
            if (d.message == message)
                return &d;
        return nullptr;
    }
};

TEST_F(NonClientTest, AClickOnTheCaptionArrivesAsFrameMessagesAndRunsTheMoveLoop) {
    SkinnedWnd frame;
    frame.log = &log;
    ASSERT_TRUE(frame.Open({100, 50, 500, 350}));
    PumpPending();
    log.clear();

    InjectMouse(MouseAction::LeftDown, {150, 60});
    InjectMouse(MouseAction::LeftUp, {150, 60});
    EXPECT_EQ(Seen(), (std::vector<UINT>{
                          WM_NCHITTEST, WM_SETCURSOR, WM_NCACTIVATE, WM_ACTIVATE, // the press
                          WM_NCHITTEST, WM_SETCURSOR,                             // the release
                          WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_GETMINMAXINFO, WM_ENTERSIZEMOVE,
                          WM_MOVING, WM_CAPTURECHANGED, WM_EXITSIZEMOVE}));
    const Delivered* down = Find(WM_NCLBUTTONDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->wParam, WPARAM(HTCAPTION));
    EXPECT_EQ(GET_X_LPARAM(down->lParam), 150); // screen coordinates
    EXPECT_EQ(GET_Y_LPARAM(down->lParam), 60);
    EXPECT_EQ(Find(WM_SYSCOMMAND)->wParam, WPARAM(SC_MOVE | HTCAPTION));
    EXPECT_EQ(Find(WM_ACTIVATE)->wParam, WPARAM(WA_CLICKACTIVE));
    EXPECT_TRUE(SameRect(WindowRectOf(frame), {100, 50, 500, 350})); // a click moves nothing
    EXPECT_EQ(GetCapture(), nullptr);

    // Below the caption the same window gets client messages.
    log.clear();
    InjectMouse(MouseAction::LeftDown, {150, 90});
    EXPECT_EQ(Seen(), (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONDOWN}));
    EXPECT_EQ(Find(WM_LBUTTONDOWN)->lParam, MAKELPARAM(50, 40));
}

TEST_F(NonClientTest, DraggingTheCaptionMovesTheWindowByTheDragAndStopsAtTheRelease) {
    SkinnedWnd frame;
    frame.log = &log;
    ASSERT_TRUE(frame.Open({100, 50, 500, 350}));
    PumpPending();
    log.clear();

    InjectMouse(MouseAction::LeftDown, {150, 60});
    InjectMouse(MouseAction::Move, {170, 70});
    InjectMouse(MouseAction::Move, {250, 110});
    InjectMouse(MouseAction::LeftUp, {250, 110});
    PumpPending();
    EXPECT_TRUE(SameRect(WindowRectOf(frame), {200, 100, 600, 400}));
    std::vector<POINT> moves;
    for (const Delivered& d : log)
        if (d.message == WM_MOVE)
            moves.push_back({GET_X_LPARAM(d.lParam), GET_Y_LPARAM(d.lParam)});
    ASSERT_EQ(moves.size(), 2u); // the release at the last point moves no further
    EXPECT_EQ(moves[0].x, 120);
    EXPECT_EQ(moves[0].y, 60);
    EXPECT_EQ(moves[1].x, 200);
    EXPECT_EQ(moves[1].y, 100);
    EXPECT_TRUE(Sizes().empty());

    // After the release the mouse no longer drags it.
    InjectMouse(MouseAction::Move, {400, 300});
    PumpPending();
    EXPECT_TRUE(SameRect(WindowRectOf(frame), {200, 100, 600, 400}));
}

TEST_F(NonClientTest, APostedCaptionPressDragsACaptionlessPopupByAnyPoint) {
    SolidWnd popup;
    popup.log = &log;
    ASSERT_TRUE(popup.Top({100, 50, 300, 250}));
    // The popup's own press handler starts the drag, as skinned dialogs do.
    popup.hooks[WM_LBUTTONDOWN] = [&popup](WPARAM, LPARAM lParam) {
        popup.PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        return LRESULT(0);
    };
    popup.hooks[WM_ENTERSIZEMOVE] = [](WPARAM, LPARAM) {
        InjectMouse(MouseAction::Move, {210, 180});
        InjectMouse(MouseAction::LeftUp, {210, 180});
        return LRESULT(0);
    };
    PumpPending();
    InjectMouse(MouseAction::LeftDown, {200, 150}); // in the middle of the client area
    PumpPending();
    EXPECT_TRUE(SameRect(WindowRectOf(popup), {110, 80, 310, 280}));
    EXPECT_EQ(GetCapture(), nullptr);

    // Posted after the button is already up, the press starts nothing that waits.
    popup.hooks.erase(WM_ENTERSIZEMOVE);
    InjectMouse(MouseAction::LeftDown, {150, 100});
    InjectMouse(MouseAction::LeftUp, {150, 100});
    PumpPending();
    EXPECT_TRUE(SameRect(WindowRectOf(popup), {110, 80, 310, 280}));
}

TEST_F(NonClientTest, EscapeDuringADragPutsTheWindowBack) {
    SkinnedWnd frame;
    ASSERT_TRUE(frame.Open({100, 50, 500, 350}));
    PumpPending();
    frame.SetFocus();
    InjectMouse(MouseAction::LeftDown, {150, 60});
    InjectMouse(MouseAction::Move, {300, 200});
    InjectKey(VK_ESCAPE, true);
    PumpPending();
    EXPECT_TRUE(SameRect(WindowRectOf(frame), {100, 50, 500, 350}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(NonClientTest, DraggingACornerSizesWithinTheMinMaxTrackingLimits) {
    SkinnedWnd frame;
    frame.log = &log;
    frame.limitTracking = true;
    frame.limits.ptMinTrackSize = {200, 150};
    frame.limits.ptMaxTrackSize = {500, 400};
    ASSERT_TRUE(frame.Open({100, 50, 500, 350}));
    PumpPending();
    log.clear();

    // The mouse moves on while the loop runs (it holds the capture then, so
    // points off the window reach it too).
    frame.hooks[WM_ENTERSIZEMOVE] = [](WPARAM, LPARAM) {
        InjectMouse(MouseAction::Move, {546, 376}); // +50, +30
        InjectMouse(MouseAction::Move, {900, 700}); // beyond the maximum
        InjectMouse(MouseAction::Move, {100, 60});  // beyond the minimum
        InjectMouse(MouseAction::LeftUp, {100, 60});
        return LRESULT(0);
    };
    InjectMouse(MouseAction::LeftDown, {496, 346}); // bottom-right sizing square
    PumpPending();
    const Delivered* command = Find(WM_SYSCOMMAND);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->wParam, WPARAM(SC_SIZE + WMSZ_BOTTOMRIGHT));
    const std::vector<RECT> sizes = Sizes();
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[0].right, 450);
    EXPECT_EQ(sizes[0].bottom, 330);
    EXPECT_EQ(sizes[1].right, 500);
    EXPECT_EQ(sizes[1].bottom, 400);
    EXPECT_EQ(sizes[2].right, 200);
    EXPECT_EQ(sizes[2].bottom, 150);
    // The top-left corner stayed where it was.
    EXPECT_TRUE(SameRect(WindowRectOf(frame), {100, 50, 300, 200}));
}

TEST_F(NonClientTest, DraggingTheTopLeftCornerKeepsTheOppositeCornerWhenClamped) {
    SkinnedWnd frame;
    frame.limitTracking = true;
    frame.limits.ptMinTrackSize = {200, 150};
    frame.limits.ptMaxTrackSize = {1000, 1000};
    ASSERT_TRUE(frame.Open({100, 50, 500, 350}));
    PumpPending();
    frame.hooks[WM_ENTERSIZEMOVE] = [](WPARAM, LPARAM) {
        InjectMouse(MouseAction::Move, {452, 352}); // would leave 50 x 0
        InjectMouse(MouseAction::LeftUp, {452, 352});
        return LRESULT(0);
    };
    InjectMouse(MouseAction::LeftDown, {102, 52});
    PumpPending();
    EXPECT_TRUE(SameRect(WindowRectOf(frame), {300, 200, 500, 350}));
}

TEST_F(NonClientTest, DoubleClickOnTheCaptionMaximisesToTheWorkAreaAndBack) {
    SkinnedWnd frame;
    frame.log = &log;
    ASSERT_TRUE(frame.Open({100, 50, 500, 350}, WS_POPUP | WS_VISIBLE | WS_MAXIMIZEBOX));
    PumpPending();
    log.clear();
    RECT work{};
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));

    auto doubleClick = [](POINT at) {
        for (int i = 0; i < 2; ++i) {
            InjectMouse(MouseAction::LeftDown, at);
            InjectMouse(MouseAction::LeftUp, at);
        }
        PumpPending();
    };
    doubleClick({200, 60});
    EXPECT_TRUE(IsZoomed(frame));
    EXPECT_TRUE(SameRect(WindowRectOf(frame), work));
    const Delivered* dblclk = Find(WM_NCLBUTTONDBLCLK);
    ASSERT_NE(dblclk, nullptr);
    EXPECT_EQ(dblclk->wParam, WPARAM(HTCAPTION));
    bool sawMaximizedSize = false;
    for (const Delivered& d : log)
        sawMaximizedSize |= d.message == WM_SIZE && d.wParam == SIZE_MAXIMIZED &&
                            LOWORD(d.lParam) == work.right - work.left;
    EXPECT_TRUE(sawMaximizedSize);

    // A maximised window does not move with its caption.
    InjectMouse(MouseAction::LeftDown, {200, 10});
    InjectMouse(MouseAction::Move, {300, 100});
    InjectMouse(MouseAction::LeftUp, {300, 100});
    PumpPending();
    EXPECT_TRUE(SameRect(WindowRectOf(frame), work));

    clock.Advance(GetDoubleClickTime() + 1);
    doubleClick({200, 10});
    EXPECT_FALSE(IsZoomed(frame));
    EXPECT_TRUE(SameRect(WindowRectOf(frame), {100, 50, 500, 350}));
}

TEST_F(NonClientTest, ACaptionWithoutMaximiseBoxIgnoresDoubleClicks) {
    SkinnedWnd frame;
    ASSERT_TRUE(frame.Open({100, 50, 500, 350}));
    PumpPending();
    for (int i = 0; i < 2; ++i) {
        InjectMouse(MouseAction::LeftDown, {200, 60});
        InjectMouse(MouseAction::LeftUp, {200, 60});
    }
    PumpPending();
    EXPECT_FALSE(IsZoomed(frame));
    EXPECT_TRUE(SameRect(WindowRectOf(frame), {100, 50, 500, 350}));
}

TEST_F(NonClientTest, ShowWindowMaximisesWithinTheWindowsOwnLimitsAndRestores) {
    class Limited : public SolidWnd {
    public:
        void OnGetMinMaxInfo(MINMAXINFO* info) override {
            CWnd::OnGetMinMaxInfo(info);
            info->ptMaxPosition = {10, 20};
            info->ptMaxSize = {600, 500};
        }
    } wnd;
    ASSERT_TRUE(wnd.Top({100, 100, 300, 200}));
    ShowWindow(wnd, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(wnd));
    EXPECT_TRUE(SameRect(WindowRectOf(wnd), {10, 20, 610, 520}));
    EXPECT_NE(GetWindowLong(wnd, GWL_STYLE) & WS_MAXIMIZE, 0);
    ShowWindow(wnd, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(wnd));
    EXPECT_TRUE(SameRect(WindowRectOf(wnd), {100, 100, 300, 200}));

    // Minimised and restored, a maximised window is maximised again.
    ShowWindow(wnd, SW_MAXIMIZE);
    SendMessage(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(wnd));
    EXPECT_FALSE(IsZoomed(wnd));
    SendMessage(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(wnd));
    EXPECT_TRUE(IsZoomed(wnd));
}

TEST_F(NonClientTest, HitTransparentWindowsPassTheClickToTheWindowBeneath) {
    SolidWnd top, lower, upper;
    top.log = lower.log = upper.log = &log;
    ASSERT_TRUE(top.Top({100, 50, 300, 250}));
    ASSERT_TRUE(lower.Child(&top, {10, 10, 60, 60}, 1));
    ASSERT_TRUE(upper.Child(&top, {30, 30, 90, 90}, 2)); // above `lower`, overlapping it
    upper.hooks[WM_NCHITTEST] = [](WPARAM, LPARAM) { return LRESULT(HTTRANSPARENT); };
    PumpPending();
    log.clear();

    // Over both children: the lower sibling takes it.
    InjectMouse(MouseAction::LeftDown, {140, 90});
    PumpPending();
    std::vector<Delivered> downs;
    for (const Delivered& d : log)
        if (d.message == WM_LBUTTONDOWN)
            downs.push_back(d);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hwnd, lower.m_hWnd);
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(30, 30));
    InjectMouse(MouseAction::LeftUp, {140, 90});
    PumpPending();

    // Over the transparent child alone: the parent takes it, in its coordinates.
    log.clear();
    InjectMouse(MouseAction::LeftDown, {180, 130});
    PumpPending();
    downs.clear();
    for (const Delivered& d : log)
        if (d.message == WM_LBUTTONDOWN)
            downs.push_back(d);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hwnd, top.m_hWnd);
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(80, 80));
    // The transparent child was only asked where the point was.
    for (const Delivered& d : log) {
        if (d.hwnd == upper.m_hWnd) {
            EXPECT_EQ(d.message, UINT(WM_NCHITTEST));
        }
    }
}

TEST_F(NonClientTest, HitErrorDropsTheClick) {
    SolidWnd top;
    top.log = &log;
    ASSERT_TRUE(top.Top({100, 50, 300, 250}));
    top.hooks[WM_NCHITTEST] = [](WPARAM, LPARAM) { return LRESULT(HTERROR); };
    PumpPending();
    log.clear();
    InjectMouse(MouseAction::LeftDown, {150, 100});
    EXPECT_EQ(Seen({WM_PAINT, WM_ERASEBKGND, WM_NCACTIVATE, WM_ACTIVATE}),
              (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR}));
}

} // namespace
