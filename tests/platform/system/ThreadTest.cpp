#include "platform/system/Thread.h"
#include "platform/system/Clock.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(ThreadTest, CriticalSectionIsReentrantAndExcludesOtherThreads) {
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    EnterCriticalSection(&section);
    EnterCriticalSection(&section); // the theme lock is taken again inside itself
    std::atomic<bool> otherGotIn{false};
    std::thread other([&] { otherGotIn = TryEnterCriticalSection(&section) != 0; });
    other.join();
    EXPECT_FALSE(otherGotIn);
    LeaveCriticalSection(&section);
    LeaveCriticalSection(&section);
    std::thread again([&] {
        otherGotIn = TryEnterCriticalSection(&section) != 0;
        if (otherGotIn)
            LeaveCriticalSection(&section);
    });
    again.join();
    EXPECT_TRUE(otherGotIn);
    DeleteCriticalSection(&section);
}

DWORD CountUntilStopped(LPVOID param) {
    HANDLE stop = param;
    DWORD steps = 0;
    while (WaitForSingleObject(stop, 20) == WAIT_TIMEOUT)
        ++steps;
    return 100 + steps;
}

// The splash progress thread's shape: timed steps until a stop event, then joined.
TEST(ThreadTest, AThreadStepsOnTheClockUntilStoppedAndIsJoined) {
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    HANDLE stop = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, CountUntilStopped, stop, CREATE_SUSPENDED, nullptr);
    ASSERT_NE(thread, nullptr);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, DWORD(STILL_ACTIVE));
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    EXPECT_EQ(ResumeThread(thread), 1u);
    // Without stepping the clock the thread's 20 ms waits never run out.
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    SetEvent(stop);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 100u);
    CloseHandle(thread);
    CloseHandle(stop);
}

TEST(ThreadTest, TimedWaitsEndOnlyWhenTheManualClockPassesTheirDeadline) {
    platform::ManualClock clock;
    platform::ScopedClock scoped(clock);
    HANDLE never = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    const uint64_t start = clock.NowMs();
    std::atomic<bool> done{false};
    std::atomic<DWORD> result{0};
    std::thread waiter([&] {
        result = WaitForSingleObject(never, 3000);
        done = true;
    });
    // Step as a test would; the wait gives up once 3000 ms have passed for it.
    while (!done) {
        clock.Advance(1);
        std::this_thread::yield();
    }
    waiter.join();
    EXPECT_EQ(result.load(), WAIT_TIMEOUT);
    EXPECT_GE(clock.NowMs() - start, 3000u);
    CloseHandle(never);
}

TEST(ThreadTest, AutoResetEventsReleaseOneWaitEach) {
    HANDLE event = CreateEvent(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    SetEvent(event);
    ResetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CloseHandle(event);
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
}

} // namespace
