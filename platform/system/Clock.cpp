#include "platform/system/Clock.h"

#include "platform/system/EventLoop.h"
#include "platform/system/KernelObject.h"

#include <ctime>

namespace platform {

namespace {
SystemClock g_systemClock;
std::atomic<Clock*> g_clock{&g_systemClock};
} // namespace

uint64_t SystemClock::NowMs() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint64_t(ts.tv_sec) * 1000 + uint64_t(ts.tv_nsec) / 1000000;
}

void SystemClock::SleepMs(uint32_t ms) {
    timespec ts{time_t(ms / 1000), long(ms % 1000) * 1000000};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

void ManualClock::Advance(uint64_t ms) {
    AdvanceTo(m_now.load() + ms);
}

void ManualClock::AdvanceTo(uint64_t ms) {
    uint64_t now = m_now.load();
    while (ms > now && !m_now.compare_exchange_weak(now, ms)) {
    }
    WakeEventLoop();
    NotifyKernelWaiters();
}

Clock& GetClock() {
    return *g_clock.load();
}

void SetClock(Clock* clock) {
    g_clock.store(clock ? clock : &g_systemClock);
    WakeEventLoop();
    NotifyKernelWaiters();
}

} // namespace platform

DWORD GetTickCount() {
    return DWORD(platform::GetClock().NowMs());
}

void Sleep(DWORD ms) {
    platform::GetClock().SleepMs(ms);
}
