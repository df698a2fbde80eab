#pragma once

// The one clock of the process. GetTickCount, timers, the message loop's waits and
// timed kernel waits all read it, so a test can replace it with a ManualClock and
// step time by hand: an animation of 300 ms is then tested in microseconds.

#include "platform/Types.h"

#include <atomic>
#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds on a monotonic scale; only differences mean anything.
    virtual uint64_t NowMs() const = 0;
    virtual void SleepMs(uint32_t ms) = 0;
    // A manual clock moves only when stepped: waits then have no real deadline.
    virtual bool IsManual() const { return false; }
};

// The real monotonic clock; the default.
class SystemClock : public Clock {
public:
    uint64_t NowMs() const override;
    void SleepMs(uint32_t ms) override;
};

// Time that moves only when a test steps it. Stepping wakes the message loop and
// every timed wait, so what falls due runs at the next pump.
//
// Sleep on a manual clock returns at once and moves nothing: a thread that sleeps
// must not move time under the test's feet, and code that sleeps between retries
// is tested as if the sleep were instant. A test that wants sleeping to spend
// time overrides SleepMs.
//
// With auto-advance on, a message loop that has nothing left to do but wait for
// a timer jumps the clock to that timer instead of waiting, so a modal loop
// driven by timers runs to its end at once.
class ManualClock : public Clock {
public:
    // Starts away from 0, which callers often use for "never happened".
    explicit ManualClock(uint64_t startMs = 1000) : m_now(startMs) {}
    uint64_t NowMs() const override { return m_now.load(); }
    void SleepMs(uint32_t) override {}
    bool IsManual() const override { return true; }

    void Advance(uint64_t ms);
    // Moves to an absolute time; never backwards.
    void AdvanceTo(uint64_t ms);

    void SetAutoAdvance(bool on) { m_autoAdvance = on; }
    bool AutoAdvance() const { return m_autoAdvance; }

private:
    std::atomic<uint64_t> m_now;
    std::atomic<bool> m_autoAdvance{false};
};

Clock& GetClock();
// Installs a clock for the whole process (nullptr restores the system clock).
// The caller keeps it alive while installed.
void SetClock(Clock* clock);

// Installs a clock for a scope; tests use it.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock) : m_previous(&GetClock()) { SetClock(&clock); }
    ~ScopedClock() { SetClock(m_previous); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* m_previous;
};

} // namespace platform

// Milliseconds since an arbitrary start, wrapping at 2^32 as on Windows.
DWORD GetTickCount();
void Sleep(DWORD ms);
