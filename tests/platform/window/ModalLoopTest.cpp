#include "tests/support/MessageLog.h"

#include "platform/system/EventLoop.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace platform_test;

namespace {

class ModalLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        PumpPending();
        clock.SetAutoAdvance(true);
        ASSERT_TRUE(box.CreateTop(&log));
        log.clear();
    }
    void TearDown() override {
        if (IsWindow(box.m_hWnd))
            box.DestroyWindow();
        PumpPending();
    }
    platform::ManualClock clock;
    platform::ScopedClock scoped{clock};
    std::vector<Delivered> log;
    RecordingWnd box;
};

// The reply wait: a timer ticks inside the loop, its handler starts the peer
// (writes to a pipe), the descriptor notification ends the loop with a result.
TEST_F(ModalLoopTest, DeliversATimerAndADescriptorEventAndReturnsTheResult) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const uint64_t start = clock.NowMs();
    int ticks = 0;
    box.hooks[WM_TIMER] = [&](WPARAM, LPARAM) {
        if (++ticks == 3) {
            EXPECT_EQ(write(fds[1], "R", 1), 1);
        }
        return LRESULT(0);
    };
    char received = 0;
    platform::WatchId watch =
        platform::WatchFd(fds[0], platform::kFdReadable, [&](int fd, uint32_t) {
            EXPECT_EQ(read(fd, &received, 1), 1);
            box.EndModalLoop(0x61);
        });
    box.SetTimer(1, 100);
    EXPECT_EQ(box.RunModalLoop(), 0x61);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(received, 'R');
    EXPECT_EQ(clock.NowMs() - start, 300u); // virtual time: no real waiting
    platform::UnwatchFd(watch);
    close(fds[0]);
    close(fds[1]);
}

TEST_F(ModalLoopTest, NestedLoopsEndInnermostFirst) {
    RecordingWnd inner;
    std::vector<Delivered> innerLog;
    ASSERT_TRUE(inner.CreateTop(&innerLog));
    int innerResult = 0;
    box.hooks[WM_USER + 1] = [&](WPARAM, LPARAM) {
        inner.PostMessage(WM_USER + 2);
        innerResult = inner.RunModalLoop();
        box.EndModalLoop(2);
        return LRESULT(0);
    };
    inner.hooks[WM_USER + 2] = [&](WPARAM, LPARAM) {
        inner.EndModalLoop(1);
        return LRESULT(0);
    };
    box.PostMessage(WM_USER + 1);
    EXPECT_EQ(box.RunModalLoop(), 2);
    EXPECT_EQ(innerResult, 1);
    EXPECT_FALSE(inner.ContinueModal());
}

TEST_F(ModalLoopTest, QuitEndsTheLoopAndReachesTheOuterLoop) {
    box.hooks[WM_USER + 1] = [&](WPARAM, LPARAM) {
        PostQuitMessage(9);
        return LRESULT(0);
    };
    box.PostMessage(WM_USER + 1);
    EXPECT_EQ(box.RunModalLoop(), -1);
    MSG msg;
    EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 9u);
}

HWND g_doomed = nullptr;
void CALLBACK DestroyDoomed(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    DestroyWindow(g_doomed);
}

TEST_F(ModalLoopTest, DestroyingTheWindowEndsItsLoopEvenWhenTheObjectIsDeleted) {
    auto* owned = new RecordingWnd;
    std::vector<Delivered> ownedLog;
    bool deleted = false;
    owned->deleted = &deleted;
    owned->deleteOnNcDestroy = true; // deleted in PostNcDestroy, inside the loop
    ASSERT_TRUE(owned->CreateTop(&ownedLog));
    g_doomed = owned->m_hWnd;
    SetTimer(nullptr, 0, 50, DestroyDoomed);
    EXPECT_EQ(owned->RunModalLoop(), -1);
    EXPECT_TRUE(deleted);
}

} // namespace
