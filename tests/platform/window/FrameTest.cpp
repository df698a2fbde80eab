// Inset client areas: the frame's geometry, its painting through
// GetWindowDC and WM_NCPAINT, the default frame, and frame changes at run time.

#include "tests/support/DisplayFixture.h"

#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

using namespace platform;
using namespace platform_test;

namespace {

constexpr COLORREF kFrameColor = RGB(0, 0, 255);
constexpr COLORREF kClientColor = RGB(255, 0, 0);

// An owner-drawn frame: 3 pixels left, 20 on top, 4 right, 6 below; the frame
// is painted blue on WM_NCPAINT, the client area red.
class FramedWnd : public SolidWnd {
public:
    int ncPaints = 0;
    std::vector<UINT> order; // WM_NCPAINT and WM_PAINT as they come

    void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params) override {
        RECT& r = params->rgrc[0];
        r.left += 3;
        r.top += 20;
        r.right -= 4;
        r.bottom -= 6;
    }
    void OnNcPaint() override {
        ++ncPaints;
        order.push_back(WM_NCPAINT);
        CWindowDC dc(this);
        RECT whole;
        GetWindowRect(&whole);
        OffsetRect(&whole, -whole.left, -whole.top);
        dc.FillSolidRect(&whole, kFrameColor);
    }
    void OnPaint() override {
        SolidWnd::OnPaint();
        order.push_back(WM_PAINT); // once the client area is drawn
    }
    LRESULT OnNcHitTest(CPoint point) override {
        LRESULT hit = CWnd::OnNcHitTest(point);
        return hit == HTCLIENT ? HTCLIENT : HTCAPTION;
    }
};

// A COLORREF as the surfaces hold it (0x00RRGGBB).
uint32_t AsPixel(COLORREF c) {
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

class FrameTest : public DisplayTest {
protected:
    std::vector<Delivered> log;
};

TEST_F(FrameTest, TheClientAreaIsWhatWmNcCalcSizeLeaves) {
    FramedWnd wnd;
    wnd.color = kClientColor;
    ASSERT_TRUE(wnd.Top({100, 50, 300, 250}));
    RECT client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.right, 200 - 7);
    EXPECT_EQ(client.bottom, 200 - 26);
    POINT origin{0, 0};
    wnd.ClientToScreen(&origin);
    EXPECT_EQ(origin.x, 103);
    EXPECT_EQ(origin.y, 70);
    RECT window;
    wnd.GetWindowRect(&window);
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(window.bottom, 250);

    // The frame is painted first, then the client area, each where it belongs.
    PumpPending();
    EXPECT_EQ(wnd.order, (std::vector<UINT>{WM_NCPAINT, WM_PAINT}));
    EXPECT_EQ(PixelOf(wnd, 1, 1), 0x0000FFu);
    EXPECT_EQ(PixelOf(wnd, 2, 19), 0x0000FFu);
    EXPECT_EQ(PixelOf(wnd, 3, 20), 0xFF0000u);
    EXPECT_EQ(PixelOf(wnd, 195, 193), 0xFF0000u);
    EXPECT_EQ(PixelOf(wnd, 196, 193), 0x0000FFu);
    EXPECT_EQ(PixelOf(wnd, 195, 194), 0x0000FFu);

    // A client DC cannot draw on the frame.
    FillThroughGetDC(wnd, RGB(0, 255, 0));
    CClientDC dc(&wnd);
    dc.FillSolidRect(-10, -10, 400, 400, RGB(0, 255, 0));
    EXPECT_EQ(PixelOf(wnd, 2, 19), 0x0000FFu);
    EXPECT_EQ(PixelOf(wnd, 3, 20), 0x00FF00u);
}

TEST_F(FrameTest, ChildrenLiveInTheClientAreaAndClicksThereAreClientClicks) {
    FramedWnd wnd;
    SolidWnd child;
    wnd.log = child.log = &log;
    ASSERT_TRUE(wnd.Top({100, 50, 300, 250}));
    ASSERT_TRUE(child.Child(&wnd, {0, 0, 30, 30}));
    RECT r;
    child.GetWindowRect(&r);
    EXPECT_EQ(r.left, 103);
    EXPECT_EQ(r.top, 70);
    EXPECT_EQ(WindowFromPoint({104, 71}), child.m_hWnd);
    EXPECT_EQ(WindowFromPoint({101, 60}), wnd.m_hWnd); // the frame is the window's
    PumpPending();
    log.clear();

    InjectMouse(MouseAction::LeftDown, {150, 100});
    InjectMouse(MouseAction::LeftUp, {150, 100});
    PumpPending();
    std::vector<Delivered> presses;
    for (const Delivered& d : log)
        if (d.message == WM_LBUTTONDOWN || d.message == WM_NCLBUTTONDOWN)
            presses.push_back(d);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].message, UINT(WM_LBUTTONDOWN));
    EXPECT_EQ(presses[0].lParam, MAKELPARAM(47, 30)); // client coordinates
}

