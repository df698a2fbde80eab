#include "tests/support/MessageLog.h"

#include "platform/window/DisplayInstall.h"
#include "platform/window/WindowVisibility.h"

#include <gtest/gtest.h>

using namespace platform_test;

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        PumpPending();
        ASSERT_TRUE(top.CreateEx(0, nullptr, "Pellor", WS_POPUP | WS_VISIBLE, 100, 50, 800, 600,
                                 nullptr, nullptr));
        top.log = &log;
    }
    void TearDown() override {
        if (IsWindow(top.m_hWnd))
            top.DestroyWindow();
        PumpPending();
    }
    std::vector<Delivered> log;
    RecordingWnd top;
};

TEST_F(WindowTest, CreationSendsCreateThenSizeAndAFailedCreateLeavesNoWindow) {
    RecordingWnd child;
    ASSERT_TRUE(child.CreateChild(&top, 3001, {10, 20, 110, 70}, &log));
    EXPECT_EQ(Only(log, {WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}),
              (std::vector<UINT>{WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}));
    auto size = std::find_if(log.begin(), log.end(), [](auto& d) { return d.message == WM_SIZE; });
    EXPECT_EQ(size->lParam, MAKELPARAM(100, 50));
    EXPECT_EQ(child.GetDlgCtrlID(), 3001);
    EXPECT_EQ(top.GetDlgItem(3001), &child);
    EXPECT_EQ(child.GetParent(), &top);

    RecordingWnd refused;
    refused.hooks[WM_CREATE] = [](WPARAM, LPARAM) { return LRESULT(-1); };
    std::vector<Delivered> refusedLog;
    EXPECT_FALSE(refused.CreateChild(&top, 3002, {0, 0, 10, 10}, &refusedLog));
    EXPECT_EQ(refused.m_hWnd, nullptr);
    EXPECT_EQ(top.GetDlgItem(3002), nullptr);
    EXPECT_EQ(MessagesOf(refusedLog).back(), UINT(WM_NCDESTROY));
}

TEST_F(WindowTest, DestroyGoesParentFirstThenNcDestroyChildFirstAndPostNcDestroyMayDelete) {
    auto* child = new RecordingWnd;
    bool deleted = false;
    child->deleted = &deleted;
    child->deleteOnNcDestroy = true;
    ASSERT_TRUE(child->CreateChild(&top, 1, {0, 0, 10, 10}, &log));
    HWND childHwnd = child->m_hWnd;
    HWND topHwnd = top.m_hWnd;
    child->SetTimer(1, 10);
    child->SetFocus();
    child->SetCapture();
    log.clear();
    ASSERT_TRUE(top.DestroyWindow());
    std::vector<std::pair<HWND, UINT>> order;
    for (auto& d : log)
        if (d.message == WM_DESTROY || d.message == WM_NCDESTROY)
            order.push_back({d.hwnd, d.message});
    EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{{topHwnd, WM_DESTROY},
                                                         {childHwnd, WM_DESTROY},
                                                         {childHwnd, WM_NCDESTROY},
                                                         {topHwnd, WM_NCDESTROY}}));
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(IsWindow(childHwnd));
    EXPECT_EQ(top.m_hWnd, nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(DestroyWindow(childHwnd));
}

TEST_F(WindowTest, SizeChangesSendWmSizeAndRectanglesFollow) {
    RecordingWnd child;
    ASSERT_TRUE(child.CreateChild(&top, 1, {10, 20, 110, 70}, &log));
    log.clear();
    child.MoveWindow(30, 40, 200, 100);
    EXPECT_EQ(Only(log, {WM_SIZE, WM_MOVE}), (std::vector<UINT>{WM_SIZE, WM_MOVE}));
    CRect client, window;
    child.GetClientRect(&client);
    child.GetWindowRect(&window);
    EXPECT_EQ(client, CRect(0, 0, 200, 100));
    EXPECT_EQ(window, CRect(130, 90, 330, 190)); // top-level at (100, 50)

    // Only a move: no WM_SIZE.
    log.clear();
    child.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(Only(log, {WM_SIZE, WM_MOVE}), std::vector<UINT>{WM_MOVE});
}

