#include "tests/support/MessageLog.h"

#include "platform/window/TimerQueue.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>

using namespace platform_test;

namespace {

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        PumpPending();
        ASSERT_TRUE(wnd.CreateTop(&log));
        log.clear();
    }
    void TearDown() override { wnd.DestroyWindow(); }
    // Steps the clock in small steps, pumping after each, as a running loop would.
    void Run(uint64_t ms, uint64_t step = 1) {
        for (uint64_t t = 0; t < ms; t += step) {
            clock.Advance(step);
            PumpPending();
        }
    }
    platform::ManualClock clock;
    platform::ScopedClock scoped{clock};
    std::vector<Delivered> log;
    RecordingWnd wnd;
};

TEST_F(TimerTest, TimersFireInDueOrderWithFull32BitIds) {
    wnd.SetTimer(0xFE000001, 30);
    wnd.SetTimer(0xFF000004, 10);
    wnd.SetTimer(7, 25);
    Run(60);
    // By due time; timers due at the same moment in the order they were (re)armed.
    const UINT_PTR a = 0xFE000001, b = 0xFF000004, c = 7;
    EXPECT_EQ(TimersOf(log), (std::vector<UINT_PTR>{b /*10*/, b /*20*/, c /*25*/, a, b /*30*/,
                                                    b /*40*/, c, b /*50*/, a, b /*60*/}));
}

TEST_F(TimerTest, NothingFiresBeforeItsTimeAndGetTickCountFollowsTheClock) {
    const DWORD start = GetTickCount();
    wnd.SetTimer(1, 300);
    Run(299);
    EXPECT_TRUE(TimersOf(log).empty());
    Run(1);
    EXPECT_EQ(TimersOf(log), std::vector<UINT_PTR>{1});
    EXPECT_EQ(GetTickCount() - start, 300u);
}

TEST_F(TimerTest, PeriodsUnderTenMillisecondsBecomeTen) {
    wnd.SetTimer(1, 0);
    Run(9);
    EXPECT_TRUE(TimersOf(log).empty());
    Run(21);
    EXPECT_EQ(TimersOf(log).size(), 3u);
}

TEST_F(TimerTest, KilledTimersNeverFireEvenWhenTheirTickWasAlreadyTaken) {
    wnd.SetTimer(1, 10);
    wnd.SetTimer(2, 10);
    Run(10);
    ASSERT_EQ(TimersOf(log).size(), 2u);
    wnd.KillTimer(1);
    Run(30);
    const std::vector<UINT_PTR> fired = TimersOf(log);
    EXPECT_EQ(std::count(fired.begin(), fired.end(), UINT_PTR(1)), 1);

    // Taken from the queue, then killed before dispatch: not delivered.
    log.clear();
    clock.Advance(10);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    ASSERT_EQ(msg.message, UINT(WM_TIMER));
    wnd.KillTimer(2);
    DispatchMessage(&msg);
    EXPECT_TRUE(TimersOf(log).empty());
}

TEST_F(TimerTest, KillingInsideAnotherTimersHandlerStopsATimerDueTheSameMoment) {
    wnd.SetTimer(1, 10);
    wnd.SetTimer(2, 10);
    wnd.hooks[WM_TIMER] = [&](WPARAM id, LPARAM) {
        if (id == 1)
            wnd.KillTimer(2);
        return LRESULT(0);
    };
    Run(50);
    EXPECT_EQ(TimersOf(log), (std::vector<UINT_PTR>{1, 1, 1, 1, 1}));
}

TEST_F(TimerTest, ATimerReSetFromItsOwnHandlerRestartsWithTheNewPeriod) {
    // The one-shot pattern: kill and re-arm with a different delay each time.
    std::vector<DWORD> firedAt;
    const DWORD start = GetTickCount();
    UINT next = 20;
    wnd.SetTimer(0xFE000010, 10);
    wnd.hooks[WM_TIMER] = [&](WPARAM id, LPARAM) {
        firedAt.push_back(GetTickCount() - start);
        wnd.KillTimer(id);
        if (next <= 40) {
            wnd.SetTimer(id, next);
            next += 20;
        }
        return LRESULT(0);
    };
    Run(200);
    EXPECT_EQ(firedAt, (std::vector<DWORD>{10, 30, 70}));
}

