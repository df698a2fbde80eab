// The entry into a game against the local table host: the wait window the
// library makes shows while the socket connects, then the connected text,
// and is gone before the login reaches the host.

#include "SkinFixture.h"

#include "knclientUI05/KitStartup.h"
#include "knclientUI05/WaitDlg.h"
#include "knclientbase05/KNSocket.h"
#include "knclientbase05/LaunchInfo.h"
#include "knclientbase05/WaitWindow.h"
#include "platform/window/SystemMetrics.h"
#include "tests/knclientbase05/ProcessArguments.h"
#include "tools/tablehost/TableHost.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using ui_test::SkinTest;

struct Seen {
    std::vector<UINT> texts;
    std::vector<bool> shown; // the library's window was on screen
    bool closedBeforeLogin = false;
    bool closed = false;
};
Seen g_seen;
WaitWindowMaker g_libraryMaker = nullptr;
CTableHost* g_host = nullptr;

// Whether a skinned dialog is on screen where a window without a parent is
// centred.
bool SkinnedWindowShown() {
    const POINT centre{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    HWND window = WindowFromPoint(centre);
    while (window != nullptr && GetParent(window) != nullptr)
        window = GetParent(window);
    return window != nullptr && IsWindowVisible(window) &&
           GetWindowLong(window, GWL_USERDATA) == KN_DIALOG_MARK;
}

std::vector<UINT> g_tips;
int IdTip(UINT id, UINT, UINT) {
    g_tips.push_back(id);
    return IDOK;
}
int TextTip(LPCSTR, UINT, UINT) {
    g_tips.push_back(0);
    return IDOK;
}

// Watches the library's own wait window from outside.
class WatchedWaitWindow : public CWaitWindow {
public:
    explicit WatchedWaitWindow(CWaitWindow* window) : m_window(window) {}
    ~WatchedWaitWindow() override {
        m_window.reset();
        g_seen.closed = true;
        g_seen.closedBeforeLogin = g_host == nullptr || g_host->FindClient("alice") < 0;
    }
    void ShowText(UINT stringId) override {
        m_window->ShowText(stringId);
        g_seen.texts.push_back(stringId);
        g_seen.shown.push_back(SkinnedWindowShown());
    }

private:
    std::unique_ptr<CWaitWindow> m_window;
};

CWaitWindow* WatchedMaker() {
    return new WatchedWaitWindow(g_libraryMaker());
}

class WaitHostTest : public SkinTest {
protected:
    void SetUp() override {
        SkinTest::SetUp();
        setenv("PELLOR_CONFIG_DIR", m_folder.Path().c_str(), 1);
        savedLaunch = theLaunchInfo;
        CTableHost::Options options;
        options.table.humanSeats = 1;
        options.tableNumber = 42;
        host = std::make_unique<CTableHost>(options);
        ASSERT_TRUE(host->Start());
        g_host = host.get();
        g_seen = Seen{};
        g_tips.clear();
        socket.SetTipCallbacks(TextTip, IdTip);
        InstallWaitWindows();
        g_libraryMaker = SetWaitWindowMaker(WatchedMaker);
    }
    void TearDown() override {
        SetWaitWindowMaker(nullptr);
        socket.Close();
        host.reset();
        g_host = nullptr;
        theLaunchInfo = savedLaunch;
        unsetenv("PELLOR_CONFIG_DIR");
        SkinTest::TearDown();
    }
    std::vector<std::string> Launch() const {
        return {"pellor", "1",         "alice",
                "Alice",  "ticket",    "513",
                "room",   "127.0.0.1", std::to_string(host->Port()),
                "extra",  "127.0.0.1", "7002",
                "lv",     "9"};
    }

    std::unique_ptr<CTableHost> host;
    CKNSocket socket;
    tagLAUNCHINFO savedLaunch{};
};

TEST_F(WaitHostTest, TheSkinnedWaitWindowShowsWhileConnectingAndGoesBeforeTheLogin) {
    ProcessArguments arguments(Launch());
    EXPECT_EQ(socket.ConnectAndLogin(), 1);
    EXPECT_EQ(g_seen.texts, (std::vector<UINT>{29908, 29913}));
    EXPECT_EQ(g_seen.shown, (std::vector<bool>{true, true}));
    EXPECT_TRUE(g_seen.closed);
    EXPECT_TRUE(g_seen.closedBeforeLogin);
    EXPECT_GE(host->FindClient("alice"), 0);
}

TEST_F(WaitHostTest, WithoutTheSkinThePlainWaitWindowServes) {
    theSkin.bSkinInUse = false;
    ProcessArguments arguments(Launch());
    EXPECT_EQ(socket.ConnectAndLogin(), 1);
    EXPECT_EQ(g_seen.texts, (std::vector<UINT>{29908, 29913}));
    EXPECT_TRUE(g_seen.closedBeforeLogin);
}

TEST_F(WaitHostTest, AHostThatIsNotThereClosesTheWaitWindowToo) {
    const UINT port = host->Port();
    host.reset();
    std::vector<std::string> launch = {"pellor", "1",         "alice",
                                       "Alice",  "ticket",    "513",
                                       "room",   "127.0.0.1", std::to_string(port),
                                       "extra",  "127.0.0.1", "7002",
                                       "lv",     "9"};
    g_host = nullptr;
    ProcessArguments arguments(launch);
    EXPECT_EQ(socket.ConnectAndLogin(), 0);
    EXPECT_EQ(g_seen.texts, std::vector<UINT>{29908});
    EXPECT_TRUE(g_seen.closed);
}

} // namespace
