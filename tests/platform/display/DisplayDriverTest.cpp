// The display driver table: what the window manager, the DCs, the message
// loop, the clipboard, the cursor and the sound output ask of the installed
// driver, and the window queries a driver reads windows through.

#include "tests/support/MessageLog.h"

#include "platform/CodePage.h"
#include "platform/gdi/Gdi.h"
#include "platform/sound/Sound.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Cursor.h"
#include "platform/window/DisplayInstall.h"
#include "platform/window/WindowVisibility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>

using namespace platform;
using namespace platform_test;

namespace {

// Records what it is asked; its "desktop" clipboard, events and audio device
// are plain members a test sets.
class RecordingDriver : public DisplayDriver {
public:
    struct Change {
        HWND hwnd;
        unsigned bits;
    };
    std::vector<Change> changes;
    std::vector<HWND> created, destroyed;
    std::vector<std::pair<HWND, bool>> dcRequests; // (window, whole window)
    std::vector<HDC> released;

    std::optional<std::string> desktopText;
    HCURSOR shownCursor = nullptr;
    bool cursorVisible = false;
    int cursorCalls = 0;

    ManualClock* clock = nullptr; // Wait steps it by the time it waited
    std::vector<int> waits;
    std::function<void()> nextEvent; // what Pump turns into messages

    bool deviceOpens = false;
    SoundMixer* openMixer = nullptr;
    int closes = 0;

    void WindowCreated(HWND hwnd) override { created.push_back(hwnd); }
    void WindowDestroyed(HWND hwnd) override {
        EXPECT_TRUE(IsWindow(hwnd)); // still readable
        destroyed.push_back(hwnd);
    }
    void WindowChanged(HWND hwnd, unsigned bits) override { changes.push_back({hwnd, bits}); }

    HDC GetWindowDC(HWND hwnd, bool wholeWindow) override {
        dcRequests.emplace_back(hwnd, wholeWindow);
        return CreateCompatibleDC(nullptr);
    }
    int ReleaseWindowDC(HWND, HDC hdc) override {
        released.push_back(hdc);
        return DeleteDC(hdc);
    }

    bool Wait(int timeoutMs) override {
        waits.push_back(timeoutMs);
        if (clock)
            clock->Advance(50);
        return true;
    }
    bool Pump() override {
        if (!nextEvent)
            return false;
        std::exchange(nextEvent, nullptr)();
        return true;
    }

    void SetClipboardText(const std::string& utf8) override { desktopText = utf8; }
    std::optional<std::string> GetClipboardText() override { return desktopText; }

    void ShowCursorShape(HCURSOR cursor, bool visible) override {
        shownCursor = cursor;
        cursorVisible = visible;
        ++cursorCalls;
    }

    bool OpenAudio(SoundMixer& mixer) override {
        if (deviceOpens)
            openMixer = &mixer;
        return deviceOpens;
    }
    void CloseAudio() override {
        ++closes;
        openMixer = nullptr;
    }
};

// Installs the driver for one test and takes it out again.
class DisplayDriverTest : public ::testing::Test {
protected:
    ManualClock clock;
    ScopedClock useClock{clock};
    RecordingDriver driver;
    std::vector<Delivered> log;

