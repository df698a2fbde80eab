#include "tests/support/MessageLog.h"

#include "platform/system/EventLoop.h"

#include <cstring>
#include <ctime>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

using namespace platform_test;

namespace {

class Pipe {
public:
    Pipe() { EXPECT_EQ(pipe(fds), 0); }
    ~Pipe() {
        close(fds[0]);
        if (fds[1] >= 0)
            close(fds[1]);
    }
    int reader() const { return fds[0]; }
    void Write(const char* text) { EXPECT_GT(write(fds[1], text, strlen(text)), 0); }
    void CloseWriter() {
        close(fds[1]);
        fds[1] = -1;
    }

private:
    int fds[2];
};

TEST(EventLoopTest, ReadyDescriptorsRunTheirCallbackFromThePumpUntilConsumed) {
    Pipe p;
    int calls = 0;
    platform::WatchId id =
        platform::WatchFd(p.reader(), platform::kFdReadable, [&](int, uint32_t ready) {
            EXPECT_TRUE(ready & platform::kFdReadable);
            ++calls;
        });
    PumpPending();
    EXPECT_EQ(calls, 0);
    p.Write("ab");
    PumpPending();
    PumpPending();
    EXPECT_EQ(calls, 2) << "level-triggered: unread data is reported again";

    // Paused: the data stays, nothing is reported until re-armed.
    platform::SetFdEvents(id, 0);
    PumpPending();
    EXPECT_EQ(calls, 2);
    platform::SetFdEvents(id, platform::kFdReadable);
    PumpPending();
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(platform::UnwatchFd(id));
    PumpPending();
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(platform::UnwatchFd(id));
}

TEST(EventLoopTest, ACallbackIsNotReenteredFromALoopItRuns) {
    Pipe p;
    int depth = 0, maxDepth = 0, calls = 0;
    platform::WatchId id = 0;
    id = platform::WatchFd(p.reader(), platform::kFdReadable, [&](int fd, uint32_t) {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        PumpPending(); // a nested pump, as a blocking send would run
        char c;
        EXPECT_EQ(read(fd, &c, 1), 1);
        --depth;
    });
    p.Write("x");
    PumpPending();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(maxDepth, 1);
    platform::UnwatchFd(id);
}

TEST(EventLoopTest, ACallbackMayUnwatchItselfAndHangupIsReportedUnasked) {
    Pipe p;
    uint32_t seen = 0;
    platform::WatchId id = 0;
    id = platform::WatchFd(p.reader(), platform::kFdReadable, [&](int, uint32_t ready) {
        seen = ready;
        platform::UnwatchFd(id);
    });
    p.CloseWriter();
    PumpPending();
    EXPECT_TRUE(seen & platform::kFdHangup);
    EXPECT_FALSE(platform::UnwatchFd(id));
}

TEST(EventLoopTest, GetMessageSleepsOnAWatchedDescriptorAndWakesWhenItIsReady) {
    Pipe p;
    bool ran = false;
    platform::WatchId id =
        platform::WatchFd(p.reader(), platform::kFdReadable, [&](int fd, uint32_t) {
            char c;
            EXPECT_EQ(read(fd, &c, 1), 1);
            ran = true;
            PostMessage(nullptr, WM_USER + 9, 0, 0);
        });
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        p.Write("x");
    });
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    writer.join();
    EXPECT_TRUE(ran);
    EXPECT_EQ(msg.message, UINT(WM_USER + 9));
    platform::UnwatchFd(id);
}

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// The one test on the real clock: an idle pump must sleep, not spin, both when
// nothing at all is pending and when only a timer is.
TEST(EventLoopTest, AnIdleLoopBlocksWithoutBurningCpu) {
    PumpPending();
    std::thread waker([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        PostMessage(nullptr, WM_USER + 1, 0, 0);
    });
    const double cpuBefore = ProcessCpuSeconds();
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    waker.join();
    EXPECT_EQ(msg.message, UINT(WM_USER + 1));

    const DWORD start = GetTickCount();
    UINT_PTR id = SetTimer(nullptr, 0, 150, nullptr);
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_GE(GetTickCount() - start, 150u);
    KillTimer(nullptr, id);

    EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.03) << "the loop spun while idle";
}

} // namespace