TEST_F(TimerTest, SettingAnExistingIdRestartsIt) {
    wnd.SetTimer(5, 100);
    Run(90);
    wnd.SetTimer(5, 100);
    Run(90);
    EXPECT_TRUE(TimersOf(log).empty());
    Run(10);
    EXPECT_EQ(TimersOf(log), std::vector<UINT_PTR>{5});
}

TEST_F(TimerTest, AStalledLoopFindsOneTickPerTimerNotABacklog) {
    wnd.SetTimer(1, 10);
    wnd.SetTimer(2, 30);
    clock.Advance(1000);
    PumpPending();
    EXPECT_EQ(TimersOf(log), (std::vector<UINT_PTR>{1, 2}));
    // The next tick comes one period after the late one.
    log.clear();
    Run(9);
    EXPECT_TRUE(TimersOf(log).empty());
    Run(1);
    EXPECT_EQ(TimersOf(log), std::vector<UINT_PTR>{1});
}

TEST_F(TimerTest, PostedInputOvertakesDueTimersAndPaint) {
    wnd.SetTimer(1, 10);
    wnd.ShowWindow(SW_SHOW); // invalid: a paint waits too
    clock.Advance(10);
    wnd.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    wnd.PostMessage(WM_COMMAND, 401, 0);
    PumpPending();
    EXPECT_EQ(Only(log, {WM_LBUTTONDOWN, WM_COMMAND, WM_PAINT, WM_TIMER}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_COMMAND, WM_PAINT, WM_TIMER}));
}

TEST_F(TimerTest, TimersDieWithTheirWindow) {
    RecordingWnd other;
    std::vector<Delivered> otherLog;
    ASSERT_TRUE(other.CreateTop(&otherLog));
    HWND hwnd = other.m_hWnd;
    other.SetTimer(1, 10);
    other.DestroyWindow();
    otherLog.clear();
    Run(30);
    EXPECT_TRUE(otherLog.empty());
    EXPECT_EQ(SetTimer(hwnd, 1, 10, nullptr), 0u);
    EXPECT_FALSE(KillTimer(hwnd, 1));
}

UINT_PTR g_procTimer = 0;
int g_procCalls = 0;
void CALLBACK CountingProc(HWND, UINT, UINT_PTR id, DWORD) {
    ++g_procCalls;
    g_procTimer = id;
}

TEST_F(TimerTest, ThreadTimersRunTheirProcedure) {
    g_procCalls = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 20, CountingProc);
    ASSERT_NE(id, 0u);
    Run(40);
    EXPECT_EQ(g_procCalls, 2);
    EXPECT_EQ(g_procTimer, id);
    KillTimer(nullptr, id);
    Run(40);
    EXPECT_EQ(g_procCalls, 2);

    // A posted WM_TIMER naming a procedure that is no live timer's runs nothing.
    PostMessage(nullptr, WM_TIMER, id, reinterpret_cast<LPARAM>(&CountingProc));
    PumpPending();
    EXPECT_EQ(g_procCalls, 2);
}

TEST(TimerQueueTest, HundredsOfTimersComeOutExactlyWhenDue) {
    platform::TimerQueue queue;
    HWND hwnd = reinterpret_cast<HWND>(0x1000);
    std::map<UINT_PTR, uint64_t> period;
    for (UINT_PTR i = 0; i < 500; ++i) {
        period[0xFE000000 + i] = 10 + (i * 37) % 500;
        queue.Set(hwnd, 0xFE000000 + i, uint32_t(period[0xFE000000 + i]), nullptr, 0);
    }
    for (UINT_PTR i = 0; i < 500; i += 2)
        queue.Kill(hwnd, 0xFE000000 + i);
    EXPECT_EQ(queue.Size(), 250u);
    int taken = 0;
    for (uint64_t now = 0; now <= 510; ++now) {
        while (auto due = queue.NextDue(now, nullptr, true)) {
            EXPECT_EQ(due->id % 2, 1u) << "a killed timer came out";
            EXPECT_EQ(now, period[due->id]);
            ++taken;
            queue.Kill(hwnd, due->id);
        }
    }
    EXPECT_EQ(taken, 250);
    EXPECT_FALSE(queue.NextDueTime().has_value());
}

} // namespace