    void SetUp() override { SetDisplayDriver(&driver); }
    void TearDown() override {
        PumpPending();
        StartAudio(AudioOutput::Null);
        SetDisplayDriver(nullptr);
    }
};

std::string ClipboardText() {
    if (!OpenClipboard(nullptr))
        return "<not open>";
    HANDLE data = GetClipboardData(CF_TEXT);
    std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "<none>";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    return text;
}

void PutClipboardText(const std::string& gbk) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, gbk.size() + 1);
    memcpy(GlobalLock(block), gbk.c_str(), gbk.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

TEST_F(DisplayDriverTest, TheTreeTellsTheDriverOfWindowsAndWindowDcsComeFromIt) {
    RecordingWnd top;
    ASSERT_TRUE(top.CreateTop(&log));
    EXPECT_EQ(driver.created, std::vector<HWND>{top.m_hWnd});

    driver.changes.clear();
    top.MoveWindow(10, 20, 300, 100);
    ASSERT_FALSE(driver.changes.empty());
    EXPECT_EQ(driver.changes.back().hwnd, top.m_hWnd);
    EXPECT_EQ(driver.changes.back().bits & (kWindowMoved | kWindowSized),
              unsigned(kWindowMoved | kWindowSized));
    top.SetWindowText("牌桌");
    EXPECT_EQ(driver.changes.back().bits, unsigned(kWindowText));
    // Minimised and restored: the desktop's window follows.
    auto toldIconic = [&] {
        return std::any_of(driver.changes.begin(), driver.changes.end(),
                           [](const auto& c) { return (c.bits & kWindowIconic) != 0; });
    };
    top.ShowWindow(SW_SHOW);
    driver.changes.clear();
    top.ShowWindow(SW_MINIMIZE);
    EXPECT_TRUE(toldIconic() && IsIconic(top.m_hWnd));
    driver.changes.clear();
    top.ShowWindow(SW_RESTORE);
    EXPECT_TRUE(toldIconic() && !IsIconic(top.m_hWnd));

    HDC client = GetDC(top.m_hWnd);
    HDC whole = GetWindowDC(top.m_hWnd);
    ASSERT_TRUE(client && whole);
    EXPECT_EQ(driver.dcRequests,
              (std::vector<std::pair<HWND, bool>>{{top.m_hWnd, false}, {top.m_hWnd, true}}));
    EXPECT_EQ(ReleaseDC(top.m_hWnd, client), 1);
    EXPECT_EQ(ReleaseDC(top.m_hWnd, whole), 1);
    EXPECT_EQ(driver.released, (std::vector<HDC>{client, whole}));

    HWND handle = top.m_hWnd;
    top.DestroyWindow();
    EXPECT_EQ(driver.destroyed, std::vector<HWND>{handle});
}

TEST_F(DisplayDriverTest, ANewDriverIsShownTheCursorAndFollowsItsChanges) {
    SetDisplayDriver(nullptr);
    HCURSOR ibeam = LoadCursor(nullptr, IDC_IBEAM);
    ASSERT_TRUE(ibeam);
    SetCursor(ibeam);
    driver.cursorCalls = 0;
    SetDisplayDriver(&driver);
    EXPECT_EQ(driver.cursorCalls, 1);
    EXPECT_EQ(driver.shownCursor, ibeam);
    EXPECT_TRUE(driver.cursorVisible);

    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(arrow);
    EXPECT_EQ(driver.shownCursor, arrow);
    ShowCursor(FALSE);
    EXPECT_FALSE(driver.cursorVisible);
    ShowCursor(TRUE);
    EXPECT_TRUE(driver.cursorVisible);
}

TEST_F(DisplayDriverTest, ClipboardTextReachesTheDesktopAndTheDesktopsTextComesBack) {
    PutClipboardText(UnicodeToGbk(U"复制的牌局"));
    ASSERT_TRUE(driver.desktopText);
    EXPECT_EQ(*driver.desktopText, GbkToUtf8(UnicodeToGbk(U"复制的牌局")));

    // Another program copies: its text replaces ours, as GBK.
    driver.desktopText = GbkToUtf8(UnicodeToGbk(U"外来"));
    EXPECT_EQ(ClipboardText(), UnicodeToGbk(U"外来"));

    // A desktop clipboard that cannot be read leaves ours alone.
    driver.desktopText = std::nullopt;
    EXPECT_EQ(ClipboardText(), UnicodeToGbk(U"外来"));
}

TEST_F(DisplayDriverTest, TheMessageLoopPumpsAndWaitsThroughTheDriver) {
    RecordingWnd top;
    ASSERT_TRUE(top.CreateTop(&log));
    PumpPending();
    log.clear();

    // An event the driver holds becomes a message at the next look at the queue.
    driver.nextEvent = [&] { top.PostMessage(WM_USER + 7); };
    PumpPending();
    EXPECT_EQ(MessagesOf(log), std::vector<UINT>{WM_USER + 7});
    EXPECT_TRUE(driver.waits.empty()); // nothing blocked

    // Nothing to do but a timer: the loop sleeps in the driver until it is due.
    log.clear();
    driver.clock = &clock;
    top.SetTimer(3, 120);
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(msg.wParam, UINT_PTR(3));
    EXPECT_GE(driver.waits.size(), 3u); // 50 ms a wait
    top.KillTimer(3);
}

TEST_F(DisplayDriverTest, SoundPlaysOnTheDriversDeviceOrFallsBackToTheNullDevice) {
    driver.deviceOpens = false;
    EXPECT_EQ(StartAudio(AudioOutput::Driver), AudioOutput::Null);
    EXPECT_EQ(CurrentAudio(), AudioOutput::Null);

    driver.deviceOpens = true;
    EXPECT_EQ(StartAudio(AudioOutput::Driver), AudioOutput::Driver);
    EXPECT_NE(driver.openMixer, nullptr);
    EXPECT_EQ(CurrentAudio(), AudioOutput::Driver);
    EXPECT_TRUE(PlayedSounds().empty()); // the null device is not listening

    const int closesBefore = driver.closes;
    EXPECT_EQ(StartAudio(AudioOutput::Null), AudioOutput::Null);
    EXPECT_EQ(driver.closes, closesBefore + 1);
    EXPECT_EQ(driver.openMixer, nullptr);
}

// What a driver reads windows through, without the tree's private records.
TEST_F(DisplayDriverTest, WindowQueriesGiveTheTreeByHandle) {
    RecordingWnd back, front, child, grandchild;
    ASSERT_TRUE(back.CreateEx(0, nullptr, "back", WS_POPUP | WS_VISIBLE, 100, 50, 300, 200, nullptr,
                              nullptr));
    ASSERT_TRUE(front.CreateEx(0, nullptr, "front", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    ASSERT_TRUE(child.CreateChild(&back, 1, RECT{10, 20, 110, 120}, nullptr));
    ASSERT_TRUE(grandchild.CreateChild(&child, 2, RECT{5, 6, 25, 26}, nullptr));
    front.BringWindowToTop();

    const std::vector<HWND> tops = TopLevelWindowList();
    auto frontAt = std::find(tops.begin(), tops.end(), front.m_hWnd);
    auto backAt = std::find(tops.begin(), tops.end(), back.m_hWnd);
    ASSERT_TRUE(frontAt != tops.end() && backAt != tops.end());
    EXPECT_LT(frontAt, backAt);
    EXPECT_EQ(ChildWindowList(back.m_hWnd), std::vector<HWND>{child.m_hWnd});

    EXPECT_EQ(ParentWindowOf(grandchild.m_hWnd), child.m_hWnd);
    EXPECT_EQ(ParentWindowOf(back.m_hWnd), nullptr);
    POINT offset{};
    EXPECT_EQ(TopLevelWindowOf(grandchild.m_hWnd, &offset), back.m_hWnd);
    EXPECT_EQ(offset.x, 15);
    EXPECT_EQ(offset.y, 26);

    RECT rect{};
    ASSERT_TRUE(WindowRectInParent(grandchild.m_hWnd, &rect));
    EXPECT_EQ(CRect(rect), CRect(5, 6, 25, 26));
    ASSERT_TRUE(WindowRectInParent(back.m_hWnd, &rect));
    EXPECT_EQ(CRect(rect), CRect(100, 50, 400, 250));
    EXPECT_TRUE(HasVisibleStyle(back.m_hWnd));
    EXPECT_FALSE(HasVisibleStyle(front.m_hWnd));

    std::vector<Delivered> backLog;
    back.log = &backLog;
    EXPECT_EQ(StoredWindowText(back.m_hWnd), "back");
    EXPECT_TRUE(backLog.empty()); // read without WM_GETTEXT

    // The child's shape and what of it shows: its own child is cut out.
    EXPECT_EQ(WindowShape(child.m_hWnd).Bounds(), CRect(10, 20, 110, 120));
    const Region visible = VisibleRegion(child.m_hWnd);
    EXPECT_FALSE(visible.Contains(10, 10));
    EXPECT_TRUE(visible.Contains(50, 50));

    HWND gone = front.m_hWnd;
    front.DestroyWindow();
    EXPECT_TRUE(ChildWindowList(gone).empty());
    EXPECT_EQ(TopLevelWindowOf(gone, &offset), nullptr);
    EXPECT_FALSE(WindowRectInParent(gone, &rect));
    EXPECT_EQ(StoredWindowText(gone), "");
    EXPECT_TRUE(WindowShape(gone).Rects().empty());
}

} // namespace