TEST_F(FrameTest, TheDefaultFrameHasACaptionThatClosesAndChangesWithTheStyle) {
    SolidWnd wnd;
    wnd.log = &log;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "framed", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                             100, 50, 200, 150, nullptr, nullptr));
    const int caption = GetSystemMetrics(SM_CYCAPTION), border = GetSystemMetrics(SM_CXBORDER);
    RECT client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.right, 200 - 2 * border);
    EXPECT_EQ(client.bottom, 150 - 2 * border - caption);
    SetActiveWindow(wnd);
    PumpPending();
    EXPECT_EQ(PixelOf(wnd, 40, border + caption / 2), AsPixel(GetSysColor(COLOR_ACTIVECAPTION)));

    // Where the default frame says things are.
    EXPECT_EQ(SendMessage(wnd, WM_NCHITTEST, 0, MAKELPARAM(140, 55)), LRESULT(HTCAPTION));
    EXPECT_EQ(SendMessage(wnd, WM_NCHITTEST, 0, MAKELPARAM(140, 120)), LRESULT(HTCLIENT));
    EXPECT_EQ(SendMessage(wnd, WM_NCHITTEST, 0, MAKELPARAM(290, 50 + border + caption / 2)),
              LRESULT(HTCLOSE));
    EXPECT_EQ(SendMessage(wnd, WM_NCHITTEST, 0, MAKELPARAM(500, 500)), LRESULT(HTNOWHERE));

    // Taking the caption away at run time gives the whole window to the client.
    log.clear();
    ::SetWindowLong(wnd, GWL_STYLE, wnd.GetStyle() & ~WS_CAPTION);
    wnd.SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 150);
    const std::vector<UINT> seen = Only(log, {WM_NCCALCSIZE, WM_SIZE});
    EXPECT_EQ(seen, (std::vector<UINT>{WM_NCCALCSIZE, WM_SIZE}));
    LPARAM lastSize = 0;
    for (const Delivered& d : log)
        if (d.message == WM_SIZE)
            lastSize = d.lParam;
    EXPECT_EQ(lastSize, MAKELPARAM(200, 150));
    // And back.
    ::SetWindowLong(wnd, GWL_STYLE, wnd.GetStyle() | WS_CAPTION);
    wnd.SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.bottom, 150 - 2 * border - caption);

    // A click on the close box closes the window.
    InjectMouse(MouseAction::LeftDown, {290, 50 + border + caption / 2});
    InjectMouse(MouseAction::LeftUp, {290, 50 + border + caption / 2});
    PumpPending();
    EXPECT_FALSE(IsWindow(wnd.m_hWnd));
}

TEST_F(FrameTest, AdjustingAClientRectangleGivesTheWindowThatHasIt) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
    RECT r{100, 100, 300, 200};
    ASSERT_TRUE(AdjustWindowRectEx(&r, style, FALSE, 0));
    SolidWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr));
    RECT client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
    POINT origin{0, 0};
    wnd.ClientToScreen(&origin);
    EXPECT_EQ(origin.x, 100);
    EXPECT_EQ(origin.y, 100);
    RECT plain{0, 0, 50, 50};
    AdjustWindowRect(&plain, WS_CHILD | WS_BORDER, FALSE); // controls keep their edges inside
    EXPECT_EQ(plain.right - plain.left, 50);
}

TEST_F(FrameTest, APressOnTheCloseBoxReleasedElsewhereClosesNothing) {
    SolidWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "framed", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                             100, 50, 200, 150, nullptr, nullptr));
    const int y = 50 + GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CYCAPTION) / 2;
    InjectMouse(MouseAction::LeftDown, {290, y});
    InjectMouse(MouseAction::LeftUp, {200, 150});
    PumpPending();
    EXPECT_TRUE(IsWindow(wnd.m_hWnd));
}

TEST_F(FrameTest, AHandlerThatAsksForTheImpossibleGetsAClientAreaInsideTheWindow) {
    class Greedy : public SolidWnd {
    public:
        void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params) override {
            params->rgrc[0].left -= 50;                       // outside the window
            params->rgrc[0].bottom += 1000;                   // taller than the window
            params->rgrc[0].right = params->rgrc[0].left - 5; // inverted
        }
    } wnd;
    ASSERT_TRUE(wnd.Top({100, 50, 300, 250}));
    RECT client;
    wnd.GetClientRect(&client);
    EXPECT_GE(client.right, 0);
    EXPECT_LE(client.right, 200);
    EXPECT_LE(client.bottom, 200);
    PumpPending(); // paints without touching pixels outside the window
}

} // namespace