TEST_F(WindowTest, PointsMapBetweenClientAndScreenThroughTheTree) {
    RecordingWnd child, grandchild;
    ASSERT_TRUE(child.CreateChild(&top, 1, {10, 20, 310, 220}, &log));
    ASSERT_TRUE(grandchild.CreateChild(&child, 2, {5, 6, 55, 56}, &log));
    CPoint p(1, 2);
    grandchild.ClientToScreen(&p);
    EXPECT_EQ(p, CPoint(116, 78));
    top.ScreenToClient(&p);
    EXPECT_EQ(p, CPoint(16, 28));
    POINT q{0, 0};
    MapWindowPoints(grandchild.m_hWnd, top.m_hWnd, &q, 1);
    EXPECT_EQ(q.x, 15);
    EXPECT_EQ(q.y, 26);
    EXPECT_EQ(WindowFromPoint({116, 78}), grandchild.m_hWnd);
    EXPECT_EQ(WindowFromPoint({112, 72}), child.m_hWnd);
    grandchild.ShowWindow(SW_HIDE);
    EXPECT_EQ(WindowFromPoint({116, 78}), child.m_hWnd);
}

TEST_F(WindowTest, VisibilityNeedsTheWholeChainAndShowingSendsWmShowWindow) {
    RecordingWnd child;
    ASSERT_TRUE(child.CreateChild(&top, 1, {0, 0, 10, 10}, &log));
    EXPECT_TRUE(child.IsWindowVisible());
    log.clear();
    EXPECT_TRUE(top.ShowWindow(SW_HIDE));
    EXPECT_FALSE(child.IsWindowVisible());
    EXPECT_TRUE(child.GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(top.ShowWindow(SW_HIDE)); // was already hidden: no second message
    EXPECT_EQ(Only(log, {WM_SHOWWINDOW}), std::vector<UINT>{WM_SHOWWINDOW});
    EXPECT_FALSE(GetWindowLong(top.m_hWnd, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(WindowTest, FocusAndCaptureTellTheWindowsThatLoseThem) {
    RecordingWnd a, b;
    ASSERT_TRUE(a.CreateChild(&top, 1, {0, 0, 10, 10}, &log));
    ASSERT_TRUE(b.CreateChild(&top, 2, {0, 0, 10, 10}, &log));
    a.SetFocus();
    log.clear();
    EXPECT_EQ(b.SetFocus(), &a);
    ASSERT_EQ(Only(log, {WM_KILLFOCUS, WM_SETFOCUS}),
              (std::vector<UINT>{WM_KILLFOCUS, WM_SETFOCUS}));
    EXPECT_EQ(log[0].hwnd, a.m_hWnd);
    EXPECT_EQ(HWND(log[0].wParam), b.m_hWnd);
    EXPECT_EQ(CWnd::GetFocus(), &b);

    a.SetCapture();
    log.clear();
    b.SetCapture();
    EXPECT_EQ(CWnd::GetCapture(), &b);
    ASSERT_EQ(MessagesOf(log), std::vector<UINT>{WM_CAPTURECHANGED});
    EXPECT_EQ(log[0].hwnd, a.m_hWnd);

    // WM_CANCELMODE's default handling gives the capture back.
    b.SendMessage(WM_CANCELMODE);
    EXPECT_EQ(GetCapture(), nullptr);

    b.EnableWindow(FALSE);
    EXPECT_FALSE(b.IsWindowEnabled());
    EXPECT_EQ(GetFocus(), nullptr) << "a disabled window keeps no focus";
}

struct EnumState {
    std::vector<HWND> seen;
    size_t stopAfter;
};
BOOL CALLBACK Collect(HWND hwnd, LPARAM lParam) {
    auto* state = reinterpret_cast<EnumState*>(lParam);
    state->seen.push_back(hwnd);
    return state->seen.size() < state->stopAfter;
}

TEST_F(WindowTest, EnumChildWindowsVisitsEveryDescendantAndStopsWhenAsked) {
    RecordingWnd a, b, aChild;
    ASSERT_TRUE(a.CreateChild(&top, 1, {0, 0, 10, 10}, &log));
    ASSERT_TRUE(aChild.CreateChild(&a, 3, {0, 0, 10, 10}, &log));
    ASSERT_TRUE(b.CreateChild(&top, 2, {0, 0, 10, 10}, &log));
    EnumState all{{}, 100};
    EnumChildWindows(top.m_hWnd, Collect, LPARAM(&all));
    // Front to back: b was created last, so it is in front.
    EXPECT_EQ(all.seen, (std::vector<HWND>{b.m_hWnd, a.m_hWnd, aChild.m_hWnd}));
    EnumState two{{}, 2};
    EnumChildWindows(top.m_hWnd, Collect, LPARAM(&two));
    EXPECT_EQ(two.seen.size(), 2u);
}

TEST_F(WindowTest, FindWindowMatchesTopLevelClassAndTitle) {
    RecordingWnd player;
    std::vector<Delivered> playerLog;
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "MusicPlayerWindow";
    RegisterClass(&wc);
    EXPECT_FALSE(RegisterClass(&wc)) << "a class name registers once";
    player.log = &playerLog;
    ASSERT_TRUE(
        player.CreateEx(0, "MusicPlayerWindow", "KNMusic", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
    EXPECT_EQ(FindWindow("musicplayerwindow", nullptr), player.m_hWnd);
    EXPECT_EQ(FindWindow(nullptr, "KNMusic"), player.m_hWnd);
    EXPECT_EQ(FindWindow("MusicPlayerWindow", "other"), nullptr);
    char name[64];
    EXPECT_GT(GetClassName(player.m_hWnd, name, sizeof name), 0);
    EXPECT_STREQ(name, "MusicPlayerWindow");
    player.DestroyWindow();
    EXPECT_EQ(FindWindow(nullptr, "KNMusic"), nullptr);
}

TEST_F(WindowTest, AWindowWithoutCWndUsesItsClassProcedure) {
    static std::vector<UINT> seen;
    seen.clear();
    WNDCLASS wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM w, LPARAM l) -> LRESULT {
        seen.push_back(message);
        return message == 0x4D4 ? LRESULT(w + 1) : DefWindowProc(hwnd, message, w, l);
    };
    wc.lpszClassName = "RelayTestWindow";
    RegisterClass(&wc);
    HWND hwnd = CreateWindowEx(0, "RelayTestWindow", "RuviDerezWnd", 0, 0, 0, 0, 0, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(SendMessage(hwnd, 0x4D4, 41, 0), 42);
    // The client area is settled before the window hears of its creation.
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], UINT(WM_NCCALCSIZE));
    EXPECT_EQ(seen[1], UINT(WM_CREATE));
    CWnd* wrapper = CWnd::FromHandle(hwnd);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    EXPECT_EQ(
        CreateWindowEx(0, "NoSuchClass", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    DestroyWindow(hwnd);
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

TEST_F(WindowTest, PrivateMessagesAndTextReachWindowProc) {
    top.hooks[0x6A6] = [](WPARAM w, LPARAM l) { return LRESULT(w + l); };
    EXPECT_EQ(top.SendMessage(0x6A6, 2, 3), 5);
    top.SetWindowText("牌桌");
    CString text;
    top.GetWindowText(text);
    EXPECT_EQ(text, "牌桌");
    EXPECT_EQ(Only(log, {WM_SETTEXT, WM_GETTEXT}).size(), 2u);
}

TEST_F(WindowTest, UserDataRegionAndLayeredAttributesAreKept) {
    SetWindowLongPtr(top.m_hWnd, GWLP_USERDATA, LONG_PTR(&top));
    EXPECT_EQ(GetWindowLongPtr(top.m_hWnd, GWLP_USERDATA), LONG_PTR(&top));

    struct RegionBackend : platform::DisplayDriver {
        std::vector<HRGN> deleted;
        void DeleteRegion(HRGN region) override { deleted.push_back(region); }
    } backend;
    platform::SetDisplayDriver(&backend);
    HRGN first = reinterpret_cast<HRGN>(0x10), second = reinterpret_cast<HRGN>(0x20);
    top.SetWindowRgn(first, FALSE);
    top.SetWindowRgn(second, FALSE);
    EXPECT_EQ(platform::GetWindowRegion(top.m_hWnd), second);
    EXPECT_EQ(backend.deleted, std::vector<HRGN>{first});
    top.DestroyWindow();
    EXPECT_EQ(backend.deleted, (std::vector<HRGN>{first, second}));
    platform::SetDisplayDriver(nullptr);

    RecordingWnd layered;
    std::vector<Delivered> layeredLog;
    layered.log = &layeredLog;
    EXPECT_FALSE(top.SetLayeredWindowAttributes(0, 128, LWA_ALPHA));
    ASSERT_TRUE(
        layered.CreateEx(WS_EX_LAYERED, nullptr, "tip", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_TRUE(
        layered.SetLayeredWindowAttributes(RGB(255, 0, 255), 200, LWA_ALPHA | LWA_COLORKEY));
    COLORREF key;
    BYTE alpha;
    DWORD flags;
    ASSERT_TRUE(GetLayeredWindowAttributes(layered.m_hWnd, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(255, 0, 255));
    EXPECT_EQ(alpha, 200);
    EXPECT_EQ(flags, DWORD(LWA_ALPHA | LWA_COLORKEY));
}

TEST_F(WindowTest, InvalidAreasBecomeOnePaintAfterPostedMessages) {
    PumpPending();
    log.clear();
    RECT a{0, 0, 10, 10}, b{50, 50, 60, 70};
    top.InvalidateRect(&a, FALSE);
    top.InvalidateRect(&b, FALSE);
    CRect update;
    EXPECT_TRUE(GetUpdateRect(top.m_hWnd, &update, FALSE));
    EXPECT_EQ(update, CRect(0, 0, 60, 70));
    top.PostMessage(WM_USER);
    PumpPending();
    EXPECT_EQ(Only(log, {WM_USER, WM_PAINT}), (std::vector<UINT>{WM_USER, WM_PAINT}));
    EXPECT_FALSE(GetUpdateRect(top.m_hWnd, nullptr, FALSE));

    // Hidden windows are not painted until shown.
    log.clear();
    top.ShowWindow(SW_HIDE);
    top.Invalidate();
    PumpPending();
    EXPECT_TRUE(Only(log, {WM_PAINT}).empty());
    top.ShowWindow(SW_SHOW);
    PumpPending();
    EXPECT_EQ(Only(log, {WM_PAINT}).size(), 1u);
}

TEST_F(WindowTest, ThePaintGivesTheBackendTheInvalidRectangles) {
    struct PaintBackend : platform::DisplayDriver {
        std::vector<RECT> painted;
        HDC BeginPaintDC(HWND, const std::vector<RECT>& invalid) override {
            painted = invalid;
            return reinterpret_cast<HDC>(0x99);
        }
    } backend;
    platform::SetDisplayDriver(&backend);
    PumpPending();
    RECT a{0, 0, 10, 10}, inside{2, 2, 5, 5}, b{20, 0, 30, 10};
    top.InvalidateRect(&a, TRUE);
    top.InvalidateRect(&inside, TRUE);
    top.InvalidateRect(&b, TRUE);
    log.clear();
    top.UpdateWindow();
    ASSERT_EQ(backend.painted.size(), 2u);
    EXPECT_EQ(CRect(backend.painted[0]), CRect(a));
    EXPECT_EQ(CRect(backend.painted[1]), CRect(b));
    EXPECT_EQ(Only(log, {WM_PAINT, WM_ERASEBKGND}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    platform::SetDisplayDriver(nullptr);
}

TEST_F(WindowTest, TheMainWindowIsForgottenWhenDestroyed) {
    AfxSetMainWnd(&top);
    EXPECT_EQ(AfxGetMainWnd(), &top);
    top.DestroyWindow();
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

// A main window that ends the program from its last step must still find
// itself the main window there, whether or not it deletes itself.
class SelfEndingMain : public CWnd {
public:
    explicit SelfEndingMain(bool* sawItself) : sawItself(sawItself) {}
    void PostNcDestroy() override {
        *sawItself = AfxGetMainWnd() == this;
        delete this;
    }
    bool* sawItself;
};

TEST_F(WindowTest, TheMainWindowsLastStepStillFindsItselfTheMainWindow) {
    bool sawItself = false;
    auto* main = new SelfEndingMain(&sawItself);
    ASSERT_TRUE(main->CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    AfxSetMainWnd(main);
    main->DestroyWindow();
    EXPECT_TRUE(sawItself);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

} // namespace
