#include "tests/support/MessageLog.h"

#include "platform/system/Thread.h"

#include <gtest/gtest.h>
#include <thread>

using namespace platform_test;

namespace {

constexpr UINT kPrivate = 0x5524;
constexpr UINT kGameRecord = 0x1005;

class MessageQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        PumpPending();
        ASSERT_TRUE(wnd.CreateTop(&log));
        log.clear();
    }
    void TearDown() override {
        wnd.DestroyWindow();
        PumpPending();
    }
    std::vector<Delivered> log;
    RecordingWnd wnd;
};

TEST_F(MessageQueueTest, SendRunsAtOnceAndPostWaitsForThePump) {
    wnd.PostMessage(WM_USER + 1, 1, 0);
    wnd.hooks[kGameRecord] = [](WPARAM length, LPARAM) { return LRESULT(length * 2); };
    EXPECT_EQ(wnd.SendMessage(kGameRecord, 21, 0), 42);
    EXPECT_EQ(MessagesOf(log), std::vector<UINT>{kGameRecord});

    EXPECT_EQ(PumpPending(), 1);
    EXPECT_EQ(MessagesOf(log), (std::vector<UINT>{kGameRecord, WM_USER + 1}));
}

TEST_F(MessageQueueTest, PostedMessagesKeepTheirOrderAndParameters) {
    for (int i = 0; i < 5; ++i)
        wnd.PostMessage(kPrivate + (i % 2), WPARAM(i), LPARAM(-i));
    PumpPending();
    ASSERT_EQ(log.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(log[i].message, kPrivate + (i % 2));
        EXPECT_EQ(log[i].wParam, WPARAM(i));
        EXPECT_EQ(log[i].lParam, LPARAM(-i));
    }
}

TEST_F(MessageQueueTest, MessagePostedInsideASendHandlerRunsAfterItAndAfterEarlierPosts) {
    wnd.PostMessage(WM_USER + 1);
    wnd.hooks[kGameRecord] = [&](WPARAM, LPARAM) {
        wnd.PostMessage(WM_USER + 2);
        // A nested send runs at once, inside this handler.
        wnd.SendMessage(WM_USER + 3);
        return LRESULT(7);
    };
    EXPECT_EQ(wnd.SendMessage(kGameRecord), 7);
    PumpPending();
    EXPECT_EQ(MessagesOf(log),
              (std::vector<UINT>{kGameRecord, WM_USER + 3, WM_USER + 1, WM_USER + 2}));
}

TEST_F(MessageQueueTest, PostedMessagesToADestroyedWindowAreDropped) {
    RecordingWnd other;
    std::vector<Delivered> otherLog;
    ASSERT_TRUE(other.CreateTop(&otherLog));
    HWND gone = other.m_hWnd;
    other.PostMessage(kPrivate);
    other.DestroyWindow();
    otherLog.clear();
    PumpPending();
    EXPECT_TRUE(otherLog.empty());
    EXPECT_FALSE(PostMessage(gone, kPrivate, 0, 0));
    EXPECT_EQ(SendMessage(gone, kPrivate, 0, 0), 0);
}

TEST_F(MessageQueueTest, QuitComesAfterEveryPostedMessage) {
    wnd.PostMessage(WM_USER + 1);
    PostQuitMessage(3);
    wnd.PostMessage(WM_USER + 2);
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_USER + 1));
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_USER + 2));
    EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, PeekWithoutRemoveLeavesTheMessageAndFiltersSelect) {
    wnd.PostMessage(WM_USER + 1);
    wnd.PostMessage(WM_USER + 5);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 1));
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 5, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 5));
    EXPECT_FALSE(PeekMessage(&msg, HWND(0x1234), 0, 0, PM_REMOVE));
    EXPECT_EQ(PumpPending(), 1);
}

TEST_F(MessageQueueTest, CopyDataReachesTheHandlerWithTheSender) {
    struct Receiver : RecordingWnd {
        std::string text;
        CWnd* from = nullptr;
        BOOL OnCopyData(CWnd* sender, COPYDATASTRUCT* data) override {
            from = sender;
            text.assign(static_cast<const char*>(data->lpData), data->cbData);
            return data->dwData == 16;
        }
    } receiver;
    std::vector<Delivered> receiverLog;
    ASSERT_TRUE(receiver.CreateTop(&receiverLog));
    char file[] = "music\\song.mid";
    COPYDATASTRUCT data{16, DWORD(sizeof file - 1), file};
    EXPECT_EQ(::SendMessage(receiver.m_hWnd, WM_COPYDATA, WPARAM(wnd.m_hWnd), LPARAM(&data)), 1);
    EXPECT_EQ(receiver.text, "music\\song.mid");
    EXPECT_EQ(receiver.from, &wnd);
}

TEST_F(MessageQueueTest, PostFromAnotherThreadWakesABlockedGetMessage) {
    std::thread poster([hwnd = wnd.m_hWnd] {
        // Give the main thread time to block; correctness does not depend on it.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        PostMessage(hwnd, kPrivate, 11, 0);
    });
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    poster.join();
    EXPECT_EQ(msg.message, kPrivate);
    EXPECT_EQ(msg.wParam, 11u);
}

TEST_F(MessageQueueTest, SendFromAnotherThreadRunsOnTheWindowsThreadAndReturnsItsResult) {
    std::thread::id handledOn;
    wnd.hooks[0x4D4] = [&](WPARAM previous, LPARAM) {
        handledOn = std::this_thread::get_id();
        wnd.PostMessage(WM_NULL); // lets the waiting GetMessage return
        return LRESULT(previous + 1);
    };
    LRESULT result = 0;
    std::thread sender([&, hwnd = wnd.m_hWnd] { result = SendMessage(hwnd, 0x4D4, 41, 0); });
    // The send arrives while the pump waits; quit once it has been handled.
    while (handledOn == std::thread::id()) {
        MSG msg;
        if (GetMessage(&msg, nullptr, 0, 0))
            DispatchMessage(&msg);
    }
    sender.join();
    EXPECT_EQ(handledOn, std::this_thread::get_id());
    EXPECT_EQ(result, 42);
}

} // namespace
